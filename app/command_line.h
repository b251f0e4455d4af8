#pragma once
// The game's command line (--record, --replay, --trace, --practice, --help, --version) and the
// session it starts, beside the recordings that the game always keeps in its working directory:
// last-run.txt, this session's, and highscore-run.txt, the run of the high score.

#include "app/recording.h"

#include <cstdint>
#include <string>

struct GameOptions {
    std::string record; // --record FILE: this session's recording, as well as last-run.txt
    std::string replay; // --replay FILE: show that recording instead of playing
    std::string trace;  // --trace FILE: the trace line of every pass
    // --practice N: every new run plays park N of parks.txt alone (app/flow.h); 0: whole runs
    int32_t practice = 0;
};

// Where the game plays and keeps its settings, in the words of --help: `plays` ends the help's
// first paragraph, `settings` names the settings file at its end. LinuxPlaces: the working
// directory and $XDG_CONFIG_HOME.
struct HelpPlaces {
    const char* plays;
    const char* settings;
};
extern const HelpPlaces LinuxPlaces;

// Reads the command line into `options`. Returns -1 when the game is to run; otherwise the
// exit code: 0 after --help or --version, 2 after a wrong command line (with the reason and
// the usage on standard error). With no arguments the game just plays.
int readCommandLine(int argc, char** argv, GameOptions& options,
                    const HelpPlaces& places = LinuxPlaces);

// Before start-up: the recording of --replay read, checked against the parks in the working
// directory and started. Returns 0, or 2 with the reason (naming the line) on standard error.
int prepareSession(const GameOptions& options);

// After start-up: the recording, into last-run.txt (a warning when that cannot be made) and the
// file of --record (not during a replay), and the trace. Returns 0, or 1 with the reason on
// standard error when a file asked for cannot be made.
int startSession(const GameOptions& options);

// Ends the session; returns the exit code, 0, or 2 when the replay went wrong. A replay's
// errors and notes go to standard error.
int endSession();
