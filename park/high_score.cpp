// The high score file: its read, the comparison and its rewrite as one step under a lock, so
// that two games ending a run at the same moment in one directory keep the higher score, and a
// crash, a planted link or a file that cannot be read never loses one.

#include "park/park.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace park {
namespace {

constexpr const char* HighScoreFile = HighScoreFileName;
// Beside the score, created when missing and never removed: removing it would let a late comer
// lock a new file while another still holds the old one.
constexpr const char* LockFile = HighScoreLockName;
// Every temporary file is this prefix and six characters chosen by mkostemp.
constexpr char TempPrefix[] = "highscore.txt.tmp-";
constexpr std::size_t TempNameLength = sizeof TempPrefix - 1 + 6;
// How long a writer waits for another to finish before it gives up: a game never hangs on a
// lock that a stopped process keeps.
constexpr int LockTries = 300;
constexpr useconds_t LockPause = 10000;

// The reason of an errno in words for the screen: "permission denied".
std::string reasonOf(int error) {
    std::string text = std::strerror(error);
    if (!text.empty()) {
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    }
    return text;
}

void warn(const std::string& what) {
    std::fprintf(stderr, "zanbury: warning: %s\n", printable(what).c_str());
}

// Takes the lock; -1 with the reason in `why` when it cannot be had.
int takeLock(std::string& why) {
    int fd = open(LockFile, O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        why = reasonOf(errno);
        return -1;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        why = std::string(LockFile) + " is not a regular file";
        return -1;
    }
    for (int tries = 0; flock(fd, LOCK_EX | LOCK_NB) != 0; ++tries) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || tries == LockTries) {
            why = errno == EWOULDBLOCK ? "another game keeps the score file busy" : reasonOf(errno);
            close(fd);
            return -1;
        }
        usleep(LockPause);
    }
    return fd;
}

// Temporary files that a writer killed between their creation and their rename left behind.
// Only called under the lock, when no writer can be using one.
void sweepLeftovers() {
    DIR* dir = opendir(".");
    if (dir == nullptr) {
        return;
    }
    while (const dirent* entry = readdir(dir)) {
        if (std::strncmp(entry->d_name, TempPrefix, sizeof TempPrefix - 1) == 0 &&
            std::strlen(entry->d_name) == TempNameLength) {
            unlink(entry->d_name);
        }
    }
    closedir(dir);
}

enum class Stored { None, Score, Unreadable };

// Reads the leading number of the high score file, however long the rest of it is. `mode` gets
// the file's permissions, to be kept by its replacement.
Stored readStored(int32_t& value, mode_t& mode, std::string& why) {
    int fd = open(HighScoreFile, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = reasonOf(errno);
        return errno == ENOENT ? Stored::None : Stored::Unreadable;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        why = "not a regular file";
        return Stored::Unreadable;
    }
    mode = info.st_mode & 07777;
    std::string text;
    // Each read is as long as all before it, so that looking at the whole text after each read
    // costs no more than twice the reading.
    std::string buffer(4096, '\0');
    bool settled = false;
    while (!settled) {
        buffer.resize(std::max(buffer.size(), text.size()));
        ssize_t n = read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            why = reasonOf(errno);
            close(fd);
            return Stored::Unreadable;
        }
        text.append(buffer.data(), static_cast<std::size_t>(n));
        settled = n == 0 || leadingNumberSettled(text);
        if (!settled && text.size() > MaxTextFileBytes) {
            why = "no number ends within its first " + std::to_string(MaxTextFileBytes >> 20) +
                  " MiB";
            close(fd);
            return Stored::Unreadable;
        }
    }
    close(fd);
    return parseHighScore(text, value) ? Stored::Score : Stored::None;
}

// The permissions of a new file: what the process's umask leaves of 0666.
mode_t newFileMode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// A new file with no name yet in the directory, to be given one by nameTemporary once it is
// written and synced: a writer killed before then leaves nothing behind. -1 where the file
// system has no such files.
int unnamedFile(mode_t mode) {
    return open(".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
}

// Gives the unnamed file a new temporary name, never through a link (a link cannot replace an
// existing name). False, with errno set, when it cannot be named.
bool nameTemporary(int fd, char* name) {
    for (int tries = 0; tries < 100; ++tries) {
        const unsigned pick =
            static_cast<unsigned>(getpid()) * 40503u + static_cast<unsigned>(tries);
        std::snprintf(name, TempNameLength + 1, "%s%06x", TempPrefix, pick & 0xffffffu);
        char self[64];
        std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
        if (linkat(AT_FDCWD, self, AT_FDCWD, name, AT_SYMLINK_FOLLOW) == 0 ||
            linkat(fd, "", AT_FDCWD, name, AT_EMPTY_PATH) == 0) {
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    return false;
}

// Writes the digits to a temporary file made new (never through a link), syncs it, renames it
// over the score and syncs the directory. False with the reason in `why`.
bool writeScore(int32_t score, mode_t mode, std::string& why) {
    char name[TempNameLength + 1];
    int fd = unnamedFile(mode);
    const bool unnamed = fd >= 0;
    if (!unnamed) {
        std::snprintf(name, sizeof name, "%sXXXXXX", TempPrefix);
        fd = mkostemp(name, O_CLOEXEC);
    }
    if (fd < 0) {
        why = reasonOf(errno);
        return false;
    }
    char digits[16];
    const int n = std::snprintf(digits, sizeof digits, "%d", score);
    errno = 0;
    int reason = 0;
    if (fchmod(fd, mode) != 0 || write(fd, digits, static_cast<std::size_t>(n)) != n ||
        fsync(fd) != 0 || (unnamed && !nameTemporary(fd, name))) {
        reason = errno != 0 ? errno : EIO; // a short write sets no errno: the disk is full
    }
    const bool named = !unnamed || reason == 0;
    if (close(fd) != 0 && reason == 0) {
        reason = errno;
    }
    if (reason == 0 && rename(name, HighScoreFile) != 0) {
        reason = errno;
    }
    if (reason != 0) {
        if (named) {
            unlink(name);
        }
        why = reasonOf(reason);
        return false;
    }
    // The rename itself is made durable by syncing the directory that holds it.
    int dir = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0 || fsync(dir) != 0) {
        warn(std::string("the directory of ") + HighScoreFile +
             " cannot be synced: " + reasonOf(errno));
    }
    if (dir >= 0) {
        close(dir);
    }
    return true;
}

} // namespace

int takeHighScoreLock(std::string& why) {
    return takeLock(why);
}

void releaseHighScoreLock(int lock) {
    if (lock >= 0) {
        close(lock);
    }
}

bool highScoreIs(int32_t score) {
    int32_t stored = 0;
    mode_t mode = 0;
    std::string why;
    return readStored(stored, mode, why) == Stored::Score && stored == score;
}

HighScoreOutcome recordHighScore(int32_t score) {
    HighScoreOutcome outcome;
    std::string lockProblem;
    const int lock = takeLock(lockProblem);
    if (lock >= 0) {
        sweepLeftovers();
    }
    int32_t stored = 0;
    mode_t mode = newFileMode();
    std::string why;
    switch (readStored(stored, mode, why)) {
    case Stored::Score:
        outcome.newHighScore = score >= stored;
        break;
    case Stored::None: // missing, empty or not a number: any score beats it
        outcome.newHighScore = true;
        break;
    case Stored::Unreadable: // never overwrite what could not be read
        outcome.newHighScore = true;
        outcome.failure = "the stored score cannot be read";
        warn(std::string(HighScoreFile) + " cannot be read (" + why + "); it is left as it is");
        break;
    }
    if (outcome.newHighScore && outcome.failure.empty()) {
        if (lock < 0) {
            outcome.failure = lockProblem;
            warn(std::string("cannot lock ") + LockFile + ": " + lockProblem + "; " +
                 HighScoreFile + " is not written");
        } else if (writeScore(score, mode, why)) {
            outcome.saved = true;
        } else {
            outcome.failure = why;
            warn(std::string("cannot write ") + HighScoreFile + ": " + why);
        }
    }
    releaseHighScoreLock(lock);
    return outcome;
}

} // namespace park
