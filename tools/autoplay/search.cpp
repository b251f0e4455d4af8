// The search of one park with one set of input rules: every way the rules allow is played
// forward one pass at a time from a snapshot of the game, falls are dropped and ways that meet
// are merged, until the park is complete or no way is left.

#include "tools/autoplay/search.h"

#include "core/run_state.h"
#include "park/park.h"
#include "platform/headless.h"
#include "skater/skater.h"
#include "tools/sim/sim.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <unordered_map>

namespace autoplay {

void playSilentPass() {
    sim::playPass();
    headless::takeSounds();
}

namespace {

// The keys of one way: the key held (an index of Arrows, or -1), for how many more passes,
// and how many passes until the next key may go down.
struct Hands {
    int32_t key = -1;
    int32_t holdLeft = 0;
    int32_t cooldown = 0;
};

// Everything in which two ways of the same pass can differ, except the score: all else that
// the game keeps (the obstacles, the window, the clock, the message line) follows from the
// pass alone while nobody falls. Two ways with the same signature play on alike, so the one
// with the lower score can go.
using Signature = std::array<int32_t, 22>;

Signature signatureOf(const Skater& s, const Hands& h) {
    return Signature{
        s.bodySrc.left,   s.bodySrc.top,     s.bodySrc.right, s.bodySrc.bottom,
        s.bodyX,          s.bodyY,           s.boardSrc.left, s.boardSrc.top,
        s.boardSrc.right, s.boardSrc.bottom, s.boardX,        s.boardY,
        s.groundY,        s.supported,       s.riseFrames,    static_cast<int32_t>(s.trick),
        s.trickTimer,     s.onRail,          s.landed,        h.key,
        h.holdLeft,       h.cooldown};
}

struct SignatureHash {
    std::size_t operator()(const Signature& s) const {
        uint64_t hash = 1469598103934665603ull;
        for (int32_t v : s) {
            hash = (hash ^ static_cast<uint32_t>(v)) * 1099511628211ull;
        }
        return static_cast<std::size_t>(hash);
    }
};

// The presses of all ways, each pointing at the press before it on its way.
struct PressRecord {
    int32_t before = -1;
    int64_t pass = 0;
    int32_t key = 0;
};

struct Way {
    GameSnapshot game;
    Hands hands;
    int32_t score = 0;
    int32_t presses = 0;
    int32_t lastPress = -1; // index into the press records, -1 before the first press
};

// Keeps only the press records that the open ways lead back to, in their order, so that a long
// search does not hold every press it ever tried.
void keepReachable(std::vector<PressRecord>& records, std::vector<Way>& ways) {
    constexpr int32_t Unreached = -1;
    std::vector<int32_t> moved(records.size(), Unreached);
    for (const Way& w : ways) {
        for (int32_t p = w.lastPress; p >= 0 && moved[p] == Unreached; p = records[p].before) {
            moved[p] = 0;
        }
    }
    // A record's `before` is always an earlier record, so it has moved by the time it is read.
    std::vector<PressRecord> kept;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (moved[i] == Unreached) {
            continue;
        }
        PressRecord r = records[i];
        r.before = r.before >= 0 ? moved[r.before] : -1;
        moved[i] = static_cast<int32_t>(kept.size());
        kept.push_back(r);
    }
    for (Way& w : ways) {
        w.lastPress = w.lastPress >= 0 ? moved[w.lastPress] : -1;
    }
    records.swap(kept);
}

// Higher score first, then fewer presses; for a steady run fewer presses first, then the
// higher score.
bool better(bool steady, int32_t score, int32_t presses, const Way& than) {
    if (steady) {
        return presses < than.presses || (presses == than.presses && score > than.score);
    }
    return score > than.score || (score == than.score && presses < than.presses);
}

} // namespace

// The obstacles are moved there by the obstacle stream itself.
std::vector<StuckObstacle> obstaclesAtSkater(const GameSnapshot& moment,
                                             const park::ParkFile& file) {
    restoreGame(moment);
    run.parkFrame += 1;
    park::stepObstacles();
    std::vector<StuckObstacle> found;
    const Rect column = skaterBox();
    for (int32_t i = run.firstActive; i <= run.lastActive; ++i) {
        const park::Obstacle& o = park::obstacleTable.records[i];
        const Rect box = park::obstacleBox(o);
        if (park::isActive(o, run.parkFrame) && box.left < column.right &&
            column.left < box.right) {
            found.push_back({i, o.kind, file.recordLine[i]});
        }
    }
    return found;
}

SearchResult searchWithRules(const GameSnapshot& start, const InputRules& rules, int32_t phase,
                             const SearchOptions& options, const park::ParkFile& file,
                             bool steady) {
    using Clock = std::chrono::steady_clock;
    const auto began = Clock::now();
    SearchResult result;
    const int32_t livesAtStart = start.run.lives;
    std::vector<PressRecord> pressRecords;
    std::size_t keepReachableAt = std::size_t{1} << 20;
    // The press of this pass, recorded only for a way that is kept.
    auto recordPress = [&](const Way& from, int64_t pass, int32_t key) {
        pressRecords.push_back({from.lastPress, pass, key});
        return static_cast<int32_t>(pressRecords.size()) - 1;
    };
    std::vector<Way> ways(1);
    ways[0].game = start;
    ways[0].score = start.run.score;
    std::vector<Way> next;
    std::unordered_map<Signature, std::size_t, SignatureHash> seen;
    Way best;
    bool haveBest = false;

    for (int64_t pass = FirstParkPass;; ++pass) {
        if (std::chrono::duration<double>(Clock::now() - began).count() >
            options.secondsPerSearch) {
            result.stuck.outOfTime = true;
            result.stuck.frame = static_cast<int32_t>(pass - FirstParkPass + 1);
            return result;
        }
        const bool decision =
            (pass - FirstParkPass + rules.decisionEvery - phase) % rules.decisionEvery == 0;
        next.clear();
        seen.clear();
        for (const Way& way : ways) {
            const int choices = decision && way.hands.cooldown == 0 ? 1 + 4 : 1;
            for (int choice = 0; choice < choices; ++choice) {
                restoreGame(way.game);
                Hands hands = way.hands;
                if (hands.key >= 0 && hands.holdLeft == 0) {
                    headless::release(Arrows[hands.key]);
                    hands.key = -1;
                }
                if (choice > 0) {
                    hands.key = choice - 1;
                    hands.holdLeft = rules.holdFrames;
                    hands.cooldown = rules.minGap;
                    headless::press(Arrows[hands.key]);
                }
                playSilentPass();
                ++result.framesPlayed;
                if (hands.key >= 0) {
                    --hands.holdLeft;
                }
                if (hands.cooldown > 0) {
                    --hands.cooldown;
                }
                if (run.lives < livesAtStart) {
                    continue; // a fall
                }
                const bool pressed = choice > 0;
                const int32_t presses = way.presses + (pressed ? 1 : 0);
                if (gameState == GameState::GameOver && run.parkIndex >= run.parkCount) {
                    if (!haveBest || better(steady, run.score, presses, best)) {
                        best.score = run.score;
                        best.presses = presses;
                        best.lastPress =
                            pressed ? recordPress(way, pass, hands.key) : way.lastPress;
                        haveBest = true;
                    }
                    continue;
                }
                if (gameState != GameState::Playing) {
                    continue; // the park could not be loaded again
                }
                auto [at, isNew] = seen.try_emplace(signatureOf(skater, hands), next.size());
                if (isNew) {
                    next.emplace_back();
                } else if (!better(steady, run.score, presses, next[at->second])) {
                    continue;
                }
                Way& kept = next[at->second];
                saveGame(kept.game);
                kept.hands = hands;
                kept.score = run.score;
                kept.presses = presses;
                kept.lastPress = pressed ? recordPress(way, pass, hands.key) : way.lastPress;
            }
        }
        if (haveBest) {
            result.completed = true;
            result.score = best.score;
            result.endPass = pass;
            for (int32_t p = best.lastPress; p >= 0; p = pressRecords[p].before) {
                result.presses.push_back(
                    {pressRecords[p].pass, Arrows[pressRecords[p].key], rules.holdFrames});
            }
            std::reverse(result.presses.begin(), result.presses.end());
            return result;
        }
        if (next.empty()) {
            result.stuck.frame = static_cast<int32_t>(pass - FirstParkPass + 1);
            result.stuck.obstacles = obstaclesAtSkater(ways.front().game, file);
            return result;
        }
        if (next.size() > options.keepWays) {
            std::nth_element(next.begin(),
                             next.begin() + static_cast<std::ptrdiff_t>(options.keepWays),
                             next.end(), [steady](const Way& a, const Way& b) {
                                 return better(steady, a.score, a.presses, b);
                             });
            next.resize(options.keepWays);
            result.stuck.narrowed = true;
        }
        ways.swap(next);
        if (pressRecords.size() > keepReachableAt) {
            keepReachable(pressRecords, ways);
            keepReachableAt = std::max(keepReachableAt, 2 * pressRecords.size());
        }
    }
}

} // namespace autoplay
