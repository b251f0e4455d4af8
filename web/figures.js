// The figures that tests and measurements read, kept only when the address asks for them
// (`?figures`): a player's page keeps none. On the page object (Module.zanburyPage): the pictures
// shown, when the first came, the spacing of the last ones by the page's clock and by the game's
// tick count, a promise of a given picture, and the game's keys and touches as they came. Linked
// in with --pre-js, after page.js.
(function () {
  if (!new URLSearchParams(location.search).has('figures')) {
    return;
  }
  var page = Module.zanburyPage;
  page.frames = 0;          // pictures shown
  page.firstFrameAt = null; // performance.now() of the first
  page.spacing = [];        // ms between the last pictures shown, at most 2000 of them
  page.tickSpacing = [];    // the same in the game's tick count
  page.keys = [];           // the game's keys as they came: [key, down, frames shown by then]
  var lastFrameAt = null;
  var lastTick = null;
  var waiters = [];

  function keep(list, value) {
    list.push(value);
    if (list.length > 2000) {
      list.shift();
    }
  }

  page.whenShown(function (tick, now) {
    if (page.firstFrameAt === null) {
      page.firstFrameAt = now;
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
  });

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

  // Which picture each key came after tells a test which pass of the main loop saw it: one that
  // comes while picture n is shown is read by pass n + 2, since pass n + 1 read its keys before
  // its handler, the wait and the present. A touch button is logged as its key (touch.js).
  page.noteKey = function (key, down) {
    if (page.keys.length < 100000) {
      page.keys.push([key, down, page.frames]);
    }
  };
  var gameKeys = ['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', 'Enter', 'Escape'];
  function noteKey(event) {
    if (!event.repeat && gameKeys.indexOf(event.key) >= 0) {
      page.noteKey(event.key, event.type === 'keydown');
    }
  }
  window.addEventListener('keydown', noteKey, true);
  window.addEventListener('keyup', noteKey, true);
})();
