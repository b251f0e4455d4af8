// The search of a park file: the game started in a scratch directory with the park alone, then
// the searches of the ladder's rules and of the proof, and the run found replayed to prove it.

#include "app/shell.h"
#include "core/run_state.h"
#include "display/display.h"
#include "platform/headless.h"
#include "tools/autoplay/search.h"
#include "tools/common/common.h"
#include "tools/sim/sim.h"

#include <chrono>
#include <filesystem>

namespace autoplay {

namespace fs = std::filesystem;

bool startParkAlone(const fs::path& dir, const std::string& parkName, const std::string& text,
                    GameSnapshot& start, std::string& error) {
    if (!tools::writeTextFile((dir / "parks.txt").string(), "1\n" + parkName + "\n", error) ||
        !tools::writeTextFile((dir / parkName).string(), text, error)) {
        return false;
    }
    fs::current_path(dir);
    if (!tools::startHeadlessGame(0)) {
        error = "the game does not start with this park";
        return false;
    }
    for (int64_t pass = 1; pass < FirstParkPass; ++pass) {
        if (pass == MenuPass) {
            headless::tap(platform::Key::Enter);
        }
        playSilentPass();
    }
    if (gameState != GameState::Playing) {
        shutDown();
        error = "the park does not start";
        return false;
    }
    saveGame(start);
    // A search plays millions of frames, and drawing them is nearly all of a frame's cost.
    // With the display closed every drawing operation draws nothing, and the rules, which never
    // read a pixel, run unchanged; the run found is replayed with drawing to prove it.
    display::closeDisplay();
    return true;
}

Verdict searchPark(const fs::path& parkPath, const SearchOptions& options) {
    using Clock = std::chrono::steady_clock;
    const auto began = Clock::now();
    Verdict verdict;
    verdict.parkName = parkPath.filename().string();
    if (!options.ladder.empty()) {
        verdict.rules = options.ladder.front();
    }

    static park::ParkFile file; // large; kept out of the stack
    std::string text;
    if (!tools::readParkFile(parkPath, text, file, verdict.error)) {
        return verdict;
    }
    verdict.parkLength = file.parkLength;

    tools::ScratchDir scratch("autoplay");
    if (!scratch.error.empty()) {
        verdict.error = scratch.error;
        return verdict;
    }
    GameSnapshot start;
    if (!startParkAlone(scratch.path, verdict.parkName, text, start, verdict.error)) {
        return verdict;
    }

    SearchResult found;
    auto attempt = [&](const InputRules& rules, int32_t phase, bool proof) {
        SearchResult r = searchWithRules(start, rules, phase, options, file);
        verdict.framesPlayed += r.framesPlayed;
        verdict.attempts.push_back({rules, phase, proof, r.completed, r.stuck});
        return r;
    };
    bool byFirstRules = false;
    for (const InputRules& rules : options.ladder) {
        for (int32_t phase = 0; phase < rules.decisionEvery && !found.completed; ++phase) {
            found = attempt(rules, phase, false);
        }
        if (found.completed) {
            verdict.rules = rules;
            verdict.phase = verdict.attempts.back().phase;
            byFirstRules = &rules == &options.ladder.front();
            break;
        }
    }
    if (found.completed && options.prove && byFirstRules) {
        for (int32_t phase = 0; phase < options.proofRules.decisionEvery; ++phase) {
            attempt(options.proofRules, phase, true);
        }
    }
    // The steady run: the fewest presses with the same hands, each then aimed at the middle
    // of its window.
    SearchResult steady;
    if (found.completed) {
        steady = searchWithRules(start, verdict.rules, verdict.phase, options, file, true);
        verdict.framesPlayed += steady.framesPlayed;
    }
    if (steady.completed) {
        MeasuredRun measured = centreRun(start, steady.presses, file);
        verdict.steady.presses = steady.presses;
        verdict.steady.windows = measured.windows;
        verdict.steady.endPass = steady.endPass;
        verdict.steady.score = measured.score.empty() ? 0 : measured.score.back();
    }
    shutDown();

    if (found.completed) {
        verdict.presses = found.presses;
        verdict.endPass = found.endPass;
        verdict.score = found.score;
        // The proof: the scripts, replayed through the simulator, complete the park.
        std::vector<sim::ScriptEvent> events;
        std::string error;
        sim::parseScript(scriptText(verdict), "autoplay", events, error);
        ReplayOutcome outcome = replay(scratch.path, events, found.endPass + 8);
        verdict.completed = outcome.completed && outcome.livesLost == 0 &&
                            outcome.score == found.score && outcome.endPass == found.endPass;
        verdict.falls = outcome.livesLost;
        verdict.tricks = outcome.tricks;
        events.clear();
        sim::parseScript(scriptText(verdict, true), "autoplay", events, error);
        outcome = replay(scratch.path, events, verdict.steady.endPass + 8);
        verdict.steady.completed = outcome.completed && outcome.livesLost == 0 &&
                                   outcome.score == verdict.steady.score &&
                                   outcome.endPass == verdict.steady.endPass;
        verdict.steady.tricks = outcome.tricks;
        if (!verdict.completed || !verdict.steady.completed) {
            verdict.completed = false;
            verdict.error = "the run found does not complete the park when replayed";
        }
    }
    verdict.seconds = std::chrono::duration<double>(Clock::now() - began).count();
    return verdict;
}

} // namespace autoplay
