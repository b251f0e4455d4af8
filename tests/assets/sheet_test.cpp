// The sprite sheet's rules, checked pixel by pixel on the committed file: the bitmap form,
// the atlas cells and their red frames, the key green, and the menu markers over the bullets.

#include "display/atlas.h"
#include "tests/assets/asset_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using assettest::Colour;
using assettest::Picture;

const Picture& sheet() {
    static const Picture pic =
        assettest::decodeBmp(assettest::readBytes(assettest::assetPath("sprites.bmp")));
    return pic;
}

struct Named {
    std::string name;
    Rect rect;
    Rect inside; // the inside of the cell that holds it
};

// A trimmed Rect leaves out its cell's last column and row; a few take more of the cell.
Rect grown(const Rect& r, int dx, int dy) {
    return {r.left, r.top, r.right + dx, r.bottom + dy};
}

std::vector<Named> namedRects() {
    std::vector<Named> out;
    for (const atlas::NamedRect& n : atlas::ScreenPictures) {
        out.push_back({n.name, n.rect, grown(n.rect, 1, 1)});
    }
    for (const atlas::NamedRect& n : atlas::BodyPoses) {
        const std::string name = n.name;
        const int dx = name == "BodySpread" || name == "BodySpreadAlt" ? 0 : 1;
        const int dy = name == "BodySpread" ? 0 : 1;
        out.push_back({name, n.rect, grown(n.rect, dx, dy)});
    }
    for (const atlas::NamedRect& n : atlas::Boards) {
        const int d = std::string(n.name) == "BoardGripTop" ? 0 : 1;
        out.push_back({n.name, n.rect, grown(n.rect, d, d)});
    }
    return out;
}

// Every picture area: the named Rects, and the obstacle cells, whose Rects are their insides.
std::vector<Named> allPictures() {
    std::vector<Named> out = namedRects();
    for (const atlas::ObstaclePicture& o : atlas::ObstaclePictures) {
        out.push_back({o.name, o.cell, o.cell});
    }
    out.push_back({"spare board", atlas::SpareBoardCell, atlas::SpareBoardCell});
    return out;
}

std::vector<Rect> cellInsides() {
    std::vector<Rect> cells;
    for (const Named& n : allPictures()) {
        if (std::find(cells.begin(), cells.end(), n.inside) == cells.end()) {
            cells.push_back(n.inside);
        }
    }
    return cells;
}

Rect framed(const Rect& in) {
    return {in.left - 1, in.top - 1, in.right + 1, in.bottom + 1};
}

bool overlaps(const Rect& a, const Rect& b) {
    return !intersect(a, b).empty();
}

bool within(const Rect& inner, const Rect& outer) {
    return intersect(inner, outer) == inner;
}

bool contains(const Rect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

std::string text(const Rect& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

TEST(SpriteSheetFile, IsAn24BitBottomUpBitmapWithoutColourTable) {
    const std::vector<uint8_t> b = assettest::readBytes(assettest::assetPath("sprites.bmp"));
    ASSERT_EQ(b.size(), 14u + 649080u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(assettest::u32At(b, 2), b.size());
    EXPECT_EQ(assettest::u32At(b, 10), 54u); // pixels right after the two headers
    EXPECT_EQ(assettest::u32At(b, 14), 40u);
    EXPECT_EQ(assettest::u32At(b, 18), 506u);
    EXPECT_EQ(assettest::u32At(b, 22), 427u); // positive: bottom-up
    EXPECT_EQ(assettest::u16At(b, 26), 1u);
    EXPECT_EQ(assettest::u16At(b, 28), 24u);
    EXPECT_EQ(assettest::u32At(b, 30), 0u); // no compression
    EXPECT_EQ(assettest::u32At(b, 34), 1520u * 427u);
    EXPECT_EQ(assettest::u32At(b, 46), 0u); // no colour table
    ASSERT_EQ(sheet().width, 506);
    ASSERT_EQ(sheet().height, 427);
}

TEST(SpriteSheetLayout, RectsFitTheSheetAndCellsKeepApart) {
    const Rect whole{0, 0, atlas::SheetWidth, atlas::SheetHeight};
    for (const Named& n : allPictures()) {
        EXPECT_TRUE(within(n.rect, whole)) << n.name;
        EXPECT_TRUE(within(framed(n.inside), whole)) << n.name << "'s frame";
    }
    const std::vector<Rect> cells = cellInsides();
    for (const Rect& a : cells) {
        const Rect f = framed(a);
        const Rect ring[] = {{f.left, f.top, f.right, a.top},
                             {f.left, a.bottom, f.right, f.bottom},
                             {f.left, f.top, a.left, f.bottom},
                             {a.right, f.top, f.right, f.bottom}};
        for (const Rect& b : cells) {
            if (a == b) {
                continue;
            }
            EXPECT_FALSE(overlaps(a, b)) << text(a) << " and " << text(b);
            for (const Rect& side : ring) {
                EXPECT_FALSE(overlaps(side, b)) << "frame of " << text(a) << " crosses " << text(b);
            }
        }
    }
    // The trimmed twins lie in their full pictures' cells.
    EXPECT_EQ(grown(atlas::BodySpreadTrim, 1, 1), atlas::BodySpread);
    EXPECT_EQ(grown(atlas::BodySpreadAltTrim, 1, 0), atlas::BodySpreadAlt);
    EXPECT_EQ(atlas::SpareBoardCell.width(), atlas::BoardFlat.width() + 1);
    EXPECT_EQ(atlas::SpareBoardCell.height(), atlas::BoardFlat.height() + 1);
}

TEST(SpriteSheetPixels, CellsAreFramedInRedAndNoFrameShowsInAnyRect) {
    const Picture& s = sheet();
    ASSERT_EQ(s.width, atlas::SheetWidth);
    for (int x = 0; x < s.width; ++x) {
        ASSERT_EQ(s.at(x, 0), assettest::Red) << "row 0, column " << x;
    }
    for (int y = 0; y < s.height; ++y) {
        ASSERT_EQ(s.at(0, y), assettest::Red) << "column 0, row " << y;
    }
    for (const Rect& in : cellInsides()) {
        const Rect f = framed(in);
        for (int x = f.left; x < f.right; ++x) {
            EXPECT_EQ(s.at(x, f.top), assettest::Red) << text(in);
            EXPECT_EQ(s.at(x, f.bottom - 1), assettest::Red) << text(in);
        }
        for (int y = f.top; y < f.bottom; ++y) {
            EXPECT_EQ(s.at(f.left, y), assettest::Red) << text(in);
            EXPECT_EQ(s.at(f.right - 1, y), assettest::Red) << text(in);
        }
    }
    for (const Named& n : allPictures()) {
        int red = 0;
        for (int y = n.rect.top; y < n.rect.bottom; ++y) {
            for (int x = n.rect.left; x < n.rect.right; ++x) {
                red += s.at(x, y) == assettest::Red;
            }
        }
        EXPECT_EQ(red, 0) << n.name << " would show frame red";
    }
}

TEST(SpriteSheetPixels, PicturesSitOnKeyGreenAndTheRestIsWhite) {
    const Picture& s = sheet();
    ASSERT_EQ(s.width, atlas::SheetWidth);
    const std::vector<Named> pictures = allPictures();
    for (const Named& n : namedRects()) {
        int green = 0;
        int ink = 0;
        for (int y = n.rect.top; y < n.rect.bottom; ++y) {
            for (int x = n.rect.left; x < n.rect.right; ++x) {
                (s.at(x, y) == assettest::Green ? green : ink) += 1;
            }
        }
        EXPECT_GT(green, 0) << n.name;
        EXPECT_GT(ink, 0) << n.name;
    }
    const std::vector<Rect> cells = cellInsides();
    for (int y = 0; y < s.height; ++y) {
        for (int x = 0; x < s.width; ++x) {
            const Colour c = s.at(x, y);
            ASSERT_FALSE(assettest::nearGreen(c) && !(c == assettest::Green))
                << "near-green at " << x << ", " << y;
            bool inCell = false;
            bool onFrame = false;
            for (const Rect& in : cells) {
                inCell = inCell || contains(in, x, y);
                onFrame = onFrame || contains(framed(in), x, y);
            }
            bool inRect = false;
            for (const Named& n : pictures) {
                inRect = inRect || contains(n.rect, x, y);
            }
            if (!onFrame) {
                ASSERT_EQ(c, assettest::White) << "unused pixel " << x << ", " << y;
            } else if (inCell && !inRect) {
                ASSERT_EQ(c, assettest::Green) << "cell pixel outside its Rect " << x << ", " << y;
            } else if (!inCell) {
                ASSERT_EQ(c, assettest::Red) << "frame pixel " << x << ", " << y;
            }
        }
    }
}

TEST(SpriteSheetPixels, ObstaclesStandOnTheirBottomRowAndSolidsFillTheirBox) {
    const Picture& s = sheet();
    ASSERT_EQ(s.width, atlas::SheetWidth);
    auto ink = [&s](int x, int y) { return !(s.at(x, y) == assettest::Green); };
    for (const atlas::ObstaclePicture& o : atlas::ObstaclePictures) {
        const Rect r = o.cell;
        const std::string name = o.name;
        int bottomInk = 0;
        for (int x = r.left; x < r.right; ++x) {
            bottomInk += ink(x, r.bottom - 1);
        }
        EXPECT_GT(bottomInk, 0) << name << " floats above the ground";
        if (name.find("block") != std::string::npos) {
            // The game treats the whole box as solid, so the picture fills it.
            int holes = 0;
            for (int y = r.top; y < r.bottom; ++y) {
                for (int x = r.left; x < r.right; ++x) {
                    holes += !ink(x, y);
                }
            }
            EXPECT_EQ(holes, 0) << name << " at " << text(r);
        }
        if (name == "rail") {
            int topInk = 0;
            for (int x = r.left; x < r.right; ++x) {
                topInk += ink(x, r.top);
            }
            EXPECT_GE(topInk, r.width() * 9 / 10) << "the rail's pipe runs along its top";
        }
        if (name == "ramp") {
            // Rising from left to right: each column is at least as tall as the one before.
            int previous = 0;
            for (int x = r.left; x < r.right; ++x) {
                int height = 0;
                for (int y = r.top; y < r.bottom; ++y) {
                    height += ink(x, y);
                }
                EXPECT_GE(height, previous) << "ramp column " << x - r.left;
                previous = height;
            }
            EXPECT_FALSE(ink(r.left, r.top)) << "green above the slope";
            EXPECT_EQ(previous, r.height()) << "the ramp's high end reaches the top";
        }
    }
    // The spare board is the level board again, pixel for pixel.
    for (int y = 0; y < atlas::SpareBoardCell.height(); ++y) {
        for (int x = 0; x < atlas::SpareBoardCell.width(); ++x) {
            ASSERT_EQ(s.at(atlas::SpareBoardCell.left + x, atlas::SpareBoardCell.top + y),
                      s.at(atlas::BoardFlat.left + x, atlas::BoardFlat.top + y));
        }
    }
}

TEST(SpriteSheetPixels, MarkersCoverThePanelBulletsExactly) {
    const Picture& s = sheet();
    ASSERT_EQ(s.width, atlas::SheetWidth);
    const int panelX = 361;
    const int panelY = 150;
    const Rect marker = atlas::MarkerSelected;
    ASSERT_EQ(marker.width(), 28);
    ASSERT_EQ(marker.height(), 23);
    ASSERT_EQ(atlas::MarkerOther.width(), 28);
    ASSERT_EQ(atlas::MarkerOther.height(), 23);
    const std::vector<bool> selected = assettest::inkOf(s, atlas::MarkerSelected);
    const std::vector<bool> other = assettest::inkOf(s, atlas::MarkerOther);
    EXPECT_TRUE(selected == other) << "the two markers have the same outline";

    const int itemY[] = {170, 217};
    for (int item = 0; item < 2; ++item) {
        int inkLeft = 1000, inkTop = 1000, inkRight = -1, inkBottom = -1;
        for (int my = 0; my < marker.height(); ++my) {
            for (int mx = 0; mx < marker.width(); ++mx) {
                const bool markerInk = selected[static_cast<std::size_t>(my) * 28 + mx];
                const int screenX = 359 + mx;
                const int screenY = itemY[item] + my;
                if (markerInk) {
                    inkLeft = std::min(inkLeft, screenX);
                    inkTop = std::min(inkTop, screenY);
                    inkRight = std::max(inkRight, screenX);
                    inkBottom = std::max(inkBottom, screenY);
                }
                const int px = screenX - panelX;
                const int py = screenY - panelY;
                if (px < 0 || py < 0 || px >= atlas::MenuPanel.width() ||
                    py >= atlas::MenuPanel.height()) {
                    EXPECT_FALSE(markerInk) << "marker ink off the panel at " << mx << ", " << my;
                    continue;
                }
                const Colour panel = s.at(atlas::MenuPanel.left + px, atlas::MenuPanel.top + py);
                EXPECT_EQ(!(panel == assettest::Green), markerInk)
                    << "item " << item << ", marker pixel " << mx << ", " << my;
            }
        }
        // The dot and its outline cover exactly the bullet's screen area.
        EXPECT_EQ(inkLeft, 362);
        EXPECT_EQ(inkRight, 385);
        EXPECT_EQ(inkTop, itemY[item] + 2);
        EXPECT_EQ(inkBottom, itemY[item] + 22);
    }
    // Blue for the selected item, red for the other and for the panel's own bullets, each
    // with a black edge.
    const Colour selCentre = s.at(marker.left + 14, marker.top + 13);
    const Colour otherCentre = s.at(atlas::MarkerOther.left + 14, atlas::MarkerOther.top + 13);
    const Colour bulletCentre = s.at(atlas::MenuPanel.left + 12, atlas::MenuPanel.top + 33);
    EXPECT_GT(selCentre.b, selCentre.r + 80);
    EXPECT_GT(otherCentre.r, otherCentre.b + 80);
    EXPECT_GT(bulletCentre.r, bulletCentre.b + 80);
    EXPECT_EQ(s.at(marker.left + 14, marker.top + 2), assettest::Black);
    EXPECT_EQ(s.at(atlas::MarkerOther.left + 14, atlas::MarkerOther.top + 2), assettest::Black);
}

// Rough colour families, enough to tell a cap from jeans.
bool reddish(Colour c) {
    return c.r > 150 && c.g < 120 && c.b < 120;
}
bool bluish(Colour c) {
    return c.b > 120 && c.b > c.r + 60 && c.g < 200;
}
bool greyish(Colour c) {
    return std::abs(c.r - c.g) < 16 && std::abs(c.g - c.b) < 20 && c.r > 60 && c.r < 225;
}
bool blackish(Colour c) {
    return c.r + c.g + c.b < 90;
}

int countIn(const Picture& s, const Rect& r, bool (*family)(Colour)) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            n += family(s.at(x, y));
        }
    }
    return n;
}

TEST(SpriteSheetPixels, PicturesShowTheirColours) {
    const Picture& s = sheet();
    ASSERT_EQ(s.width, atlas::SheetWidth);
    // Every pose: the red cap in the upper part, the grey shirt, blue jeans lower down.
    for (const atlas::NamedRect& n : atlas::BodyPoses) {
        const Rect r = n.rect;
        const Rect upper{r.left, r.top, r.right, r.top + r.height() / 3};
        const Rect lower{r.left, r.top + r.height() / 2, r.right, r.bottom};
        EXPECT_GT(countIn(s, upper, reddish), 20) << n.name << " cap";
        EXPECT_GT(countIn(s, r, greyish), 100) << n.name << " shirt";
        EXPECT_GT(countIn(s, lower, bluish), 100) << n.name << " jeans";
        EXPECT_GT(countIn(s, r, blackish), 100) << n.name << " outline";
    }
    EXPECT_GT(countIn(s, atlas::BoardUnderside, reddish), 100);
    EXPECT_GT(countIn(s, atlas::BoardEndOn, reddish), 5);
    EXPECT_GT(countIn(s, atlas::BoardGripTop, greyish), 100);
    for (const Rect& word :
         {atlas::TitleLogo, atlas::MenuPanel, atlas::LevelClearBanner, atlas::HighScoresBanner}) {
        EXPECT_GT(countIn(s, word, reddish), 500) << text(word);
        EXPECT_GT(countIn(s, word, blackish), 300) << text(word);
    }
    EXPECT_GT(countIn(s, atlas::CreditLine, blackish), 60);
    EXPECT_EQ(countIn(s, atlas::CreditLine, reddish), 0);
    // The level board's wheels reach its bottom row, where it meets the ground line.
    int wheelPixels = 0;
    for (int x = atlas::BoardFlat.left; x < atlas::BoardFlat.right; ++x) {
        const Colour c = s.at(x, atlas::BoardFlat.bottom - 1);
        wheelPixels += c.r > 200 && c.g > 200 && c.b > 200;
    }
    EXPECT_GE(wheelPixels, 4);
}

} // namespace
