#pragma once
// The skater: its record and pictures, reset, motion, collisions, falls, controls and tricks.

#include "core/rect.h"

#include <cstdint>

enum class Trick : int32_t {
    NoTrick = 0,
    Jump = 1,
    BoardFlip = 2,
    SideSlide = 3,
    Spin = 4,
    NoseUpGrind = 5,
    Hop = 6,
    NoseDownGrind = 7,
    TrickDone = 50,
};

struct Skater {
    Rect bodySrc;
    int32_t bodyX = 0;
    int32_t bodyY = 0;
    Rect boardSrc;
    int32_t boardX = 0;
    int32_t boardY = 0;
    int32_t groundY = 0; // the bodyY at which the skater stands on the ground line
    int32_t supported = 0;
    int32_t riseFrames = 0;
    Trick trick = Trick::NoTrick;
    int32_t trickTimer = 0;
    int32_t onRail = 0;
    int32_t landed = 0; // lets the landing sound play once per landing
};

extern Skater skater;

inline constexpr int32_t GroundLine = 432;
// A jump rises for 20 frames, by 4 rows a frame: its top is 80 rows above where it began.
inline constexpr int32_t JumpRiseFrames = 20;
inline constexpr int32_t RiseStep = 4;

// Start-up's placement, with no pictures chosen yet; nothing draws or steps it before the
// first resetSkater.
void placeSkaterAtStartUp();

// The standing arrangement on the ground line, no trick, and parkFrame 0.
// Leaves landed, the score and the lives alone.
void resetSkater();

// One skater step of a Playing frame: ground contact, obstacles, rise, trick, falling,
// then the keys.
void stepSkater();
void takeFall();

// The in-play keys, queried once each per call: Down, Up, Right, Left, Escape.
void pollControls();
void stepTrick();

// The skater's collision box, built from the current pictures.
Rect skaterBox();
// The collision box of the skater standing on the ground line after a reset, whatever the
// skater is doing now: (50, 351, 118, 435). An obstacle that ends above its top passes over
// the standing skater's head, and one that ends JumpRiseFrames * RiseStep rows higher over a
// jump from the ground too.
Rect standingBox();
