// The map of the sprite sheet: the sheet twice its size, every obstacle picture of the atlas
// outlined and numbered in the atlas's order, as the park checker's catalogue numbers them, and
// everything else faded; under it, each number's name and rectangle as a park file gives it.

#include "display/atlas.h"
#include "display/resources.h"
#include "tools/parkmap/parkmap.h"

#include <SDL.h>

#include <iterator>

namespace parkmap {
namespace {

constexpr int32_t Scale = 2;
constexpr int32_t Margin = 10;
constexpr int32_t LegendColumns = 3;
constexpr int32_t LegendLine = 18;
constexpr uint32_t Outline = 0xff00ff;
constexpr uint32_t White = 0xffffff;

// The sheet as the executable carries it, 0xRRGGBB a pixel; false with the reason in `error`.
bool readSheet(std::vector<uint32_t>& pixels, std::string& error) {
    const resources::Resource* r = resources::find("SPRITES");
    SDL_Surface* loaded =
        r == nullptr ? nullptr
                     : SDL_LoadBMP_RW(SDL_RWFromConstMem(r->data, static_cast<int>(r->size)), 1);
    SDL_Surface* sheet =
        loaded == nullptr ? nullptr : SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_XRGB8888, 0);
    SDL_FreeSurface(loaded);
    if (sheet == nullptr || sheet->w != atlas::SheetWidth || sheet->h != atlas::SheetHeight) {
        error = std::string("cannot read the sprite sheet: ") +
                (sheet == nullptr ? SDL_GetError() : "it is not 506 x 427");
        SDL_FreeSurface(sheet);
        return false;
    }
    pixels.resize(static_cast<std::size_t>(sheet->w) * sheet->h);
    for (int32_t y = 0; y < sheet->h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(sheet->pixels) + y * sheet->pitch);
        for (int32_t x = 0; x < sheet->w; ++x) {
            pixels[static_cast<std::size_t>(y * sheet->w + x)] = row[x] & 0xffffffu;
        }
    }
    SDL_FreeSurface(sheet);
    return true;
}

bool inObstaclePicture(int32_t x, int32_t y) {
    for (const atlas::ObstaclePicture& p : atlas::ObstaclePictures) {
        if (p.cell.left <= x && x < p.cell.right && p.cell.top <= y && y < p.cell.bottom) {
            return true;
        }
    }
    return false;
}

// Two thirds white over a third of the colour.
uint32_t faded(uint32_t rgb) {
    uint32_t out = 0;
    for (int shift : {16, 8, 0}) {
        out |= ((((rgb >> shift) & 0xffu) + 2 * 0xffu) / 3) << shift;
    }
    return out;
}

} // namespace

bool drawSheetMap(Canvas& canvas, std::string& error) {
    std::vector<uint32_t> sheet;
    if (!readSheet(sheet, error)) {
        return false;
    }
    constexpr int32_t count = static_cast<int32_t>(std::size(atlas::ObstaclePictures));
    constexpr int32_t legendRows = (count + LegendColumns - 1) / LegendColumns;
    constexpr int32_t sheetTop = HeaderHeight;
    constexpr int32_t legendTop = sheetTop + Scale * atlas::SheetHeight + Margin;
    canvas.width = Scale * atlas::SheetWidth + 2 * Margin;
    canvas.height = legendTop + legendRows * LegendLine + Margin;
    canvas.pixels.assign(static_cast<std::size_t>(canvas.width) * canvas.height, White);
    text(canvas, Margin, 6,
         "The sprite sheet's obstacle pictures at twice their size; below, their top, left, "
         "bottom and right in a park file's order");

    for (int32_t y = 0; y < atlas::SheetHeight; ++y) {
        for (int32_t x = 0; x < atlas::SheetWidth; ++x) {
            const uint32_t rgb = sheet[static_cast<std::size_t>(y * atlas::SheetWidth + x)];
            fill(canvas, Margin + Scale * x, sheetTop + Scale * y, Scale, Scale,
                 inObstaclePicture(x, y) ? rgb : faded(rgb));
        }
    }
    const int32_t columnWidth = (canvas.width - 2 * Margin) / LegendColumns;
    for (int32_t i = 0; i < count; ++i) {
        const Rect& cell = atlas::ObstaclePictures[i].cell;
        const int32_t left = Margin + Scale * cell.left;
        const int32_t top = sheetTop + Scale * cell.top;
        const int32_t width = Scale * cell.width();
        const int32_t height = Scale * cell.height();
        // The outline lies just outside the picture, over the red lines of its cell.
        fill(canvas, left - 2, top - 2, width + 4, 2, Outline);
        fill(canvas, left - 2, top + height, width + 4, 2, Outline);
        fill(canvas, left - 2, top, 2, height, Outline);
        fill(canvas, left + width, top, 2, height, Outline);
        const std::string number = std::to_string(i + 1);
        fill(canvas, left, top, textWidth(number) + 4, 14, White);
        text(canvas, left + 2, top, number);

        const std::string entry = std::string(atlas::ObstaclePictures[i].name) + ": " +
                                  std::to_string(cell.top) + " " + std::to_string(cell.left) + " " +
                                  std::to_string(cell.bottom) + " " + std::to_string(cell.right);
        const int32_t x = Margin + (i / legendRows) * columnWidth;
        const int32_t y = legendTop + (i % legendRows) * LegendLine;
        text(canvas, x, y, number);
        text(canvas, x + 22, y, entry);
    }
    return true;
}

} // namespace parkmap
