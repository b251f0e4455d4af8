#pragma once
// Recordings: a session of the game kept as text, so that the simulator and the game's replay
// play it again exactly. After a header naming the format, the game's version and the park list
// and park files with a checksum of each, every line is about one main-loop pass:
//
//   zanbury-recording 1
//   version 0.1
//   practice 12                 a practice session of park 12 of the list alone (app/flow.h);
//                               no such line for whole runs
//   file parks.txt 1f0c6e2b9d43a871
//   file harbour-front.txt 0e93a55d4c2b17f0
//   2 enter tap                 the keys, as a script's lines (app/script.h)
//   1 clock 30 34               passes 1 to 30 each read the tick count once, 34 ms after the
//                               read before (the first read of all counts from 0)
//   31 clock 1 1 33             pass 31 read it twice: 1 ms after the read before, then 33 ms
//   212 highscore new           the end screen of pass 212 showed a new high score, saved ("low":
//                               a low score; "unsaved REASON": a new one not saved, for REASON)
//   460 end                     the session ended after pass 460
//
// The clock lines cover the passes in order from 1, each beginning where the one before ended;
// a key line may come before the clock line of its pass. A recording cut short (the game was
// killed) has no end line and replays up to its last clock line; a last line without its line
// break is left out.

#include "app/script.h"
#include "park/readers.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace recording {

inline constexpr const char* FirstLine = "zanbury-recording 1";
// A pass reads the tick count at most this often (the game reads it one to three times).
inline constexpr int MaxReadsPerPass = 8;
// The longest reason of an unsaved high score that a recording holds.
inline constexpr std::size_t MaxReasonLength = 200;
// The largest recording the game and the simulator read: a day of play is a few megabytes.
inline constexpr std::size_t MaxRecordingBytes = std::size_t{256} << 20;

// A file of the park list that the session was played with, and the checksum of its bytes.
struct NamedFile {
    std::string name;
    uint64_t checksum = 0;
    int32_t line = 0;
};

// Passes firstPass to firstPass + passes - 1 each read the tick count `reads` times, read i
// `deltas[i]` ms (unsigned, wrapping) after the read before it.
struct ClockRun {
    int64_t firstPass = 0;
    int64_t passes = 0;
    int32_t reads = 0;
    uint32_t deltas[MaxReadsPerPass] = {};
    int32_t line = 0;
};

// The verdict that the end screen of a pass showed on the high score.
struct HighScoreVerdict {
    int64_t pass = 0;
    bool newHighScore = false;
    std::string unsaved; // why a new high score was not saved, as the screen said; else ""
    int32_t line = 0;
};

struct Recording {
    std::string fileName;
    std::string version;
    int32_t practice = 0;            // the park of a practice session, from 1; 0 for whole runs
    int32_t practiceLine = 0;        // its line; 0 when there is none
    std::vector<NamedFile> files;    // parks.txt, then each park that it lists, in order
    std::vector<script::Event> keys; // in pass order, file order within a pass
    std::vector<ClockRun> clock;
    std::vector<HighScoreVerdict> highScores; // in pass order
    int64_t passes = 0;                       // the passes the clock lines cover
    int32_t endLine = 0;                      // the end line; 0 when the recording was cut short
    int32_t cutLine = 0; // a last line without its line break, left out; 0 when none
};

// Whether the text begins as a recording does (a script does not).
bool looksLikeRecording(std::string_view text);

// Reads a recording made by the game of version `gameVersion`. Returns false, with the file,
// the line and what is wrong in `problem`, for a recording of another format or version, or
// one that is edited or broken; a cut-short one is read up to its cut.
bool parse(std::string_view text, const char* fileName, std::string_view gameVersion,
           Recording& out, park::Problem& problem);

// Reads the recording file at `path` (at most MaxRecordingBytes) and parses it.
bool load(const char* path, std::string_view gameVersion, Recording& out, park::Problem& problem);

// The checksum that a file line gives: FNV-1a 64 of the file's bytes.
uint64_t checksum(std::string_view bytes);

// The lines as the recorder writes them, each with its line break; they return the length
// (snprintf's, so that a line cut by a short buffer can be seen).
int formatHeader(char* out, std::size_t size, std::string_view gameVersion);
int formatPracticeLine(char* out, std::size_t size, int32_t park);
int formatFileLine(char* out, std::size_t size, std::string_view name, uint64_t sum);
int formatKeyLine(char* out, std::size_t size, int64_t pass, platform::Key key,
                  script::Action action);
int formatClockLine(char* out, std::size_t size, const ClockRun& run);
int formatHighScoreLine(char* out, std::size_t size, int64_t pass, bool newHighScore,
                        std::string_view unsaved);
int formatEndLine(char* out, std::size_t size, int64_t passes);

// The whole recording as text, as the recorder would have written it (keys before the clock
// line of their pass). parse reads it back the same.
std::string write(const Recording& recording);

} // namespace recording
