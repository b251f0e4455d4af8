// The map's drawing: boxes and text in the game's own glyph sheet on a canvas, and the canvas
// written as a PNG.

#include "display/glyph_sheet.h"
#include "display/resources.h"
#include "tools/parkmap/parkmap.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>

namespace parkmap {
namespace {

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

} // namespace

void fill(Canvas& c, int32_t left, int32_t top, int32_t width, int32_t height, uint32_t rgb) {
    for (int32_t y = std::max(top, 0); y < std::min(top + height, c.height); ++y) {
        for (int32_t x = std::max(left, 0); x < std::min(left + width, c.width); ++x) {
            c.pixels[static_cast<std::size_t>(y * c.width + x)] = rgb;
        }
    }
}

void text(Canvas& c, int32_t x, int32_t y, std::string_view line, uint32_t rgb) {
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

int32_t textWidth(std::string_view line) {
    int32_t width = 0;
    for (char ch : line) {
        if (ch >= display::FirstGlyph && ch <= display::LastGlyph) {
            width += glyphs().glyphs[static_cast<std::size_t>(ch - display::FirstGlyph)].advance;
        }
    }
    return width;
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
