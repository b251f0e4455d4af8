#pragma once
// The two sound effects, synthesised from seeded noise and decaying oscillators.

#include "tools/artgen/wav.h"

#include <vector>

namespace artgen {

inline constexpr int HitFrames = 9267;   // 0.210 s
inline constexpr int SmackFrames = 5573; // 0.126 s

// A landing: the wheels meet the pavement, a short low thud with a click on top.
std::vector<Frame> makeHit();
// A take-off: the tail snaps on the ground, a sharp wooden pop.
std::vector<Frame> makeSmack();

} // namespace artgen
