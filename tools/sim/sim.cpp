// The simulator's passes: a script's keys or a recording's session played on the headless
// platform, each pass traced, with the shots asked for.

#include "tools/sim/sim.h"

#include "app/flow.h"
#include "app/session.h"
#include "app/shell.h"
#include "app/trace.h"
#include "core/run_state.h"
#include "display/display.h"
#include "platform/headless.h"
#include "tools/common/common.h"

#include <algorithm>
#include <filesystem>

namespace sim {
namespace {

// The working directory moved into the simulation's for as long as this lives.
struct InDirectory {
    std::filesystem::path previous = std::filesystem::current_path();
    std::error_code ec;
    explicit InDirectory(const std::string& dir) {
        std::filesystem::current_path(dir, ec);
        if (ec) {
            std::fprintf(stderr, "zanbury-sim: cannot enter %s: %s\n", dir.c_str(),
                         ec.message().c_str());
        }
    }
    ~InDirectory() {
        std::error_code ignored;
        std::filesystem::current_path(previous, ignored);
    }
    InDirectory(const InDirectory&) = delete;
    InDirectory& operator=(const InDirectory&) = delete;
};

// One pass with its shots: a picture is kept only where a shot reads it (the trace's hash
// reads the back buffer).
void passWithShots(const Options& options, int64_t frame) {
    headless::keepFrames(std::any_of(options.shots.begin(), options.shots.end(),
                                     [&](const Shot& shot) { return shot.frame == frame; }));
    playPass();
    headless::takeSounds(); // the trace takes the display's list; the platform's is not kept
}

void takeShots(const Options& options, int64_t frame) {
    for (const Shot& shot : options.shots) {
        if (shot.frame == frame) {
            headless::saveFramePng(shot.path.c_str());
        }
    }
}

} // namespace

void playPass() {
    runStateHandler();
    headless::advanceClock(1); // each pass's work takes 1 ms
    paceAndPresent();
}

std::string traceLine(int64_t frame, const std::string& sounds, bool withHash) {
    char hash[9] = "-";
    if (withHash) {
        std::snprintf(hash, sizeof hash, "%08x", display::backBufferHash());
    }
    char line[trace::MaxLine];
    trace::format(line, sizeof line, frame, sounds.c_str(), hash);
    return line;
}

std::string traceField(const std::string& line, const char* name) {
    const std::string key = std::string(" ") + name + "=";
    std::size_t at = line.find(key);
    std::size_t start = 0;
    if (at != std::string::npos) {
        start = at + key.size();
    } else if (line.rfind(key.substr(1), 0) == 0) {
        start = key.size() - 1;
    } else {
        return "";
    }
    return line.substr(start, line.find(' ', start) - start);
}

int runSimulation(const Options& options, const std::vector<ScriptEvent>& events, std::FILE* out) {
    InDirectory in(options.dir);
    if (in.ec) {
        return 1;
    }
    if (!tools::startHeadlessGame(options.startTick)) {
        return 1;
    }
    std::size_t next = 0;
    for (int64_t frame = 1; options.maxFrames < 0 || frame <= options.maxFrames; ++frame) {
        for (; next < events.size() && events[next].frame <= frame; ++next) {
            platform::scriptKey(events[next].key, events[next].action);
        }
        passWithShots(options, frame);
        trace::write(out, frame, options.hash);
        takeShots(options, frame);
        if (gameState == GameState::Quit) {
            break;
        }
    }
    shutDown();
    return 0;
}

int runRecording(const Options& options, recording::Recording recording, std::FILE* out) {
    InDirectory in(options.dir);
    if (in.ec) {
        return 1;
    }
    if (!tools::startHeadlessGame(0)) {
        return 1;
    }
    std::string message;
    if (!session::startReplay(std::move(recording), message)) {
        std::fprintf(stderr, "zanbury-sim: %s\n", message.c_str());
        shutDown();
        return 2;
    }
    session::startTrace(out, options.hash, false);
    for (int64_t frame = 1; options.maxFrames < 0 || frame <= options.maxFrames; ++frame) {
        if (!session::beforePass()) {
            break;
        }
        passWithShots(options, frame);
        session::afterPass();
        takeShots(options, frame);
        if (gameState == GameState::Quit) {
            break;
        }
    }
    const bool ok = session::finish(message);
    if (!message.empty()) {
        std::fprintf(stderr, "zanbury-sim: %s\n", message.c_str());
    }
    shutDown();
    return ok ? 0 : 2;
}

} // namespace sim
