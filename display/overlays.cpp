// The pictures that the present draws over the frame and never into the back buffer: the
// "Paused" sign, made once when the display opens, the cards of text (the keys, the standing, a
// note), remade when their lines change, and areas of the sprite sheet as they are.

#include "display/display.h"
#include "display/display_state.h"

#include <algorithm>

namespace display {
namespace {

// A panel of lines of text: white, with a black frame and black text, `width` pixels a row.
int32_t makePanel(const std::vector<std::string>& lines, std::vector<uint16_t>& pixels) {
    constexpr uint16_t Panel = 0xFFFF;
    constexpr int32_t Frame = 2;
    constexpr int32_t PadX = 16;
    constexpr int32_t PadY = 8;
    constexpr int32_t Leading = 4;
    int32_t widest = 0;
    for (const std::string& line : lines) {
        widest = std::max(widest, detail::textWidth(line.c_str()));
    }
    const int32_t lineHeight = detail::textHeight() + Leading;
    const int32_t width = widest + 2 * PadX;
    const int32_t height = static_cast<int32_t>(lines.size()) * lineHeight - Leading + 2 * PadY;
    pixels.assign(static_cast<std::size_t>(width) * height, Panel);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            if (x < Frame || y < Frame || x >= width - Frame || y >= height - Frame) {
                pixels[static_cast<std::size_t>(y) * width + x] = 0;
            }
        }
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        detail::drawTextOn(lines[i].c_str(), PadX, PadY + static_cast<int32_t>(i) * lineHeight,
                           pixels.data(), width, height);
    }
    return width;
}

} // namespace

namespace detail {

void makeSign() {
    auto& s = state();
    s.signWidth = makePanel({"Paused"}, s.sign);
}

} // namespace detail

platform::Picture pausedSign() {
    const auto& s = detail::state();
    if (s.signWidth == 0) {
        return {};
    }
    return platform::Picture{s.sign.data(), s.signWidth * 2, s.signWidth,
                             static_cast<int>(s.sign.size()) / s.signWidth, -1};
}

platform::Picture card(Card slot, const std::vector<std::string>& lines) {
    auto& made = detail::state().cards[static_cast<int>(slot)];
    if (lines.empty() || detail::textHeight() == 0) {
        return {};
    }
    if (made.lines != lines) {
        made.lines = lines;
        made.width = makePanel(lines, made.pixels);
    }
    return platform::Picture{made.pixels.data(), made.width * 2, made.width,
                             static_cast<int>(made.pixels.size()) / made.width, -1};
}

platform::Picture spritePicture(const Rect& area) {
    const SDL_Surface* sheet = detail::state().sheet;
    if (sheet == nullptr || area.empty() || area.left < 0 || area.top < 0 ||
        area.right > sheet->w || area.bottom > sheet->h) {
        return {};
    }
    const auto* row = static_cast<const uint8_t*>(sheet->pixels) +
                      static_cast<std::ptrdiff_t>(area.top) * sheet->pitch;
    return platform::Picture{reinterpret_cast<const uint16_t*>(row) + area.left, sheet->pitch,
                             area.width(), area.height(),
                             static_cast<int32_t>(detail::state().key)};
}

} // namespace display
