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

bool check(InputState& state, platform::Key key) {
    static constexpr Source up[] = {KeyboardUp, PadUp, StickUp};
    static constexpr Source down[] = {KeyboardDown, PadDown, StickDown};
    static constexpr Source left[] = {KeyboardLeft, PadLeft, StickLeft};
    static constexpr Source right[] = {KeyboardRight, PadRight, StickRight};
    static constexpr Source enter[] = {KeyboardReturn, KeyboardKeypadEnter, PadA, PadStart};
    static constexpr Source escape[] = {KeyboardEscape, PadB, PadBack};
    auto counted = [&state](const auto& sources) {
        bool any = false;
        for (Source s : sources) {
            any = any || state.sources[s].down || state.sources[s].wentDown;
            state.sources[s].wentDown = false;
        }
        return any;
    };
    switch (key) {
    case platform::Key::Up:
        return counted(up);
    case platform::Key::Down:
        return counted(down);
    case platform::Key::Left:
        return counted(left);
    case platform::Key::Right:
        return counted(right);
    case platform::Key::Enter:
        return counted(enter);
    case platform::Key::Escape:
        return counted(escape);
    }
    return false;
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
