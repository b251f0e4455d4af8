// The timing windows of a winning run: how many frames earlier and later each press may come,
// the others staying where they are, and the run still completes the park with no fall.
//
// The run is played once, keeping the moment before every pass. A press moved by d frames is
// then played from the moment before the earlier of its two places, and stops as soon as the
// moved run stands where the run itself stood in the same pass (the same skater, the same keys):
// from there on both play alike. That comes a few dozen frames after the press, so each move
// costs little more than the jump it changes.

#include "core/run_state.h"
#include "platform/headless.h"
#include "skater/skater.h"
#include "tools/autoplay/search.h"
#include "tools/common/common.h"

#include <algorithm>
#include <cstring>

namespace autoplay {
namespace {

// The keys of the run for one pass: the releases first, then the presses, as a script made by
// scriptText orders them; press `moved` comes `shift` frames from where it was.
void applyKeys(const std::vector<Press>& presses, std::size_t moved, int32_t shift, int64_t pass) {
    auto at = [&](std::size_t i) { return presses[i].pass + (i == moved ? shift : 0); };
    for (std::size_t i = 0; i < presses.size(); ++i) {
        if (at(i) + presses[i].holdFrames == pass) {
            headless::release(presses[i].key);
        }
    }
    for (std::size_t i = 0; i < presses.size(); ++i) {
        if (at(i) == pass) {
            headless::press(presses[i].key);
        }
    }
}

bool parkDone() {
    return gameState == GameState::GameOver && run.parkIndex >= run.parkCount;
}

bool sameSkater(const Skater& a, const Skater& b) {
    return a.bodySrc == b.bodySrc && a.bodyX == b.bodyX && a.bodyY == b.bodyY &&
           a.boardSrc == b.boardSrc && a.boardX == b.boardX && a.boardY == b.boardY &&
           a.groundY == b.groundY && a.supported == b.supported && a.riseFrames == b.riseFrames &&
           a.trick == b.trick && a.trickTimer == b.trickTimer && a.onRail == b.onRail &&
           a.landed == b.landed;
}

bool sameKeys(const headless::KeysAndClock& a, const headless::KeysAndClock& b) {
    for (std::size_t i = 0; i < a.keys.sources.size(); ++i) {
        if (a.keys.sources[i].down != b.keys.sources[i].down ||
            a.keys.sources[i].wentDown != b.keys.sources[i].wentDown) {
            return false;
        }
    }
    return a.clock == b.clock;
}

// The run as played: the moment before each pass, and the skater and keys after it.
struct PlayedRun {
    std::vector<GameSnapshot> before; // index: pass - FirstParkPass
    std::vector<Skater> skaterAfter;
    std::vector<int32_t> scoreAfter;
    std::vector<headless::KeysAndClock> keysAfter;
    int64_t endPass = 0;
};

bool playRun(const GameSnapshot& start, const std::vector<Press>& presses, PlayedRun& played) {
    restoreGame(start);
    const int32_t lives = run.lives;
    const std::size_t none = presses.size();
    for (int64_t pass = FirstParkPass; gameState == GameState::Playing; ++pass) {
        played.before.emplace_back();
        saveGame(played.before.back());
        applyKeys(presses, none, 0, pass);
        playSilentPass();
        if (run.lives < lives) {
            return false;
        }
        played.skaterAfter.push_back(skater);
        played.scoreAfter.push_back(run.score);
        played.keysAfter.push_back(headless::saveKeysAndClock());
        played.endPass = pass;
    }
    return parkDone();
}

// Plays the run with press `moved` moved by `shift` frames: true when it completes the park
// with no fall, else where it falls in `edge`.
bool completesMoved(const PlayedRun& played, const std::vector<Press>& presses, std::size_t moved,
                    int32_t shift, const park::ParkFile& file, WindowEdge& edge) {
    const Press& p = presses[moved];
    const int64_t from = std::min(p.pass, p.pass + shift);
    const int64_t settled = std::max(p.pass, p.pass + shift) + p.holdFrames;
    restoreGame(played.before[static_cast<std::size_t>(from - FirstParkPass)]);
    const int32_t lives = run.lives;
    GameSnapshot moment;
    for (int64_t pass = from; gameState == GameState::Playing; ++pass) {
        saveGame(moment);
        applyKeys(presses, moved, shift, pass);
        playSilentPass();
        if (run.lives < lives) {
            edge.capped = false;
            edge.fallFrame = static_cast<int32_t>(pass - FirstParkPass + 1);
            edge.obstacles = obstaclesAtSkater(moment, file);
            return false;
        }
        const std::size_t i = static_cast<std::size_t>(pass - FirstParkPass);
        if (pass > settled && i < played.skaterAfter.size() &&
            sameSkater(skater, played.skaterAfter[i]) &&
            sameKeys(headless::saveKeysAndClock(), played.keysAfter[i])) {
            return true;
        }
    }
    return parkDone();
}

PressWindow windowOf(const PlayedRun& played, const std::vector<Press>& presses, std::size_t k,
                     const park::ParkFile& file) {
    PressWindow w;
    w.tooEarly.capped = true;
    w.tooLate.capped = true;
    for (int32_t d = -1; d >= -MaxShift && presses[k].pass + d >= FirstParkPass; --d) {
        if (!completesMoved(played, presses, k, d, file, w.tooEarly)) {
            break;
        }
        w.earliest = d;
    }
    for (int32_t d = 1; d <= MaxShift; ++d) {
        if (!completesMoved(played, presses, k, d, file, w.tooLate)) {
            break;
        }
        w.latest = d;
    }
    return w;
}

} // namespace

bool windowsFrom(const GameSnapshot& start, const std::vector<Press>& presses,
                 const park::ParkFile& file, MeasuredRun& measured) {
    measured = {};
    PlayedRun played;
    if (!playRun(start, presses, played)) {
        return false;
    }
    measured.skater = played.skaterAfter;
    measured.score = played.scoreAfter;
    for (std::size_t k = 0; k < presses.size(); ++k) {
        measured.windows.push_back(windowOf(played, presses, k, file));
    }
    return true;
}

MeasuredRun centreRun(const GameSnapshot& start, std::vector<Press>& presses,
                      const park::ParkFile& file) {
    constexpr int Rounds = 3;
    PlayedRun played;
    bool replayed = false;
    for (int round = 0; round < Rounds; ++round) {
        bool moved = false;
        for (std::size_t k = 0; k < presses.size(); ++k) {
            if (!replayed) {
                played = {};
                if (!playRun(start, presses, played)) {
                    return {}; // cannot happen: every move stays inside its window
                }
                replayed = true;
            }
            const PressWindow w = windowOf(played, presses, k, file);
            const int32_t shift = (w.earliest + w.latest) / 2;
            if (shift != 0) {
                presses[k].pass += shift;
                moved = true;
                replayed = false;
            }
        }
        if (!moved) {
            break;
        }
    }
    std::stable_sort(presses.begin(), presses.end(),
                     [](const Press& a, const Press& b) { return a.pass < b.pass; });
    MeasuredRun measured;
    windowsFrom(start, presses, file, measured);
    return measured;
}

bool measureRun(const std::filesystem::path& parkPath, const std::vector<Press>& presses,
                MeasuredRun& measured, std::string& error) {
    static park::ParkFile file; // large; kept out of the stack
    std::string text;
    if (!tools::readParkFile(parkPath, text, file, error)) {
        return false;
    }
    tools::ScratchDir scratch("windows");
    if (!scratch.error.empty()) {
        error = scratch.error;
        return false;
    }
    GameSnapshot start;
    if (!startParkAlone(scratch.path, parkPath.filename().string(), text, start, error)) {
        return false;
    }
    const bool completes = windowsFrom(start, presses, file, measured);
    shutDown();
    if (!completes) {
        error = "the presses do not complete " + parkPath.filename().string() + " with no fall";
    }
    return completes;
}

bool pressesOfScript(const std::vector<sim::ScriptEvent>& events, std::vector<Press>& presses,
                     std::string& error) {
    presses.clear();
    std::vector<std::size_t> open; // presses not yet released, by index
    for (const sim::ScriptEvent& e : events) {
        // Taps of the arrows belong to the menus, not to the play.
        if (e.action == sim::Action::Tap ||
            std::find(std::begin(Arrows), std::end(Arrows), e.key) == std::end(Arrows)) {
            continue;
        }
        auto held = std::find_if(open.begin(), open.end(),
                                 [&](std::size_t i) { return presses[i].key == e.key; });
        if (e.action == sim::Action::Press && held == open.end()) {
            open.push_back(presses.size());
            presses.push_back({e.frame, e.key, 0});
        } else if (e.action == sim::Action::Release && held != open.end()) {
            presses[*held].holdFrames = static_cast<int32_t>(e.frame - presses[*held].pass);
            open.erase(held);
        } else {
            error = "frame " + std::to_string(e.frame) + ": " + sim::keyName(e.key) + " " +
                    sim::actionName(e.action) + " is not one half of a press and its release";
            return false;
        }
    }
    if (!open.empty()) {
        error = std::string("the ") + sim::keyName(presses[open.front()].key) + " press at frame " +
                std::to_string(presses[open.front()].pass) + " is never released";
        return false;
    }
    return true;
}

int32_t narrowestWindow(const std::vector<PressWindow>& windows) {
    int32_t best = -1;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        if (best < 0 || windows[i].width() < windows[static_cast<std::size_t>(best)].width()) {
            best = static_cast<int32_t>(i);
        }
    }
    return best;
}

int32_t Verdict::narrowest() const {
    return narrowestWindow(steady.windows);
}

int32_t Verdict::tightness() const {
    const int32_t k = narrowest();
    return k < 0 ? 0 : steady.windows[static_cast<std::size_t>(k)].width();
}

double Verdict::pressesPerMinute() const {
    return parkLength > 0
               ? static_cast<double>(steady.presses.size()) * 60000.0 / (parkLength * 34.0)
               : 0;
}

} // namespace autoplay
