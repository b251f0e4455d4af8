#pragma once
// The player's keys: each of the game's six keys bound to up to two keyboard keys and up to two
// pad inputs, resolved from the settings' names. Plain code: the names are looked up through the
// functions given (SDL's, on the SDL platform; a table in the tests), so that the rules are the
// same everywhere and tested without a device.
//
// A binding that names no key, names more than two, or names a key kept for something else
// (F1, F10, F11, P, Pause, M) gives that game key its default, with a warning naming the line. A
// key bound to two of the game's keys is a warning too, and each game key that shares it, but
// the first one bound (in the order up, down, left, right, enter, escape), takes its default.
// So every game key keeps at least one key of its own: Enter and Escape can never be lost.

#include "platform/platform.h"
#include "platform/settings.h"

#include <functional>
#include <string>
#include <vector>

namespace bindings {

inline constexpr int Places = 2; // keys a game key may have, on each device
inline constexpr int None = -1;

struct KeyCodes {
    int codes[Places] = {None, None};
};

struct Bindings {
    KeyCodes keyboard[platform::KeyCount];
    KeyCodes pad[platform::KeyCount];
    // The names as they stand, for the keys card and the page: "Up, W".
    std::string keyboardNames[platform::KeyCount];
    std::string padNames[platform::KeyCount];
};

// A name's code, or None when it names nothing; and whether a code is kept for something else
// (it then says what, e.g. "pause").
using Lookup = std::function<int(const std::string&)>;
using Reserved = std::function<const char*(int)>;

// The bindings of the settings. Each warning is one line for standard error, naming the settings
// file's line: "settings.conf:12: key.up names no key ('Foo'): Up stands for it, as by default".
Bindings resolve(const settings::Settings& s, const Lookup& keyCode, const Reserved& keyKept,
                 const Lookup& padCode, const std::string& fileName,
                 std::vector<std::string>& warnings);

// The game key a keyboard key or a pad input is bound to, with its place (0 or 1); false when it
// is bound to none.
bool keyboardKeyOf(const Bindings& b, int code, platform::Key& key, int& place);
bool padKeyOf(const Bindings& b, int code, platform::Key& key, int& place);

} // namespace bindings
