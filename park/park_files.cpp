#include "park/park_files.h"

#include "core/run_state.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace park {

ParkList parkList;
ObstacleTable obstacleTable;

namespace {

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

    static bool isSpace(char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
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

std::string where(const char* fileName, int32_t line) {
    return std::string(fileName) + ":" + std::to_string(line) + ": ";
}

// Reads the next token as a number; `what` says what the number is, for the messages.
bool readNumber(Tokens& tokens, const char* fileName, const char* what, int32_t& value,
                int32_t& line, std::string& error) {
    std::string_view token;
    if (!tokens.next(token, line)) {
        error = where(fileName, tokens.lastLine) + "the file ends where " + what + " should be";
        return false;
    }
    const char* problem = "";
    if (!toNumber(token, value, problem)) {
        error = where(fileName, line) + what + " '" + std::string(token) + "' " + problem;
        return false;
    }
    return true;
}

} // namespace

bool parseParkList(std::string_view text, const char* fileName, ParkListFile& out,
                   std::string& error) {
    Tokens tokens{text};
    ParkListFile result;
    int32_t line = 0;
    if (!readNumber(tokens, fileName, "the number of parks", result.parkCount, line, error)) {
        return false;
    }
    if (result.parkCount < 1) {
        error = where(fileName, line) + "the number of parks must be at least 1, not " +
                std::to_string(result.parkCount);
        return false;
    }
    if (result.parkCount > MaxParks) {
        error = where(fileName, line) + "the number of parks is " +
                std::to_string(result.parkCount) + ", more than the " + std::to_string(MaxParks) +
                " a park list can hold";
        return false;
    }
    for (int32_t i = 0; i < result.parkCount; ++i) {
        std::string_view name;
        if (!tokens.next(name, line)) {
            error = where(fileName, tokens.lastLine) + "the list promises " +
                    std::to_string(result.parkCount) + " parks but names only " + std::to_string(i);
            return false;
        }
        if (std::size_t nul = name.find('\0'); nul != std::string_view::npos) {
            // The slot would hold the name only up to there: another file's name.
            error = where(fileName, line) + "the park name '" + std::string(name.substr(0, nul)) +
                    "' is followed by a NUL byte within the same word";
            return false;
        }
        if (name.size() > MaxNameLength) {
            error = where(fileName, line) + "the park name '" + std::string(name) + "' has " +
                    std::to_string(name.size()) + " characters, more than " +
                    std::to_string(MaxNameLength);
            return false;
        }
        std::memcpy(result.list.names[i], name.data(), name.size());
        result.nameLine[i] = line;
    }
    out = result;
    return true;
}

bool parseParkFile(std::string_view text, const char* fileName, ParkFile& out, std::string& error) {
    Tokens tokens{text};
    int32_t line = 0;
    int32_t count = 0;
    int32_t length = 0;
    if (!readNumber(tokens, fileName, "the obstacle count", count, line, error)) {
        return false;
    }
    if (count < 0 || count > MaxObstacles) {
        error = where(fileName, line) + "the obstacle count is " + std::to_string(count) +
                "; a park holds 0 to " + std::to_string(MaxObstacles) + " obstacles";
        return false;
    }
    if (!readNumber(tokens, fileName, "the park length", length, line, error)) {
        return false;
    }
    if (length < 1) {
        error = where(fileName, line) + "the park length must be at least 1 frame, not " +
                std::to_string(length);
        return false;
    }
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
                error = where(fileName, tokens.lastLine) + "the file ends at obstacle " +
                        std::to_string(i + 1) + " of the " + std::to_string(count) +
                        " its count promises";
                return false;
            }
            const char* problem = "";
            if (!toNumber(token, v[f], problem)) {
                error = where(fileName, line) + fieldNames[f] + " of obstacle " +
                        std::to_string(i + 1) + " '" + std::string(token) + "' " + problem;
                return false;
            }
            if (f == 0) {
                firstLine = line;
            }
        }
        if (!withinLimit(v[0]) || !withinLimit(v[1]) || !withinLimit(v[2]) || !withinLimit(v[3]) ||
            !withinLimit(v[5])) {
            error = where(fileName, firstLine) + "the picture or row of obstacle " +
                    std::to_string(i + 1) + " lies beyond " + std::to_string(CoordinateLimit) +
                    " pixels: no sheet or screen reaches that far";
            return false;
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
    return true;
}

bool readTextFile(const char* path, std::string& text, std::string& error) {
    auto refuse = [&](const std::string& why) {
        error = std::string(path) + ": cannot be read" + (why.empty() ? "" : ": " + why);
        return false;
    };
    // Opened without waiting, so that a name of a pipe or a device is refused, not waited on or
    // read for ever.
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return refuse(std::strerror(errno));
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return refuse("not a regular file");
    }
    std::FILE* f = fdopen(fd, "rb");
    if (f == nullptr) {
        const int reason = errno;
        close(fd);
        return refuse(std::strerror(reason));
    }
    text.clear();
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0 && text.size() <= MaxTextFileBytes) {
        text.append(buffer, n);
    }
    bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) {
        return refuse("");
    }
    if (text.size() > MaxTextFileBytes) {
        return refuse("larger than " + std::to_string(MaxTextFileBytes >> 20) + " MiB");
    }
    return true;
}

bool parseHighScore(std::string_view text, int32_t& value) {
    std::size_t i = 0;
    while (i < text.size() && Tokens::isSpace(text[i])) {
        ++i;
    }
    std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        ++i;
    }
    const char* problem = "";
    return toNumber(text.substr(start, i - start), value, problem);
}

namespace {

// The park being loaded when a game start needed it; kept static, it is large.
ParkFile loading;
ParkListFile listLoading;
char failedPark[MaxNameLength + 1] = {};

} // namespace

bool readParkList(std::string& error) {
    std::string text;
    if (!readTextFile("parks.txt", text, error) ||
        !parseParkList(text, "parks.txt", listLoading, error)) {
        return false;
    }
    for (int32_t i = 0; i < listLoading.parkCount; ++i) {
        const char* name = listLoading.list.names[i];
        if (!readTextFile(name, text, error) || !parseParkFile(text, name, loading, error)) {
            error += " (park " + std::to_string(i + 1) + " of parks.txt)";
            return false;
        }
    }
    parkList = listLoading.list;
    run.parkCount = listLoading.parkCount;
    return true;
}

void loadPark() {
    const char* name = parkList.names[run.parkIndex];
    std::string text;
    std::string error;
    if (readTextFile(name, text, error) && parseParkFile(text, name, loading, error)) {
        for (int32_t i = 0; i < loading.obstacleCount; ++i) {
            obstacleTable.records[i] = loading.records[i]; // parsed with x at 640
        }
        run.obstacleCount = loading.obstacleCount;
        run.parkLength = loading.parkLength;
        run.firstActive = 0;
        run.lastActive = std::min(run.firstActive + WindowSpan, run.obstacleCount - 1);
        return;
    }
    // The park vanished or changed since start-up: the run ends as on the last life.
    std::fprintf(stderr, "zanbury: %s\n", error.c_str());
    std::snprintf(failedPark, sizeof failedPark, "%s", name);
    run.obstacleCount = 0;
    run.firstActive = 0;
    run.lastActive = -1;
    run.messageSeconds = -1; // no stale fall message in the next run
    showEndScreen();
    gameState = GameState::GameOver;
}

const char* failedParkName() {
    return failedPark;
}

void clearFailedPark() {
    failedPark[0] = '\0';
}

} // namespace park
