#pragma once
// Pause, and what the present draws over the picture. The game pauses in play alone, at the
// player's request (P, Pause, a pad's Start) or when the window loses the focus, and resumes at
// the player's request only. While paused nothing of the game runs: no handler, no key query,
// and the clock that the game reads stands still; every key is let go and forgotten on pausing
// and on resuming, so that nothing pressed before or during the pause acts afterwards.

#include "platform/platform.h"

struct PauseState {
    bool paused = false;
    bool forKeys = false; // made by the keys card (F1), and ended when it goes
};

extern PauseState pauseState;

// Takes the pass's pause request. True when the pass is a paused one, done here: the still
// picture presented again with its sign, then a wait for events; nothing of the game runs.
bool pausedPass();
// After a pass of the game: pausing is allowed in play alone.
void allowPauseInPlay();

// What the present draws over the frame now: the lives during play, the sign while paused (the
// keys card while the player asks for it), where the player stands between parks (app/standing.h)
// and the note of a choice just made.
platform::Overlays frameOverlays();
