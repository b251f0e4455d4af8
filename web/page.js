// The page around the game: the picture shown on the stage in the player's look, full screen
// on request (the button, F11, Alt+Enter), keyboard focus kept on the game, the loading, error
// and ending notes, and the practice that the address asks for. Linked in with --pre-js;
// platform/web/ calls it through bridge.js. What watches each picture shown (figures.js,
// offline.js) asks page.whenShown.
Module.zanburyPage = (function () {
  var Width = 640;
  var Height = 480;
  var stage = document.getElementById('stage');
  var screen = document.getElementById('screen');
  var note = document.getElementById('note');
  var fullButton = document.getElementById('full-screen');
  var play = document.getElementById('play'); // the stage and its touch buttons, full screen

  // The picture arrives at 640 x 480 on a canvas of its own. In the sharp look (the game's
  // default) the screen's canvas holds it enlarged by the smallest whole factor that reaches
  // the shown size in device pixels (each pixel a sharp square), and the browser scales that
  // down the rest of the way with linear filtering: sharp bilinear, crisp at any size without
  // uneven pixels. The whole look shows it at the largest whole factor that fits, pixel for
  // pixel; the stretched look fills the stage, as the sharp one does each way.
  var picture = document.createElement('canvas');
  picture.width = Width;
  picture.height = Height;
  var pictureContext = picture.getContext('2d');
  var screenContext = screen.getContext('2d', { alpha: false });
  var image = null;

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

  function draw() {
    screenContext.imageSmoothingEnabled = false;
    screenContext.drawImage(picture, 0, 0, screen.width, screen.height);
  }

  var Sharp = 0, Whole = 1, Stretch = 2; // the game's looks, as the present names them
  var look = Sharp;

  function layout() {
    var ratio = window.devicePixelRatio || 1;
    var across = stage.clientWidth / Width;
    var down = stage.clientHeight / Height;
    if (!(across > 0 && down > 0)) {
      return;
    }
    var scale = Math.min(across, down);
    var whole = Math.floor(scale * ratio + 1e-6);
    var pixelated = look === Whole && whole >= 1;
    var width = Width * (pixelated ? whole / ratio : look === Stretch ? across : scale);
    var height = Height * (pixelated ? whole / ratio : look === Stretch ? down : scale);
    var factor = pixelated ? 1 : Math.max(1, Math.ceil(Math.max(width / Width, height / Height) *
                                                       ratio - 1e-6));
    if (screen.width !== Width * factor) {
      screen.width = Width * factor;
      screen.height = Height * factor;
      draw(); // a canvas is cleared when it is resized
    }
    screen.style.imageRendering = pixelated ? 'pixelated' : 'auto';
    screen.style.width = width + 'px';
    screen.style.height = height + 'px';
  }

  page.show = function (rgba, width, height, tick, shownLook) {
    var now = performance.now();
    if (shownLook !== look) {
      look = shownLook; // F10, or the player's settings as the game starts
      layout();
    }
    if (image === null) {
      image = pictureContext.createImageData(width, height);
    }
    image.data.set(rgba);
    pictureContext.putImageData(image, 0, 0);
    draw();
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
    layout();
  });
  stage.addEventListener('mousedown', function () { stage.focus(); });
  new ResizeObserver(layout).observe(stage);
  window.addEventListener('resize', layout);
  layout();
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
