// The key check's bookkeeping: sources going down and up, the stick's thresholds, and the check
// that reads and clears the went-down records (see input.h).

#include "platform/input.h"

namespace input {
namespace {

constexpr int32_t StickPress = 16384;
constexpr int32_t StickRelease = 10923;

void stickDirection(InputState& state, Source source, int32_t amount) {
    bool down = state.sources[source].down;
    if (!down && amount > StickPress) {
        setDown(state, source, true);
    } else if (down && amount < StickRelease) {
        setDown(state, source, false);
    }
}

} // namespace

Source keyboardSource(platform::Key key) {
    switch (key) {
    case platform::Key::Up:
        return KeyboardUp;
    case platform::Key::Down:
        return KeyboardDown;
    case platform::Key::Left:
        return KeyboardLeft;
    case platform::Key::Right:
        return KeyboardRight;
    case platform::Key::Enter:
        return KeyboardReturn;
    case platform::Key::Escape:
        return KeyboardEscape;
    }
    return KeyboardEscape;
}

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

namespace {

// The sources that count as each key, in no particular order.
struct KeySources {
    const Source* begin;
    int count;
    const Source* end() const { return begin + count; }
};

KeySources sourcesOf(platform::Key key) {
    static constexpr Source up[] = {KeyboardUp, PadUp, StickUp};
    static constexpr Source down[] = {KeyboardDown, PadDown, StickDown};
    static constexpr Source left[] = {KeyboardLeft, PadLeft, StickLeft};
    static constexpr Source right[] = {KeyboardRight, PadRight, StickRight};
    static constexpr Source enter[] = {KeyboardReturn, KeyboardKeypadEnter, PadA, PadStart};
    static constexpr Source escape[] = {KeyboardEscape, PadB, PadBack};
    switch (key) {
    case platform::Key::Up:
        return {up, 3};
    case platform::Key::Down:
        return {down, 3};
    case platform::Key::Left:
        return {left, 3};
    case platform::Key::Right:
        return {right, 3};
    case platform::Key::Enter:
        return {enter, 4};
    case platform::Key::Escape:
        return {escape, 3};
    }
    return {escape, 3};
}

} // namespace

platform::KeyView view(const InputState& state, platform::Key key) {
    platform::KeyView v;
    KeySources sources = sourcesOf(key);
    for (const Source* s = sources.begin; s != sources.end(); ++s) {
        v.down = v.down || state.sources[*s].down;
        v.wentDown = v.wentDown || state.sources[*s].wentDown;
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
        KeySources sources = sourcesOf(key);
        for (const Source* s = sources.begin; s != sources.end(); ++s) {
            state.sources[*s].wentDown = false;
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

void padButton(InputState& state, PadButton button, bool down) {
    switch (button) {
    case PadButton::DpadUp:
        setDown(state, PadUp, down);
        break;
    case PadButton::DpadDown:
        setDown(state, PadDown, down);
        break;
    case PadButton::DpadLeft:
        setDown(state, PadLeft, down);
        break;
    case PadButton::DpadRight:
        setDown(state, PadRight, down);
        break;
    case PadButton::A:
        setDown(state, PadA, down);
        break;
    case PadButton::Start:
        setDown(state, PadStart, down);
        break;
    case PadButton::B:
        setDown(state, PadB, down);
        break;
    case PadButton::Back:
        setDown(state, PadBack, down);
        break;
    case PadButton::Other:
        break;
    }
}

void padStick(InputState& state, int axis, int32_t value) {
    if (axis == 0) {
        stickDirection(state, StickLeft, -value);
        stickDirection(state, StickRight, value);
    } else if (axis == 1) {
        stickDirection(state, StickUp, -value);
        stickDirection(state, StickDown, value);
    }
}

} // namespace input
