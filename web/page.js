// The page around the game: each picture handed to the stage (web/present.js), full screen
// on request (the button, F11, Alt+Enter), keyboard focus kept on the game, the loading, error
// and ending notes, the practice that the address asks for, and a few figures that tests and
// measurements read (pictures shown, when the first came, the spacing of the last ones, the keys
// and when they came). Linked in with --pre-js; platform/web/ calls it through bridge.js.
Module.zanburyPage = (function () {
  var stage = document.getElementById('stage');
  var note = document.getElementById('note');
  var fullButton = document.getElementById('full-screen');

  var page = {
    frames: 0,          // pictures shown
    firstFrameAt: null, // performance.now() of the first
    spacing: [],        // ms between the last pictures shown, at most 2000 of them
    tickSpacing: [],    // the same in the game's tick count
    ended: false,
    keys: [],           // the game's keys as they came: [key, down, frames shown by then]
  };
  var lastFrameAt = null;
  var lastTick = null;
  var waiters = [];

  function keep(list, value) {
    list.push(value);
    if (list.length > 2000) {
      list.shift();
    }
  }

  page.show = function (pixels, width, height, tick, look) {
    var now = performance.now();
    Module.zanburyPresent.show(pixels, look);
    if (page.firstFrameAt === null) {
      page.firstFrameAt = now;
      showNote(''); // what standard error said while loading was not the end of it
      failed = false;
    }
    if (lastFrameAt !== null) {
      keep(page.spacing, now - lastFrameAt);
      keep(page.tickSpacing, (tick - lastTick) >>> 0);
    }
    lastFrameAt = now;
    lastTick = tick;
    page.frames += 1;
    waiters = waiters.filter(function (waiter) {
      if (page.frames >= waiter.frame) {
        waiter.resolve(page.frames);
        return false;
      }
      return true;
    });
  };

  // A promise of the moment the picture numbered `frame` (from 1) has been shown.
  page.untilFrame = function (frame) {
    return new Promise(function (resolve) {
      if (page.frames >= frame) {
        resolve(page.frames);
      } else {
        waiters.push({ frame: frame, resolve: resolve });
      }
    });
  };

  var failed = false; // a message of the game's is on the note, to stay there

  function showNote(text) {
    note.textContent = text;
    note.hidden = text === '';
    note.classList.remove('error');
  }

  page.error = function (title, message) {
    showNote(message);
    note.classList.add('error');
    failed = true;
  };

  // `?practice=N` practises park N of the list: every new game plays it alone (--practice N),
  // and the header says so. The game checks N against its park list; what is not a number from
  // 1 is refused here, as the game's command line would refuse it.
  var practice = new URLSearchParams(location.search).get('practice');
  Module.arguments = Module.arguments || [];
  if (practice !== null) {
    if (/^[1-9][0-9]{0,8}$/.test(practice)) {
      Module.arguments.push('--practice', practice);
      var practising = document.getElementById('practising');
      practising.textContent = 'Practice of park ' + practice + ' alone · the high score is ' +
                               'kept for whole runs';
      practising.hidden = false;
    } else {
      Module.noInitialRun = true; // the game does not start
      page.error('Zanbury', 'practice=' + practice + ': a park\'s number in the list, from 1, ' +
                            'such as practice=12');
    }
  }

  var watched = null;
  // A recording is being watched: the header says which.
  page.watching = function (name) {
    watched = name;
    var line = document.getElementById('watching');
    var known = { 'last-run.txt': 'your last session', 'highscore-run.txt': 'the high score\'s run',
                  'opened-recording.txt': 'the recording you opened' };
    line.textContent = 'Watching ' + (known[name] || name) + ' · Escape stops';
    line.hidden = false;
  };

  var closing = [];
  // Calls `then` when the game has ended, before its files are written back.
  page.whenClosed = function (then) {
    closing.push(then);
  };

  // The game has left its menu, or the recording has ended: what it wrote is kept, and Enter or
  // a click plays again.
  page.closed = function () {
    page.ended = true;
    closing.forEach(function (then) { then(); });
    if (failed) {
      Module.zanburyStorage.persistNow(); // the reason the game could not start stays shown
      return;
    }
    showNote('Saving…');
    Module.zanburyStorage.persistNow(function () {
      showNote(watched === null ? 'Thanks for playing. Press Enter or click here to play again.'
                                : 'The recording has ended. Press Enter or click here to play.');
      var again = function (event) {
        if (event.type === 'click' || event.key === 'Enter') {
          // The game itself, with no recording; a practice goes on.
          location.assign(location.pathname + (watched === null && practice !== null
                                                ? '?practice=' + encodeURIComponent(practice)
                                                : ''));
        }
      };
      window.addEventListener('keydown', again);
      note.addEventListener('click', again);
    });
  };

  function toggleFullScreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else if (stage.requestFullscreen) {
      stage.requestFullscreen().catch(function () {});
    }
  }

  // Before SDL's own listener, so that Alt+Enter never reaches the game as Enter.
  window.addEventListener('keydown', function (event) {
    if (event.key === 'F11' || (event.key === 'Enter' && event.altKey)) {
      event.preventDefault();
      event.stopImmediatePropagation();
      if (!event.repeat) {
        toggleFullScreen();
      }
    }
  }, true);

  // Which picture each key came after tells a test which pass of the main loop saw it: one that
  // comes while picture n is shown is read by pass n + 2, since pass n + 1 read its keys before
  // its handler, the wait and the present.
  var gameKeys = ['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', 'Enter', 'Escape'];
  function noteKey(event) {
    if (!event.repeat && gameKeys.indexOf(event.key) >= 0 && page.keys.length < 100000) {
      page.keys.push([event.key, event.type === 'keydown', page.frames]);
    }
  }
  window.addEventListener('keydown', noteKey, true);
  window.addEventListener('keyup', noteKey, true);

  // Keys go to the game wherever the page has the focus, but a focused button would also take
  // Enter and Space as a click: the focus goes back to the stage after every click.
  fullButton.addEventListener('click', function () {
    toggleFullScreen();
    stage.focus();
  });
  document.addEventListener('fullscreenchange', function () {
    fullButton.textContent = document.fullscreenElement ? 'Leave full screen' : 'Full screen';
  });
  stage.addEventListener('mousedown', function () { stage.focus(); });
  stage.focus();

  Module.canvas = document.getElementById('canvas'); // SDL's window: hidden, never drawn on
  Module.setStatus = function (text) {
    if (page.firstFrameAt === null && !page.ended && !failed) {
      showNote(text ? text.replace(/\(.*\)/, '').trim() || 'Loading…' : 'Loading…');
    }
  };
  // Standard error goes to the console, and to the page while the game has shown nothing:
  // a recording that cannot be watched is refused before the game starts.
  Module.printErr = function (text) {
    console.warn(text);
    if (page.firstFrameAt === null) {
      page.error('Zanbury', text);
    }
  };
  Module.onAbort = function (what) {
    page.error('Zanbury', 'The game stopped: ' + what);
  };
  return page;
})();
