// Text: the glyph sheet that the executable carries is read once into the runs of ink along each
// of its rows; a text is then a row of glyphs whose runs are filled with black, cut off at the
// screen's edges.

#include "display/display.h"
#include "display/display_state.h"
#include "display/glyph_sheet.h"
#include "display/keyed.h"
#include "display/resources.h"
#include "platform/platform.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>
#include <vector>

namespace display {
namespace {

constexpr uint16_t Ink = 0x0000; // black in the back buffer's format

struct TextState {
    // The sheet's runs of ink. Glyphs lie one above the other, so a row's runs are one glyph's.
    detail::KeyedPicture ink;
    std::array<GlyphSheet::Glyph, GlyphCount> glyphs{};
};

TextState text;

// A picture that text is drawn into: the back buffer, or a picture of the display's own.
struct Target {
    uint16_t* pixels;
    int32_t pitch; // in pixels
    int32_t width;
    int32_t height;
};

// Fills the glyph's ink with its top-left corner at (x, y), which the caller has checked to be
// less than 64 pixels above or left of the target; what lies off the target is left out.
void drawGlyph(const GlyphSheet::Glyph& g, int32_t x, int32_t y, const Target& t) {
    uint16_t* pixels = t.pixels;
    const int32_t pitch = t.pitch;
    const int32_t left = std::max(0, -x);
    const int32_t right = std::min(g.area.width(), t.width - x);
    const int32_t top = std::max(0, -y);
    const int32_t bottom = std::min(g.area.height(), t.height - y);
    const detail::KeyedPicture::Run* runs = text.ink.runs.data();
    for (int32_t row = top; row < bottom; ++row) {
        const std::size_t sheetRow = static_cast<std::size_t>(g.area.top + row);
        uint16_t* to = pixels + static_cast<std::ptrdiff_t>(y + row) * pitch;
        for (uint32_t i = text.ink.rowFirst[sheetRow]; i < text.ink.rowFirst[sheetRow + 1]; ++i) {
            const int32_t begin = std::max<int32_t>(runs[i].begin, left);
            const int32_t end = std::min<int32_t>(runs[i].end, right);
            for (int32_t column = begin; column < end; ++column) {
                to[x + column] = Ink;
            }
        }
    }
}

} // namespace

namespace detail {

bool openText(std::string& problem) {
    const resources::Resource* res = resources::find("GLYPHS");
    GlyphSheet sheet;
    GlyphSheetError error;
    if (res == nullptr ||
        !readGlyphSheet(std::string_view(reinterpret_cast<const char*>(res->data), res->size),
                        sheet, error)) {
        problem = "the text glyphs cannot be read: line " + std::to_string(error.line) + ": " +
                  error.what;
        return false;
    }
    // The runs come from the keyed encoding of the ink flags; text fills them with black, so the
    // encoded picture itself is not kept.
    const std::vector<uint16_t> flags(sheet.ink.begin(), sheet.ink.end());
    text.ink = encodeKeyed(flags.data(), sheet.width, sheet.height, sheet.width, 0);
    text.ink.pixels = nullptr;
    text.glyphs = sheet.glyphs;
    return true;
}

void closeText() {
    text = TextState{};
}

} // namespace detail

namespace {

// One line of text into the target, cut at its edges.
void drawTextInto(const char* s, int32_t x, int32_t y, const Target& t) {
    // Below the target nothing shows; the test also keeps y + a glyph's height from overflowing.
    if (s == nullptr || text.ink.rowFirst.empty() || y >= t.height) {
        return;
    }
    // Glyphs only advance rightwards, so past the right edge nothing more shows.
    for (; *s != '\0' && x < t.width; ++s) {
        int c = static_cast<unsigned char>(*s);
        if (c < FirstGlyph || c > LastGlyph) {
            c = '?';
        }
        const GlyphSheet::Glyph& g = text.glyphs[static_cast<std::size_t>(c - FirstGlyph)];
        if (!g.area.empty() && x + g.area.width() > 0 && y + g.area.height() > 0) {
            drawGlyph(g, x, y, t);
        }
        x += g.advance;
    }
}

} // namespace

void drawText(const char* s, int32_t x, int32_t y) {
    SDL_Surface* back = detail::state().backBuffer;
    if (back == nullptr) {
        return;
    }
    drawTextInto(s, x, y,
                 Target{static_cast<uint16_t*>(back->pixels), back->pitch / 2,
                        platform::ScreenWidth, platform::ScreenHeight});
}

namespace detail {

void drawTextOn(const char* s, int32_t x, int32_t y, uint16_t* pixels, int32_t width,
                int32_t height) {
    drawTextInto(s, x, y, Target{pixels, width, width, height});
}

int32_t textWidth(const char* s) {
    int32_t width = 0;
    for (; s != nullptr && *s != '\0'; ++s) {
        int c = static_cast<unsigned char>(*s);
        if (c < FirstGlyph || c > LastGlyph) {
            c = '?';
        }
        width += text.glyphs[static_cast<std::size_t>(c - FirstGlyph)].advance;
    }
    return width;
}

int32_t textHeight() {
    int32_t height = 0;
    for (const GlyphSheet::Glyph& g : text.glyphs) {
        height = std::max(height, g.area.height());
    }
    return height;
}

} // namespace detail

} // namespace display
