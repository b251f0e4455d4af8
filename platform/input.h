#pragma once
// The key check's bookkeeping, shared by every input device: each physical source (a keyboard
// key, a pad button, a stick direction) keeps whether it is down and whether it went down since
// the game last asked for its key. A key counts when any of its sources is down or went down;
// asking clears the went-down records of all its sources. No devices here, so tests use it as is.

#include "platform/platform.h"

#include <array>
#include <cstdint>

namespace input {

enum Source : int {
    KeyboardUp,
    KeyboardDown,
    KeyboardLeft,
    KeyboardRight,
    KeyboardReturn,
    KeyboardKeypadEnter,
    KeyboardEscape,
    PadUp,
    PadDown,
    PadLeft,
    PadRight,
    PadA,
    PadStart,
    PadB,
    PadBack,
    StickUp,
    StickDown,
    StickLeft,
    StickRight,
    SourceCount,
};

// The pad's buttons as the game controller interface names them.
enum class PadButton { DpadUp, DpadDown, DpadLeft, DpadRight, A, B, Back, Start, Other };

struct SourceState {
    bool down = false;
    bool wentDown = false;
};

struct InputState {
    std::array<SourceState, SourceCount> sources{};
};

// The keyboard key that stands for each of the game's keys (Enter: Return).
Source keyboardSource(platform::Key key);

// A source going down or up. Only a source that was up gains a went-down record: a key already
// down cannot go down again.
void setDown(InputState& state, Source source, bool down);
// Everything goes up (the window lost the focus); a press already made still counts once.
void releaseAll(InputState& state);
// Everything goes up and every went-down record is cleared (pause and resume).
void forgetAll(InputState& state);
bool check(InputState& state, platform::Key key);
// The key as check would see it, without clearing anything.
platform::KeyView view(const InputState& state, platform::Key key);

// A script's move of a key, made with the key's keyboard source: press, release, tap (release,
// press, release) and forget (every source of the key loses its went-down record).
void move(InputState& state, platform::Key key, platform::KeyMove move);
// The fewest moves, applied in order, that take a key's view `from` to `to`; returns how many
// (0 to 2) it wrote into `moves`. Any view can be reached from any other, so a recording that
// keeps these moves gives a replay the same view at every pass.
int movesBetween(platform::KeyView from, platform::KeyView to, platform::KeyMove moves[2]);

// A pad button going down or up; buttons that the game does not use do nothing.
void padButton(InputState& state, PadButton button, bool down);
// The left stick, axis 0 across (negative left) and axis 1 down (negative up), -32768..32767.
// It counts as a direction past half way and lets go again below a third, so that a stick
// resting near the threshold does not chatter.
void padStick(InputState& state, int axis, int32_t value);

} // namespace input
