// zanbury-autoplay [--dir DIR] [--park N] [--out FILE] [--expected TABLE] [--tightness TABLE]
//                  [--seconds S] [--prove]
//
// Searches each park of DIR/parks.txt (or park N alone, counted from 1) for a run that completes
// it with no fall, prints the verdict of each park with its tightness, and writes the winning
// run as a zanbury-sim script: for one park, a script for a park list naming that park alone;
// for every park, a script of the whole run.

#include "tools/autoplay/autoplay.h"
#include "tools/common/common.h"
#include "zanbury_version.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

int usage() {
    std::fprintf(stderr,
                 "usage: zanbury-autoplay [--dir DIR] [--park N] [--out FILE] "
                 "[--expected TABLE] [--tightness TABLE] [--seconds S] [--prove]\n"
                 "  --dir DIR         the directory of parks.txt and the parks (default .)\n"
                 "  --park N          search only the Nth park of the list\n"
                 "  --out FILE        write the steady run as a zanbury-sim script\n"
                 "  --expected TABLE  record the steady run's score of each park in TABLE\n"
                 "  --tightness TABLE record each completed park's narrowest window in TABLE\n"
                 "  --seconds S       give each search at most S seconds (default 60)\n"
                 "  --prove           also prove that no press has to hit one exact frame\n"
                 "A press's timing window: that press alone (same key, same hold) moved earlier\n"
                 "and later frame by frame, every other press where it is, counts the frames on\n"
                 "which it may land with the run still completing the park with no fall\n"
                 "(latest - earliest + 1). A park's tightness is its narrowest window: the\n"
                 "smaller, the tighter.\n"
                 "Exits with 1 when a park is not completed (with --prove: not proved), with 2 "
                 "on a usage or file error.\n");
    return 2;
}

bool writeText(const std::string& path, const std::string& text) {
    std::string error;
    if (!tools::writeTextFile(path, text, error)) {
        std::fprintf(stderr, "zanbury-autoplay: %s\n", error.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (version::printVersion(argc, argv, "zanbury-autoplay")) {
        return 0;
    }
    fs::path dir = ".";
    long park = 0;
    std::string outPath;
    std::string expectedPath;
    std::string tightnessPath;
    autoplay::SearchOptions options;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        char* end = nullptr;
        if (arg == "--dir" && hasValue) {
            dir = argv[++i];
        } else if (arg == "--park" && hasValue) {
            park = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || park < 1) {
                std::fprintf(stderr, "zanbury-autoplay: --park takes a park number from 1\n");
                return 2;
            }
        } else if (arg == "--out" && hasValue) {
            outPath = argv[++i];
        } else if (arg == "--expected" && hasValue) {
            expectedPath = argv[++i];
        } else if (arg == "--tightness" && hasValue) {
            tightnessPath = argv[++i];
        } else if (arg == "--seconds" && hasValue) {
            options.secondsPerSearch = std::strtod(argv[++i], &end);
            if (*end != '\0' || !(options.secondsPerSearch > 0)) {
                std::fprintf(stderr, "zanbury-autoplay: --seconds takes a number above 0\n");
                return 2;
            }
        } else if (arg == "--prove") {
            options.prove = true;
        } else {
            return usage();
        }
    }

    std::vector<std::string> names;
    std::string error;
    if (!tools::parkNames(dir, names, error)) {
        std::fprintf(stderr, "zanbury-autoplay: %s\n", error.c_str());
        return 2;
    }
    if (park > static_cast<long>(names.size())) {
        std::fprintf(stderr, "zanbury-autoplay: %s lists %zu park(s), so there is no park %ld\n",
                     (dir / "parks.txt").string().c_str(), names.size(), park);
        return 2;
    }

    bool allProved = true;
    bool allCompleted = true;
    std::vector<std::vector<sim::ScriptEvent>> scripts;
    std::vector<int32_t> lengths;
    std::vector<int32_t> tightnesses; // the narrowest window of each park, in list order
    std::string singleScript;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (park != 0 && static_cast<long>(i) + 1 != park) {
            continue;
        }
        autoplay::Verdict v = autoplay::searchPark(dir / names[i], options);
        v.parkName = names[i];
        std::printf("%s",
                    autoplay::wrapped("park " + std::to_string(i + 1) + " " + autoplay::describe(v))
                        .c_str());
        std::fflush(stdout);
        allCompleted = allCompleted && v.completed;
        allProved = allProved && v.proved();
        if (!v.completed) {
            continue;
        }
        singleScript = autoplay::scriptText(v, true);
        std::vector<sim::ScriptEvent> events;
        sim::parseScript(singleScript, names[i].c_str(), events, error);
        scripts.push_back(events);
        lengths.push_back(v.parkLength);
        const std::string file = fs::path(names[i]).filename().string();
        const int32_t tightness = v.tightness();
        tightnesses.push_back(tightness);
        if ((!expectedPath.empty() &&
             !tools::recordExpected(expectedPath, file, v.steady.score, error)) ||
            (!tightnessPath.empty() && !v.steady.windows.empty() &&
             !tools::recordExpected(tightnessPath, file, tightness, error))) {
            std::fprintf(stderr, "zanbury-autoplay: %s\n", error.c_str());
            return 2;
        }
    }
    if (park == 0 && allCompleted && !tightnesses.empty()) {
        std::string line = "tightness down the list:";
        bool rising = true;
        for (std::size_t i = 0; i < tightnesses.size(); ++i) {
            line += " " + std::to_string(tightnesses[i]);
            rising = rising && (i == 0 || tightnesses[i] <= tightnesses[i - 1]);
        }
        line += rising ? " frames; never wider than the park before"
                       : " frames; a park is looser than the one before it";
        std::printf("%s", autoplay::wrapped(line).c_str());
    }

    if (!outPath.empty() && !allCompleted) {
        std::fprintf(stderr, "zanbury-autoplay: %s is not written: no way through was found\n",
                     outPath.c_str());
    }
    if (park != 0) {
        if (!outPath.empty() && allCompleted && !writeText(outPath, singleScript)) {
            return 2;
        }
    } else if (allCompleted) {
        // The whole run, proved in a copy of the parks with no high score file.
        std::vector<sim::ScriptEvent> run = autoplay::joinRun(scripts, lengths);
        tools::ScratchDir scratch("autoplay-run");
        if (!scratch.error.empty() || !tools::copyParks(dir, scratch.path, error)) {
            error = scratch.error.empty() ? error : scratch.error;
            std::fprintf(stderr, "zanbury-autoplay: %s\n", error.c_str());
            return 2;
        }
        autoplay::ReplayOutcome whole = autoplay::replay(scratch.path, run, run.back().frame + 8);
        std::printf("%s", autoplay::wrapped(std::string("whole run: ") +
                                            (whole.completed ? "completed" : "NOT completed") +
                                            ", score " + std::to_string(whole.score) + ", " +
                                            autoplay::counted(whole.livesLost, "fall", "falls") +
                                            "\ntricks: " + autoplay::describeTricks(whole.tricks))
                              .c_str());
        allCompleted = whole.completed && whole.livesLost == 0;
        allProved = allProved && allCompleted;
        if (!outPath.empty() && !allCompleted) {
            std::fprintf(stderr, "zanbury-autoplay: %s is not written: the whole run fails\n",
                         outPath.c_str());
        }
        if (!outPath.empty() && allCompleted) {
            std::string header = "# The whole run of " + (dir / "parks.txt").string() +
                                 ", made by zanbury-autoplay: " + std::to_string(whole.score) +
                                 " points, no fall.\n";
            if (!writeText(outPath, header + autoplay::eventsText(run))) {
                return 2;
            }
        }
    }
    return !allCompleted || (options.prove && !allProved) ? 1 : 0;
}
