#pragma once
// Park data: the park list, the park files, the obstacle table and stream, the end screen and
// the high score.

#include "core/rect.h"

#include <cstdint>
#include <string>

namespace park {

// The limits of the file formats: 26 park names of at most 29 characters, 200 obstacles
// a park, at most 21 of them in the obstacle window.
inline constexpr int MaxParks = 26;
inline constexpr int MaxNameLength = 29;
inline constexpr int MaxObstacles = 200;
inline constexpr int WindowSpan = 20; // lastActive is at most firstActive + 20
// The pixels an active obstacle moves left in each frame.
inline constexpr int32_t ObstacleSpeed = 4;

struct ParkList {
    char names[MaxParks][MaxNameLength + 1] = {};
};

enum class ObstacleKind : int32_t { Block = 1, Ramp = 2, Rail = 3, Hazard = 4 };

struct Obstacle {
    Rect src; // the picture in the sprite sheet
    int32_t y = 0;
    int32_t startFrame = 0;
    int32_t x = 0;
    int32_t kind = 0; // an ObstacleKind; other values do nothing
};

struct ObstacleTable {
    Obstacle records[MaxObstacles];
};

extern ParkList parkList;
extern ObstacleTable obstacleTable;

// Reads parks.txt in the working directory into parkList and run.parkCount, then reads every
// park file that it names. Returns false, with the reason (file, line, what is wrong) in
// `error`, when the list or one of its parks is missing or refused; nothing is then changed.
bool readParkList(std::string& error);

// Reads the park file of slot run.parkIndex into obstacleTable, run.obstacleCount and
// run.parkLength and resets the obstacle window. A file that cannot be read or is refused
// (it vanished or changed since start-up) ends the run on the end screen, with the reason on
// standard error; the table is then left as it was.
void loadPark();

// The name of the park file that could not be loaded in this run, or "" when all loaded.
const char* failedParkName();

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

// Copies the zero-terminated text, terminator included, to the start of the buffer.
void copyText(const char* text, char* buffer);

} // namespace park
