// The end screen with its verdict on the high score (none in practice), and the end of a run.

#include "core/run_state.h"
#include "display/atlas.h"
#include "display/display.h"
#include "park/park.h"

#include <cstdio>
#include <string>

namespace park {

HighScoreTape highScoreTape;

void copyText(const char* text, char* buffer) {
    for (std::size_t i = 0;; ++i) {
        buffer[i] = text[i];
        if (text[i] == '\0') {
            break;
        }
    }
}

namespace {

// The verdict on the high score, with the line under it when a new one could not be saved;
// returns the row of the next line.
int32_t drawVerdict() {
    HighScoreTape& tape = highScoreTape;
    if (!tape.replaying) {
        tape.outcome = recordHighScore(run.score);
    }
    tape.score = run.score;
    tape.reads += 1;
    const HighScoreOutcome& outcome = tape.outcome;
    if (!outcome.newHighScore) {
        display::drawText("Press enter to continue...", 10, 460);
        display::drawText("Low score", 130, 140);
    } else {
        display::drawText("New high score!", 130, 140);
        display::drawText("Press enter to continue...", 10, 460);
        std::snprintf(run.scoreText, sizeof run.scoreText, "%d", run.score);
        display::drawText(run.scoreText, 250, 140);
    }
    if (outcome.failure.empty()) {
        return 170;
    }
    const std::string line = "Could not save it: " + outcome.failure;
    display::drawText(line.c_str(), 130, 170);
    return 190;
}

} // namespace

void showEndScreen() {
    display::blitBackdrop(display::WholeScreen, 0, 0);
    display::blitSprite(atlas::HighScoresBanner, 130, 10);

    int32_t y = 170;
    if (practice.park > 0) {
        // A practice run is no run: the high score's file, its lock and its run are left alone,
        // and the session's recording holds no verdict to give back.
        display::drawText(PracticeLine, 130, 140);
        display::drawText("Press enter to continue...", 10, 460);
    } else {
        y = drawVerdict();
    }
    // Under the verdict: a park that could not be loaded.
    if (failedPark.name[0] != '\0') {
        const std::string line =
            "The park file " + printable(failedPark.name) + " could not be loaded.";
        display::drawText(line.c_str(), 130, y);
        failedPark = FailedPark{}; // named once
    }
}

void endRun() {
    showEndScreen();
    gameState = GameState::GameOver;
}

} // namespace park
