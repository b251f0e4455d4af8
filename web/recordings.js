// Recordings on the page: the address picks one to watch, `?replay=NAME`, where NAME is a file
// of the game's directory in the browser's storage (last-run.txt, highscore-run.txt, or one the
// player opened from disk) or else an address relative to the page that is fetched; `&trace`
// has the game write the trace line of every pass, which goes to the browser's console when
// the game ends. The header's list offers the kept recordings and opens one from disk. Linked in
// with --pre-js, after storage.js and page.js.
(function () {
  var query = new URLSearchParams(location.search);
  var replay = query.get('replay');
  var traceFile = '/tmp/zanbury-trace.txt';
  var opened = 'opened-recording.txt';
  var choice = document.getElementById('recordings');
  var storage = Module.zanburyStorage;
  var page = Module.zanburyPage;
  Module.arguments = Module.arguments || [];

  function exists(path) {
    return FS.analyzePath(path).exists;
  }

  // Written to /tmp, outside the storage: a fetched recording is watched, not kept.
  function fetchRecording(address) {
    addRunDependency('zanbury-recording');
    fetch(address).then(function (response) {
      if (!response.ok) {
        throw new Error(response.status + ' ' + response.statusText);
      }
      return response.arrayBuffer();
    }).then(function (bytes) {
      FS.writeFile('/tmp/recording.txt', new Uint8Array(bytes));
      Module.arguments.push('--replay', '/tmp/recording.txt');
      removeRunDependency('zanbury-recording');
    }).catch(function (error) {
      // The game does not start: the page says why, and the header's list still works.
      page.error('Zanbury', 'The recording ' + address + ' cannot be fetched: ' + error.message);
    });
  }

  storage.whenRead(function () {
    if (replay !== null) {
      if (replay.indexOf('/') < 0 && exists(storage.saveDir + '/' + replay)) {
        Module.arguments.push('--replay', replay);
      } else {
        fetchRecording(replay);
      }
      page.watching(replay);
    }
    if (query.has('trace')) {
      Module.arguments.push('--trace', traceFile);
    }
    [['last-run.txt', 'your last session'], ['highscore-run.txt', 'the high score\'s run'],
     [opened, 'the recording you opened']].forEach(function (kept) {
      if (exists(storage.saveDir + '/' + kept[0])) {
        choice.add(new Option(kept[1], kept[0]));
      }
    });
    choice.add(new Option('a recording from a file…', ':open'));
  });

  // The trace, line by line as the simulator prints it, once the game has closed it.
  page.whenClosed(function () {
    if (exists(traceFile)) {
      FS.readFile(traceFile, { encoding: 'utf8' }).split('\n').forEach(function (line) {
        if (line !== '') {
          console.log(line);
        }
      });
    }
  });

  function watch(name) {
    var address = new URL(location.href);
    address.searchParams.set('replay', name);
    location.assign(address.href);
  }

  var picker = document.createElement('input');
  picker.type = 'file';
  picker.accept = '.txt,text/plain';
  picker.addEventListener('change', function () {
    if (picker.files.length === 0) {
      return;
    }
    picker.files[0].arrayBuffer().then(function (bytes) {
      FS.writeFile(storage.saveDir + '/' + opened, new Uint8Array(bytes));
      storage.persistNow(function () { watch(opened); });
    });
  });

  choice.addEventListener('change', function () {
    var value = choice.value;
    choice.selectedIndex = 0;
    document.getElementById('stage').focus();
    if (value === ':open') {
      picker.click();
    } else if (value !== '') {
      watch(value);
    }
  });
})();
