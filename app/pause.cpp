// Pause (see pause.h): the requests the platform reports, the paused pass, and the overlays.

#include "app/pause.h"

#include "core/run_state.h"
#include "display/atlas.h"
#include "display/display.h"

PauseState pauseState;

namespace {

// How long a paused pass waits for an event: the picture is presented again after each wait, so
// that it comes back after the window was covered, resized or its look changed.
constexpr uint32_t PausedWaitMs = 250;

void pause() {
    pauseState.paused = true;
    platform::holdClock(true);
    platform::forgetKeys();
}

void resume() {
    pauseState.paused = false;
    platform::forgetKeys();
    platform::holdClock(false);
}

} // namespace

bool pausedPass() {
    const platform::PauseRequest request = platform::takePauseRequest();
    if (!pauseState.paused) {
        if (request == platform::PauseRequest::None || gameState != GameState::Playing) {
            return false;
        }
        pause();
    } else if (request == platform::PauseRequest::Toggle) {
        resume();
        return false;
    }
    display::present(frameOverlays());
    platform::waitForEvents(PausedWaitMs);
    return true;
}

void allowPauseInPlay() {
    platform::allowPause(gameState == GameState::Playing);
}

platform::Overlays frameOverlays() {
    platform::Overlays overlays;
    if (gameState == GameState::Playing) {
        // The board's red underside: the flat board's deck is black, unseen on the black margin.
        overlays.life = display::spritePicture(atlas::BoardUnderside);
        overlays.lives = run.lives;
    }
    if (pauseState.paused) {
        overlays.sign = display::pausedSign();
    }
    return overlays;
}
