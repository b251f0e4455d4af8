#include "tools/artgen/sheet.h"

#include "display/atlas.h"
#include "tools/artgen/boards.h"
#include "tools/artgen/lettering.h"
#include "tools/artgen/obstacles.h"
#include "tools/artgen/skater.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace artgen {

namespace {

// How much of its cell's inside a Rect takes: most leave out the inside's last column and
// row, a few take all of it.
enum class Trim { LastColumnAndRow, Nothing, LastRow };

// The inside of the cell that holds a Rect.
Rect cellInside(const Rect& r, Trim trim) {
    switch (trim) {
    case Trim::Nothing:
        return r;
    case Trim::LastRow:
        return {r.left, r.top, r.right, r.bottom + 1};
    case Trim::LastColumnAndRow:
        break;
    }
    return {r.left, r.top, r.right + 1, r.bottom + 1};
}

struct Cell {
    const char* name;
    Rect inside;
};

struct Placed {
    const char* name;
    Rect rect;
    Trim trim;
};

// The named Rects with the share of their cell they take. BodySpreadTrim and
// BodySpreadAltTrim lie in the cells of BodySpread and BodySpreadAlt.
const Placed namedRects[] = {
    {"TitleLogo", atlas::TitleLogo, Trim::LastColumnAndRow},
    {"CreditLine", atlas::CreditLine, Trim::LastColumnAndRow},
    {"MenuPanel", atlas::MenuPanel, Trim::LastColumnAndRow},
    {"MarkerSelected", atlas::MarkerSelected, Trim::LastColumnAndRow},
    {"MarkerOther", atlas::MarkerOther, Trim::LastColumnAndRow},
    {"LevelClearBanner", atlas::LevelClearBanner, Trim::LastColumnAndRow},
    {"HighScoresBanner", atlas::HighScoresBanner, Trim::LastColumnAndRow},
    {"BodyStand", atlas::BodyStand, Trim::LastColumnAndRow},
    {"BodyCrouch", atlas::BodyCrouch, Trim::LastColumnAndRow},
    {"BodySpread", atlas::BodySpread, Trim::Nothing},
    {"BodySide", atlas::BodySide, Trim::LastColumnAndRow},
    {"BodySpreadAlt", atlas::BodySpreadAlt, Trim::LastRow},
    {"BoardFlat", atlas::BoardFlat, Trim::LastColumnAndRow},
    {"BoardNoseUp", atlas::BoardNoseUp, Trim::LastColumnAndRow},
    {"BoardUnderside", atlas::BoardUnderside, Trim::LastColumnAndRow},
    {"BoardUpsideDown", atlas::BoardUpsideDown, Trim::LastColumnAndRow},
    {"BoardGripTop", atlas::BoardGripTop, Trim::Nothing},
    {"BoardEndOn", atlas::BoardEndOn, Trim::LastColumnAndRow},
    {"BoardNoseDown", atlas::BoardNoseDown, Trim::LastColumnAndRow},
};

bool overlaps(const Rect& a, const Rect& b) {
    return !intersect(a, b).empty();
}

// The cell with its frame: one pixel more on every side.
Rect framed(const Rect& inside) {
    return {inside.left - 1, inside.top - 1, inside.right + 1, inside.bottom + 1};
}

void drawFrame(Image& sheet, const Rect& inside) {
    const Rect f = framed(inside);
    for (int x = f.left; x < f.right; ++x) {
        put(sheet, x, f.top, FrameRed);
        put(sheet, x, f.bottom - 1, FrameRed);
    }
    for (int y = f.top; y < f.bottom; ++y) {
        put(sheet, f.left, y, FrameRed);
        put(sheet, f.right - 1, y, FrameRed);
    }
}

[[noreturn]] void fail(const char* what, const char* name) {
    std::fprintf(stderr, "zanbury-artgen: %s: %s\n", what, name);
    std::exit(1);
}

// The layout is fixed by the atlas; check it once so that a wrong constant stops the
// generator instead of producing a sheet whose frames show in the game.
void checkLayout(const std::vector<Cell>& cells) {
    const Rect sheet{0, 0, atlas::SheetWidth, atlas::SheetHeight};
    for (const Cell& a : cells) {
        const Rect f = framed(a.inside);
        if (intersect(f, sheet) != f) {
            fail("cell frame leaves the sheet", a.name);
        }
        const Rect in = a.inside;
        const Rect ring[] = {{f.left, f.top, f.right, in.top},
                             {f.left, in.bottom, f.right, f.bottom},
                             {f.left, f.top, in.left, f.bottom},
                             {in.right, f.top, f.right, f.bottom}};
        for (const Cell& b : cells) {
            if (&a == &b) {
                continue;
            }
            // Neighbours may share a frame line, but no frame may cross another inside.
            if (overlaps(in, b.inside)) {
                fail("cells overlap", a.name);
            }
            for (const Rect& side : ring) {
                if (overlaps(side, b.inside)) {
                    fail("cell frame crosses another cell", a.name);
                }
            }
        }
    }
}

// Every cell of the sheet, by its inside; two Rects that share a cell appear once.
std::vector<Cell> sheetCells() {
    std::vector<Cell> cells;
    for (const Placed& p : namedRects) {
        cells.push_back({p.name, cellInside(p.rect, p.trim)});
    }
    for (const atlas::ObstaclePicture& o : atlas::ObstaclePictures) {
        cells.push_back({o.name, o.cell});
    }
    cells.push_back({"spare board", atlas::SpareBoardCell});
    return cells;
}

} // namespace

Image buildSheet() {
    Image sheet = makeImage(atlas::SheetWidth, atlas::SheetHeight, White);
    const std::vector<Cell> cells = sheetCells();
    checkLayout(cells);
    for (const Cell& c : cells) {
        drawFrame(sheet, c.inside);
        fillBox(sheet, c.inside.left, c.inside.top, c.inside.right, c.inside.bottom, KeyGreen);
    }
    auto place = [&sheet](const Image& pic, const Rect& r) { paste(sheet, pic, r.left, r.top); };

    place(drawTitleLogo(), atlas::TitleLogo);
    place(drawCreditLine(), atlas::CreditLine);
    place(drawMenuPanel(), atlas::MenuPanel);
    place(drawMarker(true), atlas::MarkerSelected);
    place(drawMarker(false), atlas::MarkerOther);
    place(drawLevelClearBanner(), atlas::LevelClearBanner);
    place(drawHighScoresBanner(), atlas::HighScoresBanner);

    place(drawBodyStand(), atlas::BodyStand);
    place(drawBodyCrouch(), atlas::BodyCrouch);
    place(drawBodySpread(), atlas::BodySpread);
    place(drawBodySide(), atlas::BodySide);
    place(drawBodySpreadAlt(), atlas::BodySpreadAlt);

    const Image flat = drawBoardFlat();
    place(flat, atlas::BoardFlat);
    place(flat, atlas::SpareBoardCell);
    place(drawBoardNoseUp(), atlas::BoardNoseUp);
    place(drawBoardUnderside(), atlas::BoardUnderside);
    place(drawBoardUpsideDown(), atlas::BoardUpsideDown);
    place(drawBoardGripTop(), atlas::BoardGripTop);
    place(drawBoardEndOn(), atlas::BoardEndOn);
    place(drawBoardNoseDown(), atlas::BoardNoseDown);

    for (const atlas::ObstaclePicture& o : atlas::ObstaclePictures) {
        place(drawObstacle(o.name, o.cell), o.cell);
    }

    for (const Rgb& c : sheet.pixels) {
        if (isNearGreen(c) && c != KeyGreen) {
            fail("a colour near the key green", "sprite sheet");
        }
    }
    return sheet;
}

} // namespace artgen
