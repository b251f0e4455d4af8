#pragma once
// Park files made in the tests: obstacle pictures of the sprite sheet, records as a park file
// writes them, and a park's text from its records.

#include "core/rect.h"
#include "display/atlas.h"
#include "park/formats.h"

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

using park::ObstacleKind;

// Obstacle pictures from the sprite sheet's cells, and parts of cells for the widths the
// rules talk about.
inline constexpr Rect GreyBlock = atlas::ObstaclePictures[2].cell;  // 64 x 36
inline constexpr Rect Ramp = atlas::ObstaclePictures[1].cell;       // 60 x 36
inline constexpr Rect Hydrant = atlas::ObstaclePictures[5].cell;    // 25 x 36
inline constexpr Rect RailBar = atlas::ObstaclePictures[10].cell;   // 200 x 48
inline constexpr Rect LongBlock = atlas::ObstaclePictures[14].cell; // 169 x 48
inline constexpr Rect TallBlock = atlas::ObstaclePictures[0].cell;  // 64 x 112
inline constexpr Rect Block40{371, 1, 411, 37};                     // 40 x 36, in TallBlock
inline constexpr Rect Block50{309, 355, 359, 403};                  // 50 x 48, in LongBlock

// The number that a park file and an Obstacle hold for the kind.
constexpr int32_t kindNumber(ObstacleKind kind) {
    return static_cast<int32_t>(kind);
}

// One record as a park file writes it: top left bottom right startFrame y kind. The kind is
// any number a file may hold, or an ObstacleKind.
inline std::string record(const Rect& src, int32_t startFrame, int32_t y, int32_t kind) {
    return std::to_string(src.top) + " " + std::to_string(src.left) + " " +
           std::to_string(src.bottom) + " " + std::to_string(src.right) + " " +
           std::to_string(startFrame) + " " + std::to_string(y) + " " + std::to_string(kind) + "\n";
}
inline std::string record(const Rect& src, int32_t startFrame, int32_t y, ObstacleKind kind) {
    return record(src, startFrame, y, kindNumber(kind));
}

inline std::string parkText(int32_t length, const std::vector<std::string>& records) {
    std::string text = std::to_string(records.size()) + " " + std::to_string(length) + "\n";
    for (const std::string& r : records) {
        text += r;
    }
    return text;
}

} // namespace testing_support
