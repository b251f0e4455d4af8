#pragma once
// The simulator: the real game, start-up to shutdown, on the headless platform, driven by an
// input script or a recording of the game, and printing one trace line per pass.

#include "app/recording.h"
#include "app/script.h"
#include "platform/platform.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// The script format is the game's own (app/script.h), which recordings share.
using ScriptEvent = script::Event;
using Action = script::Action;
using script::actionName;
using script::keyName;

// Parses script lines `FRAME KEY ACTION`; # comments and blank lines are ignored. Returns false
// with a message naming the line in `error` on a bad line.
inline bool parseScript(std::string_view text, const char* fileName,
                        std::vector<ScriptEvent>& events, std::string& error) {
    return script::parse(text, fileName, events, error);
}

struct Shot {
    int64_t frame = 0;
    std::string path;
};

struct Options {
    std::string dir = ".";
    int64_t maxFrames = -1; // -1: until Quit
    uint32_t startTick = 0;
    int32_t practice = 0; // a script's every new run plays this park alone (from 1); 0: none
    std::vector<Shot> shots;
    // The trace's frame hash reads every byte of the picture in turn, which costs more than the
    // frame itself; without it the trace prints hash=-.
    bool hash = true;
};

// One main-loop pass as the simulator runs it: the handler, 1 ms of work on the virtual clock,
// the pacer's wait and the present.
void playPass();

// The trace line of the pass just presented, without the line break; hash=- when withHash is
// false.
std::string traceLine(int64_t frame, const std::string& sounds, bool withHash = true);

// The value of `name=` in a trace line, or "" when the line has none.
std::string traceField(const std::string& line, const char* name);

// Runs the game with the script; returns the exit code: 0, or 1 when start-up fails (a practice
// park that the list lacks included) or a trace line or a shot cannot be written (the run then
// stops, with the reason on standard error).
int runSimulation(const Options& options, const std::vector<ScriptEvent>& events, std::FILE* out);

// Replays a recording of the game (the clock and the high score as recorded; options.startTick
// plays no part): returns 0; 1 when the game does not start; 2 when the recording's parks
// differ from the directory's, or the game does not read what the recording holds, with the
// reason naming the line on standard error. A note says when the recording was cut short.
int runRecording(const Options& options, recording::Recording recording, std::FILE* out);

} // namespace sim
