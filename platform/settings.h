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

struct Settings {
    Look look = Look::Sharp;
    bool mute = false;
    bool lives = true;
    Gpu gpu = Gpu::Unknown;
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
