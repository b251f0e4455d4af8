#include "tools/autoplay/autoplay.h"

#include "app/flow.h"
#include "app/shell.h"
#include "core/run_state.h"
#include "display/display.h"
#include "park/park.h"
#include "park/readers.h"
#include "platform/headless.h"
#include "skater/skater.h"
#include "tools/autoplay/snapshot.h"
#include "tools/common/common.h"
#include "tools/sim/sim.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <unistd.h>
#include <unordered_map>

namespace autoplay {
namespace {

namespace fs = std::filesystem;

// A park list naming the park alone: pass 2 chooses the first menu item, pass 3 loads the park,
// pass 4 is its first frame.
constexpr int64_t MenuPass = 2;
constexpr int64_t FirstParkPass = 4;

constexpr platform::Key Arrows[] = {platform::Key::Up, platform::Key::Down, platform::Key::Right,
                                    platform::Key::Left};

// One main-loop pass as the simulator runs it. The sounds are only heard, so they are dropped
// rather than gathered over millions of passes.
void playSilentPass() {
    sim::playPass();
    headless::takeSounds();
}

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

// Higher score first, then fewer presses.
bool better(int32_t score, int32_t presses, const Way& than) {
    return score > than.score || (score == than.score && presses < than.presses);
}

// The active obstacles that cover the skater's column in the next frame of the saved moment,
// moved there by the obstacle stream itself.
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

struct SearchResult {
    bool completed = false;
    int32_t score = 0;
    std::vector<Press> presses;
    int64_t endPass = 0;
    Stuck stuck;
    int64_t framesPlayed = 0;
};

// The search proper, from the moment before the park's first frame. Every way is played one
// pass at a time; at a decision point each way whose hands are free also branches into a press
// of each arrow key. Ways that fall are dropped, ways that meet are merged.
SearchResult searchWithRules(const GameSnapshot& start, const InputRules& rules, int32_t phase,
                             const SearchOptions& options, const park::ParkFile& file) {
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
                    if (!haveBest || better(run.score, presses, best)) {
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
                } else if (!better(run.score, presses, next[at->second])) {
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
            std::nth_element(
                next.begin(), next.begin() + static_cast<std::ptrdiff_t>(options.keepWays),
                next.end(),
                [](const Way& a, const Way& b) { return better(a.score, a.presses, b); });
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
    park::Problem problem;
    if (!park::readTextFile(parkPath.string().c_str(), text, problem) ||
        !park::parseParkFile(text, parkPath.string().c_str(), file, problem)) {
        verdict.error = park::formatProblem(problem);
        return verdict;
    }
    verdict.parkLength = file.parkLength;

    tools::ScratchDir scratch("autoplay");
    if (!scratch.error.empty()) {
        verdict.error = scratch.error;
        return verdict;
    }
    if (!tools::writeTextFile((scratch.path / "parks.txt").string(),
                              "1\n" + verdict.parkName + "\n", verdict.error) ||
        !tools::writeTextFile((scratch.path / verdict.parkName).string(), text, verdict.error)) {
        return verdict;
    }

    // The game from start-up to the moment before the park's first frame, as the simulator
    // plays the script's first line, Enter on the menu at pass 2.
    fs::current_path(scratch.path);
    if (!tools::startHeadlessGame(0)) {
        verdict.error = "the game does not start with this park";
        return verdict;
    }
    for (int64_t pass = 1; pass < FirstParkPass; ++pass) {
        if (pass == MenuPass) {
            headless::tap(platform::Key::Enter);
        }
        playSilentPass();
    }
    if (gameState != GameState::Playing) {
        shutDown();
        verdict.error = "the park does not start";
        return verdict;
    }
    GameSnapshot start;
    saveGame(start);
    // The search plays millions of frames, and drawing them is nearly all of a frame's cost.
    // With the display closed every drawing operation draws nothing, and the rules, which never
    // read a pixel, run unchanged; the run found is replayed with drawing to prove it.
    display::closeDisplay();

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
    shutDown();

    if (found.completed) {
        verdict.presses = found.presses;
        verdict.endPass = found.endPass;
        verdict.score = found.score;
        // The proof: the script, replayed through the simulator, completes the park.
        std::vector<sim::ScriptEvent> events;
        std::string error;
        sim::parseScript(scriptText(verdict), "autoplay", events, error);
        ReplayOutcome outcome = replay(scratch.path, events, found.endPass + 8);
        verdict.completed = outcome.completed && outcome.livesLost == 0 &&
                            outcome.score == found.score && outcome.endPass == found.endPass;
        verdict.falls = outcome.livesLost;
        verdict.tricks = outcome.tricks;
        if (!verdict.completed) {
            verdict.error = "the run found does not complete the park when replayed";
        }
    }
    verdict.seconds = std::chrono::duration<double>(Clock::now() - began).count();
    return verdict;
}

std::string scriptText(const Verdict& verdict) {
    std::ostringstream out;
    out << "# " << verdict.parkName << " as the only park of the list: " << verdict.score
        << " points, no fall.\n"
        << "# Made by zanbury-autoplay with " << verdict.rules.name
        << " hands: a key goes down at most every " << verdict.rules.decisionEvery
        << " frames\n# (at park frames " << 1 + verdict.phase << ", "
        << 1 + verdict.phase + verdict.rules.decisionEvery << ", ...), is held "
        << verdict.rules.holdFrames << ", and " << verdict.rules.minGap
        << " frames pass from one press to the next.\n"
        << "# expect: score=" << verdict.score << " lives=3\n"
        << MenuPass << " enter tap\n";
    struct Line {
        int64_t pass;
        bool release;
        platform::Key key;
    };
    std::vector<Line> lines;
    for (const Press& p : verdict.presses) {
        lines.push_back({p.pass, false, p.key});
        lines.push_back({p.pass + p.holdFrames, true, p.key});
    }
    // A key that comes up and goes down again in the same pass comes up first.
    std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) {
        return a.pass < b.pass || (a.pass == b.pass && a.release && !b.release);
    });
    for (const Line& l : lines) {
        out << l.pass << " " << sim::keyName(l.key) << " "
            << sim::actionName(l.release ? sim::Action::Release : sim::Action::Press) << "\n";
    }
    out << "# The end screen; then back to the menu and out of the program.\n"
        << verdict.endPass + 1 << " enter tap\n"
        << verdict.endPass + 3 << " down tap\n"
        << verdict.endPass + 3 << " enter tap\n";
    return out.str();
}

std::string describeTricks(const TrickCounts& t) {
    struct Item {
        int32_t count;
        const char* one;
        const char* many;
    };
    const Item items[] = {
        {t.jumps, "jump", "jumps"},
        {t.hops, "hop", "hops"},
        {t.boardFlips, "board flip", "board flips"},
        {t.spins, "spin", "spins"},
        {t.noseUpGrinds, "nose-up grind", "nose-up grinds"},
        {t.noseDownGrinds, "nose-down grind", "nose-down grinds"},
        {t.sideSlides, "side slide", "side slides"},
    };
    std::ostringstream out;
    bool first = true;
    for (const Item& item : items) {
        if (item.count > 0) {
            out << (first ? "" : ", ") << item.count << " "
                << (item.count == 1 ? item.one : item.many);
            first = false;
        }
    }
    return first ? "none" : out.str();
}

namespace {

std::string describeRules(const InputRules& r) {
    std::ostringstream out;
    out << r.name << " hands (a key at most every " << r.decisionEvery << " frames, held "
        << r.holdFrames << ", presses " << r.minGap << " frames apart)";
    return out.str();
}

std::string describeStuck(const Stuck& stuck) {
    std::ostringstream out;
    if (stuck.outOfTime) {
        out << "the search ran out of time at park frame " << stuck.frame;
    } else {
        out << "every way falls by park frame " << stuck.frame;
    }
    for (const StuckObstacle& o : stuck.obstacles) {
        out << ", where obstacle " << o.index + 1 << " (" << tools::kindName(o.kind) << ", line "
            << o.line << ") passes the skater";
    }
    if (stuck.narrowed) {
        out << " (the search had to drop ways, so one may yet get through)";
    }
    return out.str();
}

} // namespace

bool Verdict::byFirstRules() const {
    return completed && !attempts.empty() &&
           std::strcmp(attempts.front().rules.name, rules.name) == 0 &&
           attempts.front().rules.decisionEvery == rules.decisionEvery;
}

bool Verdict::proved() const {
    bool searched = false;
    for (const Attempt& a : attempts) {
        if (a.proof) {
            searched = true;
            if (!a.completed) {
                return false;
            }
        }
    }
    return searched && byFirstRules();
}

namespace {

// Of the searches with these rules that did not get through, the one that got furthest.
const Attempt* furthest(const Verdict& v, const InputRules& rules, bool proof) {
    const Attempt* best = nullptr;
    for (const Attempt& a : v.attempts) {
        if (!a.completed && a.proof == proof && std::strcmp(a.rules.name, rules.name) == 0 &&
            (best == nullptr || a.stuck.frame > best->stuck.frame)) {
            best = &a;
        }
    }
    return best;
}

} // namespace

std::string describe(const Verdict& v) {
    std::ostringstream out;
    out << v.parkName << ": ";
    if (!v.error.empty()) {
        out << "ERROR: " << v.error;
        return out.str();
    }
    if (v.completed) {
        out << "completed, score " << v.score << ", falls " << v.falls
            << ", tricks: " << describeTricks(v.tricks) << "; " << v.presses.size()
            << " presses with " << describeRules(v.rules);
        if (v.phase != 0) {
            out << " deciding " << v.phase << " frame" << (v.phase == 1 ? "" : "s")
                << " after their grid";
        }
        // Faster hands than the first rules were needed: say where the slower ones fail.
        for (const Attempt& a : v.attempts) {
            if (!a.proof && std::strcmp(a.rules.name, v.rules.name) != 0 &&
                &a == furthest(v, a.rules, false)) {
                out << "; " << a.rules.name << " hands at their best: " << describeStuck(a.stuck);
            }
        }
    } else {
        out << "NOT completed";
        for (const Attempt& a : v.attempts) {
            if (&a == furthest(v, a.rules, false)) {
                out << "; " << a.rules.name << " hands at their best: " << describeStuck(a.stuck);
            }
        }
    }
    for (const Attempt& a : v.attempts) {
        if (a.proof && !a.completed) {
            out << "; NOT proved: with " << describeRules(a.rules) << " on "
                << (a.phase % 2 == 0 ? "even" : "odd") << " frames only, "
                << describeStuck(a.stuck);
        }
    }
    if (v.proved()) {
        out << "; proved: " << v.attempts.back().rules.name
            << " hands deciding every other frame get through on even frames and on odd ones";
    }
    char time[64];
    std::snprintf(time, sizeof time, "; %.1f s, %lld frames played", v.seconds,
                  static_cast<long long>(v.framesPlayed));
    out << time;
    return out.str();
}

std::string whyNotProved(const Verdict& v, int32_t& line) {
    line = 0;
    auto where = [&line](const Attempt* a) -> std::string {
        if (a == nullptr) {
            return "";
        }
        if (!a->stuck.obstacles.empty()) {
            line = a->stuck.obstacles.front().line;
        }
        return describeStuck(a->stuck);
    };
    if (!v.error.empty()) {
        return "cannot be searched: " + v.error;
    }
    if (v.attempts.empty()) {
        return "was not searched";
    }
    const InputRules& first = v.attempts.front().rules;
    if (!v.completed) {
        const Attempt* last = nullptr;
        for (const Attempt& a : v.attempts) {
            last = a.proof ? last : &a;
        }
        return std::string("no way through, not even with ") + last->rules.name +
               " hands: " + where(last);
    }
    if (!v.byFirstRules()) {
        return std::string("only ") + v.rules.name + " hands get through; " + first.name +
               " hands at their best: " + where(furthest(v, first, false));
    }
    bool searched = false;
    for (const Attempt& a : v.attempts) {
        searched = searched || a.proof;
        if (a.proof && !a.completed) {
            return std::string("a press must hit one exact frame: with ") + a.rules.name +
                   " hands deciding every other frame, on " + (a.phase % 2 == 0 ? "even" : "odd") +
                   " frames only, " + where(&a);
        }
    }
    return searched ? "" : "was not proved";
}

ReplayOutcome replay(const fs::path& dir, const std::vector<sim::ScriptEvent>& events,
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

std::vector<sim::ScriptEvent> joinRun(const std::vector<std::vector<sim::ScriptEvent>>& scripts,
                                      const std::vector<int32_t>& parkLengths) {
    std::vector<sim::ScriptEvent> joined;
    joined.push_back({MenuPass, platform::Key::Enter, sim::Action::Tap});
    int64_t parkStart = FirstParkPass;
    for (std::size_t i = 0; i < scripts.size() && i < parkLengths.size(); ++i) {
        const int64_t lastFrame = FirstParkPass + parkLengths[i] - 1;
        for (const sim::ScriptEvent& e : scripts[i]) {
            if (e.frame >= FirstParkPass && e.frame <= lastFrame) {
                joined.push_back({e.frame - FirstParkPass + parkStart, e.key, e.action});
            }
        }
        const int64_t parkEnd = parkStart + parkLengths[i] - 1;
        for (platform::Key k : Arrows) {
            joined.push_back({parkEnd + 1, k, sim::Action::Release});
        }
        // Enter on the park-complete screen, or on the end screen and then, with the second
        // menu item chosen, to leave the program.
        joined.push_back({parkEnd + 1, platform::Key::Enter, sim::Action::Tap});
        if (i + 1 == scripts.size()) {
            joined.push_back({parkEnd + 3, platform::Key::Down, sim::Action::Tap});
            joined.push_back({parkEnd + 3, platform::Key::Enter, sim::Action::Tap});
        }
        parkStart = parkEnd + 3;
    }
    return joined;
}

std::string eventsText(const std::vector<sim::ScriptEvent>& events) {
    std::ostringstream out;
    for (const sim::ScriptEvent& e : events) {
        out << e.frame << " " << sim::keyName(e.key) << " " << sim::actionName(e.action) << "\n";
    }
    return out.str();
}

} // namespace autoplay
