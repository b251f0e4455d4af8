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
    std::string file; // the file as the reader was given it
    int32_t line = 0; // from 1; 0 when the problem concerns the file as a whole
    std::string what; // what is wrong, e.g. "the park length must be at least 1 frame, not 0"
};

// "FILE:LINE: WHAT", or "FILE: WHAT" when the problem has no line.
std::string formatProblem(const Problem& problem);

struct ParkFile {
    int32_t obstacleCount = 0;
    int32_t parkLength = 0;
    Obstacle records[MaxObstacles];
    int32_t recordLine[MaxObstacles] = {}; // the line on which each record starts
};

struct ParkListFile {
    int32_t parkCount = 0;
    ParkList list;
    int32_t nameLine[MaxParks] = {};
};

// `fileName` only names the file in the problem. Return false with the reason in `problem`;
// `out` is then left as it was (the list) or partly filled (the park file).
bool parseParkList(std::string_view text, const char* fileName, ParkListFile& out,
                   Problem& problem);
bool parseParkFile(std::string_view text, const char* fileName, ParkFile& out, Problem& problem);

// Reads a whole small text file; false with the reason in `problem` when it cannot be read, is
// not a regular file (a pipe, a device) or is larger than maxBytes.
constexpr std::size_t MaxTextFileBytes = std::size_t{16} << 20;
bool readTextFile(const char* path, std::string& text, Problem& problem,
                  std::size_t maxBytes = MaxTextFileBytes);

// Reads the first number of the high score file's text as the game does; false when the text
// does not begin with a number (after optional white space) or it is out of range.
bool parseHighScore(std::string_view text, int32_t& value);

} // namespace park
