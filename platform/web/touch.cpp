// The page's touch buttons (web/touch.js) into the key check: each game key's button is a source
// of its own, so a finger on Right and another on Up hold both, a tap between two passes counts
// at the next query as a key's does, and the recording and the trace see touches as keys. The
// pause button asks what P asks.

#include "platform/input.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_state.h"

#include <emscripten/emscripten.h>

namespace {

// The page calls in whenever a button changes, which is mostly while the pacer waits: the
// changes are kept until the next pass's events, as the keyboard's wait in SDL's queue, so that
// the recorder, which looks at the keys at the start of a pass and again after it, sees them.
struct TouchKey {
    bool down = false;    // a finger is on the button now
    bool pressed = false; // the button was pressed since the last pass took the touches
};
TouchKey touches[platform::KeyCount];
bool pauseAsked = false;

} // namespace

extern "C" {

// `key` is platform::Key as a number (Up 0 ... Escape 5); anything else is ignored.
EMSCRIPTEN_KEEPALIVE void zanbury_touch_key(int key, int down) {
    if (key >= 0 && key < platform::KeyCount) {
        touches[key].down = down != 0;
        touches[key].pressed = touches[key].pressed || down != 0;
    }
}

EMSCRIPTEN_KEEPALIVE void zanbury_touch_pause() {
    pauseAsked = !pauseAsked; // two taps before a pass look ask for nothing
}
}

namespace platform::detail {

void takeTouches() {
    for (int k = 0; k < KeyCount; ++k) {
        const input::Source source = input::touchPlace(static_cast<Key>(k));
        TouchKey& touch = touches[k];
        if (touch.pressed) {
            // A button let go of and pressed again since the last pass is a new press.
            if (sdl.input.sources[source].down) {
                input::setDown(sdl.input, source, false);
            }
            input::setDown(sdl.input, source, true);
            touch.pressed = false;
        }
        input::setDown(sdl.input, source, touch.down);
    }
    if (pauseAsked) {
        pauseAsked = false;
        requestPause(PauseRequest::Toggle);
    }
}

} // namespace platform::detail
