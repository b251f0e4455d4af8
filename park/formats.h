#pragma once
// The records of the park list and the park files, and the limits of both formats. Plain data:
// the readers fill them, the game's loading copies them into its program-wide records.

#include "core/rect.h"

#include <cstdint>

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
// Every kind, in the order of their numbers.
inline constexpr ObstacleKind ObstacleKinds[] = {ObstacleKind::Block, ObstacleKind::Ramp,
                                                 ObstacleKind::Rail, ObstacleKind::Hazard};

// Whether a kind number of a park file is one of the ObstacleKinds.
constexpr bool isObstacleKind(int32_t kind) {
    for (ObstacleKind k : ObstacleKinds) {
        if (static_cast<int32_t>(k) == kind) {
            return true;
        }
    }
    return false;
}

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

} // namespace park
