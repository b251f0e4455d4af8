// The scenery of a park map, drawn by the game's own display: for each piece of a row, the
// backdrop, the obstacles clipped as the obstacle stream clips them, and the skater, then the
// back buffer copied into the map. Also where each obstacle comes on, from the stream itself.

#include "app/flow.h"
#include "app/shell.h"
#include "core/run_state.h"
#include "display/display.h"
#include "park/park.h"
#include "platform/headless.h"
#include "tools/common/common.h"
#include "tools/parkmap/parkmap.h"

#include <algorithm>

namespace parkmap {

int32_t mapWidth(const park::ParkFile& file) {
    return frameX(file.parkLength) + EndLineWidth;
}

Canvas blankCanvas(const ParkMap& map) {
    const int32_t width = mapWidth(*map.file);
    Canvas canvas;
    canvas.width = std::max(std::min(width, RowWidth), textWidth(map.title) + 12);
    const int32_t rows = (width + RowWidth - 1) / RowWidth;
    canvas.height = HeaderHeight + rows * BandHeight;
    canvas.pixels.assign(static_cast<std::size_t>(canvas.width) * canvas.height, 0xffffff);
    return canvas;
}

bool obstacleEntries(const std::string& parkName, const park::ParkFile& file,
                     std::vector<int32_t>& entries, std::string& error) {
    if (!tools::startHeadlessGame(0)) {
        error = "the game does not start with " + parkName;
        return false;
    }
    // The menu's first item at pass 2 loads the park; pass 4 would be its first frame.
    for (int pass = 1; pass < 4; ++pass) {
        if (pass == 2) {
            headless::tap(platform::Key::Enter);
        }
        runStateHandler();
    }
    if (gameState != GameState::Playing) {
        error = parkName + " does not start";
        return false;
    }
    // The stream alone, frame by frame, with no skater to fall.
    entries.assign(static_cast<std::size_t>(run.obstacleCount), 0);
    for (int32_t frame = 1; frame <= file.parkLength; ++frame) {
        run.parkFrame = frame;
        park::stepObstacles();
        for (int32_t i = run.firstActive; i <= run.lastActive; ++i) {
            const park::Obstacle& o = park::obstacleTable.records[i];
            if (o.x == 636 && park::isActive(o, frame) &&
                entries[static_cast<std::size_t>(i)] == 0) {
                entries[static_cast<std::size_t>(i)] = frame;
            }
        }
    }
    return true;
}

namespace {

// The back buffer's RGB565 as 0xRRGGBB.
uint32_t rgbOf(uint16_t v) {
    const uint32_t r = ((v >> 11) & 31u) * 255u / 31u;
    const uint32_t g = ((v >> 5) & 63u) * 255u / 63u;
    const uint32_t b = (v & 31u) * 255u / 31u;
    return (r << 16) | (g << 8) | b;
}

// A piece of the map drawn on the screen: world columns from `left`, PieceWidth of them, drawn
// at screen column Margin onwards. Blits never clip, so a picture no wider than Margin that
// shows in the piece at all lies wholly on the screen and is drawn whole.
constexpr int32_t Margin = 80;
constexpr int32_t PieceWidth = 640 - 2 * Margin;

void drawPiece(const ParkMap& map, int32_t left) {
    display::blitBackdrop(display::WholeScreen, 0, 0);
    const park::ParkFile& file = *map.file;
    for (std::size_t i = 0; i < map.entries.size(); ++i) {
        const park::Obstacle& o = file.records[i];
        const int32_t width = o.src.right - o.src.left;
        const int32_t x = obstacleX(map.entries[i]) - left + Margin;
        if (map.entries[i] > 0 && x < 640 && x + width > 0) {
            park::drawObstacle(x, o.y, o.src);
        }
    }
    if (!map.hasRun) {
        return;
    }
    // The skater as the game draws it, at each press and at the park's first frame.
    std::vector<int64_t> frames{1};
    for (const autoplay::Press& p : map.presses) {
        frames.push_back(p.pass - 3);
    }
    for (int64_t frame : frames) {
        if (frame < 1 || frame > static_cast<int64_t>(map.run.skater.size())) {
            continue;
        }
        const Skater& s = map.run.skater[static_cast<std::size_t>(frame - 1)];
        const int32_t shift = frameX(frame) - SkaterX - left + Margin;
        display::blitSprite(s.bodySrc, s.bodyX + shift, s.bodyY);
        display::blitSprite(s.boardSrc, s.boardX + shift, s.boardY);
    }
}

} // namespace

void composeScene(const ParkMap& map, Canvas& canvas) {
    const int32_t width = mapWidth(*map.file);
    for (int32_t left = 0; left < width; left += PieceWidth) {
        drawPiece(map, left);
        for (int32_t x = 0; x < PieceWidth && left + x < width; ++x) {
            const int32_t world = left + x;
            const int32_t row = world / RowWidth;
            const int32_t cx = world % RowWidth;
            const int32_t top = HeaderHeight + row * BandHeight;
            for (int32_t y = SceneTop; y < 480; ++y) {
                canvas.pixels[static_cast<std::size_t>((top + y - SceneTop) * canvas.width + cx)] =
                    rgbOf(display::backBufferPixel(Margin + x, y));
            }
        }
    }
}

} // namespace parkmap
