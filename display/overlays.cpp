// The pictures that the present draws over the frame and never into the back buffer: the
// "Paused" sign, made once when the display opens, and areas of the sprite sheet as they are.

#include "display/display.h"
#include "display/display_state.h"

namespace display {

namespace detail {

void makeSign() {
    constexpr const char* Text = "Paused";
    constexpr uint16_t Panel = 0xFFFF; // white, with a black frame and black text
    constexpr int32_t Frame = 2;
    constexpr int32_t PadX = 16;
    constexpr int32_t PadY = 8;
    auto& s = state();
    const int32_t width = textWidth(Text) + 2 * PadX;
    const int32_t height = textHeight() + 2 * PadY;
    s.sign.assign(static_cast<std::size_t>(width) * height, Panel);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            if (x < Frame || y < Frame || x >= width - Frame || y >= height - Frame) {
                s.sign[static_cast<std::size_t>(y) * width + x] = 0;
            }
        }
    }
    drawTextOn(Text, PadX, PadY, s.sign.data(), width, height);
    s.signWidth = width;
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
