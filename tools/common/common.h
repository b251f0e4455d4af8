#pragma once
// What the developer tools and the tests share: scratch directories, copies of a park list,
// checked text files, the table of expected replay scores, the obstacle kinds' names, whole
// numbers from the command line, and the game's start-up on the headless platform.

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace park {
struct ParkFile;
}

namespace tools {

// A fresh empty directory under the system's temporary directory, removed with all it holds
// when this goes; the working directory is put back to where it was when this was made. When
// the directory cannot be made, `error` says why and `path` is empty.
struct ScratchDir {
    std::filesystem::path path;
    std::filesystem::path previous;
    std::string error;
    explicit ScratchDir(const std::string& purpose);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
};

// A park file read and parsed as the game reads it, its text in `text`; false with the reason in
// `error`. ParkFile is large: callers keep theirs out of the stack.
bool readParkFile(const std::filesystem::path& path, std::string& text, park::ParkFile& file,
                  std::string& error);

// The park file names of DIR/parks.txt in playing order; false with the reason in `error`.
bool parkNames(const std::filesystem::path& dir, std::vector<std::string>& names,
               std::string& error);

// Copies DIR/parks.txt and every park file it names into `into`, and nothing else (no high
// score file); false with the reason in `error`. A name that leads out of DIR is refused, as the
// list's reader refuses it.
bool copyParks(const std::filesystem::path& dir, const std::filesystem::path& into,
               std::string& error);

// Writes the text to the file, replacing it; false with the path and the reason in `error` when
// the file cannot be opened or any of the text is not written, the flush and the close included.
bool writeTextFile(const std::string& path, const std::string& text, std::string& error);

// The table of expected replay scores: one line `PARKFILE SCORE` a park; # starts a comment.
// Reading a missing table gives an empty one.
bool readExpected(const std::filesystem::path& table,
                  std::vector<std::pair<std::string, int32_t>>& rows, std::string& error);
// Sets the park's score in the table, replacing its line or adding one; other lines are kept.
bool recordExpected(const std::filesystem::path& table, const std::string& parkName, int32_t score,
                    std::string& error);

// The name of an obstacle kind in messages ("block", "ramp", "rail", "hazard"), or "no kind".
const char* kindName(int32_t kind);
// "1 (block), 2 (ramp), 3 (rail) or 4 (hazard)".
std::string kindList();

// Whole numbers from the command line: the whole text must be the number, so that a typo is
// refused rather than read as 0 or as its first digits. wholeNumber also needs min <= value <=
// max; unsignedWholeNumber takes any value of 64 bits but no sign, as strtoull would wrap "-1".
bool wholeNumber(const char* text, long long min, long long max, long long& value);
bool unsignedWholeNumber(const char* text, unsigned long long& value);

// A fresh game on the headless platform: every key up and the clock at startTick, no sound,
// every program-wide record at its start value, no session recording or replaying. Nothing is
// started.
void resetHeadlessGame(uint32_t startTick);
// resetHeadlessGame, then the game's start-up in the working directory, as the program starts,
// with every new run playing park `practicePark` of the list alone (from 1; 0: whole runs).
// False when start-up fails; the reason is then on standard error.
bool startHeadlessGame(uint32_t startTick, int32_t practicePark = 0);

} // namespace tools
