// The replayer: a recording checked against the parks in the working directory and its practice
// park given to the game, then the recording given back pass by pass (the keys before the
// handler, the tick count's reads and the end screen's high score during it) and checked after
// each pass against what the game read.

#include "app/session_parts.h"

#include "app/shell.h"
#include "core/run_state.h"
#include "park/park.h"
#include "platform/platform.h"

#include <algorithm>
#include <cstdio>

namespace session::detail {
namespace {

struct Replayer {
    bool on = false;
    recording::Recording rec;
    std::size_t nextKey = 0;
    std::size_t nextHighScore = 0;
    std::size_t nextRun = 0;
    int64_t passesOfRun = 0; // the passes of clock[nextRun] begun so far
    int readIndex = 0;       // the reads of this pass given so far
    int extraReads = 0;      // reads beyond the recording's
    uint32_t previousRead = 0;
    bool expectHighScore = false;
    bool aligned = false;
    uint32_t offset = 0; // from the clock to the recording's time line
    int64_t pass = 0;    // the pass being replayed
    bool gapShortened = false;
    std::string error;
    park::Practice practiceBefore; // the game's, given back at the end
};

Replayer rep;

constexpr int64_t MaxGapMs = 1000;

const recording::ClockRun& currentRun() {
    return rep.rec.clock[rep.nextRun];
}

std::string at(const recording::Recording& r, int32_t line) {
    return r.fileName + ":" + std::to_string(line) + ": ";
}

// Every file the recording names is here as it was, and parks.txt with each park it lists is
// among them.
bool sameParks(const recording::Recording& r, std::string& error) {
    auto named = [&r](std::string_view name) {
        return std::any_of(r.files.begin(), r.files.end(),
                           [name](const recording::NamedFile& f) { return f.name == name; });
    };
    for (const recording::NamedFile& f : r.files) {
        std::string bytes;
        park::Problem problem;
        if (!park::readTextFile(f.name.c_str(), bytes, problem)) {
            error =
                at(r, f.line) + f.name + " " + problem.what + "; the recording was made with it";
            return false;
        }
        if (recording::checksum(bytes) != f.checksum) {
            error = at(r, f.line) + f.name +
                    " here differs from the one the recording was made with: the recording "
                    "would not replay on these parks";
            return false;
        }
    }
    std::vector<std::string> names;
    if (!parkFiles(names, error)) {
        return false;
    }
    for (const std::string& name : names) {
        if (!named(name)) {
            error = r.fileName + ": the recording does not name " + name +
                    (name == "parks.txt" ? ", the park list" : ", which parks.txt lists");
            return false;
        }
    }
    const auto parks = static_cast<int64_t>(names.size()) - 1;
    if (r.practice > parks) {
        error = at(r, r.practiceLine) + "practice of park " + std::to_string(r.practice) +
                ", but parks.txt here lists " + std::to_string(parks) +
                (parks == 1 ? " park" : " parks");
        return false;
    }
    return true;
}

} // namespace

bool replaying() {
    return rep.on;
}

bool replayerStart(recording::Recording recording, std::string& error) {
    rep = Replayer{};
    rep.rec = std::move(recording);
    if (!sameParks(rep.rec, error)) {
        rep = Replayer{};
        return false;
    }
    rep.on = true;
    rep.practiceBefore = park::practice;
    park::practice.park = rep.rec.practice;
    platform::useScriptedKeys(true);
    park::highScoreTape = park::HighScoreTape{};
    park::highScoreTape.replaying = true;
    return true;
}

bool replayBeforePass(int64_t pass) {
    if (!rep.error.empty() || pass > rep.rec.passes) {
        return false;
    }
    if (rep.passesOfRun == currentRun().passes) {
        rep.nextRun += 1;
        rep.passesOfRun = 0;
    }
    const recording::ClockRun& run = currentRun();
    rep.passesOfRun += 1;
    rep.pass = pass;
    rep.readIndex = 0;
    rep.extraReads = 0;
    if (!rep.aligned) {
        // The first pass's last read lines up with now: the passes then follow at their pace.
        uint32_t first = 0;
        for (int i = 0; i < run.reads; ++i) {
            first += run.deltas[i];
        }
        rep.offset = first - platform::tickCount();
        rep.aligned = true;
    }
    const std::vector<script::Event>& keys = rep.rec.keys;
    for (; rep.nextKey < keys.size() && keys[rep.nextKey].frame <= pass; ++rep.nextKey) {
        platform::scriptKey(keys[rep.nextKey].key, keys[rep.nextKey].action);
    }
    park::HighScoreTape& tape = park::highScoreTape;
    tape.reads = 0;
    const std::vector<recording::HighScoreVerdict>& verdicts = rep.rec.highScores;
    rep.expectHighScore =
        rep.nextHighScore < verdicts.size() && verdicts[rep.nextHighScore].pass == pass;
    if (rep.expectHighScore) {
        const recording::HighScoreVerdict& v = verdicts[rep.nextHighScore];
        tape.outcome = park::HighScoreOutcome{v.newHighScore, false, v.unsaved};
        rep.nextHighScore += 1;
    }
    return true;
}

uint32_t replayTick() {
    const recording::ClockRun& run = currentRun();
    if (rep.readIndex < run.reads) {
        rep.previousRead += run.deltas[rep.readIndex++];
    } else {
        rep.extraReads += 1;
    }
    return rep.previousRead;
}

uint32_t replayWaitTick() {
    uint32_t now = platform::tickCount() + rep.offset;
    const uint32_t last = framePacer.lastPresentTick;
    // A gap in the recording longer than a second (a session suspended for an hour, an edited
    // tick) is waited for a second only: the time line moves on by the rest. The ticks the game
    // reads stay the recorded ones, so the replay's trace is the same.
    const int64_t wait = int64_t{static_cast<int32_t>(last - now)} + 34;
    if (wait > MaxGapMs) {
        const auto skipped = static_cast<uint32_t>(wait - MaxGapMs);
        rep.offset += skipped;
        now += skipped;
        if (!rep.gapShortened) {
            rep.gapShortened = true;
            std::fprintf(stderr,
                         "zanbury: %s: the recording waits %lld s at pass %lld; the replay "
                         "shortens every wait of more than a second to one\n",
                         rep.rec.fileName.c_str(), static_cast<long long>(wait / 1000),
                         static_cast<long long>(rep.pass));
        }
    }
    // A pass presented before its recorded moment leaves the clock behind lastPresentTick,
    // which the pacer would take for a clock that wrapped and end its wait at once: the wait
    // counts from that recorded moment instead, and the passes keep the recorded pace.
    return static_cast<int32_t>(now - last) < 0 ? last : now;
}

void replayAfterPass(int64_t pass) {
    const recording::ClockRun& run = currentRun();
    const int reads = rep.readIndex + rep.extraReads;
    const std::string number = std::to_string(pass);
    if (reads != run.reads) {
        rep.error = at(rep.rec, run.line) + "pass " + number + " read the tick count " +
                    std::to_string(reads) + " times, where the recording holds " +
                    std::to_string(run.reads) + ": the recording does not match this game";
    } else if (park::highScoreTape.reads != (rep.expectHighScore ? 1 : 0)) {
        rep.error =
            at(rep.rec, run.line) + "pass " + number +
            (rep.expectHighScore
                 ? " showed no end screen, where the recording holds its verdict on the high score"
                 : " showed an end screen, for which the recording holds no verdict on the high "
                   "score") +
            ": the recording does not match this game";
    }
}

bool replayerFinish(int64_t passes, std::string& message) {
    if (!rep.on) {
        return true;
    }
    if (rep.error.empty() && gameState == GameState::Quit && passes < rep.rec.passes) {
        rep.error = rep.rec.fileName + ": the game quit after pass " + std::to_string(passes) +
                    ", but the recording goes on to pass " + std::to_string(rep.rec.passes) +
                    ": the recording does not match this game";
    }
    const bool ok = rep.error.empty();
    if (!ok) {
        message = rep.error;
    } else if (passes == rep.rec.passes && rep.rec.endLine == 0) {
        message = rep.rec.fileName + ": the recording stops after pass " + std::to_string(passes) +
                  ", where the session was cut short";
        if (rep.rec.cutLine != 0) {
            message +=
                " (line " + std::to_string(rep.rec.cutLine) + ", cut in the middle, is left out)";
        }
    }
    park::practice = rep.practiceBefore;
    rep = Replayer{};
    park::highScoreTape = park::HighScoreTape{};
    platform::useScriptedKeys(false);
    return ok;
}

} // namespace session::detail
