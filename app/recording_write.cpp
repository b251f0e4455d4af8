// The recording's lines as text: what the recorder writes pass by pass, and a whole recording
// written at once.

#include "app/recording.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

namespace recording {

int formatHeader(char* out, std::size_t size, std::string_view gameVersion) {
    return std::snprintf(out, size, "%s\nversion %.*s\n", FirstLine,
                         static_cast<int>(gameVersion.size()), gameVersion.data());
}

int formatPracticeLine(char* out, std::size_t size, int32_t park) {
    return std::snprintf(out, size, "practice %" PRId32 "\n", park);
}

int formatFileLine(char* out, std::size_t size, std::string_view name, uint64_t sum) {
    return std::snprintf(out, size, "file %.*s %016" PRIx64 "\n", static_cast<int>(name.size()),
                         name.data(), sum);
}

int formatKeyLine(char* out, std::size_t size, int64_t pass, platform::Key key,
                  script::Action action) {
    return std::snprintf(out, size, "%" PRId64 " %s %s\n", pass, script::keyName(key),
                         script::actionName(action));
}

int formatClockLine(char* out, std::size_t size, const ClockRun& run) {
    int n = std::snprintf(out, size, "%" PRId64 " clock %" PRId64, run.firstPass, run.passes);
    for (int i = 0; i < run.reads && n >= 0 && static_cast<std::size_t>(n) < size; ++i) {
        int more =
            std::snprintf(out + n, size - static_cast<std::size_t>(n), " %" PRIu32, run.deltas[i]);
        n = more < 0 ? more : n + more;
    }
    if (n >= 0 && static_cast<std::size_t>(n) < size) {
        int more = std::snprintf(out + n, size - static_cast<std::size_t>(n), "\n");
        n = more < 0 ? more : n + more;
    }
    return n;
}

int formatHighScoreLine(char* out, std::size_t size, int64_t pass, bool newHighScore,
                        std::string_view unsaved) {
    if (!newHighScore) {
        return std::snprintf(out, size, "%" PRId64 " highscore low\n", pass);
    }
    if (unsaved.empty()) {
        return std::snprintf(out, size, "%" PRId64 " highscore new\n", pass);
    }
    return std::snprintf(out, size, "%" PRId64 " highscore unsaved %.*s\n", pass,
                         static_cast<int>(unsaved.size()), unsaved.data());
}

int formatEndLine(char* out, std::size_t size, int64_t passes) {
    return std::snprintf(out, size, "%" PRId64 " end\n", passes);
}

std::string write(const Recording& recording) {
    char line[256];
    std::string text;
    auto add = [&text, &line](int n) {
        if (n > 0) {
            text.append(line, std::min(static_cast<std::size_t>(n), sizeof line - 1));
        }
    };
    add(formatHeader(line, sizeof line, recording.version));
    if (recording.practice != 0) {
        add(formatPracticeLine(line, sizeof line, recording.practice));
    }
    for (const NamedFile& f : recording.files) {
        add(formatFileLine(line, sizeof line, f.name, f.checksum));
    }
    std::size_t key = 0;
    std::size_t highScore = 0;
    for (const ClockRun& run : recording.clock) {
        const int64_t last = run.firstPass + run.passes - 1;
        for (; key < recording.keys.size() && recording.keys[key].frame <= last; ++key) {
            const script::Event& e = recording.keys[key];
            add(formatKeyLine(line, sizeof line, e.frame, e.key, e.action));
        }
        for (; highScore < recording.highScores.size() &&
               recording.highScores[highScore].pass <= last;
             ++highScore) {
            const HighScoreVerdict& v = recording.highScores[highScore];
            add(formatHighScoreLine(line, sizeof line, v.pass, v.newHighScore, v.unsaved));
        }
        add(formatClockLine(line, sizeof line, run));
    }
    if (recording.endLine != 0) {
        add(formatEndLine(line, sizeof line, recording.passes));
    }
    return text;
}

} // namespace recording
