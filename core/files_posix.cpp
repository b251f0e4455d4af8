// The file layer on POSIX systems (core/files.h): open, flock, rename and fsync.

#include "core/files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {
namespace {

std::string reason() {
    return std::strerror(errno);
}

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// The permissions of a new file: what the process's umask leaves of 0666.
mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Six characters for a temporary name, different for every call of every process.
std::string sixCharacters(unsigned tries) {
    static unsigned count = 0;
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    unsigned long long seed = static_cast<unsigned long long>(::getpid()) * 2654435761u +
                              static_cast<unsigned long long>(std::time(nullptr)) * 40503u +
                              (count++) * 7919u + tries * 104729u;
    std::string six(6, 'a');
    for (char& c : six) {
        c = letters[seed % 36];
        seed /= 36;
    }
    return six;
}

} // namespace

std::FILE* openToRead(const std::string& path, ReadStatus& status, std::string& why) {
    // O_NONBLOCK: opening a FIFO with no writer, or some devices, would otherwise wait for ever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        status = errno == ENOENT ? ReadStatus::Missing : ReadStatus::Refused;
        why = reason();
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        status = ReadStatus::Refused;
        why = S_ISDIR(info.st_mode) ? "a directory, not a regular file" : "not a regular file";
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* f = ::fdopen(fd, "rb");
    if (f == nullptr) {
        why = reason();
        ::close(fd);
        status = ReadStatus::Refused;
        return nullptr;
    }
    status = ReadStatus::Read;
    return f;
}

namespace {

// O_EXCL with O_NOFOLLOW: a file or a link planted at the name makes the open fail, so nothing is
// ever written through it. `exists` tells that case from the others.
std::FILE* openNew(const std::string& name, mode_t mode, bool& exists, std::string& why) {
    const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    exists = fd < 0 && errno == EEXIST;
    if (fd < 0) {
        why = exists ? "something is there already" : reason();
        return nullptr;
    }
    ::fchmod(fd, mode); // the mode as asked, whatever the umask takes from it
    std::FILE* f = ::fdopen(fd, "w+b");
    if (f == nullptr) {
        why = reason();
        ::close(fd);
        ::unlink(name.c_str());
    }
    return f;
}

} // namespace

std::FILE* createNew(const std::string& path, std::string& why) {
    bool exists = false;
    return openNew(path, newFileMode(), exists, why);
}

std::FILE* createBeside(const std::string& path, std::string& temporary, std::string& why) {
    struct stat old {};
    const mode_t mode = ::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode) ? old.st_mode & 0777
                                                                                : newFileMode();
    const std::string prefix = temporaryPrefix(path);
    for (unsigned tries = 0; tries < 100; ++tries) {
        temporary = prefix + sixCharacters(tries);
        bool exists = false;
        if (std::FILE* f = openNew(temporary, mode, exists, why)) {
            return f;
        }
        if (!exists) {
            break;
        }
    }
    if (why.empty() || why == "something is there already") {
        why = "no new name for a temporary file beside it";
    }
    temporary.clear();
    return nullptr;
}

bool syncFile(std::FILE* file, std::string& why) {
    if (std::fflush(file) != 0 || ::fsync(::fileno(file)) != 0) {
        why = reason();
        return false;
    }
    return true;
}

namespace {

// Writes the bytes and syncs them; false with the system's reason (a short write that sets no
// reason is a full disk).
bool putBytes(std::FILE* f, const std::string& bytes, std::string& why) {
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fflush(f) != 0) {
        why = std::strerror(errno != 0 ? errno : ENOSPC);
        return false;
    }
    return syncFile(f, why);
}

// A new file with no name yet in the directory of `path`, given a temporary name only once it
// is written and synced (through /proc, or AT_EMPTY_PATH): a writer killed before then leaves
// nothing behind. -1 where the file system has no such files.
int unnamedBeside(const std::string& path, mode_t mode) {
#ifdef O_TMPFILE
    return ::open(directoryOf(path).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
#else
    (void)path;
    (void)mode;
    return -1;
#endif
}

// Gives the unnamed file a new temporary name beside `path`, never through a link (a link
// cannot take a name that exists).
bool nameUnnamed(int fd, const std::string& path, std::string& temporary) {
    for (unsigned tries = 0; tries < 100; ++tries) {
        temporary = temporaryPrefix(path) + sixCharacters(tries);
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) == 0
#ifdef AT_EMPTY_PATH
            || ::linkat(fd, "", AT_FDCWD, temporary.c_str(), AT_EMPTY_PATH) == 0
#endif
        ) {
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    return false;
}

} // namespace

bool writeWhole(const std::string& path, const std::string& bytes, std::string& why) {
    struct stat old {};
    const mode_t mode = ::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode) ? old.st_mode & 0777
                                                                                : newFileMode();
    std::string temporary;
    const int unnamed = unnamedBeside(path, mode);
    std::FILE* f = unnamed >= 0 ? ::fdopen(unnamed, "w+b") : createBeside(path, temporary, why);
    if (f == nullptr) {
        if (unnamed >= 0) {
            why = reason();
            ::close(unnamed);
        }
        return false;
    }
    if (unnamed >= 0) {
        ::fchmod(unnamed, mode);
    }
    bool ok = putBytes(f, bytes, why);
    if (ok && unnamed >= 0 && !nameUnnamed(::fileno(f), path, temporary)) {
        why = reason();
        temporary.clear();
        ok = false;
    }
    if (std::fclose(f) != 0 && ok) {
        why = reason();
        ok = false;
    }
    ok = ok && replace(temporary, path, why);
    if (!ok && !temporary.empty()) {
        removeFile(temporary);
    }
    return ok;
}

bool replace(const std::string& temporary, const std::string& path, std::string& why) {
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        why = reason();
        return false;
    }
    // The rename is made durable by syncing the directory that holds it; a directory that
    // cannot be synced (some file systems) still holds the new file.
    const int dir = ::open(directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

void removeFile(const std::string& path) {
    ::unlink(path.c_str());
}

void sweepTemporaries(const std::string& path, int seconds) {
    const std::string dir = directoryOf(path);
    const std::string prefix = temporaryPrefix(path.substr(path.rfind('/') + 1));
    DIR* d = ::opendir(dir.c_str());
    if (d == nullptr) {
        return;
    }
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(d)) {
        const std::string name = entry->d_name;
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        const std::string full = dir + "/" + name;
        struct stat info {};
        if (::lstat(full.c_str(), &info) == 0 && now - info.st_mtime >= seconds) {
            ::unlink(full.c_str());
        }
    }
    ::closedir(d);
}

std::FILE* openInPlace(const std::string& path, std::string& why) {
    // Without waiting: a pipe that nothing reads is refused at once instead of hanging.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = errno == ENXIO ? "nothing reads from it" : reason();
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* f = ::fdopen(fd, "wb");
    if (f == nullptr) {
        why = reason();
        ::close(fd);
    }
    return f;
}

bool makeDirectories(const std::string& dir, std::string& why) {
    for (std::size_t slash = dir.find('/', 1);; slash = dir.find('/', slash + 1)) {
        const std::string part = dir.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            why = reason();
            return false;
        }
        if (slash == std::string::npos) {
            return true;
        }
    }
}

Lock takeLock(const std::string& path, std::string& why) {
    const int fd =
        ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        why = reason();
        return NoLock;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        why = path + " is not a regular file";
        return NoLock;
    }
    for (int tries = 0; ::flock(fd, LOCK_EX | LOCK_NB) != 0; ++tries) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || tries == 300) {
            why = errno == EWOULDBLOCK ? "another program holds the lock" : reason();
            ::close(fd);
            return NoLock;
        }
        ::usleep(10000);
    }
    return fd;
}

void releaseLock(Lock lock) {
    if (lock != NoLock) {
        ::close(static_cast<int>(lock));
    }
}

namespace {

// XDG's rule: the variable when it holds an absolute path, else HOME with the default.
std::string xdgDirectory(const char* variable, const char* underHome) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') {
        return std::string(value) + "/zanbury";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + underHome + "/zanbury";
    }
    return "";
}

} // namespace

std::string configDirectory() {
    return xdgDirectory("XDG_CONFIG_HOME", "/.config");
}

std::string dataDirectory() {
    return xdgDirectory("XDG_DATA_HOME", "/.local/share");
}

} // namespace files
