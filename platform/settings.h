#pragma once
// The player's settings: how the picture fills the screen, whether the sounds are muted, whether
// the lives are shown, and the remembered answer to whether this machine's renderer runs on a
// GPU. They are `key = value` lines in $XDG_CONFIG_HOME/zanbury/settings.conf (by default
// ~/.config/zanbury/settings.conf), written again, atomically, whenever a setting changes.
// Plain files and text, no SDL, so that the tests use it as is.

#include <string>
#include <string_view>
#include <vector>

namespace settings {

// Sharp: the picture as large as the screen allows at its own shape, scaled up by the largest
// whole factor and then smoothly to the final size. Whole: the largest whole factor alone.
// Stretch: the whole screen, whatever its shape.
enum class Look { Sharp, Whole, Stretch };
enum class Gpu { Unknown, Yes, No };

// The game's keys in their order (platform::Key), as the settings file names them: key.up,
// pad.up and so on.
inline constexpr const char* KeyNames[6] = {"up", "down", "left", "right", "enter", "escape"};

// A binding as the settings file holds it: up to two names of keys (SDL's names of physical
// keys, such as "W", "Space", "Keypad 8") or of pad inputs ("dpup", "a", "leftx-"), and the
// line it was read from (0: the default). The SDL platform resolves the names (sdl/bindings.cpp).
struct Binding {
    std::string names;
    int line = 0;
};

struct Settings {
    Look look = Look::Sharp;
    bool mute = false;
    bool lives = true;
    bool standing = true; // the park, the score and the best on the screens between parks
    Gpu gpu = Gpu::Unknown;
    Binding keys[6] = {{"Up"}, {"Down"}, {"Left"}, {"Right"}, {"Return, Keypad Enter"}, {"Escape"}};
    Binding pads[6] = {{"dpup, lefty-"},    {"dpdown, lefty+"}, {"dpleft, leftx-"},
                       {"dpright, leftx+"}, {"a, start"},       {"b"}};
    // `key = value` lines of keys this version does not know, kept as they were for a newer one.
    std::vector<std::string> others;
};

const char* lookName(Look look);
// F10's order: Sharp, Whole, Stretch, and round again.
Look nextLook(Look look);

// settings.conf in the player's settings directory (files::configDirectory):
// $XDG_CONFIG_HOME/zanbury/settings.conf, or $HOME/.config/zanbury/settings.conf when
// XDG_CONFIG_HOME is unset, empty or not absolute, and %APPDATA%\Zanbury\settings.conf on
// Windows; empty when none can be had.
std::string settingsPath();

// The settings a text holds. A line that is neither blank, a comment (#), a known key with a
// known value nor an unknown key with a value is ignored, and the first such is described in
// `problem` (left empty when there is none); the setting keeps its default.
Settings parseSettings(std::string_view text, std::string& problem);
std::string formatSettings(const Settings& settings);

// The file's settings. A missing file gives the defaults and sets `missing` (the caller says so
// and writes them there); an unreadable or broken one gives the defaults for what cannot be
// read, with one warning on standard error, and is left as it is for the player to mend.
Settings loadSettings(const std::string& path, bool* missing = nullptr);
// Writes the settings to a file beside `path`, flushes it to the disk and renames it over
// `path`, making the directory first where needed: a write cut short at any moment leaves the old
// file or the new one, whole. Two games storing at once take turns under settings.conf.lock.
// False, with a warning on standard error, when it cannot.
bool saveSettings(const std::string& path, const Settings& settings);

} // namespace settings
