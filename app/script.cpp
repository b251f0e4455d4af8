// Script lines: the names of keys and actions, and the checked reading of `FRAME KEY ACTION`.

#include "app/script.h"

#include "park/readers.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <utility>

namespace script {
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
    {"forget", Action::Forget},
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

} // namespace

const char* keyName(platform::Key key) {
    return nameIn(KeyNames, key);
}

const char* actionName(Action action) {
    return nameIn(ActionNames, action);
}

bool keyByName(std::string_view name, platform::Key& key) {
    return lookUp(KeyNames, name, key);
}

bool actionByName(std::string_view name, Action& action) {
    return lookUp(ActionNames, name, action);
}

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    constexpr std::string_view Space = " \t\r\v\f";
    std::size_t at = line.find_first_not_of(Space);
    while (at != std::string_view::npos) {
        std::size_t end = line.find_first_of(Space, at);
        out.push_back(line.substr(at, end == std::string_view::npos ? end : end - at));
        at = end == std::string_view::npos ? end : line.find_first_not_of(Space, end);
    }
    return out;
}

bool parseFrame(std::string_view word, int64_t& frame, std::string& what) {
    const std::string text(word);
    char* end = nullptr;
    errno = 0;
    long long value = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 1 || errno == ERANGE || value > MaxFrame) {
        what = "the frame '" + park::excerpt(text) + "' is not a whole number from 1 to " +
               std::to_string(MaxFrame);
        return false;
    }
    frame = value;
    return true;
}

bool parseKeyWords(const std::vector<std::string_view>& lineWords, Event& event,
                   std::string& what) {
    std::string_view keyWord = lineWords.size() > 1 ? lineWords[1] : std::string_view{};
    std::string_view actionWord = lineWords.size() > 2 ? lineWords[2] : std::string_view{};
    if (!keyByName(keyWord, event.key)) {
        what = "the key '" + park::excerpt(keyWord) +
               "' is not one of up, down, left, right, enter, escape";
        return false;
    }
    if (!actionByName(actionWord, event.action)) {
        what = "the action '" + park::excerpt(actionWord) +
               "' is not one of press, release, tap, forget";
        return false;
    }
    if (lineWords.size() > 3) {
        what = "unexpected '" + park::excerpt(lineWords[3]) + "' after the action";
        return false;
    }
    return true;
}

bool parse(std::string_view text, const char* fileName, std::vector<Event>& events,
           std::string& error) {
    text = park::withoutByteOrderMark(text);
    int lineNumber = 0;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNumber;
        std::vector<std::string_view> w = words(line);
        if (w.empty() || w[0][0] == '#') {
            continue;
        }
        Event e;
        std::string what;
        if (!parseFrame(w[0], e.frame, what) || !parseKeyWords(w, e, what)) {
            error = park::printable(std::string(fileName) + ":" + std::to_string(lineNumber) +
                                    ": " + what);
            return false;
        }
        events.push_back(e);
    }
    // Events of one frame apply in file order.
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.frame < b.frame; });
    return true;
}

} // namespace script
