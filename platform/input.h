#pragma once
// The key check's bookkeeping, shared by every input device: each source (a place of a game key
// that a keyboard key or a pad input is bound to, or the page's touch button of the key) keeps
// whether it is down and whether it went down since the game last asked for its key. A key counts
// when any of its sources is down or went down; asking clears the went-down records of all its
// sources. No devices here, so tests use it as is.

#include "platform/platform.h"

#include <array>
#include <cstdint>

namespace input {

// Each of the game's keys has two keyboard places and two pad places, which the player's
// bindings fill (platform/bindings.h): a place is down while the key or pad input bound to it
// is down. In the browser each key has a touch button as well, down while a finger is on it.
inline constexpr int Places = 2;
enum Source : int {};
inline constexpr int PadSourcesEnd = 2 * platform::KeyCount * Places;
inline constexpr int SourceCount = PadSourcesEnd + platform::KeyCount;
constexpr Source keyboardPlace(platform::Key key, int place) {
    return static_cast<Source>(static_cast<int>(key) * Places + place);
}
constexpr Source padPlace(platform::Key key, int place) {
    return static_cast<Source>(platform::KeyCount * Places + static_cast<int>(key) * Places +
                               place);
}
constexpr bool isPadSource(int source) {
    return source >= platform::KeyCount * Places && source < PadSourcesEnd;
}
constexpr Source touchPlace(platform::Key key) {
    return static_cast<Source>(PadSourcesEnd + static_cast<int>(key));
}

struct SourceState {
    bool down = false;
    bool wentDown = false;
};

struct InputState {
    std::array<SourceState, SourceCount> sources{};
};

// The keyboard place that a script's moves of a key use: its first.
constexpr Source keyboardSource(platform::Key key) {
    return keyboardPlace(key, 0);
}

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

// A stick's or trigger's direction as a key: held past half way, let go again below a third,
// so that a stick resting near the threshold does not chatter. `amount` is the axis's value in
// the direction (-32768..32767); returns whether it is held now.
bool axisHeld(bool held, int32_t amount);

} // namespace input
