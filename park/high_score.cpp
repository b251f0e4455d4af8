// The high score file: its read, the comparison and its rewrite as one step under a lock, so
// that two games ending a run at the same moment in one directory keep the higher score, and a
// crash, a planted link or a file that cannot be read never loses one.

#include "park/park.h"

#include "core/files.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

namespace park {
namespace {

constexpr const char* HighScoreFile = HighScoreFileName;
// Beside the score, created when missing and never removed: removing it would let a late comer
// lock a new file while another still holds the old one.
constexpr const char* LockFile = HighScoreLockName;

// The reason in words for the screen: "permission denied".
std::string lowered(std::string text) {
    if (!text.empty()) {
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    }
    return text;
}

void warn(const std::string& what) {
    std::fprintf(stderr, "zanbury: warning: %s\n", printable(what).c_str());
}

enum class Stored { None, Score, Unreadable };

// Reads the leading number of the high score file, however long the rest of it is.
Stored readStored(int32_t& value, std::string& why) {
    files::ReadStatus status = files::ReadStatus::Read;
    std::FILE* f = files::openToRead(HighScoreFile, status, why);
    if (f == nullptr) {
        why = lowered(why);
        return status == files::ReadStatus::Missing ? Stored::None : Stored::Unreadable;
    }
    std::string text;
    // Each read is as long as all before it, so that looking at the whole text after each read
    // costs no more than twice the reading.
    std::string buffer(4096, '\0');
    bool settled = false;
    while (!settled) {
        buffer.resize(std::max(buffer.size(), text.size()));
        const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), f);
        if (n == 0 && std::ferror(f) != 0) {
            why = "it cannot be read";
            std::fclose(f);
            return Stored::Unreadable;
        }
        text.append(buffer.data(), n);
        settled = n == 0 || leadingNumberSettled(text);
        if (!settled && text.size() > MaxTextFileBytes) {
            why = "no number ends within its first " + std::to_string(MaxTextFileBytes >> 20) +
                  " MiB";
            std::fclose(f);
            return Stored::Unreadable;
        }
    }
    std::fclose(f);
    return parseHighScore(text, value) ? Stored::Score : Stored::None;
}

} // namespace

files::Lock takeHighScoreLock(std::string& why) {
    const files::Lock lock = files::takeLock(LockFile, why);
    why = lowered(why);
    return lock;
}

void releaseHighScoreLock(files::Lock lock) {
    files::releaseLock(lock);
}

bool highScoreIs(int32_t score) {
    int32_t stored = 0;
    std::string why;
    return readStored(stored, why) == Stored::Score && stored == score;
}

HighScoreOutcome recordHighScore(int32_t score) {
    HighScoreOutcome outcome;
    std::string lockProblem;
    const files::Lock lock = takeHighScoreLock(lockProblem);
    if (lock != files::NoLock) {
        // Every writer makes its temporary file under the lock: what is there now was left by
        // one killed before its rename.
        files::sweepTemporaries(HighScoreFile, 0);
    }
    int32_t stored = 0;
    std::string why;
    switch (readStored(stored, why)) {
    case Stored::Score:
        outcome.newHighScore = score >= stored;
        outcome.best = stored;
        outcome.bestKnown = true;
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
        if (lock == files::NoLock) {
            outcome.failure = lockProblem;
            warn(std::string("cannot lock ") + LockFile + ": " + lockProblem + "; " +
                 HighScoreFile + " is not written");
        } else if (files::writeWhole(HighScoreFile, std::to_string(score), why)) {
            outcome.saved = true;
            outcome.best = score;
            outcome.bestKnown = true;
        } else {
            why = lowered(why);
            outcome.failure = why;
            warn(std::string("cannot write ") + HighScoreFile + ": " + why);
        }
    }
    releaseHighScoreLock(lock);
    return outcome;
}

} // namespace park
