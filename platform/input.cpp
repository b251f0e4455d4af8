// The key check's bookkeeping: sources going down and up, the stick's thresholds, and the check
// that reads and clears the went-down records (see input.h).

#include "platform/input.h"

namespace input {
namespace {

constexpr int32_t StickPress = 16384;
constexpr int32_t StickRelease = 10923;

// The sources that count as a key: its keyboard places, its pad places and its touch button.
constexpr int SourcesPerKey = 2 * Places + 1;
constexpr Source sourcesOf(platform::Key key, int i) {
    return i < Places       ? keyboardPlace(key, i)
           : i < 2 * Places ? padPlace(key, i - Places)
                            : touchPlace(key);
}

} // namespace

void setDown(InputState& state, Source source, bool down) {
    SourceState& s = state.sources[source];
    if (down && !s.down) {
        s.wentDown = true;
    }
    s.down = down;
}

void releaseAll(InputState& state) {
    for (SourceState& s : state.sources) {
        s.down = false;
    }
}

void forgetAll(InputState& state) {
    state = InputState{};
}

platform::KeyView view(const InputState& state, platform::Key key) {
    platform::KeyView v;
    for (int i = 0; i < SourcesPerKey; ++i) {
        const SourceState& s = state.sources[sourcesOf(key, i)];
        v.down = v.down || s.down;
        v.wentDown = v.wentDown || s.wentDown;
    }
    return v;
}

bool check(InputState& state, platform::Key key) {
    const platform::KeyView v = view(state, key);
    move(state, key, platform::KeyMove::Forget);
    return v.down || v.wentDown;
}

void move(InputState& state, platform::Key key, platform::KeyMove move) {
    const Source source = keyboardSource(key);
    switch (move) {
    case platform::KeyMove::Press:
        setDown(state, source, true);
        break;
    case platform::KeyMove::Release:
        setDown(state, source, false);
        break;
    case platform::KeyMove::Tap: // a finger lets go of a held key before it taps it
        setDown(state, source, false);
        setDown(state, source, true);
        setDown(state, source, false);
        break;
    case platform::KeyMove::Forget: {
        for (int i = 0; i < SourcesPerKey; ++i) {
            state.sources[sourcesOf(key, i)].wentDown = false;
        }
        break;
    }
    }
}

int movesBetween(platform::KeyView from, platform::KeyView to, platform::KeyMove moves[2]) {
    using platform::KeyMove;
    int n = 0;
    if (to.down) {
        // A press from up sets the went-down record; a key already down must go up first to
        // gain a new one.
        if (!from.down) {
            moves[n++] = KeyMove::Press;
        } else if (to.wentDown && !from.wentDown) {
            moves[n++] = KeyMove::Release;
            moves[n++] = KeyMove::Press;
        }
        if (!to.wentDown && (n > 0 || from.wentDown)) {
            moves[n++] = KeyMove::Forget;
        }
    } else if (to.wentDown) {
        if (!from.wentDown) {
            moves[n++] = KeyMove::Tap;
        } else if (from.down) {
            moves[n++] = KeyMove::Release;
        }
    } else {
        if (from.down) {
            moves[n++] = KeyMove::Release;
        }
        if (from.wentDown) {
            moves[n++] = KeyMove::Forget;
        }
    }
    return n;
}

bool axisHeld(bool held, int32_t amount) {
    return held ? amount >= StickRelease : amount > StickPress;
}

} // namespace input
