// The shell: start-up, the frame's pacing and present, the main loop and shutdown.

#include "app/shell.h"

#include "app/command_line.h"
#include "app/flow.h"
#include "app/pause.h"
#include "app/records.h"
#include "app/session.h"
#include "core/run_state.h"
#include "display/display.h"
#include "park/park.h"
#include "platform/platform.h"
#include "skater/skater.h"

#include <algorithm>
#include <cstdio>
#include <string>

FramePacer framePacer;

namespace {

constexpr uint32_t MaxNapMs = 10;

// A start-up failure: on standard error, and in a message box for a player who started the game
// from a desktop menu and sees no terminal. Returns the exit code, 1.
int cannotStart(const std::string& why) {
    const std::string text = park::printable(why);
    std::fprintf(stderr, "zanbury: %s\n", text.c_str());
    platform::showErrorBox("Zanbury", ("Zanbury cannot start:\n" + text).c_str());
    return 1;
}

} // namespace

int startUp() {
    if (!platform::openVideo()) {
        return 1; // nothing to show the game on: no file is read
    }
    park::Problem problem;
    int32_t parkNumber = 0;
    if (!park::readParkList(problem, parkNumber)) {
        std::string text = park::formatProblem(problem);
        if (parkNumber > 0) {
            text += " (park " + std::to_string(parkNumber) + " of parks.txt)";
        }
        return cannotStart(text);
    }
    if (park::practice.park > run.parkCount) {
        std::fprintf(stderr, "zanbury: --practice %d: parks.txt lists %d park%s\n",
                     park::practice.park, run.parkCount, run.parkCount == 1 ? "" : "s");
        return 2;
    }
    setStartUpRunValues();
    if (!platform::openWindow("Zanbury")) {
        platform::closeWindow();
        // The platform has said why on standard error; with no window system it shows no box.
        platform::showErrorBox("Zanbury", "Zanbury cannot start: the window cannot be opened.");
        return 1;
    }
    std::string why;
    if (!display::openDisplay(why)) {
        platform::closeWindow();
        return cannotStart(why);
    }
    setScreenPictures();
    placeSkaterAtStartUp();
    return 0;
}

void paceAndPresent() {
    // Sleep through all but the last millisecond of the wait, then spin: the frame keeps its
    // 34 ms spacing without holding a core.
    const uint32_t last = framePacer.lastPresentTick;
    const uint32_t due = last + 33u;
    // A tick count that wraps during the wait has gone past the due time, unless the sum wrapped
    // as well; without this the wait would last until the count came round again, 49 days on.
    auto waited = [last, due](uint32_t now) { return now > due || (due > last && now < last); };
    for (uint32_t now = session::waitTick(); !waited(now); now = session::waitTick()) {
        uint32_t left = due - now;
        if (left >= 2) {
            // In naps of a few milliseconds, so that a replay waiting out its recorded pace
            // still stops within a frame when the player asks.
            platform::sleepMs(std::min(left - 1, MaxNapMs));
        } else {
            platform::spinPause();
        }
        if (session::stopAskedDuringWait()) {
            break;
        }
    }
    framePacer.lastPresentTick = session::gameTick();
    display::present(frameOverlays());
}

bool loopPass() {
    if (!platform::pumpEvents()) {
        return false; // the window was closed
    }
    if (pausedPass()) {
        return true; // nothing of the game ran: the session sees no pass
    }
    if (!session::beforePass()) {
        return false; // the replay is over
    }
    frameStep();
    session::afterPass();
    allowPauseInPlay();
    return true;
}

void frameStep() {
    runStateHandler();
    paceAndPresent();
}

void resetProgramRecords() {
#define ZANBURY_RESET(record, name) record = ZANBURY_RECORD_TYPE(record){};
    ZANBURY_PROGRAM_RECORDS(ZANBURY_RESET)
#undef ZANBURY_RESET
}

void shutDown() {
    display::closeDisplay();
    platform::closeWindow();
}

int runGame(const GameOptions& options) {
    // Before the session, which gives a replay the practice its recording holds.
    park::practice.park = options.practice;
    if (int refused = prepareSession(options); refused != 0) {
        return refused;
    }
    if (int failed = startUp(); failed != 0) {
        endSession();
        shutDown(); // whatever start-up had opened, the video system at least
        return failed;
    }
    if (int failed = startSession(options); failed != 0) {
        endSession();
        shutDown();
        return failed;
    }
    while (gameState != GameState::Quit && loopPass()) {
    }
    const int code = endSession();
    shutDown();
    return code;
}
