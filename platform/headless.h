#pragma once
// Controls of the headless platform, for the simulator and the tests: scripted keys,
// a virtual clock, sounds recorded by name and the last presented frame kept in memory.

#include "platform/input.h"
#include "platform/platform.h"

#include <cstdint>
#include <string>

namespace headless {

// Starts afresh: every key up with no went-down record, the clock at `startTick`,
// no sounds heard, a black frame, no close request.
void reset(uint32_t startTick = 0);

// The keys are the keyboard's, fed into the same key check as the SDL platform's keyboard.
// The key goes down and stays down; its went-down record is set, unless it was down already.
void press(platform::Key key);
// The key goes up.
void release(platform::Key key);
// The key went down and up between two queries: only the went-down record is set. A key held
// down is let go first, as a finger would.
void tap(platform::Key key);

// The raw virtual clock; tickCount reads it less the time the clock was held.
void setClock(uint32_t tick);
void advanceClock(uint32_t ms);
uint32_t clock();

// The keys (down now, went down since the last query) and the clock: what a search saves with
// the game's records to branch a run, and puts back to return to that moment.
struct KeysAndClock {
    input::InputState keys;
    uint32_t clock = 0;
};
KeysAndClock saveKeysAndClock();
void restoreKeysAndClock(const KeysAndClock& saved);

// The next takePauseRequest gives this request, if pausing is allowed then (a key P, or the
// window losing the focus). The clock that the game reads (tickCount) leaves out the time held.
void requestPause(platform::PauseRequest request);
// The player asks to see the keys card (F1), or no longer.
void showKeys(bool shown);
// What the last present was handed to draw over its picture.
const platform::Overlays& lastOverlays();

// The next pumpEvents answers as if the window had been closed.
void requestClose();

// The message of the last error box asked for since the last call, "" when none. Nothing is
// shown: there is no window system.
std::string takeErrorBox();

// The sounds asked for since the last call, in call order, comma-joined; "-" when none.
std::string takeSounds();

// The last presented picture, 640 x 480 RGB565, rows top to bottom.
const uint16_t* frame();
// Whether a present keeps a copy of its picture: yes after reset. A present that keeps none
// costs no copy; frame(), frameHash() and saveFramePng then still see the last picture kept.
void keepFrames(bool keep);
int presentCount();
// FNV-1a 32 over the last presented picture, rows top to bottom, each pixel low byte first.
uint32_t frameHash();
// Writes the last presented picture as a PNG; false with a message on standard error on failure.
bool saveFramePng(const char* path);

} // namespace headless
