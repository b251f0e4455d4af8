// Reading and writing the settings file (see settings.h): parsing its lines, formatting them
// back, and the atomic write through the file layer.

#include "platform/settings.h"

#include "core/files.h"

#include <cstdio>

namespace settings {
namespace {

constexpr const char* LookNames[] = {"sharp", "whole", "stretch"};

std::string_view trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

bool yesNo(std::string_view value, bool& to) {
    if (value == "yes" || value == "no") {
        to = value == "yes";
        return true;
    }
    return false;
}

// A binding's names: one or two, separated by a comma; the SDL platform checks what they name.
bool binding(std::string_view value, int number, Binding& to) {
    const std::size_t comma = value.find(',');
    if (comma != std::string_view::npos &&
        (value.find(',', comma + 1) != std::string_view::npos ||
         trimmed(value.substr(0, comma)).empty() || trimmed(value.substr(comma + 1)).empty())) {
        return false;
    }
    to = Binding{std::string(value), number};
    return true;
}

// Applies one `key = value`; false when the key is known and the value is not one of its own.
bool apply(Settings& s, std::string_view key, std::string_view value, std::string_view line,
           int number) {
    for (int k = 0; k < 6; ++k) {
        if (key == std::string("key.") + KeyNames[k]) {
            return binding(value, number, s.keys[k]);
        }
        if (key == std::string("pad.") + KeyNames[k]) {
            return binding(value, number, s.pads[k]);
        }
    }
    if (key == "look") {
        for (int i = 0; i < 3; ++i) {
            if (value == LookNames[i]) {
                s.look = static_cast<Look>(i);
                return true;
            }
        }
        return false;
    }
    if (key == "mute") {
        return yesNo(value, s.mute);
    }
    if (key == "lives") {
        return yesNo(value, s.lives);
    }
    if (key == "standing") {
        return yesNo(value, s.standing);
    }
    if (key == "gpu") {
        bool yes = false;
        if (!yesNo(value, yes)) {
            return false;
        }
        s.gpu = yes ? Gpu::Yes : Gpu::No;
        return true;
    }
    s.others.emplace_back(line);
    return true;
}

void warn(const std::string& path, const std::string& why) {
    std::fprintf(stderr, "zanbury: cannot write the settings file %s: %s\n", path.c_str(),
                 why.c_str());
}

} // namespace

const char* lookName(Look look) {
    return LookNames[static_cast<int>(look)];
}

Look nextLook(Look look) {
    return static_cast<Look>((static_cast<int>(look) + 1) % 3);
}

std::string settingsPath() {
    const std::string dir = files::configDirectory();
    return dir.empty() ? dir : files::inDirectory(dir, "settings.conf");
}

Settings parseSettings(std::string_view text, std::string& problem) {
    Settings s;
    problem.clear();
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::size_t equals = line.find('=');
        const std::string_view key =
            trimmed(line.substr(0, equals == std::string_view::npos ? 0 : equals));
        const std::string_view value = equals == std::string_view::npos
                                           ? std::string_view{}
                                           : trimmed(line.substr(equals + 1));
        const bool wellFormed = !key.empty() && !value.empty() &&
                                key.find_first_of(" \t") == std::string_view::npos &&
                                line.find('\0') == std::string_view::npos;
        if ((!wellFormed || !apply(s, key, value, line, number)) && problem.empty()) {
            std::string shown(line.substr(0, 60));
            for (char& c : shown) {
                c = c >= ' ' && c <= '~' ? c : '?'; // the warning stays one readable line
            }
            problem = "line " + std::to_string(number) + " is not understood: \"" + shown + "\"";
        }
    }
    return s;
}

std::string formatSettings(const Settings& s) {
    std::string text = "# Zanbury's settings, written again by the game whenever one changes.\n"
                       "# look: sharp, whole or stretch (F10); mute: yes or no (M); lives: yes "
                       "or no.\n";
    text += "look = " + std::string(lookName(s.look)) + "\n";
    text += std::string("mute = ") + (s.mute ? "yes" : "no") + "\n";
    text += std::string("lives = ") + (s.lives ? "yes" : "no") + "\n";
    text += "# standing: yes or no, the park, the score and the best shown between parks.\n";
    text += std::string("standing = ") + (s.standing ? "yes" : "no") + "\n";
    text += "# The game's keys, each one or two of the keyboard's (by SDL's names of the keys:\n"
            "# W, Space, Left Shift, Keypad 8...) and of a pad's (dpup, a, b, x, y, back, start,\n"
            "# leftshoulder, leftx-, lefty+, rightx-, lefttrigger...). F1 shows them.\n";
    for (int k = 0; k < 6; ++k) {
        text += std::string("key.") + KeyNames[k] + " = " + s.keys[k].names + "\n";
    }
    for (int k = 0; k < 6; ++k) {
        text += std::string("pad.") + KeyNames[k] + " = " + s.pads[k].names + "\n";
    }
    if (s.gpu != Gpu::Unknown) {
        text += "# gpu: whether the renderer here runs on a GPU, found once; remove it to look "
                "again.\n";
        text += std::string("gpu = ") + (s.gpu == Gpu::Yes ? "yes" : "no") + "\n";
    }
    for (const std::string& line : s.others) {
        text += line + "\n";
    }
    return text;
}

Settings loadSettings(const std::string& path, bool* missing) {
    if (missing != nullptr) {
        *missing = false;
    }
    if (path.empty()) {
        return {};
    }
    // A settings file is a few lines: anything past 64 KiB is not one. Read through the file
    // layer, so that a settings file that is a pipe or a device is refused, not waited on.
    std::string text;
    std::string why;
    switch (files::readWhole(path.c_str(), text, why, 64 * 1024)) {
    case files::ReadStatus::Read:
        break;
    case files::ReadStatus::Missing:
        if (missing != nullptr) {
            *missing = true;
        }
        return {};
    case files::ReadStatus::Refused:
        std::fprintf(stderr, "zanbury: cannot read the settings file %s: %s; using the defaults\n",
                     path.c_str(), why.c_str());
        return {};
    }
    std::string problem;
    Settings s = parseSettings(text, problem);
    if (!problem.empty()) {
        std::fprintf(stderr, "zanbury: the settings file %s: %s; the defaults stand for it\n",
                     path.c_str(), problem.c_str());
    }
    return s;
}

bool saveSettings(const std::string& path, const Settings& s) {
    const std::size_t slash = path.find_last_of("/\\");
    if (path.empty() || slash == std::string::npos) {
        warn(path, "there is no place for it");
        return false;
    }
    std::string why;
    if (slash > 0 && !files::makeDirectories(path.substr(0, slash), why)) {
        warn(path, "its directory cannot be made: " + why);
        return false;
    }
    // Under a lock of their own, two games storing their choices take turns, and the temporary
    // files that a game killed while storing left behind are swept away. Without the lock the
    // choices are still stored, through a temporary file of this game's own.
    const files::Lock lock = files::takeLock(path + ".lock", why);
    if (lock != files::NoLock) {
        files::sweepTemporaries(path, 0);
    }
    const bool stored = files::writeWhole(path, formatSettings(s), why);
    files::releaseLock(lock);
    if (!stored) {
        warn(path, why);
    }
    return stored;
}

} // namespace settings
