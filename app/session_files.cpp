// The session's files: each regular one replaced atomically (a new file made beside the old one
// under a name of its own, renamed over it once it holds what must never be seen missing), a
// terminal, pipe or device that the player named written in place; and the check that a file
// the player names is none of the game's own.

#include "app/session_parts.h"

#include "app/session.h"
#include "park/park.h"
#include "park/readers.h"
#include "platform/settings.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace session::detail {
namespace {

std::string reason() {
    return std::strerror(errno);
}

// The directory that holds `path`, for its sync after a rename.
bool syncDirectoryOf(const std::string& path) {
    std::string dir = std::filesystem::path(path).parent_path().string();
    int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) {
        return false;
    }
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// Opens a terminal, a pipe or a device for writing where it is, as a shell's redirection would.
NewFile openInPlace(const std::string& path, std::string& error) {
    NewFile f;
    f.path = path;
    // Without waiting: a pipe that nothing reads is refused at once instead of hanging start-up.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = errno == ENXIO ? "nothing reads from " + path
                               : "cannot write " + path + ": " + reason();
        return f;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) {
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    f.file = ::fdopen(fd, "w");
    if (f.file == nullptr) {
        error = "cannot write " + path + ": " + reason();
        ::close(fd);
    }
    return f;
}

} // namespace

NewFile openNamed(const std::string& path, std::string& error) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            error = "cannot write " + path + ": it is a directory";
            return NewFile{};
        }
        if (!S_ISREG(info.st_mode)) {
            return openInPlace(path, error);
        }
        // Replaced where it lies: a link to it stays the link it was.
        std::error_code ec;
        const std::string real = std::filesystem::canonical(path, ec).string();
        return openReplacing(ec ? path : real, error);
    }
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        error = "cannot write " + path + ": it is a link to a file that does not exist";
        return NewFile{};
    }
    return openReplacing(path, error);
}

NewFile openReplacing(const std::string& path, std::string& error) {
    NewFile f;
    f.path = path;
    std::string pattern = path + ".XXXXXX";
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        error = "cannot make a file beside " + path + ": " + reason();
        return f;
    }
    // An ordinary file as the umask makes them, not mkstemp's private one.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    f.temporary = pattern;
    f.file = ::fdopen(fd, "w+");
    if (f.file == nullptr) {
        error = "cannot write " + pattern + ": " + reason();
        ::close(fd);
        ::unlink(pattern.c_str());
    }
    return f;
}

bool putInPlace(NewFile& file, std::string& error) {
    if (file.temporary.empty()) {
        return true; // written in place
    }
    if (std::rename(file.temporary.c_str(), file.path.c_str()) != 0) {
        error = "cannot put " + file.path + " in place: " + reason();
        return false;
    }
    return true;
}

bool parkFiles(std::vector<std::string>& names, std::string& error) {
    std::string list;
    park::Problem problem;
    park::ParkListFile parks;
    if (!park::readTextFile("parks.txt", list, problem) ||
        !park::parseParkList(list, "parks.txt", parks, problem)) {
        error = park::formatProblem(problem);
        return false;
    }
    names.assign({"parks.txt"});
    names.insert(names.end(), parks.list.names, parks.list.names + parks.parkCount);
    return true;
}

bool copyReplacing(std::FILE* from, const std::string& tail, const std::string& path,
                   std::string& error) {
    NewFile to = openReplacing(path, error);
    if (to.file == nullptr) {
        return false;
    }
    const int in = ::fileno(from);
    char buffer[65536];
    bool ok = true;
    for (off_t at = 0;;) {
        ssize_t n = ::pread(in, buffer, sizeof buffer, at);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        at += n;
        if (std::fwrite(buffer, 1, static_cast<std::size_t>(n), to.file) !=
            static_cast<std::size_t>(n)) {
            ok = false;
            break;
        }
    }
    ok = ok && std::fwrite(tail.data(), 1, tail.size(), to.file) == tail.size();
    ok = ok && std::fflush(to.file) == 0 && ::fsync(::fileno(to.file)) == 0;
    if (!ok) {
        error = "cannot write " + to.temporary + ": " + reason();
    }
    ok = std::fclose(to.file) == 0 && ok;
    if (ok && !putInPlace(to, error)) {
        ok = false;
    }
    if (!ok) {
        ::unlink(to.temporary.c_str());
        return false;
    }
    syncDirectoryOf(path);
    return true;
}

} // namespace session::detail

namespace session {

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ea;
    std::error_code eb;
    const auto canonicalA = std::filesystem::weakly_canonical(std::filesystem::absolute(a, ea), ea);
    const auto canonicalB = std::filesystem::weakly_canonical(std::filesystem::absolute(b, eb), eb);
    if (!ea && !eb && canonicalA == canonicalB) {
        return true;
    }
    struct stat sa {};
    struct stat sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

std::string refusedOptionFile(const std::string& path, const std::string& replay) {
    struct Own {
        std::string name;
        const char* what;
    };
    std::vector<Own> own = {
        {"parks.txt", "the park list"},
        {park::HighScoreFileName, "the high score"},
        {park::HighScoreLockName, "the high score's lock"},
        {LastRunFile, "the recording the game keeps of every session"},
        {HighScoreRunFile, "the recording of the high score's run"},
    };
    std::vector<std::string> parks;
    std::string unread;
    if (detail::parkFiles(parks, unread)) {
        for (std::size_t i = 1; i < parks.size(); ++i) {
            own.push_back({parks[i], "a park of parks.txt"});
        }
    }
    if (const std::string settingsFile = settings::settingsPath(); !settingsFile.empty()) {
        own.push_back({settingsFile, "the settings file"});
    }
    if (!replay.empty()) {
        own.push_back({replay, "the recording being replayed"});
    }
    for (const Own& o : own) {
        if (sameFile(path, o.name)) {
            return park::printable(path) + " is " + o.what +
                   ", which the game keeps for itself: name another file";
        }
    }
    return "";
}

} // namespace session
