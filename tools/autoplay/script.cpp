// Scripts for the simulator: the winning run of one park, one run joined from the scripts of
// several parks, and events written as script lines.

#include "tools/autoplay/search.h"
#include "tools/sim/sim.h"

#include <algorithm>
#include <sstream>

namespace autoplay {

std::string scriptText(const Verdict& verdict, bool steady) {
    const std::vector<Press>& presses = steady ? verdict.steady.presses : verdict.presses;
    const int32_t score = steady ? verdict.steady.score : verdict.score;
    const int64_t endPass = steady ? verdict.steady.endPass : verdict.endPass;
    std::ostringstream out;
    out << "# " << verdict.parkName << " as the only park of the list: " << score
        << " points, no fall.\n";
    if (steady) {
        out << "# The steady run: the fewest presses, each at the middle of its timing window; "
               "the\n# narrowest window is "
            << verdict.tightness() << " frames.\n";
    }
    out << "# Made by zanbury-autoplay with " << verdict.rules.name
        << " hands: a key goes down at most every " << verdict.rules.decisionEvery
        << " frames\n# (at park frames " << 1 + verdict.phase << ", "
        << 1 + verdict.phase + verdict.rules.decisionEvery << ", ...), is held "
        << verdict.rules.holdFrames << ", and " << verdict.rules.minGap
        << " frames pass from one press to the next.\n"
        << "# expect: score=" << score << " lives=3\n"
        << MenuPass << " enter tap\n";
    struct Line {
        int64_t pass;
        bool release;
        platform::Key key;
    };
    std::vector<Line> lines;
    for (const Press& p : presses) {
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
        << endPass + 1 << " enter tap\n"
        << endPass + 3 << " down tap\n"
        << endPass + 3 << " enter tap\n";
    return out.str();
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
