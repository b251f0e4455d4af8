#pragma once
// The run's values and the top-level state, one of each for the whole program.
// The flow owns them; the park and skater code read and write the fields their rules name.

#include "core/rect.h"

#include <cstdint>

enum class GameState : int32_t {
    Quit = 0,
    Menu = 1,
    LoadPark = 2,
    Title = 3,
    Playing = 4,
    ParkComplete = 5,
    GameOver = 6,
};

struct RunState {
    int32_t score = 0;
    int32_t lives = 0;
    int32_t parkIndex = 0;
    int32_t parkCount = 0;
    int32_t parkFrame = 0;  // Playing frames in the current park
    int32_t parkLength = 0; // the parkFrame value at which the park is complete
    int32_t obstacleCount = 0;
    int32_t firstActive = 0; // the obstacle window: firstActive..lastActive, at most 21 records
    int32_t lastActive = 0;
    char message[32] = {};      // the message line, zero-terminated
    int32_t messageSeconds = 0; // the line is drawn while this is 0 or more
    uint32_t messageTick = 0;   // tick count at the last step of the message timer
    int32_t backdropScroll = 640;
    Rect backdropOutSrc{};
    Rect backdropInSrc{};
    char scoreText[16] = {};
};

extern RunState run;
extern GameState gameState;

// The name of a state as the simulator prints it.
const char* gameStateName(GameState state);
