#pragma once
// The park map: a whole park drawn as one picture, laid out from left to right as the skater
// meets it at 4 pixels a frame, in rows of 500 frames, with a frame ruler under each row; and,
// for a run, the skater's path with its presses, its tricks and its narrowest timing window.

#include "park/readers.h"
#include "tools/autoplay/autoplay.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace parkmap {

inline constexpr int32_t PixelsPerFrame = 4;
inline constexpr int32_t RowFrames = 500;
inline constexpr int32_t RowWidth = RowFrames * PixelsPerFrame;
// Each row shows the screen from this row down to the pavement's bottom: the ground, the
// obstacles and the top of a jump.
inline constexpr int32_t SceneTop = 160;
inline constexpr int32_t SceneHeight = 480 - SceneTop;
inline constexpr int32_t RulerHeight = 22;
inline constexpr int32_t BandHeight = SceneHeight + RulerHeight;
inline constexpr int32_t HeaderHeight = 26;
// The skater's column: where the skater stands on the screen, and so where park frame p lies
// on the map (SkaterX + 4 p).
inline constexpr int32_t SkaterX = 50;

// A picture, 0xRRGGBB a pixel, rows top to bottom.
struct Canvas {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;
};

// What a map shows.
struct ParkMap {
    std::string title;
    const park::ParkFile* file = nullptr;
    std::vector<int32_t> entries; // the park frame in which each obstacle comes on, 0 never
    bool hasRun = false;
    std::vector<autoplay::Press> presses;
    autoplay::MeasuredRun run;
};

// The map's x of park frame p: where the skater's left edge stands then.
inline int32_t frameX(int64_t frame) {
    return SkaterX + static_cast<int32_t>(frame) * PixelsPerFrame;
}
// The map's x of an obstacle's left edge: it comes on at screen x 636 in its entry frame.
inline int32_t obstacleX(int32_t entry) {
    return 636 + entry * PixelsPerFrame;
}
// The width of the map: from the skater's column at the park's start to the line that marks
// its end, where the skater's column stands in the park's last frame.
inline constexpr int32_t EndLineWidth = 2;
int32_t mapWidth(const park::ParkFile& file);
// The white picture for the map: rows of at most RowWidth columns under the header, and wide
// enough for the title.
Canvas blankCanvas(const ParkMap& map);

// Plays the park, alone in a park list in the working directory, with nobody on it, and
// returns the park frame in which each obstacle first comes on at the right edge. False with
// the reason in `error` when the game does not start. Leaves the game started, its display
// open, for composeScene.
bool obstacleEntries(const std::string& parkName, const park::ParkFile& file,
                     std::vector<int32_t>& entries, std::string& error);

// Draws the scenery of every row with the game's own display: the backdrop, every obstacle
// with its picture at its row, and, for a run, the skater at each press. The display must be
// open.
void composeScene(const ParkMap& map, Canvas& canvas);

// Draws the header, the rulers and, for a run, the path, the presses, the tricks and the
// narrowest window over the scenery, in the game's text glyphs.
void drawOverlay(const ParkMap& map, Canvas& canvas);

inline constexpr uint32_t Black = 0x000000;
// Fills the box, clipped to the canvas.
void fill(Canvas& c, int32_t left, int32_t top, int32_t width, int32_t height, uint32_t rgb);
// One line of text in the game's glyphs, its top-left at (x, y); 14 pixels high.
void text(Canvas& c, int32_t x, int32_t y, std::string_view line, uint32_t rgb = Black);
// The width of one line of text in the game's glyphs.
int32_t textWidth(std::string_view line);

// Draws the sprite sheet twice its size with each obstacle picture of the atlas outlined and
// numbered from 1 in the atlas's order, and a legend of the numbers' names and rectangles (top,
// left, bottom, right, as a park file gives them). False with the reason in `error` when the
// sheet cannot be read.
bool drawSheetMap(Canvas& canvas, std::string& error);

// Writes the canvas as a PNG; false with the reason in `error`.
bool savePng(const Canvas& canvas, const std::string& path, std::string& error);

} // namespace parkmap
