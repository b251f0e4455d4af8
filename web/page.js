// The page around the game: each picture handed to the stage (web/present.js), full screen
// on request (the button, F11, Alt+Enter), keyboard focus kept on the game, the loading, error
// and ending notes, and the practice that the address asks for. Linked in with --pre-js;
// platform/web/ calls it through bridge.js. What watches each picture shown (figures.js,
// offline.js) asks page.whenShown.
Module.zanburyPage = (function () {
  var stage = document.getElementById('stage');
  var note = document.getElementById('note');
  var fullButton = document.getElementById('full-screen');
  var play = document.getElementById('play'); // the stage and its touch buttons, full screen

  var page = {
    ended: false,
    playAgain: null, // once the game has ended: starts it again
  };
  var shownAny = false;
  var watchers = [];

  // Calls `watch(tick, now)` after each picture is shown: the game's tick count as its present
  // began, and performance.now().
  page.whenShown = function (watch) {
    watchers.push(watch);
  };

  page.show = function (pixels, width, height, tick, look) {
    var now = performance.now();
    Module.zanburyPresent.show(pixels, look);
    if (!shownAny) {
      shownAny = true;
      showNote(''); // what standard error said while loading was not the end of it
      failed = false;
    }
    for (var i = 0; i < watchers.length; ++i) {
      watchers[i](tick, now);
    }
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
      showNote(watched === null ? 'Thanks for playing. Press Enter or tap here to play again.'
                                : 'The recording has ended. Press Enter or tap here to play.');
      // The game itself, with no recording; a practice goes on; the page's other figures
      // stay asked for.
      page.playAgain = function () {
        var query = new URLSearchParams();
        if (watched === null && practice !== null) {
          query.set('practice', practice);
        }
        if (new URLSearchParams(location.search).has('figures')) {
          query.set('figures', '');
        }
        location.assign(location.pathname + (query.toString() ? '?' + query : ''));
      };
      var again = function (event) {
        if (event.type === 'click' || event.key === 'Enter') {
          page.playAgain();
        }
      };
      window.addEventListener('keydown', again);
      note.addEventListener('click', again);
    });
  };

  function toggleFullScreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else if (play.requestFullscreen) {
      play.requestFullscreen().catch(function () {});
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
    if (!shownAny && !page.ended && !failed) {
      showNote(text ? text.replace(/\(.*\)/, '').trim() || 'Loading…' : 'Loading…');
    }
  };
  // Standard error goes to the console, and to the page while the game has shown nothing:
  // a recording that cannot be watched is refused before the game starts.
  Module.printErr = function (text) {
    console.warn(text);
    if (!shownAny) {
      page.error('Zanbury', text);
    }
  };
  Module.onAbort = function (what) {
    page.error('Zanbury', 'The game stopped: ' + what);
  };
  return page;
})();
