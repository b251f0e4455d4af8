#pragma once
// Reading the park list and park files, checked: the game, the park checker and the fuzz
// targets share these readers. Every refusal names the file, the line and what is wrong.

#include "park/park.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace park {

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

// `fileName` only names the file in messages. Return false with the reason in `error`.
bool parseParkList(std::string_view text, const char* fileName, ParkListFile& out,
                   std::string& error);
bool parseParkFile(std::string_view text, const char* fileName, ParkFile& out, std::string& error);

// Reads a whole small text file; false with the reason in `error` when it cannot be read, is
// not a regular file (a pipe, a device) or is larger than MaxTextFileBytes.
constexpr std::size_t MaxTextFileBytes = std::size_t{16} << 20;
bool readTextFile(const char* path, std::string& text, std::string& error);

// Reads the first number of the high score file's text as the game does; false when the text
// does not begin with a number (after optional white space) or it is out of range.
bool parseHighScore(std::string_view text, int32_t& value);

// Forgets the park that could not be loaded, once the end screen has named it.
void clearFailedPark();

} // namespace park
