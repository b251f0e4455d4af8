// What a park map adds over the scenery: the header, a frame ruler under each row and, for a
// run, the skater's path, its presses, its tricks and its narrowest timing window. Text is
// written with the game's own glyph sheet.

#include "display/glyph_sheet.h"
#include "display/resources.h"
#include "tools/parkmap/parkmap.h"
#include "tools/sim/sim.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <string_view>

namespace parkmap {
namespace {

constexpr uint32_t Black = 0x000000;
constexpr uint32_t RulerGrey = 0xe8e8e8;
constexpr uint32_t PathColour = 0xff8c00;
constexpr uint32_t PressColour = 0x1030c0;
constexpr uint32_t TrickColour = 0x008000;
constexpr uint32_t WindowColour = 0xff2020;

void fill(Canvas& c, int32_t left, int32_t top, int32_t width, int32_t height, uint32_t rgb) {
    for (int32_t y = std::max(top, 0); y < std::min(top + height, c.height); ++y) {
        for (int32_t x = std::max(left, 0); x < std::min(left + width, c.width); ++x) {
            c.pixels[static_cast<std::size_t>(y * c.width + x)] = rgb;
        }
    }
}

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

const display::GlyphSheet& glyphs() {
    static display::GlyphSheet sheet;
    static bool read = false;
    if (!read) {
        const resources::Resource* r = resources::find("GLYPHS");
        display::GlyphSheetError error;
        if (r != nullptr) {
            display::readGlyphSheet(
                std::string_view(reinterpret_cast<const char*>(r->data), r->size), sheet, error);
        }
        read = true;
    }
    return sheet;
}

// One line of text in the game's glyphs, its top-left at (x, y).
void text(Canvas& c, int32_t x, int32_t y, std::string_view line, uint32_t rgb = Black) {
    const display::GlyphSheet& sheet = glyphs();
    for (char ch : line) {
        if (ch < display::FirstGlyph || ch > display::LastGlyph) {
            continue;
        }
        const auto& g = sheet.glyphs[static_cast<std::size_t>(ch - display::FirstGlyph)];
        for (int32_t gy = g.area.top; gy < g.area.bottom; ++gy) {
            for (int32_t gx = g.area.left; gx < g.area.right; ++gx) {
                if (sheet.ink[static_cast<std::size_t>(gy * sheet.width + gx)] != 0) {
                    fill(c, x + gx - g.area.left, y + gy - g.area.top, 1, 1, rgb);
                }
            }
        }
        x += g.advance;
    }
}

} // namespace

int32_t textWidth(std::string_view line) {
    int32_t width = 0;
    for (char ch : line) {
        if (ch >= display::FirstGlyph && ch <= display::LastGlyph) {
            width += glyphs().glyphs[static_cast<std::size_t>(ch - display::FirstGlyph)].advance;
        }
    }
    return width;
}

namespace {

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

bool savePng(const Canvas& canvas, const std::string& path, std::string& error) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint32_t*>(canvas.pixels.data()), canvas.width, canvas.height, 32,
        canvas.width * 4, SDL_PIXELFORMAT_XRGB8888);
    if (surface == nullptr) {
        error = std::string("cannot make the picture: ") + SDL_GetError();
        return false;
    }
    const bool saved = IMG_SavePNG(surface, path.c_str()) == 0;
    if (!saved) {
        error = "cannot write " + path + ": " + IMG_GetError();
    }
    SDL_FreeSurface(surface);
    return saved;
}

} // namespace parkmap
