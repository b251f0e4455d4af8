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
#include <cerrno>
#include <cstring>
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

// A trace line that could not be written (a full disk, a closed output): the run stops.
int traceFailed() {
    std::fprintf(stderr, "zanbury-sim: cannot write the trace: %s\n", std::strerror(errno));
    return 1;
}

// The passes of a started game, each traced, with the script's keys before each or, without a
// script, the session's replay around each. Returns 0, or 1 when the trace or a shot cannot be
// written.
int playPasses(const Options& options, const std::vector<ScriptEvent>* script, std::FILE* out) {
    int code = 0;
    std::size_t next = 0;
    for (int64_t frame = 1; options.maxFrames < 0 || frame <= options.maxFrames; ++frame) {
        if (script != nullptr) {
            for (; next < script->size() && (*script)[next].frame <= frame; ++next) {
                platform::scriptKey((*script)[next].key, (*script)[next].action);
            }
        } else if (!session::beforePass()) {
            break;
        }
        // A picture is kept only where a shot reads it (the trace's hash reads the back buffer).
        const auto shot = [frame](const Shot& s) { return s.frame == frame; };
        headless::keepFrames(std::any_of(options.shots.begin(), options.shots.end(), shot));
        playPass();
        headless::takeSounds(); // the trace takes the display's list; the platform's is not kept
        if (script == nullptr) {
            session::afterPass();
        }
        if (!trace::write(out, frame, options.hash)) {
            code = traceFailed();
            break;
        }
        for (const Shot& s : options.shots) {
            if (shot(s) && !headless::saveFramePng(s.path.c_str())) {
                code = 1; // the reason is on standard error
            }
        }
        if (code != 0 || gameState == GameState::Quit) {
            break;
        }
    }
    // A full disk shows only when the last of the trace is flushed.
    if (code == 0 && (std::fflush(out) != 0 || std::ferror(out) != 0)) {
        code = traceFailed();
    }
    return code;
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
    if (in.ec || !tools::startHeadlessGame(options.startTick, options.practice)) {
        return 1;
    }
    const int code = playPasses(options, &events, out);
    shutDown();
    return code;
}

int runRecording(const Options& options, recording::Recording recording, std::FILE* out) {
    InDirectory in(options.dir);
    if (in.ec || !tools::startHeadlessGame(0)) {
        return 1;
    }
    std::string message;
    if (!session::startReplay(std::move(recording), message)) {
        std::fprintf(stderr, "zanbury-sim: %s\n", message.c_str());
        shutDown();
        return 2;
    }
    const int code = playPasses(options, nullptr, out);
    const bool replayed = session::finish(message);
    if (!message.empty()) {
        std::fprintf(stderr, "zanbury-sim: %s\n", message.c_str());
    }
    shutDown();
    return code != 0 ? code : replayed ? 0 : 2;
}

} // namespace sim
