// The autoplayer's verdicts in words: a few short lines for people on each park, the tricks of a
// run, and why a park is not proved, for the park checker.

#include "tools/autoplay/search.h"
#include "tools/common/common.h"

#include <cstdio>
#include <cstring>
#include <sstream>

namespace autoplay {

std::string counted(int64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
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
            out << (first ? "" : ", ") << counted(item.count, item.one, item.many);
            first = false;
        }
    }
    return first ? "none" : out.str();
}

namespace {

// "obstacle 3 (hazard, line 5)", "obstacles 1 (block, line 3), 2 (rail, line 4) and 3 (...)".
std::string obstacleList(const std::vector<StuckObstacle>& obstacles) {
    std::ostringstream out;
    out << (obstacles.size() == 1 ? "obstacle " : "obstacles ");
    for (std::size_t i = 0; i < obstacles.size(); ++i) {
        const StuckObstacle& o = obstacles[i];
        out << (i == 0                      ? ""
                : i + 1 == obstacles.size() ? " and "
                                            : ", ")
            << o.index + 1 << " (" << tools::kindName(o.kind) << ", line " << o.line << ")";
    }
    return out.str();
}

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
    if (!stuck.obstacles.empty()) {
        out << ", where " << obstacleList(stuck.obstacles)
            << (stuck.obstacles.size() == 1 ? " passes" : " pass") << " the skater";
    }
    if (stuck.narrowed) {
        out << " (the search had to drop ways, so one may yet get through)";
    }
    return out.str();
}

} // namespace

namespace {

std::string describeEdge(const char* which, const WindowEdge& edge) {
    std::ostringstream out;
    if (edge.capped) {
        out << which << " no fall within " << MaxShift << " frames";
        return out.str();
    }
    out << which << " falls at park frame " << edge.fallFrame;
    if (!edge.obstacles.empty()) {
        out << " by " << obstacleList(edge.obstacles);
    }
    return out.str();
}

} // namespace

std::string describeTightness(const std::vector<PressWindow>& windows,
                              const std::vector<Press>& presses) {
    const int32_t k = narrowestWindow(windows);
    if (k < 0 || presses.size() != windows.size()) {
        return "no press, no timing window";
    }
    const PressWindow& w = windows[static_cast<std::size_t>(k)];
    const Press& p = presses[static_cast<std::size_t>(k)];
    std::ostringstream out;
    out << "tightness " << w.width() << " frame" << (w.width() == 1 ? "" : "s") << ": press "
        << k + 1 << " (" << sim::keyName(p.key) << " at park frame " << p.pass - FirstParkPass + 1
        << ") may come " << -w.earliest << " earlier and " << w.latest << " later; "
        << describeEdge("earlier", w.tooEarly) << ", " << describeEdge("later", w.tooLate);
    return out.str();
}

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
        out << "completed, score " << v.score << ", " << counted(v.falls, "fall", "falls");
        out << "\nbest run: " << counted(static_cast<int64_t>(v.presses.size()), "press", "presses")
            << " with " << describeRules(v.rules);
        if (v.phase != 0) {
            out << " deciding " << counted(v.phase, "frame", "frames") << " after their grid";
        }
        out << "; tricks: " << describeTricks(v.tricks);
        char pace[96];
        std::snprintf(pace, sizeof pace,
                      ", %.1f a minute, score %d; tricks: ", v.pressesPerMinute(), v.steady.score);
        out << "\nsteady run: "
            << counted(static_cast<int64_t>(v.steady.presses.size()), "press", "presses") << pace
            << describeTricks(v.steady.tricks);
        out << "\n" << describeTightness(v.steady.windows, v.steady.presses);
        // Faster hands than the first rules were needed: say where the slower ones fail.
        for (const Attempt& a : v.attempts) {
            if (!a.proof && std::strcmp(a.rules.name, v.rules.name) != 0 &&
                &a == furthest(v, a.rules, false)) {
                out << "\n" << a.rules.name << " hands at their best: " << describeStuck(a.stuck);
            }
        }
    } else {
        out << "NOT completed";
        for (const Attempt& a : v.attempts) {
            if (&a == furthest(v, a.rules, false)) {
                out << "\n" << a.rules.name << " hands at their best: " << describeStuck(a.stuck);
            }
        }
    }
    for (const Attempt& a : v.attempts) {
        if (a.proof && !a.completed) {
            out << "\nNOT proved: with " << describeRules(a.rules) << " on "
                << (a.phase % 2 == 0 ? "even" : "odd") << " frames only, "
                << describeStuck(a.stuck);
        }
    }
    if (v.proved()) {
        out << "\nproved: " << v.attempts.back().rules.name
            << " hands deciding every other frame get through on even frames and on odd ones";
    }
    char time[64];
    std::snprintf(time, sizeof time, "\nsearched in %.1f s, %lld frames played", v.seconds,
                  static_cast<long long>(v.framesPlayed));
    out << time;
    return out.str();
}

std::string wrapped(const std::string& lines, std::size_t width) {
    std::string out;
    std::istringstream in(lines);
    bool firstLine = true;
    for (std::string line; std::getline(in, line); firstLine = false) {
        std::string current = firstLine ? "" : "  ";
        bool holdsWord = false;
        std::istringstream words(line);
        for (std::string word; words >> word;) {
            // A word too long for any line stands alone on its own.
            if (holdsWord && current.size() + 1 + word.size() > width) {
                out += current + "\n";
                current = "    ";
                holdsWord = false;
            }
            current += (holdsWord ? " " : "") + word;
            holdsWord = true;
        }
        out += current + "\n";
    }
    return out;
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

} // namespace autoplay
