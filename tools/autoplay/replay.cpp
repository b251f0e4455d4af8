// Replays through the simulator: a script played in a park directory, and what its trace comes
// to (the end screen reached, the score, the falls, the parks completed and the tricks).

#include "skater/skater.h"
#include "tools/autoplay/autoplay.h"
#include "tools/common/common.h"
#include "tools/sim/sim.h"

#include <cstdio>
#include <cstdlib>

namespace autoplay {
namespace {

int32_t traceNumber(const std::string& line, const char* name) {
    return static_cast<int32_t>(std::strtol(sim::traceField(line, name).c_str(), nullptr, 10));
}

// The tricks a replay shows, read from its trace: a jump or hop starts in the pass after which
// riseFrames stands at its start value, a board flip or spin completes when it ends with its
// timer run out, a rail trick when it becomes TrickDone.
struct TrickWatch {
    TrickCounts counts;
    bool previousPlaying = false;
    int32_t previousTrick = 0;

    void see(bool playing, int32_t trick, int32_t timer, int32_t rise) {
        if (playing) {
            if (rise == 20) {
                ++counts.jumps;
            }
            if (trick == static_cast<int32_t>(Trick::Hop) && rise == 15) {
                ++counts.hops;
            }
            if (previousPlaying && trick != previousTrick) {
                switch (static_cast<Trick>(previousTrick)) {
                case Trick::BoardFlip:
                    counts.boardFlips += timer == -1 ? 1 : 0;
                    break;
                case Trick::Spin:
                    counts.spins += timer == -1 ? 1 : 0;
                    break;
                case Trick::NoseUpGrind:
                    counts.noseUpGrinds += trick == static_cast<int32_t>(Trick::TrickDone) ? 1 : 0;
                    break;
                case Trick::NoseDownGrind:
                    counts.noseDownGrinds +=
                        trick == static_cast<int32_t>(Trick::TrickDone) ? 1 : 0;
                    break;
                case Trick::SideSlide:
                    counts.sideSlides += trick == static_cast<int32_t>(Trick::TrickDone) ? 1 : 0;
                    break;
                default:
                    break;
                }
            }
        }
        previousPlaying = playing;
        previousTrick = trick;
    }
};

} // namespace

ReplayOutcome replay(const std::filesystem::path& dir, const std::vector<sim::ScriptEvent>& events,
                     int64_t maxFrames) {
    ReplayOutcome outcome;
    std::vector<std::string> names;
    std::string error;
    if (!tools::parkNames(dir, names, error)) {
        return outcome;
    }
    sim::Options options;
    options.dir = dir.string();
    options.maxFrames = maxFrames;
    options.hash = false; // only the state fields of the trace are read
    std::FILE* trace = std::tmpfile();
    if (trace == nullptr) {
        return outcome;
    }
    outcome.started = sim::runSimulation(options, events, trace) == 0;
    std::rewind(trace);
    TrickWatch watch;
    int32_t lives = -1;
    std::string previousState;
    char buffer[1024];
    while (outcome.started && std::fgets(buffer, sizeof buffer, trace) != nullptr) {
        const std::string line(buffer);
        const std::string state = sim::traceField(line, "state");
        const int32_t nowLives = traceNumber(line, "lives");
        if (lives >= 0 && nowLives < lives) {
            outcome.livesLost += lives - nowLives;
        }
        lives = nowLives;
        watch.see(state == "Playing", traceNumber(line, "trick"), traceNumber(line, "timer"),
                  traceNumber(line, "rise"));
        if (state == "ParkComplete" && previousState != "ParkComplete") {
            ++outcome.parksCompleted;
        }
        previousState = state;
        if (state == "GameOver") {
            outcome.reachedEnd = true;
            outcome.endPass = std::strtoll(sim::traceField(line, "frame").c_str(), nullptr, 10);
            outcome.score = traceNumber(line, "score");
            outcome.completed =
                traceNumber(line, "park") == static_cast<int32_t>(names.size()) && nowLives > 0;
            if (outcome.completed) {
                ++outcome.parksCompleted;
            }
            break;
        }
    }
    std::fclose(trace);
    outcome.tricks = watch.counts;
    return outcome;
}

} // namespace autoplay
