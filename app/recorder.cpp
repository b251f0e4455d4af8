// The recorder: at the start of each pass the change of every key's view since the last pass,
// as script moves; after it, the tick count's reads as deltas, passes that read alike merged into
// one clock line; the end screen's high score; flushes at least every second; and the copy of
// the recording up to a new high score in highscore-run.txt.

#include "app/session_parts.h"

#include "app/session.h"

#include "core/files.h"
#include "park/park.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "zanbury_version.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace session::detail {
namespace {

constexpr platform::Key Keys[] = {platform::Key::Up,    platform::Key::Down,
                                  platform::Key::Left,  platform::Key::Right,
                                  platform::Key::Enter, platform::Key::Escape};

struct Recorder {
    NewFile files[2]; // the files written; recording while there is one
    int fileCount = 0;
    bool keepHighScoreRun = false;
    platform::KeyView keys[platform::KeyCount] = {}; // as a replay's keys stand at this moment
    uint32_t reads[recording::MaxReadsPerPass] = {};
    int readCount = 0;
    bool tooManyReads = false;
    recording::ClockRun run; // the passes not yet written; none while run.passes is 0
    uint32_t previousRead = 0;
    uint32_t lastFlush = 0;
};

Recorder rec;

void stopFile(int i, const char* reason) {
    std::fprintf(stderr, "zanbury: warning: cannot write the recording %s: %s; it stops here\n",
                 rec.files[i].path.c_str(), reason);
    std::fclose(rec.files[i].file);
    for (int j = i; j + 1 < rec.fileCount; ++j) {
        rec.files[j] = rec.files[j + 1];
    }
    rec.files[--rec.fileCount] = NewFile{};
}

// Writes a line that the formatting made whole in `line` (a line cut short is never written).
template <std::size_t N> void put(const char (&line)[N], int length) {
    if (length <= 0 || static_cast<std::size_t>(length) >= N) {
        return;
    }
    for (int i = rec.fileCount - 1; i >= 0; --i) {
        if (std::fwrite(line, 1, static_cast<std::size_t>(length), rec.files[i].file) !=
            static_cast<std::size_t>(length)) {
            stopFile(i, std::strerror(errno));
        }
    }
}

void closeRun() {
    if (rec.run.passes > 0) {
        char line[160];
        put(line, recording::formatClockLine(line, sizeof line, rec.run));
        rec.run.passes = 0;
    }
}

void flushAll() {
    closeRun();
    for (int i = rec.fileCount - 1; i >= 0; --i) {
        if (std::fflush(rec.files[i].file) != 0) {
            stopFile(i, std::strerror(errno));
        }
    }
    rec.lastFlush = platform::tickCount();
}

// The header: the format, the version, the practice park of a practice session, and parks.txt
// with every park it lists, checksummed.
bool header(std::string& text, std::string& error) {
    char line[160];
    text.assign(line, static_cast<std::size_t>(
                          recording::formatHeader(line, sizeof line, version::ProjectVersion)));
    if (park::practice.park != 0) {
        text.append(line, static_cast<std::size_t>(recording::formatPracticeLine(
                              line, sizeof line, park::practice.park)));
    }
    std::vector<std::string> names;
    if (!parkFiles(names, error)) {
        return false;
    }
    for (const std::string& name : names) {
        std::string bytes;
        park::Problem problem;
        if (!park::readTextFile(name.c_str(), bytes, problem)) {
            error = park::formatProblem(problem);
            return false;
        }
        text.append(line, static_cast<std::size_t>(recording::formatFileLine(
                              line, sizeof line, name, recording::checksum(bytes))));
    }
    return true;
}

// Puts the recording up to this pass in highscore-run.txt, under the high score's lock and only
// while highscore.txt holds the run's score: a game that has since beaten it keeps its own run.
void keepHighScoreRun(int64_t pass, int32_t score) {
    flushAll();
    std::string error;
    const files::Lock lock = park::takeHighScoreLock(error);
    if (lock != files::NoLock && park::highScoreIs(score) && recording()) {
        char end[32];
        const int n = recording::formatEndLine(end, sizeof end, pass);
        // Read back from a file replaced in the directory, never from a pipe the player named.
        const NewFile* from = nullptr;
        for (int i = 0; i < rec.fileCount && from == nullptr; ++i) {
            from = rec.files[i].temporary.empty() ? nullptr : &rec.files[i];
        }
        if (from == nullptr) {
            error =
                "the recording goes only to " + rec.files[0].path + ", which cannot be read back";
        }
        if (from == nullptr ||
            !copyReplacing(from->file, std::string(end, static_cast<std::size_t>(n)),
                           HighScoreRunFile, error)) {
            std::fprintf(stderr, "zanbury: warning: cannot keep the run of the high score: %s\n",
                         error.c_str());
        }
    } else if (lock == files::NoLock) {
        std::fprintf(stderr, "zanbury: warning: cannot keep the run of the high score: %s\n",
                     error.c_str());
    }
    park::releaseHighScoreLock(lock);
}

} // namespace

bool recording() {
    return rec.fileCount > 0;
}

bool recorderStart(const std::vector<std::string>& paths, bool keepHighScoreRun,
                   std::string& error) {
    recorderFinish(0); // a recording already going ends, unfinished

    std::string text;
    if (!header(text, error)) {
        error = "cannot name the parks in the recording: " + error;
        return false;
    }
    for (const std::string& path : paths) {
        if (rec.fileCount == 2 ||
            (rec.fileCount == 1 && session::sameFile(rec.files[0].path, path))) {
            continue;
        }
        // last-run.txt is the game's own; any other file is one the player named.
        NewFile f = path == LastRunFile ? openReplacing(path, error) : openNamed(path, error);
        bool ok = f.file != nullptr;
        if (ok) {
            ok = std::fwrite(text.data(), 1, text.size(), f.file) == text.size() &&
                 std::fflush(f.file) == 0;
            if (!ok) {
                error = "cannot write " + f.temporary + ": " + std::strerror(errno);
            }
            ok = ok && putInPlace(f, error);
            if (!ok) {
                std::fclose(f.file);
                files::removeFile(f.temporary);
            }
        }
        if (!ok) {
            for (int i = 0; i < rec.fileCount; ++i) {
                std::fclose(rec.files[i].file);
            }
            rec = Recorder{};
            return false;
        }
        rec.files[rec.fileCount++] = f;
    }
    rec.keepHighScoreRun = keepHighScoreRun;
    rec.lastFlush = platform::tickCount();
    return true;
}

void recordBeforePass(int64_t pass) {
    rec.readCount = 0;
    rec.tooManyReads = false;
    park::highScoreTape.reads = 0;
    for (platform::Key key : Keys) {
        platform::KeyView& was = rec.keys[static_cast<int>(key)];
        const platform::KeyView now = platform::peekKey(key);
        platform::KeyMove moves[2];
        const int n = input::movesBetween(was, now, moves);
        for (int i = 0; i < n; ++i) {
            char line[64];
            put(line, recording::formatKeyLine(line, sizeof line, pass, key, moves[i]));
        }
        was = now;
    }
}

void recordTick(uint32_t tick) {
    if (rec.readCount < recording::MaxReadsPerPass) {
        rec.reads[rec.readCount++] = tick;
    } else {
        rec.tooManyReads = true;
    }
}

void recordAfterPass(int64_t pass) {
    if (rec.tooManyReads) {
        for (int i = rec.fileCount - 1; i >= 0; --i) {
            stopFile(i, "a pass read the tick count more often than a recording holds");
        }
        return;
    }
    recording::ClockRun& run = rec.run;
    uint32_t deltas[recording::MaxReadsPerPass];
    for (int i = 0; i < rec.readCount; ++i) {
        deltas[i] = rec.reads[i] - rec.previousRead;
        rec.previousRead = rec.reads[i];
    }
    const bool alike = run.passes > 0 && run.firstPass + run.passes == pass &&
                       run.reads == rec.readCount &&
                       std::equal(deltas, deltas + rec.readCount, run.deltas);
    if (alike) {
        run.passes += 1;
    } else {
        closeRun();
        run.firstPass = pass;
        run.passes = 1;
        run.reads = rec.readCount;
        std::copy(deltas, deltas + rec.readCount, run.deltas);
    }
    const park::HighScoreTape& tape = park::highScoreTape;
    if (tape.reads > 0) {
        // A reason that a recording cannot hold as it is (never one the game gives) is kept
        // printable and short: the replay then shows it so.
        std::string reason = park::printable(tape.outcome.failure);
        reason.resize(std::min(reason.size(), recording::MaxReasonLength));
        char line[recording::MaxReasonLength + 64];
        put(line, recording::formatHighScoreLine(line, sizeof line, pass, tape.outcome.newHighScore,
                                                 reason));
    }
    for (platform::Key key : Keys) {
        rec.keys[static_cast<int>(key)] = platform::peekKey(key);
    }
    if (tape.reads > 0 && tape.outcome.saved && rec.keepHighScoreRun && recording()) {
        keepHighScoreRun(pass, tape.score);
    }
    if (platform::tickCount() - rec.lastFlush >= 1000u) {
        flushAll();
    }
}

void recorderFinish(int64_t passes) {
    if (!recording()) {
        rec = Recorder{};
        return;
    }
    closeRun();
    if (passes > 0) {
        char line[32];
        put(line, recording::formatEndLine(line, sizeof line, passes));
    }
    for (int i = 0; i < rec.fileCount; ++i) {
        if (std::fclose(rec.files[i].file) != 0) {
            std::fprintf(stderr, "zanbury: warning: cannot write the recording %s: %s\n",
                         rec.files[i].path.c_str(), std::strerror(errno));
        }
    }
    rec = Recorder{};
}

} // namespace session::detail
