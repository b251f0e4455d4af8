#pragma once
// The shell: start-up, the frame with its pacing and present, shutdown, the main loop.

#include <cstdint>

struct FramePacer {
    uint32_t lastPresentTick = 0; // the tick read just before the last present
};

extern FramePacer framePacer;

// Brings up the video system first, so that with no display the game says so before reading
// any file; then reads and checks the park list and its parks, and that the practice park
// (park::practice) is one of them, before anything takes the screen; then opens the window and
// the display. Returns 0 when the game has started, else the exit code: 1 when it cannot start,
// with the reason on standard error and, where a window system is there, in a message box; 2
// when the list has no such practice park, said on standard error as a wrong command line is.
int startUp();

// One pass of the main loop: the pending events, then a paused pass (app/pause.h) or a pass of
// the game (the session's before and after it, the frame between). False when the loop is to
// end: the window was closed, or a replay is over.
bool loopPass();

// One frame: the handler of the current state, then the pacing wait and the present.
void frameStep();
// The second half of frameStep: wait until the tick count exceeds lastPresentTick + 33
// (unsigned, the sum wrapping), read the tick once more into lastPresentTick, present.
void paceAndPresent();

void shutDown();

// Puts every program-wide record of the list in app/records.h back to its value at program
// start, so that one process can run the game more than once (the simulator's callers, the
// tests).
void resetProgramRecords();

struct GameOptions;

// The whole program: start-up, the session that the options ask for (app/command_line.h), the
// main loop until Quit, a close request or the end of a replay, shutdown. Returns the process's
// exit code.
int runGame(const GameOptions& options);
