// zanbury-sim [--dir DIR] [--frames N] [--ticks START] [--practice N] [--shot FRAME=FILE.png ...]
//             [--no-hash] SCRIPT|RECORDING

#include "park/readers.h"
#include "tools/common/common.h"
#include "tools/sim/sim.h"
#include "zanbury_version.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

using tools::wholeNumber;

int usage() {
    std::fprintf(stderr, "usage: zanbury-sim [--dir DIR] [--frames N] [--ticks START] "
                         "[--practice N] [--shot FRAME=FILE.png ...] [--no-hash] "
                         "SCRIPT|RECORDING\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (version::printVersion(argc, argv, "zanbury-sim")) {
        return 0;
    }
    sim::Options options;
    const char* scriptPath = nullptr;
    bool ticksGiven = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        long long value = 0;
        bool hasValue = i + 1 < argc;
        if (arg == "--dir" && hasValue) {
            options.dir = argv[++i];
        } else if (arg == "--frames" && hasValue) {
            if (!wholeNumber(argv[++i], 0, INT64_MAX, value)) {
                std::fprintf(stderr, "zanbury-sim: --frames takes a whole number\n");
                return 2;
            }
            options.maxFrames = value;
        } else if (arg == "--ticks" && hasValue) {
            if (!wholeNumber(argv[++i], 0, UINT32_MAX, value)) {
                std::fprintf(stderr, "zanbury-sim: --ticks takes a number from 0 to 4294967295\n");
                return 2;
            }
            options.startTick = static_cast<uint32_t>(value);
            ticksGiven = true;
        } else if (arg == "--practice" && hasValue) {
            if (!wholeNumber(argv[++i], 1, INT32_MAX, value)) {
                std::fprintf(stderr, "zanbury-sim: --practice takes a park's number, from 1\n");
                return 2;
            }
            options.practice = static_cast<int32_t>(value);
        } else if (arg == "--shot" && hasValue) {
            std::string spec = argv[++i];
            std::size_t eq = spec.find('=');
            if (eq == std::string::npos ||
                !wholeNumber(spec.substr(0, eq).c_str(), 1, INT64_MAX, value) ||
                eq + 1 == spec.size()) {
                std::fprintf(stderr, "zanbury-sim: --shot takes FRAME=FILE.png\n");
                return 2;
            }
            // Shots are written relative to where the simulator was started.
            options.shots.push_back(
                {value, std::filesystem::absolute(spec.substr(eq + 1)).string()});
        } else if (arg == "--no-hash") {
            options.hash = false;
        } else if (arg.rfind("--", 0) == 0 || scriptPath != nullptr) {
            return usage();
        } else {
            scriptPath = argv[i];
        }
    }
    if (scriptPath == nullptr) {
        return usage();
    }
    std::string text;
    park::Problem unread;
    if (!park::readTextFile(scriptPath, text, unread, recording::MaxRecordingBytes)) {
        std::fprintf(stderr, "zanbury-sim: %s\n", park::formatProblem(unread).c_str());
        return 2;
    }
    if (recording::looksLikeRecording(text)) {
        recording::Recording recorded;
        if (!recording::parse(text, scriptPath, version::ProjectVersion, recorded, unread)) {
            std::fprintf(stderr, "zanbury-sim: %s\n", park::formatProblem(unread).c_str());
            return 2;
        }
        if (ticksGiven) {
            std::fprintf(stderr, "zanbury-sim: --ticks does not go with a recording, which holds "
                                 "its own clock\n");
            return 2;
        }
        if (options.practice != 0) {
            std::fprintf(stderr, "zanbury-sim: --practice does not go with a recording, which "
                                 "says whether it was practice\n");
            return 2;
        }
        return sim::runRecording(options, std::move(recorded), stdout);
    }
    std::string error;
    std::vector<sim::ScriptEvent> events;
    if (!sim::parseScript(text, scriptPath, events, error)) {
        std::fprintf(stderr, "zanbury-sim: %s\n", error.c_str());
        return 2;
    }
    return sim::runSimulation(options, events, stdout);
}
