#pragma once
// The readers of the park list, the park files and the high score, checked, with no program
// record: the game's loading, the park checker, the autoplayer and the fuzz targets all link
// this one library. A refusal is a Problem, kept as file, line and what until it is printed.

#include "park/formats.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace park {

// Why a file was refused.
struct Problem {
    std::string file;       // the file as the reader was given it
    int32_t line = 0;       // from 1; 0 when the problem concerns the file as a whole
    std::string what;       // what is wrong, e.g. "the obstacle count 'x' is not a number"
    bool endsEarly = false; // the file ends before what its counts promise
};

// "FILE:LINE: WHAT", or "FILE: WHAT" when the problem has no line; printable as printable() makes
// it, since the file name and the words quoted come from the files.
std::string formatProblem(const Problem& problem);

// The text with every byte outside printable ASCII written as \xHH (a NUL byte as \x00, a byte
// of a byte-order mark as \xef), so that a message is never cut short or garbled by what a file
// holds.
std::string printable(std::string_view text);

// A word or line of a file as a message quotes it: the whole of it when it is short, else its
// first MaxExcerpt bytes marked as cut ("..."), so that one huge token never makes a message too
// long to show (a message box of a megabyte is refused by the window system).
inline constexpr std::size_t MaxExcerpt = 100;
std::string excerpt(std::string_view text);

// The text without the UTF-8 byte-order mark that some editors put at the start of a file.
std::string_view withoutByteOrderMark(std::string_view text);

struct ParkFile {
    int32_t lengthLine = 0; // the line of the park length
    int32_t obstacleCount = 0;
    int32_t parkLength = 0;
    Obstacle records[MaxObstacles];
    int32_t recordLine[MaxObstacles] = {}; // the line on which each record starts
    int32_t trailingLine = 0; // the line of the first word after the last record; 0 when none
};

struct ParkListFile {
    int32_t parkCount = 0;
    ParkList list;
    int32_t nameLine[MaxParks] = {};
    int32_t trailingLine = 0; // the line of the first word after the last name; 0 when none
};

// `fileName` only names the file in the problem. Return false with the reason in `problem`;
// `out` is then left as it was (the list) or partly filled (the park file). A leading byte-order
// mark is skipped. Park names are paths relative to the directory of the list: an absolute name
// or one with a `..` component is refused. What follows the promised names or records is not
// read (its line is kept for the park checker). Any park length is accepted: a park of length
// 1 or less ends in its first frame.
// How a park name (not empty) leads out of the list's directory ("is an absolute path", "leads
// out of the park directory with '..'"), or "" when it stays inside.
std::string leavesTheDirectory(std::string_view name);

bool parseParkList(std::string_view text, const char* fileName, ParkListFile& out,
                   Problem& problem);
bool parseParkFile(std::string_view text, const char* fileName, ParkFile& out, Problem& problem);

// Reads a whole small text file; false with the reason in `problem` when it cannot be read, is
// not a regular file (a pipe, a device) or is larger than maxBytes.
constexpr std::size_t MaxTextFileBytes = std::size_t{16} << 20;
bool readTextFile(const char* path, std::string& text, Problem& problem,
                  std::size_t maxBytes = MaxTextFileBytes);

// Reads the first number of the high score file's text as the game does; false when the text
// does not begin with a number (after an optional byte-order mark and white space). A number
// beyond 32 bits is a very high (or very low) score: it is clamped to the range.
bool parseHighScore(std::string_view text, int32_t& value);
// Whether the text already shows where its leading number ends, so that nothing more of the
// file needs reading: some byte follows the number, or something that is not one.
bool leadingNumberSettled(std::string_view text);

} // namespace park
