// The end screen, and the high score file that it compares with and rewrites; the end of a run.

#include "core/run_state.h"
#include "display/atlas.h"
#include "display/display.h"
#include "park/park.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace park {

HighScoreTape highScoreTape;

namespace {

constexpr const char* HighScoreFile = "highscore.txt";
constexpr const char* HighScoreTemp = "highscore.txt.new";

// Writes the digits in full to a file beside the old one, then renames it over the old one,
// so that at every moment the file holds either the old number or the new one. On failure the
// reason is left in errno.
bool writeHighScore(int32_t score) {
    char digits[16];
    int n = std::snprintf(digits, sizeof digits, "%d", score);
    std::FILE* f = std::fopen(HighScoreTemp, "wb");
    if (f == nullptr) {
        return false;
    }
    errno = 0;
    bool ok = std::fwrite(digits, 1, static_cast<std::size_t>(n), f) == static_cast<std::size_t>(n);
    ok = std::fflush(f) == 0 && ok;
    ok = fsync(fileno(f)) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (!ok || std::rename(HighScoreTemp, HighScoreFile) != 0) {
        int reason = errno;
        std::remove(HighScoreTemp);
        errno = reason;
        return false;
    }
    return true;
}

} // namespace

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

    // A missing, empty or unreadable file holds no high score: any score beats it.
    HighScoreTape& tape = highScoreTape;
    if (!tape.replaying) {
        std::string text;
        Problem unread;
        tape.stored = 0;
        tape.haveStored =
            readTextFile(HighScoreFile, text, unread) && parseHighScore(text, tape.stored);
    }
    tape.reads += 1;
    const bool haveStored = tape.haveStored;
    const int32_t stored = tape.stored;

    if (haveStored && run.score < stored) {
        display::drawText("Press enter to continue...", 10, 460);
        display::drawText("Low score", 130, 140);
    } else {
        display::drawText("New high score!", 130, 140);
        display::drawText("Press enter to continue...", 10, 460);
        std::snprintf(run.scoreText, sizeof run.scoreText, "%d", run.score);
        display::drawText(run.scoreText, 250, 140);
        if (tape.replaying) {
            // a replay shows the run again and keeps no score
        } else if (writeHighScore(run.score)) {
            tape.wroteNewHighScore = true;
        } else {
            std::fprintf(stderr, "zanbury: warning: cannot write %s: %s\n", HighScoreFile,
                         std::strerror(errno));
        }
    }

    if (failedPark.name[0] != '\0') {
        std::string line =
            std::string("The park file ") + failedPark.name + " could not be loaded.";
        display::drawText(line.c_str(), 130, 170);
        failedPark = FailedPark{}; // named once
    }
}

void endRun() {
    showEndScreen();
    gameState = GameState::GameOver;
}

} // namespace park
