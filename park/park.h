#pragma once
// Park data in the game: the park list and the obstacle table, their loading from the files,
// the obstacle stream, the end screen and the high score.

#include "park/formats.h"
#include "park/readers.h"

#include <cstdint>

namespace park {

// The park file that could not be loaded in this run, until the end screen has named it;
// an empty name when every park loaded.
struct FailedPark {
    char name[MaxNameLength + 1] = {};
};

// The end screen's dealings with highscore.txt, as a recording keeps them and a replay gives
// them back: what each end screen found stored is noted here; during a replay the end screen
// takes it from here instead, and writes no file. Not a game record: the session owns it.
struct HighScoreTape {
    bool replaying = false;
    bool haveStored = false; // a high score was stored, and its value
    int32_t stored = 0;
    int32_t reads = 0;              // end screens since the session last set this to 0
    bool wroteNewHighScore = false; // an end screen wrote the run's score as the high score
};

extern ParkList parkList;
extern ObstacleTable obstacleTable;
extern FailedPark failedPark;
extern HighScoreTape highScoreTape;

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

// Draws the end screen into the back buffer, compares the score with highscore.txt and
// rewrites the file on an equal or higher score.
void showEndScreen();

// The end of a run, after the last park, on the last life or when a park cannot be loaded:
// the end screen is drawn once and the state becomes GameOver, which waits for Enter.
void endRun();

// Copies the zero-terminated text, terminator included, to the start of the buffer.
void copyText(const char* text, char* buffer);

} // namespace park
