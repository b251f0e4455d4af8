// Parsing the park list, the park files and the high score from their text. Every refusal
// names the file, the line and what is wrong.

#include "park/readers.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace park {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Whitespace-separated tokens, each with the line it stands on.
struct Tokens {
    std::string_view text;
    std::size_t pos = 0;
    int32_t line = 1;
    int32_t lastLine = 1; // the line of the last token read: where an early end is reported

    bool next(std::string_view& token, int32_t& tokenLine) {
        while (pos < text.size() && isSpace(text[pos])) {
            if (text[pos] == '\n') {
                ++line;
            }
            ++pos;
        }
        if (pos >= text.size()) {
            return false;
        }
        std::size_t start = pos;
        while (pos < text.size() && !isSpace(text[pos])) {
            ++pos;
        }
        token = text.substr(start, pos - start);
        tokenLine = line;
        lastLine = line;
        return true;
    }
};

// A decimal integer with an optional sign that fits in 32 bits, and nothing else.
bool toNumber(std::string_view token, int32_t& value, const char*& problem) {
    std::size_t i = 0;
    bool negative = false;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) {
        negative = token[i] == '-';
        ++i;
    }
    if (i == token.size()) {
        problem = "is not a number";
        return false;
    }
    int64_t magnitude = 0;
    for (; i < token.size(); ++i) {
        if (token[i] < '0' || token[i] > '9') {
            problem = "is not a number";
            return false;
        }
        magnitude = magnitude * 10 + (token[i] - '0');
        if (magnitude > int64_t{std::numeric_limits<int32_t>::max()} + 1) {
            problem = "is out of range";
            return false;
        }
    }
    int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<int32_t>::max()) {
        problem = "is out of range";
        return false;
    }
    value = static_cast<int32_t>(signedValue);
    return true;
}

// Pictures and rows far beyond any sheet or screen. A picture outside the sheet is accepted (it
// draws nothing, and the park checker warns of it), but these limits keep every box, span and
// edge sum of the game well inside 32 bits.
constexpr int32_t CoordinateLimit = 10000;

bool withinLimit(int32_t v) {
    return -CoordinateLimit <= v && v <= CoordinateLimit;
}

// Sets the problem and returns false, so that a refusal is one statement.
bool refuse(Problem& problem, const char* fileName, int32_t line, std::string what) {
    problem = Problem{fileName, line, std::move(what)};
    return false;
}

// Reads the next token as a number; `what` says what the number is, for the problem.
bool readNumber(Tokens& tokens, const char* fileName, const char* what, int32_t& value,
                int32_t& line, Problem& problem) {
    std::string_view token;
    if (!tokens.next(token, line)) {
        refuse(problem, fileName, tokens.lastLine,
               std::string("the file ends where ") + what + " should be");
        problem.endsEarly = true;
        return false;
    }
    const char* wrong = "";
    if (!toNumber(token, value, wrong)) {
        return refuse(problem, fileName, line,
                      std::string(what) + " '" + excerpt(token) + "' " + wrong);
    }
    return true;
}

// The line of the next word, which the reading does not use; 0 when the text ends first.
int32_t trailingLine(Tokens& tokens) {
    std::string_view token;
    int32_t line = 0;
    return tokens.next(token, line) ? line : 0;
}

} // namespace

// Says how a park name leads out of the list's directory, or "" when it stays inside.
std::string leavesTheDirectory(std::string_view name) {
    if (name.front() == '/') {
        return "is an absolute path";
    }
    for (std::size_t start = 0; start <= name.size();) {
        std::size_t end = std::min(name.find('/', start), name.size());
        if (name.substr(start, end - start) == "..") {
            return "leads out of the park directory with '..'";
        }
        start = end + 1;
    }
    return "";
}

std::string formatProblem(const Problem& problem) {
    std::string text = problem.file;
    if (problem.line > 0) {
        text += ":" + std::to_string(problem.line);
    }
    return printable(text + ": " + problem.what);
}

std::string printable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f) {
            out += c;
        } else {
            static const char hex[] = "0123456789abcdef";
            out += "\\x";
            out += hex[byte >> 4];
            out += hex[byte & 0xf];
        }
    }
    return out;
}

std::string excerpt(std::string_view text) {
    if (text.size() <= MaxExcerpt) {
        return std::string(text);
    }
    return std::string(text.substr(0, MaxExcerpt)) + "...";
}

std::string_view withoutByteOrderMark(std::string_view text) {
    constexpr std::string_view Mark = "\xef\xbb\xbf";
    return text.substr(0, Mark.size()) == Mark ? text.substr(Mark.size()) : text;
}

bool parseParkList(std::string_view text, const char* fileName, ParkListFile& out,
                   Problem& problem) {
    Tokens tokens{withoutByteOrderMark(text)};
    ParkListFile result;
    int32_t line = 0;
    if (!readNumber(tokens, fileName, "the number of parks", result.parkCount, line, problem)) {
        return false;
    }
    if (result.parkCount < 1) {
        return refuse(problem, fileName, line,
                      "the number of parks must be at least 1, not " +
                          std::to_string(result.parkCount));
    }
    if (result.parkCount > MaxParks) {
        return refuse(problem, fileName, line,
                      "the number of parks is " + std::to_string(result.parkCount) +
                          ", more than the " + std::to_string(MaxParks) + " a park list can hold");
    }
    for (int32_t i = 0; i < result.parkCount; ++i) {
        std::string_view name;
        if (!tokens.next(name, line)) {
            refuse(problem, fileName, tokens.lastLine,
                   "the list promises " + std::to_string(result.parkCount) +
                       " parks but names only " + std::to_string(i));
            problem.endsEarly = true;
            return false;
        }
        if (std::size_t nul = name.find('\0'); nul != std::string_view::npos) {
            // The slot would hold the name only up to there: another file's name.
            return refuse(problem, fileName, line,
                          "the park name '" + excerpt(name.substr(0, nul)) +
                              "' is followed by a NUL byte within the same word");
        }
        if (name.size() > MaxNameLength) {
            return refuse(problem, fileName, line,
                          "the park name '" + excerpt(name) + "' has " +
                              std::to_string(name.size()) + " characters, more than " +
                              std::to_string(MaxNameLength));
        }
        if (std::string why = leavesTheDirectory(name); !why.empty()) {
            return refuse(problem, fileName, line,
                          "the park name '" + excerpt(name) + "' " + why +
                              "; park names are paths relative to the directory of the list");
        }
        std::memcpy(result.list.names[i], name.data(), name.size());
        result.nameLine[i] = line;
    }
    result.trailingLine = trailingLine(tokens);
    out = result;
    return true;
}

bool parseParkFile(std::string_view text, const char* fileName, ParkFile& out, Problem& problem) {
    Tokens tokens{withoutByteOrderMark(text)};
    int32_t line = 0;
    int32_t count = 0;
    int32_t length = 0;
    if (!readNumber(tokens, fileName, "the obstacle count", count, line, problem)) {
        return false;
    }
    if (count < 0 || count > MaxObstacles) {
        return refuse(problem, fileName, line,
                      "the obstacle count is " + std::to_string(count) + "; a park holds 0 to " +
                          std::to_string(MaxObstacles) + " obstacles");
    }
    if (!readNumber(tokens, fileName, "the park length", length, line, problem)) {
        return false;
    }
    out.lengthLine = line;
    static const char* const fieldNames[7] = {"the picture's top",
                                              "the picture's left",
                                              "the picture's bottom",
                                              "the picture's right",
                                              "the start frame",
                                              "the row",
                                              "the kind"};
    for (int32_t i = 0; i < count; ++i) {
        int32_t v[7] = {};
        int32_t firstLine = 0;
        for (int f = 0; f < 7; ++f) {
            std::string_view token;
            if (!tokens.next(token, line)) {
                refuse(problem, fileName, tokens.lastLine,
                       "the file ends at obstacle " + std::to_string(i + 1) + " of the " +
                           std::to_string(count) + " its count promises");
                problem.endsEarly = true;
                return false;
            }
            const char* wrong = "";
            if (!toNumber(token, v[f], wrong)) {
                return refuse(problem, fileName, line,
                              std::string(fieldNames[f]) + " of obstacle " + std::to_string(i + 1) +
                                  " '" + excerpt(token) + "' " + wrong);
            }
            if (f == 0) {
                firstLine = line;
            }
        }
        if (!withinLimit(v[0]) || !withinLimit(v[1]) || !withinLimit(v[2]) || !withinLimit(v[3]) ||
            !withinLimit(v[5])) {
            return refuse(problem, fileName, firstLine,
                          "the picture or row of obstacle " + std::to_string(i + 1) +
                              " lies beyond " + std::to_string(CoordinateLimit) +
                              " pixels: no sheet or screen reaches that far");
        }
        Obstacle& o = out.records[i];
        o.src = Rect{v[1], v[0], v[3], v[2]};
        o.startFrame = v[4];
        o.y = v[5];
        o.kind = v[6];
        o.x = 640;
        out.recordLine[i] = firstLine;
    }
    out.obstacleCount = count;
    out.parkLength = length;
    out.trailingLine = trailingLine(tokens);
    return true;
}

namespace {

// Where the leading number of a high score text starts (after the mark and white space) and
// where its digits start and end.
struct LeadingNumber {
    std::size_t start = 0;
    std::size_t digits = 0;
    std::size_t end = 0;
};

LeadingNumber leadingNumber(std::string_view text) {
    LeadingNumber n;
    n.start = text.size() - withoutByteOrderMark(text).size();
    while (n.start < text.size() && isSpace(text[n.start])) {
        ++n.start;
    }
    n.digits = n.start;
    if (n.digits < text.size() && (text[n.digits] == '+' || text[n.digits] == '-')) {
        ++n.digits;
    }
    n.end = n.digits;
    while (n.end < text.size() && text[n.end] >= '0' && text[n.end] <= '9') {
        ++n.end;
    }
    return n;
}

} // namespace

bool parseHighScore(std::string_view text, int32_t& value) {
    const LeadingNumber n = leadingNumber(text);
    if (n.end == n.digits) {
        return false;
    }
    const bool negative = text[n.start] == '-';
    // Past the range the magnitude stops growing: the score is clamped, not wrapped.
    constexpr int64_t Beyond = int64_t{std::numeric_limits<int32_t>::max()} + 2;
    int64_t magnitude = 0;
    for (std::size_t i = n.digits; i < n.end && magnitude < Beyond; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
    }
    const int64_t signedValue = negative ? -magnitude : magnitude;
    value = static_cast<int32_t>(std::clamp<int64_t>(
        signedValue, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
    return true;
}

bool leadingNumberSettled(std::string_view text) {
    return leadingNumber(text).end < text.size();
}

} // namespace park
