#pragma once
// Scripts: the key moves that drive the game in place of a player, one line `FRAME KEY ACTION`
// each, where FRAME is the main-loop pass before whose handler the move takes effect. The
// simulator plays them; a recording (app/recording.h) holds its keys in the same lines.

#include "platform/platform.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace script {

using Action = platform::KeyMove;

struct Event {
    int64_t frame = 0; // the main-loop pass before whose handler the event takes effect
    platform::Key key = platform::Key::Up;
    Action action = Action::Press;
};

// The highest pass a line may name: any of 64 bits, so that a larger number is a bad line rather
// than the largest one, which never comes.
inline constexpr int64_t MaxFrame = INT64_MAX;

// The script words for a key and an action ("up", "tap"), and back; false for another word.
const char* keyName(platform::Key key);
const char* actionName(Action action);
bool keyByName(std::string_view name, platform::Key& key);
bool actionByName(std::string_view name, Action& action);

// The words of a line, split at spaces, tabs and carriage returns.
std::vector<std::string_view> words(std::string_view line);

// A line's pass number: a whole number from 1 to MaxFrame. False with what is wrong in `what`.
bool parseFrame(std::string_view word, int64_t& frame, std::string& what);
// The key and action words of a key line, and nothing after them, into the event.
bool parseKeyWords(const std::vector<std::string_view>& lineWords, Event& event, std::string& what);

// Parses script lines; # comments, blank lines and a byte-order mark are ignored, and the
// events of one frame keep their order in the file. Returns false with "FILE:LINE: what" in
// `error` on a bad line, printable as park::printable makes it.
bool parse(std::string_view text, const char* fileName, std::vector<Event>& events,
           std::string& error);

} // namespace script
