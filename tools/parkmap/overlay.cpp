// What a park map adds over the scenery: the header, a frame ruler under each row and, for a
// run, the skater's path, its presses, its tricks and its narrowest timing window.

#include "tools/parkmap/parkmap.h"
#include "tools/sim/sim.h"

#include <algorithm>
#include <string_view>

namespace parkmap {
namespace {

constexpr uint32_t RulerGrey = 0xe8e8e8;
constexpr uint32_t PathColour = 0xff8c00;
constexpr uint32_t PressColour = 0x1030c0;
constexpr uint32_t TrickColour = 0x008000;
constexpr uint32_t WindowColour = 0xff2020;

// Mixes the colour into the area, a quarter of it over three quarters of what is there.
void tint(Canvas& c, int32_t left, int32_t top, int32_t width, int32_t height, uint32_t rgb) {
    for (int32_t y = std::max(top, 0); y < std::min(top + height, c.height); ++y) {
        for (int32_t x = std::max(left, 0); x < std::min(left + width, c.width); ++x) {
            uint32_t& p = c.pixels[static_cast<std::size_t>(y * c.width + x)];
            uint32_t mixed = 0;
            for (int shift : {16, 8, 0}) {
                const uint32_t a = (p >> shift) & 0xffu;
                const uint32_t b = (rgb >> shift) & 0xffu;
                mixed |= ((3 * a + b) / 4) << shift;
            }
            p = mixed;
        }
    }
}

// The canvas point of map column `world` and screen row `screenY` (which may lie above the
// scene), and whether the column is on the map.
struct Point {
    int32_t x;
    int32_t y;
};
Point at(int32_t world, int32_t screenY) {
    const int32_t row = world / RowWidth;
    return {world % RowWidth, HeaderHeight + row * BandHeight + screenY - SceneTop};
}

void drawRulers(const ParkMap& map, Canvas& c) {
    const int32_t width = mapWidth(*map.file);
    for (int32_t row = 0; row * RowWidth < width; ++row) {
        fill(c, 0, HeaderHeight + row * BandHeight + SceneHeight,
             std::min(RowWidth, width - row * RowWidth), RulerHeight, RulerGrey);
    }
    for (int32_t frame = 0; frame <= map.file->parkLength; frame += 10) {
        const Point p = at(frameX(frame), 480);
        const bool major = frame % 100 == 0;
        fill(c, p.x, p.y, 1, major ? 8 : 4, Black);
        const std::string label = std::to_string(frame);
        if (major && frameX(frame) + 2 + textWidth(label) <= width) {
            text(c, p.x + 2, p.y + 5, label);
        }
    }
    // The map ends with the line, so its word stands before it.
    const Point end = at(frameX(map.file->parkLength), 480);
    fill(c, end.x, end.y - SceneHeight, EndLineWidth, SceneHeight + RulerHeight, Black);
    text(c, end.x - textWidth("end") - 3, end.y - SceneHeight + 2, "end");
}

// The trick that starts or completes in the step that left `now` after `before`, or nullptr.
const char* trickSeen(const Skater& before, const Skater& now) {
    if (now.riseFrames == 20 && now.trick == Trick::Jump) {
        return "jump";
    }
    if (now.riseFrames == 15 && now.trick == Trick::Hop) {
        return "hop";
    }
    if (before.trick == Trick::BoardFlip && now.trickTimer == -1) {
        return "flip +20";
    }
    if (before.trick == Trick::Spin && now.trickTimer == -1) {
        return "spin +20";
    }
    if (now.trick == Trick::TrickDone && before.trick != Trick::TrickDone) {
        return before.trick == Trick::SideSlide ? "slide +20" : "grind +20";
    }
    return nullptr;
}

void drawRun(const ParkMap& map, Canvas& c) {
    const std::vector<Skater>& skater = map.run.skater;
    // The narrowest window first, under everything else.
    const int32_t k = autoplay::narrowestWindow(map.run.windows);
    if (k >= 0) {
        const autoplay::PressWindow& w = map.run.windows[static_cast<std::size_t>(k)];
        const int64_t frame = map.presses[static_cast<std::size_t>(k)].pass - 3;
        for (int64_t f = frame + w.earliest; f <= frame + w.latest; ++f) {
            const Point p = at(frameX(f), SceneTop);
            tint(c, p.x, p.y, PixelsPerFrame, SceneHeight, WindowColour);
        }
        const Point p = at(frameX(frame + w.earliest), SceneTop);
        text(c, p.x, p.y + 44, "narrowest window: " + std::to_string(w.width()) + " frames",
             WindowColour);
    }
    // The path: the middle of the board's wheels, frame by frame, up to the map's end.
    for (std::size_t i = 0; i < skater.size(); ++i) {
        const Skater& s = skater[i];
        const int32_t world = frameX(static_cast<int64_t>(i) + 1) - SkaterX + s.boardX +
                              (s.boardSrc.right - s.boardSrc.left) / 2;
        if (world + 1 >= mapWidth(*map.file)) {
            break;
        }
        const Point p = at(world, s.boardY + (s.boardSrc.bottom - s.boardSrc.top));
        fill(c, p.x - 1, p.y - 1, 3, 3, PathColour);
    }
    for (std::size_t i = 0; i < map.presses.size(); ++i) {
        const Point p = at(frameX(map.presses[i].pass - 3), SceneTop);
        fill(c, p.x, p.y, 2, 12, PressColour);
        text(c, p.x + 3, p.y + 1, sim::keyName(map.presses[i].key), PressColour);
    }
    for (std::size_t i = 1; i < skater.size(); ++i) {
        if (const char* trick = trickSeen(skater[i - 1], skater[i])) {
            const Point p = at(frameX(static_cast<int64_t>(i) + 1), SceneTop);
            text(c, p.x + 3, p.y + 15, trick, TrickColour);
        }
    }
}

} // namespace

void drawOverlay(const ParkMap& map, Canvas& c) {
    fill(c, 0, 0, c.width, HeaderHeight, 0xffffff);
    text(c, 6, 6, map.title);
    drawRulers(map, c);
    if (map.hasRun) {
        drawRun(map, c);
    }
}

} // namespace parkmap
