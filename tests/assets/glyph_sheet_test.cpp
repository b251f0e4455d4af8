// The glyph sheet: the committed sheet holds a drawable glyph for every character the game can
// write, and the reader lays pictures out one above the other as written and refuses a sheet that
// is not whole.

#include "display/glyph_sheet.h"
#include "tests/assets/asset_files.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using display::GlyphSheet;
using display::GlyphSheetError;

const GlyphSheet::Glyph& glyphOf(const GlyphSheet& sheet, char c) {
    return sheet.glyphs[static_cast<std::size_t>(c - display::FirstGlyph)];
}

int inkIn(const GlyphSheet& sheet, const Rect& area) {
    int ink = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            ink += sheet.ink[static_cast<std::size_t>(y) * sheet.width + x];
        }
    }
    return ink;
}

TEST(GlyphSheetFile, DrawsEveryPrintableCharacterOnOneLine) {
    const std::vector<uint8_t> bytes = assettest::readBytes(assettest::assetPath("glyphs.txt"));
    GlyphSheet sheet;
    GlyphSheetError error;
    ASSERT_TRUE(display::readGlyphSheet(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), sheet, error))
        << "line " << error.line << ": " << error.what;
    for (int c = display::FirstGlyph; c <= display::LastGlyph; ++c) {
        const GlyphSheet::Glyph& g = glyphOf(sheet, static_cast<char>(c));
        EXPECT_GT(g.advance, 0) << "character " << c;
        // The game's lines are 20 pixels apart or more, so no glyph is as tall.
        EXPECT_LT(g.area.height(), 20) << "character " << c;
        if (c != ' ') {
            EXPECT_GT(inkIn(sheet, g.area), 0) << "character " << c << " draws nothing";
        }
    }
    EXPECT_EQ(inkIn(sheet, glyphOf(sheet, ' ').area), 0);
    // The longest line the game writes fits on the screen from its left margin.
    int width = 0;
    for (char c : std::string("Press enter to continue...")) {
        width += glyphOf(sheet, c).advance;
    }
    EXPECT_LT(10 + width, 640);
}

// A whole sheet of 1 x 1 glyphs, inked for the letters only, after one comment line: glyph c
// starts on line 2 + 2 * (c - 32), so 'A' on line 68. The lines of 'A' are given apart.
std::string smallSheet(const std::string& glyphA = "glyph 65 3 1 1\n#\n") {
    std::string text = "# a comment\n";
    for (int c = display::FirstGlyph; c <= display::LastGlyph; ++c) {
        if (c == 'A') {
            text += glyphA;
            continue;
        }
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'B' && c <= 'Z');
        text += "glyph " + std::to_string(c) + " 2 1 1\n" + (letter ? "#\n" : ".\n");
    }
    return text;
}

TEST(GlyphSheetReader, StacksThePicturesAndRefusesASheetThatIsNotWhole) {
    GlyphSheet sheet;
    GlyphSheetError error;
    ASSERT_TRUE(display::readGlyphSheet(smallSheet("glyph 65 7 2 3\n#.\n.#\n##\n"), sheet, error))
        << error.what;
    EXPECT_EQ(sheet.width, 2);
    EXPECT_EQ(sheet.height, display::GlyphCount - 1 + 3);
    const GlyphSheet::Glyph& a = glyphOf(sheet, 'A');
    EXPECT_EQ(a.advance, 7);
    ASSERT_EQ(a.area, (Rect{0, 'A' - display::FirstGlyph, 2, 'A' - display::FirstGlyph + 3}));
    EXPECT_EQ(inkIn(sheet, a.area), 4);
    EXPECT_EQ(sheet.ink[static_cast<std::size_t>(a.area.top + 1) * sheet.width + 1], 1);
    EXPECT_EQ(sheet.ink[static_cast<std::size_t>(a.area.top + 1) * sheet.width], 0);
    EXPECT_EQ(glyphOf(sheet, 'B').area.top, a.area.bottom);
    EXPECT_EQ(inkIn(sheet, glyphOf(sheet, 'B').area), 1);
    EXPECT_EQ(inkIn(sheet, glyphOf(sheet, '@').area), 0);
    // A glyph with no picture only advances.
    ASSERT_TRUE(display::readGlyphSheet(smallSheet("glyph 65 5 0 0\n"), sheet, error));
    EXPECT_TRUE(glyphOf(sheet, 'A').area.empty());
    EXPECT_EQ(glyphOf(sheet, 'A').advance, 5);

    struct Broken {
        std::string text;
        int line;
    };
    const Broken broken[] = {
        {smallSheet(""), 0},                       // 'A' missing
        {smallSheet("glyph 66 3 1 1\n#\n"), 70},   // 'B' twice, 'A' missing
        {smallSheet("glyph 65 3 2 1\n#\n"), 69},   // a row too short
        {smallSheet("glyph 65 3 1 1\nx\n"), 69},   // not ink nor blank
        {smallSheet("glyph 65 3 1\n#\n"), 68},     // a number missing
        {smallSheet("glyph 65 3 1 1 9\n#\n"), 68}, // a number too many
        {smallSheet("glyph 65 -3 1 1\n#\n"), 68},  // a negative advance
        {smallSheet("glyph 65 3 65 1\n" + std::string(65, '#') + "\n"), 68}, // too wide
        {smallSheet() + "glyph 127 2 1 1\n.\n", 192},                        // not printable
        {smallSheet() + "# a late comment\n", 192},           // comments only at the top
        {smallSheet().substr(0, smallSheet().size() - 2), 0}, // ends inside '~'
    };
    for (const Broken& b : broken) {
        SCOPED_TRACE(b.text.substr(b.text.size() > 40 ? b.text.size() - 40 : 0));
        error = {};
        EXPECT_FALSE(display::readGlyphSheet(b.text, sheet, error));
        EXPECT_FALSE(error.what.empty());
        if (b.line != 0) {
            EXPECT_EQ(error.line, b.line) << error.what;
        }
    }
}

} // namespace
