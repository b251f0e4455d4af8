// The game's files in the browser's storage: the directory the game plays in, /save, is kept in
// IndexedDB, so that highscore.txt (and whatever else the game writes beside it or under its
// settings directory) survives a reload and later visits. Before the game starts, the stored
// files are read back and the shipped parks, packed in at /parks, are laid beside them. What the
// game writes is written back to storage within a second (watchWrites), and everything when the
// page is hidden or left, all through IDBFS's own syncfs. Linked in with --pre-js.
Module.zanburyStorage = (function () {
  var saveDir = '/save';
  var state = { available: true, syncing: false, again: false, waiting: [], whenRead: [] };

  function finish(error) {
    if (error) {
      console.warn('zanbury: the browser did not keep the game\'s files:', error);
    }
    state.syncing = false;
    if (state.again) {
      state.again = false;
      sync();
      return;
    }
    var waiting = state.waiting;
    state.waiting = [];
    waiting.forEach(function (done) { done(); });
  }

  // One write-back at a time: a change made during one is written by the next.
  function sync() {
    if (state.syncing) {
      state.again = true;
      return;
    }
    state.syncing = true;
    FS.syncfs(false, finish);
  }

  // Calls `done` once everything written so far is in storage.
  function persistNow(done) {
    state.waiting.push(done || function () {});
    sync();
  }

  // Every file and directory under the game's directory with its time and size, as one string:
  // it changes with every write (the recording of the session, flushed every second and kept
  // open), every replacement (a rename) and every removal. The directory is in memory, so
  // looking costs next to nothing.
  function look(path, into) {
    FS.readdir(path).forEach(function (name) {
      if (name !== '.' && name !== '..') {
        var inside = path + '/' + name;
        var stat = FS.stat(inside);
        into.push(inside + ' ' + stat.mtime.getTime() + ' ' + stat.size);
        if (FS.isDir(stat.mode)) {
          look(inside, into);
        }
      }
    });
    return into;
  }

  // Storage follows what the game writes: once a second the game's directory is looked at, and
  // when anything in it changed since the last look the changes are written back. IDBFS writes
  // only the files that changed, and nothing reaches IndexedDB while nothing does.
  var looked = '';
  function watchWrites() {
    looked = look(saveDir, []).join('\n');
    setInterval(function () {
      var now = look(saveDir, []).join('\n');
      if (now !== looked) {
        looked = now;
        sync();
      }
    }, 1000);
  }

  function layParks() {
    FS.readdir('/parks').forEach(function (name) {
      if (name !== '.' && name !== '..') {
        FS.writeFile(saveDir + '/' + name, FS.readFile('/parks/' + name));
      }
    });
  }

  Module.preRun = Module.preRun || [];
  Module.preRun.push(function () {
    FS.mkdir(saveDir);
    FS.mount(IDBFS, {}, saveDir);
    addRunDependency('zanbury-storage');
    FS.syncfs(true, function (error) {
      if (error) {
        state.available = false;
        console.warn('zanbury: no browser storage; the high score lasts until the page closes:',
                     error);
      }
      layParks();
      FS.chdir(saveDir);
      // The settings and the player's data follow the same rules as on the desktop.
      ENV.XDG_CONFIG_HOME = saveDir + '/config';
      ENV.XDG_DATA_HOME = saveDir + '/data';
      if (state.available) {
        watchWrites();
      }
      state.whenRead.forEach(function (ready) { ready(); });
      removeRunDependency('zanbury-storage');
    });
  });

  window.addEventListener('pagehide', function () { persistNow(); });
  document.addEventListener('visibilitychange', function () {
    if (document.visibilityState === 'hidden') {
      persistNow();
    }
  });

  return {
    persistNow: persistNow,
    available: function () { return state.available; },
    // Calls `ready` once the stored files are back and before the game starts.
    whenRead: function (ready) { state.whenRead.push(ready); },
    saveDir: saveDir,
  };
})();
