// zanbury-glyphgen OUTDIR: draws the game's text glyphs once from DejaVu Sans Bold at 12 points,
// hinted for monochrome and without anti-aliasing, and writes them as the glyph sheet
// OUTDIR/glyphs.txt (its form is in display/glyph_sheet.h). The same fonts and SDL2_ttf always
// give the same bytes, which the game then draws without SDL2_ttf or the font.

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

const char* const FontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
constexpr int FontPoints = 12;
constexpr int FirstGlyph = ' ';
constexpr int LastGlyph = '~';

// One glyph as text: its header line and the rows of its picture. A solid rendering has
// palette index 0 for the background and 1 for ink; false for any other pixel.
bool appendGlyph(TTF_Font* font, int code, std::string& out) {
    int minX = 0, maxX = 0, minY = 0, maxY = 0, advance = 0;
    if (TTF_GlyphMetrics(font, static_cast<Uint16>(code), &minX, &maxX, &minY, &maxY, &advance) !=
        0) {
        advance = 0;
    }
    SDL_Surface* solid = TTF_RenderGlyph_Solid(font, static_cast<Uint16>(code), {0, 0, 0, 255});
    const int width = solid != nullptr ? solid->w : 0; // a glyph the font lacks only advances
    const int height = solid != nullptr ? solid->h : 0;
    out += "glyph " + std::to_string(code) + " " + std::to_string(advance) + " " +
           std::to_string(width) + " " + std::to_string(height) + "\n";
    bool ok = solid == nullptr || solid->format->BytesPerPixel == 1;
    for (int y = 0; ok && y < height; ++y) {
        const auto* row = static_cast<const Uint8*>(solid->pixels) + y * solid->pitch;
        for (int x = 0; x < width; ++x) {
            ok = ok && row[x] <= 1;
            out += row[x] != 0 ? '#' : '.';
        }
        out += '\n';
    }
    SDL_FreeSurface(solid);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zanbury-glyphgen OUTDIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::error_code error;
    if (!std::filesystem::is_directory(dir, error)) {
        std::fprintf(stderr, "zanbury-glyphgen: %s is not a directory\n", dir.c_str());
        return 1;
    }
    if (TTF_Init() != 0) {
        std::fprintf(stderr, "zanbury-glyphgen: cannot start SDL2_ttf: %s\n", TTF_GetError());
        return 1;
    }
    TTF_Font* font = TTF_OpenFont(FontPath, FontPoints);
    if (font == nullptr) {
        std::fprintf(stderr, "zanbury-glyphgen: cannot open %s: %s\n", FontPath, TTF_GetError());
        TTF_Quit();
        return 1;
    }
    TTF_SetFontHinting(font, TTF_HINTING_MONO);
    std::string sheet = "# The game's text glyphs: DejaVu Sans Bold, 12 points, mono hinting, no\n"
                        "# anti-aliasing. Made by zanbury-glyphgen: do not edit.\n";
    bool ok = true;
    for (int code = FirstGlyph; ok && code <= LastGlyph; ++code) {
        ok = appendGlyph(font, code, sheet);
    }
    TTF_CloseFont(font);
    TTF_Quit();
    if (!ok) {
        std::fprintf(stderr, "zanbury-glyphgen: a glyph was not drawn in two colours\n");
        return 1;
    }
    const std::string path = dir + "/glyphs.txt";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    bool written = f != nullptr && std::fwrite(sheet.data(), 1, sheet.size(), f) == sheet.size();
    written = f != nullptr && std::fclose(f) == 0 && written;
    if (!written) {
        std::fprintf(stderr, "zanbury-glyphgen: cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}
