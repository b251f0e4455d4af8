#include "tools/sim/sim.h"

#include "app/flow.h"
#include "app/shell.h"
#include "core/run_state.h"
#include "display/atlas.h"
#include "park/readers.h"
#include "platform/headless.h"
#include "skater/skater.h"
#include "tools/common/common.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <utility>

namespace sim {
namespace {

constexpr std::pair<std::string_view, platform::Key> KeyNames[] = {
    {"up", platform::Key::Up},       {"down", platform::Key::Down},
    {"left", platform::Key::Left},   {"right", platform::Key::Right},
    {"enter", platform::Key::Enter}, {"escape", platform::Key::Escape},
};

constexpr std::pair<std::string_view, Action> ActionNames[] = {
    {"press", Action::Press},
    {"release", Action::Release},
    {"tap", Action::Tap},
};

// The value named `name` in the table; false when the table has no such name.
template <typename Value, std::size_t N>
bool lookUp(const std::pair<std::string_view, Value> (&table)[N], std::string_view name,
            Value& value) {
    for (const auto& [n, v] : table) {
        if (n == name) {
            value = v;
            return true;
        }
    }
    return false;
}

// The name of the value in the table, or "?" for a value outside it.
template <typename Value, std::size_t N>
const char* nameIn(const std::pair<std::string_view, Value> (&table)[N], Value value) {
    for (const auto& [n, v] : table) {
        if (v == value) {
            return n.data(); // every name is a string literal, so zero-terminated
        }
    }
    return "?";
}

// A trace line that could not be written (a full disk, a closed output): the run stops.
int traceFailed() {
    std::fprintf(stderr, "zanbury-sim: cannot write the trace: %s\n", std::strerror(errno));
    return 1;
}

void apply(const ScriptEvent& e) {
    switch (e.action) {
    case Action::Press:
        headless::press(e.key);
        break;
    case Action::Release:
        headless::release(e.key);
        break;
    case Action::Tap:
        headless::tap(e.key);
        break;
    }
}

} // namespace

const char* keyName(platform::Key key) {
    return nameIn(KeyNames, key);
}

const char* actionName(Action action) {
    return nameIn(ActionNames, action);
}

void playPass() {
    runStateHandler();
    headless::advanceClock(1); // each pass's work takes 1 ms
    paceAndPresent();
}

bool parseScript(std::string_view text, const char* fileName, std::vector<ScriptEvent>& events,
                 std::string& error) {
    std::istringstream in{std::string(park::withoutByteOrderMark(text))};
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        std::istringstream words(line);
        std::string frameWord, keyWord, actionWord, extra;
        if (!(words >> frameWord) || frameWord[0] == '#') {
            continue;
        }
        words >> keyWord >> actionWord;
        ScriptEvent e;
        long long frame = 0;
        std::string prefix = std::string(fileName) + ":" + std::to_string(lineNumber) + ": ";
        // A frame beyond 64 bits is refused, not read as the largest one, which never comes.
        if (!tools::wholeNumber(frameWord.c_str(), 1, INT64_MAX, frame)) {
            error =
                park::printable(prefix + "the frame '" + frameWord +
                                "' is not a whole number from 1 to " + std::to_string(INT64_MAX));
            return false;
        }
        if (!lookUp(KeyNames, keyWord, e.key)) {
            error = park::printable(prefix + "the key '" + keyWord +
                                    "' is not one of up, down, left, right, enter, escape");
            return false;
        }
        if (!lookUp(ActionNames, actionWord, e.action)) {
            error = park::printable(prefix + "the action '" + actionWord +
                                    "' is not one of press, release, tap");
            return false;
        }
        if (words >> extra) {
            error = park::printable(prefix + "unexpected '" + extra + "' after the action");
            return false;
        }
        e.frame = frame;
        events.push_back(e);
    }
    // Events of one frame apply in file order.
    std::stable_sort(events.begin(), events.end(),
                     [](const ScriptEvent& a, const ScriptEvent& b) { return a.frame < b.frame; });
    return true;
}

std::string traceLine(int64_t frame, const std::string& sounds, bool withHash) {
    char hash[9] = "-";
    if (withHash) {
        std::snprintf(hash, sizeof hash, "%08x", headless::frameHash());
    }
    char line[512];
    std::snprintf(line, sizeof line,
                  "frame=%lld state=%s score=%d lives=%d park=%d parkFrame=%d parkLength=%d "
                  "window=%d..%d msg=%d menu=%s body=%s board=%s bodyY=%d boardX=%d boardY=%d "
                  "trick=%d timer=%d rise=%d supported=%d onRail=%d landed=%d sound=%s hash=%s",
                  static_cast<long long>(frame), gameStateName(gameState), run.score, run.lives,
                  run.parkIndex, run.parkFrame, run.parkLength, run.firstActive, run.lastActive,
                  run.messageSeconds, newGameSelected() ? "new" : "exit",
                  atlas::nameOf(skater.bodySrc), atlas::nameOf(skater.boardSrc), skater.bodyY,
                  skater.boardX, skater.boardY, static_cast<int>(skater.trick), skater.trickTimer,
                  skater.riseFrames, skater.supported, skater.onRail, skater.landed, sounds.c_str(),
                  hash);
    return line;
}

std::string traceField(const std::string& line, const char* name) {
    const std::string key = std::string(" ") + name + "=";
    std::size_t at = line.find(key);
    std::size_t start = 0;
    if (at != std::string::npos) {
        start = at + key.size();
    } else if (line.rfind(key.substr(1), 0) == 0) {
        start = key.size() - 1;
    } else {
        return "";
    }
    return line.substr(start, line.find(' ', start) - start);
}

int runSimulation(const Options& options, const std::vector<ScriptEvent>& events, std::FILE* out) {
    std::error_code ec;
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(options.dir, ec);
    if (ec) {
        std::fprintf(stderr, "zanbury-sim: cannot enter %s: %s\n", options.dir.c_str(),
                     ec.message().c_str());
        return 1;
    }
    int code = 0;
    if (!tools::startHeadlessGame(options.startTick)) {
        code = 1;
    } else {
        std::size_t next = 0;
        for (int64_t frame = 1; options.maxFrames < 0 || frame <= options.maxFrames; ++frame) {
            for (; next < events.size() && events[next].frame <= frame; ++next) {
                apply(events[next]);
            }
            // A picture is kept only where it is read: for the hash, or for a shot.
            headless::keepFrames(
                options.hash || std::any_of(options.shots.begin(), options.shots.end(),
                                            [&](const Shot& shot) { return shot.frame == frame; }));
            playPass();
            std::string sounds = headless::takeSounds();
            if (std::fprintf(out, "%s\n", traceLine(frame, sounds, options.hash).c_str()) < 0) {
                code = traceFailed();
                break;
            }
            for (const Shot& shot : options.shots) {
                if (shot.frame == frame && !headless::saveFramePng(shot.path.c_str())) {
                    code = 1; // the reason is on standard error
                }
            }
            if (code != 0 || gameState == GameState::Quit) {
                break;
            }
        }
        shutDown();
        // A full disk shows only when the last of the trace is flushed.
        if (code == 0 && (std::fflush(out) != 0 || std::ferror(out) != 0)) {
            code = traceFailed();
        }
    }
    std::filesystem::current_path(previous, ec);
    return code;
}

} // namespace sim
