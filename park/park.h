#pragma once
// Park data in the game: the park list and the obstacle table, their loading from the files,
// the obstacle stream, the end screen and the high score.

#include "park/formats.h"
#include "park/readers.h"

#include "core/files.h"

#include <cstdint>
#include <string>

namespace park {

// The park file that could not be loaded in this run, until the end screen has named it;
// an empty name when every park loaded.
struct FailedPark {
    char name[MaxNameLength + 1] = {};
};

// Practice of one park: while `park` is the number (from 1) of a park of parkList, every new
// run plays that park alone, its completion ends the run, and the end screen gives no verdict and
// touches no file of the high score's; 0 for whole runs. Set for the whole session before its
// first run, from the command line or from the recording being replayed.
struct Practice {
    int32_t park = 0;
};

extern ParkList parkList;
extern ObstacleTable obstacleTable;
extern FailedPark failedPark;
extern Practice practice;

// Reads parks.txt in the working directory into parkList and run.parkCount, then reads every
// park file that it names. Returns false when the list or one of its parks is missing or
// refused, with the reader's problem in `problem` and in `parkNumber` the number (from 1) of the
// list's park at fault, 0 when it is parks.txt itself; nothing is then changed.
bool readParkList(Problem& problem, int32_t& parkNumber);

// Reads the park file of slot run.parkIndex into obstacleTable, run.obstacleCount and
// run.parkLength and resets the obstacle window. A file that cannot be read or is refused
// (it vanished or changed since start-up) ends the run on the end screen, which names it, with
// the reason on standard error; the table is then left as it was.
void loadPark();

// An obstacle is active while startFrame < parkFrame < activeSpanEnd(o).
bool isActive(const Obstacle& o, int32_t parkFrame);
// startFrame + width + 160, in 64 bits: a start frame near the top of the range must not wrap.
int64_t activeSpanEnd(const Obstacle& o);
Rect obstacleBox(const Obstacle& o);

// One Playing frame of the stream: the active obstacles of the window move 4 pixels left,
// are drawn clipped at both screen edges and retire once wholly past the left edge.
void stepObstacles();
void drawObstacle(int32_t x, int32_t y, const Rect& src);

// The high score's file and its lock, in the working directory.
inline constexpr const char* HighScoreFileName = "highscore.txt";
inline constexpr const char* HighScoreLockName = "highscore.txt.lock";

// What the end of a run did with highscore.txt in the working directory.
struct HighScoreOutcome {
    bool newHighScore = false; // the score is at least the stored one, or none is stored
    bool saved = false;        // the new high score is in the file
    std::string failure;       // why a new high score is not saved, in a few words; else ""
    int32_t best = 0;          // the high score the file holds after the end, when known:
    bool bestKnown = false;    // not for a file that cannot be read, nor during a replay
};

// Compares the score with highscore.txt and rewrites the file on an equal or higher score, as
// one step under the lock highscore.txt.lock, so that two games ending together keep the higher
// score. The number goes to a temporary file made new beside it, synced, then renamed over the
// score, whose permissions it keeps. A stored number beyond 32 bits is clamped; a file that
// cannot be read is left alone, as is everything when the lock cannot be had. Every failure is
// also on standard error.
HighScoreOutcome recordHighScore(int32_t score);

// The high score's lock, for what changes with the score: the recording of the run that set it.
// takeHighScoreLock waits for it as recordHighScore does; files::NoLock, with the reason in
// `why`, when it cannot be had. releaseHighScoreLock lets it go.
files::Lock takeHighScoreLock(std::string& why);
void releaseHighScoreLock(files::Lock lock);
// Whether highscore.txt holds this score now.
bool highScoreIs(int32_t score);

// The end screens' dealings with highscore.txt, as a recording keeps them and a replay gives
// them back: each end screen notes here the outcome it showed; during a replay it shows the
// outcome put here instead, and touches no file. Not a game record: the session owns it.
struct HighScoreTape {
    bool replaying = false;
    HighScoreOutcome outcome;
    int32_t score = 0; // the run's score that the outcome is about
    int32_t reads = 0; // end screens since the session last set this to 0
};
extern HighScoreTape highScoreTape;

// Draws the end screen into the back buffer with the verdict of recordHighScore, and a line
// under it when a new high score could not be saved; in practice, PracticeLine in the verdict's
// place, with no dealings with the high score at all (highScoreTape included).
void showEndScreen();
inline constexpr const char* PracticeLine = "Practice: the high score is kept for whole runs";

// The end of a run, after the last park, on the last life or when a park cannot be loaded:
// the end screen is drawn once and the state becomes GameOver, which waits for Enter.
void endRun();

// Copies the zero-terminated text, terminator included, to the start of the buffer.
void copyText(const char* text, char* buffer);

} // namespace park
