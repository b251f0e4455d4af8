// Pause (see pause.h): the requests the platform reports, the paused pass, and the overlays.

#include "app/pause.h"

#include "app/standing.h"

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
    pauseState.forKeys = false;
    platform::forgetKeys();
    platform::holdClock(false);
}

} // namespace

bool pausedPass() {
    const platform::PauseRequest request = platform::takePauseRequest();
    const bool keys = platform::keysShown();
    if (!pauseState.paused) {
        if (gameState != GameState::Playing || (request == platform::PauseRequest::None && !keys)) {
            return false;
        }
        pause();
        pauseState.forKeys = request == platform::PauseRequest::None;
    } else if (!keys && (request == platform::PauseRequest::Toggle || pauseState.forKeys)) {
        // A pause the keys card made ends with the card; the player's own with the player.
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
    if (platform::keysShown()) {
        overlays.sign = display::card(display::Card::Keys, keysLines());
        return overlays; // the keys alone, over nothing else of the present's
    }
    if (pauseState.paused) {
        overlays.sign = display::pausedSign();
    }
    overlays.card = display::card(display::Card::Standing, standingLines());
    if (const char* note = platform::currentNote()) {
        overlays.note = display::card(display::Card::Note, {note});
    }
    return overlays;
}
