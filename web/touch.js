// The touch buttons around the stage (shell.html's two .pad boxes): the game's six keys and
// pause, for thumbs. Each button is a key of its own in the game's key check
// (platform/web/touch.cpp), so fingers on several buttons hold them all, a tap between two
// passes counts at the next one, and the recording sees a touch as the key. A finger that slides
// off one button onto another lets go of the first and presses the second; a finger that began
// on the picture does nothing. The buttons show on a device whose pointer is coarse or once the
// last input was a touch, and go while a keyboard or a pad is used. Linked in with --pre-js,
// after page.js and figures.js.
(function () {
  var page = Module.zanburyPage;
  var keyOf = { up: 0, down: 1, left: 2, right: 3, enter: 4, escape: 5 }; // platform::Key
  var keyName = ['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', 'Enter', 'Escape'];
  var pads = [document.getElementById('pad-move'), document.getElementById('pad-act')];
  var buttons = Array.prototype.slice.call(document.querySelectorAll('.pad button'));
  var fingers = {}; // a touch's identifier: the name of the button under it, or ''
  var held = {};    // a button's name: whether a finger is on it

  function buttonUnder(touch) {
    var element = document.elementFromPoint(touch.clientX, touch.clientY);
    var button = element && element.closest('.pad button');
    return button ? button.dataset.key : '';
  }

  function press(name, down) {
    if (name === 'pause') {
      if (down && Module._zanbury_touch_pause) {
        Module._zanbury_touch_pause(); // what P asks: pause or resume, where play allows it
      }
    } else if (page.ended) {
      if (down && name === 'enter' && page.playAgain) {
        page.playAgain();
      }
    } else if (Module._zanbury_touch_key) { // the game has started
      Module._zanbury_touch_key(keyOf[name], down ? 1 : 0);
      if (page.noteKey) {
        page.noteKey(keyName[keyOf[name]], down);
      }
    }
  }

  // Every button's state from the fingers on it: only a change reaches the game.
  function holdButtons() {
    var on = {};
    Object.keys(fingers).forEach(function (id) {
      on[fingers[id]] = true;
    });
    buttons.forEach(function (button) {
      var name = button.dataset.key;
      var down = on[name] === true;
      if (down !== (held[name] === true)) {
        held[name] = down;
        button.classList.toggle('held', down);
        press(name, down);
      }
    });
  }

  function fingersMoved(event) {
    event.preventDefault(); // no scrolling, zoom, long-press menu or click from the buttons
    var gone = event.type === 'touchend' || event.type === 'touchcancel';
    for (var i = 0; i < event.changedTouches.length; ++i) {
      var touch = event.changedTouches[i];
      if (gone) {
        delete fingers[touch.identifier];
      } else if (event.type === 'touchstart' || touch.identifier in fingers) {
        fingers[touch.identifier] = buttonUnder(touch);
      }
    }
    holdButtons();
    // Browsers let sound start only from a touch's end, which SDL does not listen for.
    var audio = Module.SDL2 && Module.SDL2.audioContext;
    if (gone && audio && audio.state === 'suspended') {
      audio.resume();
    }
  }
  pads.forEach(function (pad) {
    ['touchstart', 'touchmove', 'touchend', 'touchcancel'].forEach(function (type) {
      pad.addEventListener(type, fingersMoved, { passive: false });
    });
  });

  var coarse = window.matchMedia('(pointer: coarse)');
  var touched = false;   // the last input was a touch
  var otherUsed = false; // a keyboard or a pad was used after the last touch
  var padPoll = null;

  function showButtons() {
    var shown = (coarse.matches || touched) && !otherUsed;
    document.body.classList.toggle('touch', shown);
    pads.forEach(function (pad) {
      pad.hidden = !shown;
    });
    if (!shown) {
      fingers = {}; // nothing stays held behind a hidden button
      holdButtons();
    }
    // A pad sends no events to the page: while the buttons show, it is looked at now and then.
    if (shown && padPoll === null && navigator.getGamepads) {
      padPoll = setInterval(lookAtPads, 500);
    } else if (!shown && padPoll !== null) {
      clearInterval(padPoll);
      padPoll = null;
    }
  }

  function used(other) {
    if (touched === other || otherUsed !== other) {
      touched = !other;
      otherUsed = other;
      showButtons();
    }
  }

  function lookAtPads() {
    var inUse = Array.prototype.some.call(navigator.getGamepads(), function (pad) {
      return pad && (pad.buttons.some(function (b) { return b.pressed; }) ||
                     pad.axes.some(function (a) { return Math.abs(a) > 0.5; }));
    });
    if (inUse) {
      used(true);
    }
  }

  document.addEventListener('touchstart', function () { used(false); },
                            { capture: true, passive: true });
  window.addEventListener('keydown', function (event) {
    if (event.isTrusted) {
      used(true);
    }
  }, true);
  window.addEventListener('gamepadconnected', function () { used(true); });
  if (coarse.addEventListener) {
    coarse.addEventListener('change', showButtons);
  }
  showButtons();
})();
