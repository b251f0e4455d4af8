// Text: the printable ASCII glyphs of the embedded font are rendered once, without anti-aliasing,
// into keyed surfaces of the back buffer's format; a text is then a row of keyed blits.

#include "display/display.h"
#include "display/display_state.h"
#include "display/resources.h"

#include <SDL_ttf.h>

#include <array>
#include <cstdio>

namespace display {
namespace {

constexpr int FontPoints = 12;
constexpr int FirstGlyph = 32;
constexpr int LastGlyph = 126;

struct Glyph {
    SDL_Surface* surface = nullptr;
    int advance = 0;
};

struct TextState {
    std::array<Glyph, LastGlyph - FirstGlyph + 1> glyphs{};
    bool ttfStarted = false;
};

TextState text;

// The glyph background is made this colour, which no glyph pixel has, and keyed out.
constexpr SDL_Color Background{255, 0, 255, 255};
constexpr SDL_Color Ink{0, 0, 0, 255};

} // namespace

namespace detail {

bool openText() {
    if (TTF_Init() != 0) {
        std::fprintf(stderr, "zanbury: cannot start the text renderer: %s\n", TTF_GetError());
        return false;
    }
    text.ttfStarted = true;
    const resources::Resource* res = resources::find("FONT");
    TTF_Font* font =
        res == nullptr ? nullptr
                       : TTF_OpenFontRW(SDL_RWFromConstMem(res->data, static_cast<int>(res->size)),
                                        1, FontPoints);
    if (font == nullptr) {
        std::fprintf(stderr, "zanbury: cannot open the text font: %s\n", TTF_GetError());
        return false;
    }
    TTF_SetFontHinting(font, TTF_HINTING_MONO);
    for (int c = FirstGlyph; c <= LastGlyph; ++c) {
        Glyph& g = text.glyphs[static_cast<std::size_t>(c - FirstGlyph)];
        int minX = 0, maxX = 0, minY = 0, maxY = 0;
        TTF_GlyphMetrics(font, static_cast<Uint16>(c), &minX, &maxX, &minY, &maxY, &g.advance);
        SDL_Surface* solid = TTF_RenderGlyph_Solid(font, static_cast<Uint16>(c), Ink);
        if (solid == nullptr) {
            continue; // a glyph the font lacks draws nothing but still advances
        }
        if (solid->format->palette != nullptr && solid->format->palette->ncolors > 0) {
            SDL_SetPaletteColors(solid->format->palette, &Background, 0, 1);
        }
        SDL_SetColorKey(solid, SDL_FALSE, 0);
        g.surface = SDL_ConvertSurfaceFormat(solid, SDL_PIXELFORMAT_RGB565, 0);
        SDL_FreeSurface(solid);
        if (g.surface != nullptr) {
            SDL_SetColorKey(
                g.surface, SDL_TRUE | SDL_RLEACCEL,
                SDL_MapRGB(g.surface->format, Background.r, Background.g, Background.b));
            SDL_SetSurfaceBlendMode(g.surface, SDL_BLENDMODE_NONE);
        }
    }
    TTF_CloseFont(font);
    return true;
}

void closeText() {
    for (Glyph& g : text.glyphs) {
        SDL_FreeSurface(g.surface);
        g = Glyph{};
    }
    if (text.ttfStarted) {
        TTF_Quit();
        text.ttfStarted = false;
    }
}

} // namespace detail

void drawText(const char* s, int32_t x, int32_t y) {
    SDL_Surface* back = detail::state().backBuffer;
    if (back == nullptr || s == nullptr) {
        return;
    }
    for (; *s != '\0'; ++s) {
        int c = static_cast<unsigned char>(*s);
        if (c < FirstGlyph || c > LastGlyph) {
            c = '?';
        }
        const Glyph& g = text.glyphs[static_cast<std::size_t>(c - FirstGlyph)];
        if (g.surface != nullptr) {
            SDL_Rect d{x, y, 0, 0};
            SDL_BlitSurface(g.surface, nullptr, back, &d); // text, unlike blits, is clipped
        }
        x += g.advance;
    }
}

} // namespace display
