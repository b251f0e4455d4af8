// Reading and writing the settings file (see settings.h): parsing its lines, formatting them
// back, and the atomic write.

#include "platform/settings.h"

#include "core/files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Applies one `key = value`; false when the key is known and the value is not one of its own.
bool apply(Settings& s, std::string_view key, std::string_view value, std::string_view line) {
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

// Makes the directory and its parents, as `mkdir -p` does.
bool makeDirectories(const std::string& dir) {
    for (std::size_t slash = dir.find('/', 1);; slash = dir.find('/', slash + 1)) {
        const std::string part = dir.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            return true;
        }
    }
}

bool warn(const std::string& path, const char* what) {
    std::fprintf(stderr, "zanbury: cannot write the settings file %s: %s: %s\n", path.c_str(), what,
                 std::strerror(errno));
    return false;
}

} // namespace

const char* lookName(Look look) {
    return LookNames[static_cast<int>(look)];
}

Look nextLook(Look look) {
    return static_cast<Look>((static_cast<int>(look) + 1) % 3);
}

std::string settingsPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        return std::string(config) + "/zanbury/settings.conf";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.config/zanbury/settings.conf";
    }
    return {};
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
        if ((!wellFormed || !apply(s, key, value, line)) && problem.empty()) {
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

namespace {

// Removes the temporary files beside `path` that games killed while storing their choices left
// behind: those whose game is no longer running.
void sweepLeftovers(const std::string& dir, const std::string& name) {
    DIR* d = opendir(dir.empty() ? "/" : dir.c_str());
    if (d == nullptr) {
        return;
    }
    const std::string prefix = name + ".new.";
    while (const dirent* entry = readdir(d)) {
        const std::string other = entry->d_name;
        if (other.compare(0, prefix.size(), prefix) != 0 ||
            other.find_first_not_of("0123456789", prefix.size()) != std::string::npos ||
            other.size() == prefix.size() || other.size() > prefix.size() + 9) {
            continue;
        }
        const long pid = std::strtol(other.c_str() + prefix.size(), nullptr, 10);
        if (pid > 0 && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            unlink((dir + "/" + other).c_str());
        }
    }
    closedir(d);
}

} // namespace

bool saveSettings(const std::string& path, const Settings& s) {
    const std::size_t slash = path.rfind('/');
    if (path.empty() || slash == std::string::npos) {
        errno = ENOENT;
        return warn(path, "no place for it");
    }
    const std::string dir = path.substr(0, slash);
    if (slash > 0 && !makeDirectories(dir)) {
        return warn(path, "its directory cannot be made");
    }
    sweepLeftovers(dir, path.substr(slash + 1));
    // A name of this process's own, made new (never through a link): two games storing their
    // choices at once each rename a whole file of their own.
    const std::string temp = path + ".new." + std::to_string(getpid());
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    int fd = open(temp.c_str(), flags, 0600);
    if (fd < 0 && errno == EEXIST && unlink(temp.c_str()) == 0) {
        fd = open(temp.c_str(), flags, 0600); // left by an earlier game of the same number
    }
    if (fd < 0) {
        return warn(path, "opening");
    }
    const std::string text = formatSettings(s);
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            close(fd);
            unlink(temp.c_str());
            return warn(path, "writing");
        }
        done += static_cast<std::size_t>(n);
    }
    const bool synced = fsync(fd) == 0;
    if (close(fd) != 0 || !synced || std::rename(temp.c_str(), path.c_str()) != 0) {
        unlink(temp.c_str());
        return warn(path, "storing");
    }
    // The rename itself reaches the disk with the directory.
    const int dirFd = open(slash == 0 ? "/" : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
    return true;
}

} // namespace settings
