// The end screen with its verdict on the high score, and the end of a run.

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

void showEndScreen() {
    display::blitBackdrop(display::WholeScreen, 0, 0);
    display::blitSprite(atlas::HighScoresBanner, 130, 10);

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

    // Lines under the verdict: a score that was not saved, then a park that could not be loaded.
    int32_t y = 170;
    if (!outcome.failure.empty()) {
        const std::string line = "Could not save it: " + outcome.failure;
        display::drawText(line.c_str(), 130, y);
        y += 20;
    }
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
