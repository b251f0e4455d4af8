// Reads the glyph sheet's text form: one pass to check each glyph, then the pictures laid one
// above the other.

#include "display/glyph_sheet.h"

#include <algorithm>
#include <charconv>

namespace display {
namespace {

struct Lines {
    std::string_view text;
    int number = 0;

    bool next(std::string_view& line) {
        if (text.empty()) {
            return false;
        }
        const std::size_t end = text.find('\n');
        line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++number;
        return true;
    }
};

// The whitespace-separated numbers after "glyph"; false unless there are exactly n of them.
bool readNumbers(std::string_view rest, int32_t* out, int n) {
    for (int i = 0; i < n; ++i) {
        if (rest.empty() || rest.front() != ' ') {
            return false;
        }
        rest.remove_prefix(1);
        const auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), out[i]);
        if (ec != std::errc{} || out[i] < 0) {
            return false;
        }
        rest.remove_prefix(static_cast<std::size_t>(end - rest.data()));
    }
    return rest.empty();
}

struct Parsed {
    int32_t code = 0;
    int32_t advance = 0;
    int32_t width = 0;
    int32_t height = 0;
    std::vector<std::string_view> rows;
};

bool fail(GlyphSheetError& error, int line, std::string what) {
    error = {line, std::move(what)};
    return false;
}

} // namespace

bool readGlyphSheet(std::string_view text, GlyphSheet& sheet, GlyphSheetError& error) {
    Lines lines{text};
    std::string_view line;
    std::vector<Parsed> parsed;
    std::array<bool, GlyphCount> seen{};
    bool inHeader = true;
    while (lines.next(line)) {
        if (inHeader && !line.empty() && line.front() == '#') {
            continue;
        }
        inHeader = false;
        constexpr std::string_view Keyword = "glyph";
        Parsed p;
        int32_t numbers[4];
        if (!line.starts_with(Keyword) || !readNumbers(line.substr(Keyword.size()), numbers, 4)) {
            return fail(error, lines.number, "expected \"glyph CODE ADVANCE WIDTH HEIGHT\"");
        }
        p.code = numbers[0];
        p.advance = numbers[1];
        p.width = numbers[2];
        p.height = numbers[3];
        if (p.code < FirstGlyph || p.code > LastGlyph) {
            return fail(error, lines.number, "the code is not a printable character");
        }
        if (seen[static_cast<std::size_t>(p.code - FirstGlyph)]) {
            return fail(error, lines.number, "a second picture of the same character");
        }
        seen[static_cast<std::size_t>(p.code - FirstGlyph)] = true;
        if (p.advance > GlyphLimit || p.width > GlyphLimit || p.height > GlyphLimit) {
            return fail(error, lines.number, "the glyph is larger than any font size allows");
        }
        for (int32_t row = 0; row < p.height; ++row) {
            if (!lines.next(line)) {
                return fail(error, lines.number, "the text ends inside the glyph's picture");
            }
            if (line.size() != static_cast<std::size_t>(p.width) ||
                line.find_first_not_of("#.") != std::string_view::npos) {
                return fail(error, lines.number, "a picture row is not WIDTH of '#' and '.'");
            }
            p.rows.push_back(line);
        }
        parsed.push_back(std::move(p));
    }
    for (std::size_t i = 0; i < seen.size(); ++i) {
        if (!seen[i]) {
            return fail(error, 0,
                        "the character " + std::to_string(i + FirstGlyph) + " has no glyph");
        }
    }

    sheet = GlyphSheet{};
    for (const Parsed& p : parsed) {
        if (p.width > 0 && p.height > 0) {
            sheet.width = std::max(sheet.width, p.width);
            sheet.height += p.height;
        }
    }
    sheet.ink.assign(static_cast<std::size_t>(sheet.width) * sheet.height, 0);
    int32_t top = 0;
    for (const Parsed& p : parsed) {
        GlyphSheet::Glyph& g = sheet.glyphs[static_cast<std::size_t>(p.code - FirstGlyph)];
        g.advance = p.advance;
        if (p.width == 0 || p.height == 0) {
            continue;
        }
        g.area = Rect{0, top, p.width, top + p.height};
        for (int32_t y = 0; y < p.height; ++y) {
            for (int32_t x = 0; x < p.width; ++x) {
                sheet.ink[static_cast<std::size_t>(top + y) * sheet.width + x] =
                    p.rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '#';
            }
        }
        top += p.height;
    }
    return true;
}

} // namespace display
