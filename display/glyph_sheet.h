#pragma once
// The glyph sheet: the text glyphs as zanbury-glyphgen draws them once from the font, carried by
// the executable in a small text form. Plain data without SDL, so that the tests read it too.
//
// The text form: lines starting with '#' before the first glyph are comments; then for every
// character from ' ' to '~', in any order and each once,
//     glyph CODE ADVANCE WIDTH HEIGHT
// followed by HEIGHT rows of WIDTH characters, '#' for ink and '.' for none. The picture's top
// left corner is where the text's pen stands; ADVANCE moves the pen on to the next glyph.

#include "core/rect.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace display {

inline constexpr int FirstGlyph = ' ';
inline constexpr int LastGlyph = '~';
inline constexpr int GlyphCount = LastGlyph - FirstGlyph + 1;
// No glyph is larger, nor advances further, than this many pixels.
inline constexpr int GlyphLimit = 64;

struct GlyphSheet {
    struct Glyph {
        Rect area;           // its picture within the sheet; empty when it draws nothing
        int32_t advance = 0; // pixels from its pen position to the next glyph's
    };
    // Every picture one above the other at the left edge, so that a row of the sheet holds one
    // glyph's ink only.
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> ink; // width x height flags, row by row: 1 where a glyph has ink
    std::array<Glyph, GlyphCount> glyphs{};
};

struct GlyphSheetError {
    int line = 0; // 1-based; 0 when the fault is in the sheet as a whole
    std::string what;
};

// Reads the text form into sheet. False, with error filled in and sheet unspecified, when the
// text is not a whole sheet.
bool readGlyphSheet(std::string_view text, GlyphSheet& sheet, GlyphSheetError& error);

} // namespace display
