// The recording reader: the header checked against this game, every pass line checked, the
// clock lines checked to cover the passes in order, and a cut-short recording read to its cut.

#include "app/recording.h"

#include "core/fnv.h"
#include "park/formats.h"

#include <algorithm>
#include <charconv>
#include <climits>

namespace recording {
namespace {

enum class Stage { FirstLine, Version, Files, Passes, Ended };

// A whole number with no sign, from `min` to `max`.
bool unsignedNumber(std::string_view word, uint64_t min, uint64_t max, uint64_t& value) {
    const char* end = word.data() + word.size();
    auto [at, ec] = std::from_chars(word.data(), end, value);
    return !word.empty() && ec == std::errc{} && at == end && value >= min && value <= max;
}

bool checksumWord(std::string_view word, uint64_t& sum) {
    if (word.size() != 16) {
        return false;
    }
    for (char c : word) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    std::from_chars(word.data(), word.data() + word.size(), sum, 16);
    return true;
}

// A park list's or park file's name as the park list allows it: a path inside the game's
// directory, no control byte.
bool plainFileName(std::string_view name) {
    if (name.empty() || name.size() > 64 || name == "." ||
        !park::leavesTheDirectory(name).empty()) {
        return false;
    }
    return std::none_of(name.begin(), name.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

struct Reader {
    std::string_view version;
    Recording& out;
    park::Problem& problem;
    Stage stage = Stage::FirstLine;
    int64_t lastKeyPass = 0;
    int32_t lastKeyLine = 0;

    bool fail(int32_t line, std::string what) {
        problem = park::Problem{out.fileName, line, std::move(what)};
        return false;
    }

    bool firstLine(const std::vector<std::string_view>& w, int32_t line) {
        if (w.size() == 2 && w[0] == "zanbury-recording" && w[1] != "1") {
            return fail(line, "a recording of format " + park::excerpt(w[1]) +
                                  "; this game reads format 1");
        }
        if (w.size() != 2 || w[0] != "zanbury-recording") {
            return fail(line, "not a Zanbury recording: it does not begin with '" +
                                  std::string(FirstLine) + "'");
        }
        stage = Stage::Version;
        return true;
    }

    bool versionLine(const std::vector<std::string_view>& w, int32_t line) {
        if (w.size() != 2 || w[0] != "version") {
            return fail(line, "the second line is not 'version V', the game's version");
        }
        out.version = w[1];
        if (w[1] != version) {
            return fail(line, "a recording of Zanbury " + park::excerpt(w[1]) +
                                  "; this is Zanbury " + std::string(version) +
                                  ", whose game may differ");
        }
        stage = Stage::Files;
        return true;
    }

    // Checked against the park list in finish, once the file lines are read.
    bool practiceLine(const std::vector<std::string_view>& w, int32_t line) {
        if (stage != Stage::Files || !out.files.empty()) {
            return fail(line, "the practice line comes after the version line, before the file "
                              "lines");
        }
        if (out.practiceLine != 0) {
            return fail(line, "a second practice line, after the one of line " +
                                  std::to_string(out.practiceLine));
        }
        uint64_t park = 0;
        if (w.size() != 2 || !unsignedNumber(w[1], 1, park::MaxParks, park)) {
            return fail(line, "a practice line is 'practice N', N a park's number in the list "
                              "from 1 to " +
                                  std::to_string(park::MaxParks));
        }
        out.practice = static_cast<int32_t>(park);
        out.practiceLine = line;
        return true;
    }

    bool fileLine(const std::vector<std::string_view>& w, int32_t line) {
        if (stage != Stage::Files) {
            return fail(line, "a file line after the passes have begun");
        }
        NamedFile f;
        if (w.size() != 3 || !plainFileName(w[1]) || !checksumWord(w[2], f.checksum)) {
            return fail(line, "a file line is 'file NAME CHECKSUM', the checksum 16 hex digits");
        }
        f.name = w[1];
        f.line = line;
        out.files.push_back(std::move(f));
        return true;
    }

    bool clockLine(const std::vector<std::string_view>& w, int64_t pass, int32_t line) {
        ClockRun run;
        uint64_t count = 0;
        if (w.size() < 3 || !unsignedNumber(w[2], 1, script::MaxFrame, count)) {
            return fail(line, "a clock line is 'PASS clock COUNT DELTA...', COUNT at least 1");
        }
        if (w.size() - 3 > MaxReadsPerPass) {
            return fail(line, "more than " + std::to_string(MaxReadsPerPass) +
                                  " reads of the tick count in one pass");
        }
        for (std::size_t i = 3; i < w.size(); ++i) {
            uint64_t delta = 0;
            if (!unsignedNumber(w[i], 0, UINT32_MAX, delta)) {
                return fail(line, "the tick delta '" + park::excerpt(w[i]) +
                                      "' is not a whole number from 0 to 4294967295");
            }
            run.deltas[run.reads++] = static_cast<uint32_t>(delta);
        }
        if (pass != out.passes + 1) {
            return fail(line, "the clock line begins at pass " + std::to_string(pass) +
                                  " where pass " + std::to_string(out.passes + 1) + " comes next");
        }
        if (static_cast<uint64_t>(script::MaxFrame - out.passes) < count) {
            return fail(line, "the clock lines go past pass " + std::to_string(script::MaxFrame));
        }
        run.firstPass = pass;
        run.passes = static_cast<int64_t>(count);
        run.line = line;
        out.passes += run.passes;
        out.clock.push_back(run);
        return true;
    }

    // `text` is the whole line: the reason of an unsaved score is its rest, spaces and all.
    bool highScoreLine(const std::vector<std::string_view>& w, std::string_view text, int64_t pass,
                       int32_t line) {
        HighScoreVerdict read{pass, false, "", line};
        const std::string_view verdict = w.size() > 2 ? w[2] : std::string_view{};
        if (verdict == "unsaved" && w.size() > 3) {
            std::string_view reason =
                text.substr(static_cast<std::size_t>(w[3].data() - text.data()));
            reason = reason.substr(0, reason.find_last_not_of(" \t\r\v\f") + 1);
            if (reason.size() > MaxReasonLength ||
                std::any_of(reason.begin(), reason.end(),
                            [](char c) { return c < 0x20 || c > 0x7e; })) {
                return fail(line, "the reason of an unsaved high score is not "
                                  "printable text of at most " +
                                      std::to_string(MaxReasonLength) + " characters");
            }
            read.newHighScore = true;
            read.unsaved = reason;
        } else if ((verdict == "new" || verdict == "low") && w.size() == 3) {
            read.newHighScore = verdict == "new";
        } else {
            return fail(line, "a high score line is 'PASS highscore new', 'PASS highscore low' or "
                              "'PASS highscore unsaved REASON'");
        }
        if (!out.highScores.empty() && out.highScores.back().pass >= pass) {
            return fail(line, "a high score for pass " + std::to_string(pass) +
                                  " after one for pass " +
                                  std::to_string(out.highScores.back().pass));
        }
        out.highScores.push_back(read);
        return true;
    }

    bool endLine(const std::vector<std::string_view>& w, int64_t pass, int32_t line) {
        if (w.size() != 2) {
            return fail(line, "unexpected '" + park::excerpt(w[2]) + "' after 'end'");
        }
        if (pass != out.passes) {
            return fail(line, "the end line names pass " + std::to_string(pass) +
                                  ", but the clock lines end at pass " +
                                  std::to_string(out.passes));
        }
        out.endLine = line;
        stage = Stage::Ended;
        return true;
    }

    bool passLine(const std::vector<std::string_view>& w, std::string_view text, int32_t line) {
        int64_t pass = 0;
        std::string what;
        if (!script::parseFrame(w[0], pass, what)) {
            if (stage == Stage::Files) {
                what += "; nor is this a file line";
            }
            return fail(line, what);
        }
        if (stage == Stage::Ended) {
            return fail(line, "a line after the end line");
        }
        stage = Stage::Passes;
        std::string_view kind = w.size() > 1 ? w[1] : std::string_view{};
        if (kind == "clock") {
            return clockLine(w, pass, line);
        }
        if (kind == "highscore") {
            return highScoreLine(w, text, pass, line);
        }
        if (kind == "end") {
            return endLine(w, pass, line);
        }
        script::Event e;
        e.frame = pass;
        if (!script::parseKeyWords(w, e, what)) {
            return fail(line, what + " (nor is it clock, highscore or end)");
        }
        if (pass > lastKeyPass) {
            lastKeyPass = pass;
            lastKeyLine = line;
        }
        out.keys.push_back(e);
        return true;
    }

    bool line(std::string_view text, int32_t number) {
        std::vector<std::string_view> w = script::words(text);
        if (stage == Stage::FirstLine) {
            return firstLine(w, number);
        }
        if (w.empty() || w[0][0] == '#') {
            return true;
        }
        if (stage == Stage::Version) {
            return versionLine(w, number);
        }
        if (w[0] == "file") {
            return fileLine(w, number);
        }
        if (w[0] == "practice") {
            return practiceLine(w, number);
        }
        return passLine(w, text, number);
    }

    // What follows the last line: the header complete, a pass at least, and with an end line
    // nothing beyond it; without one, what lies past the last clock line was cut off with it.
    bool finish(int32_t lines) {
        if (stage == Stage::FirstLine || stage == Stage::Version) {
            return fail(std::max(lines, 1), "the recording ends before its header is complete");
        }
        if (out.passes == 0) {
            return fail(lines, "the recording ends before its first pass");
        }
        // The file lines are parks.txt and then each park it lists.
        const auto listed = static_cast<int64_t>(out.files.size()) - (out.files.empty() ? 0 : 1);
        if (out.practice > listed) {
            return fail(out.practiceLine, "practice of park " + std::to_string(out.practice) +
                                              ", but the recording's park list has " +
                                              std::to_string(listed) +
                                              (listed == 1 ? " park" : " parks"));
        }
        if (out.endLine != 0 && lastKeyPass > out.passes) {
            return fail(lastKeyLine, "a key of pass " + std::to_string(lastKeyPass) +
                                         " after the end at pass " + std::to_string(out.passes));
        }
        if (out.endLine != 0 && !out.highScores.empty() &&
            out.highScores.back().pass > out.passes) {
            return fail(out.highScores.back().line,
                        "a high score of pass " + std::to_string(out.highScores.back().pass) +
                            " after the end at pass " + std::to_string(out.passes));
        }
        const int64_t last = out.passes;
        std::erase_if(out.keys, [last](const script::Event& e) { return e.frame > last; });
        std::erase_if(out.highScores, [last](const HighScoreVerdict& v) { return v.pass > last; });
        std::stable_sort(
            out.keys.begin(), out.keys.end(),
            [](const script::Event& a, const script::Event& b) { return a.frame < b.frame; });
        return true;
    }
};

} // namespace

bool looksLikeRecording(std::string_view text) {
    return park::withoutByteOrderMark(text).starts_with("zanbury-recording");
}

uint64_t checksum(std::string_view bytes) {
    return fnv::hashBytes(bytes);
}

bool parse(std::string_view text, const char* fileName, std::string_view gameVersion,
           Recording& out, park::Problem& problem) {
    out = Recording{};
    out.fileName = fileName;
    text = park::withoutByteOrderMark(text);
    int32_t lines = 0;
    // A last line without its line break was cut in the middle: it is left out.
    if (!text.empty() && text.back() != '\n') {
        out.cutLine = static_cast<int32_t>(std::count(text.begin(), text.end(), '\n')) + 1;
        std::size_t lastBreak = text.rfind('\n');
        text = lastBreak == std::string_view::npos ? std::string_view{}
                                                   : text.substr(0, lastBreak + 1);
    }
    Reader reader{gameVersion, out, problem};
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        if (lines == INT32_MAX - 1) {
            return reader.fail(lines, "too many lines");
        }
        if (!reader.line(text.substr(0, end), ++lines)) {
            return false;
        }
        text = text.substr(end + 1);
    }
    return reader.finish(out.cutLine != 0 ? out.cutLine : lines + 1);
}

bool load(const char* path, std::string_view gameVersion, Recording& out, park::Problem& problem) {
    std::string text;
    if (!park::readTextFile(path, text, problem, MaxRecordingBytes)) {
        return false;
    }
    return parse(text, path, gameVersion, out, problem);
}

} // namespace recording
