#include "tools/soak/soak.h"

#include "app/flow.h"
#include "app/shell.h"
#include "core/run_state.h"
#include "park/park.h"
#include "platform/headless.h"
#include "skater/skater.h"
#include "tools/common/common.h"
#include "tools/sim/sim.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <random>

namespace soak {
namespace {

using platform::Key;

// Each key alternates between up spans and held spans of random human-like lengths.
struct KeyPlan {
    bool down = false;
    int64_t until = 0;
};

} // namespace

long statusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string name = field;
    while (std::getline(status, line)) {
        if (line.rfind(name, 0) == 0) {
            return std::strtol(line.c_str() + name.size(), nullptr, 10);
        }
    }
    return -1;
}

std::string brokenInvariant() {
    auto state = static_cast<int32_t>(gameState);
    if (state < 0 || state > 6) {
        return "the game state is not one of its seven values";
    }
    if (run.lives < 0 || run.lives > 3) {
        return "lives outside 0..3";
    }
    if (run.score < 0) {
        return "negative score";
    }
    if (run.firstActive > run.lastActive + 1) {
        return "firstActive beyond lastActive + 1";
    }
    if (run.lastActive - run.firstActive + 1 > park::WindowSpan + 1) {
        return "obstacle window wider than 21";
    }
    if (run.firstActive < 0 || run.lastActive >= park::MaxObstacles) {
        return "obstacle window outside the table";
    }
    if (skater.bodyY > skater.groundY) {
        return "skater below the ground line";
    }
    if (skater.riseFrames < 0) {
        return "negative riseFrames";
    }
    if ((skater.onRail != 0 && skater.onRail != 1) ||
        (skater.supported != 0 && skater.supported != 1)) {
        return "onRail or supported not 0 or 1";
    }
    return "";
}

Result runSoak(uint64_t seed, int64_t frames) {
    Result result;
    std::mt19937_64 random(seed);
    auto chance = [&](double p) {
        return std::uniform_real_distribution<double>(0, 1)(random) < p;
    };
    auto span = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };

    const bool started = tools::startHeadlessGame(static_cast<uint32_t>(random()));
    headless::keepFrames(false); // nothing here reads a picture, so none is copied
    if (!started) {
        result.ok = false;
        result.violation = "start-up failed";
        return result;
    }
    std::array<KeyPlan, 4> play{}; // Up, Down, Left, Right while playing
    const Key playKeys[4] = {Key::Up, Key::Down, Key::Left, Key::Right};
    GameState before = gameState;
    int32_t livesBefore = run.lives;

    for (int64_t frame = 1; frame <= frames; ++frame) {
        switch (gameState) {
        case GameState::Menu:
            // Never the exit item: move back to NEW GAME first, then choose it.
            if (!newGameSelected()) {
                headless::tap(Key::Up);
            } else if (chance(0.2)) {
                headless::tap(Key::Enter);
            } else if (chance(0.05)) {
                headless::tap(Key::Down);
            }
            break;
        case GameState::ParkComplete:
        case GameState::GameOver:
            if (chance(0.1)) {
                headless::tap(Key::Enter);
            }
            break;
        case GameState::Playing:
            for (int k = 0; k < 4; ++k) {
                if (frame >= play[k].until) {
                    play[k].down = !play[k].down && chance(0.5);
                    play[k].until = frame + (play[k].down ? span(2, 30) : span(3, 60));
                    if (play[k].down) {
                        headless::press(playKeys[k]);
                    } else {
                        headless::release(playKeys[k]);
                    }
                }
            }
            if (chance(0.0005)) {
                headless::tap(Key::Escape);
            }
            break;
        default:
            break;
        }
        if (gameState != GameState::Playing) {
            // Hands off the play keys outside play, as a player would.
            for (int k = 0; k < 4; ++k) {
                if (play[k].down) {
                    headless::release(playKeys[k]);
                }
                play[k] = KeyPlan{};
            }
        }

        sim::playPass();
        result.frames = frame;
        // From frame 1 at the least, so that a short soak has an early reading too.
        if (frame == std::max<int64_t>(1, frames / 10)) {
            result.residentKiBEarly = statusKiB("VmRSS:");
        }

        if (before == GameState::LoadPark && gameState == GameState::Playing &&
            run.parkIndex == 0 && run.score == 0) {
            ++result.runsStarted;
        }
        if (before == GameState::Playing) {
            if (gameState == GameState::ParkComplete) {
                ++result.parksCompleted;
            } else if (gameState == GameState::Title) {
                ++result.escapes;
            }
        }
        if (gameState == GameState::GameOver && before != GameState::GameOver) {
            ++result.endScreens;
        }
        if (run.lives < livesBefore) {
            ++result.falls;
        }
        before = gameState;
        livesBefore = run.lives;

        std::string broken = brokenInvariant();
        if (!broken.empty()) {
            result.ok = false;
            result.violation = broken + " (seed " + std::to_string(seed) + ", frame " +
                               std::to_string(frame) + ")";
            break;
        }
        if (gameState == GameState::Quit) {
            result.ok = false;
            result.violation = "the soak left through the menu's exit item (seed " +
                               std::to_string(seed) + ", frame " + std::to_string(frame) + ")";
            break;
        }
    }
    result.residentKiBLate = statusKiB("VmRSS:");
    shutDown();
    return result;
}

} // namespace soak
