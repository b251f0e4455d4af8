// The browser platform's present: the 640 x 480 RGB565 picture widened to RGBA bytes and handed
// to the page, which scales it sharply to the size it is shown at (web/page.js). The canvas
// draws what it is given at the browser's next paint, once the frame's wait yields.

#include "platform/platform.h"
#include "platform/sdl/sdl_state.h"
#include "platform/web/page.h"

#include <vector>

namespace platform::detail {
namespace {

struct PresentState {
    std::vector<uint32_t> rgba;  // the picture as the page's canvas takes it
    uint32_t fromHigh[256] = {}; // a picture pixel as RGBA is
    uint32_t fromLow[256] = {};  // fromHigh[pixel >> 8] | fromLow[pixel & 0xff]
};

PresentState present;

// The 5- and 6-bit channels are widened by repeating their top bits, so that black stays 0 and
// white 255, as on the desktop. Memory is little-endian: red is the lowest byte, alpha the top.
void makeTables() {
    for (uint32_t byte = 0; byte < 256; ++byte) {
        const uint32_t red = byte >> 3;      // the high byte: RRRRRGGG
        const uint32_t greenTop = byte & 7u; // green's top three bits
        present.fromHigh[byte] =
            (red << 3 | red >> 2) | (greenTop << 5 | greenTop >> 1) << 8 | 0xff000000u;
        const uint32_t greenLow = byte >> 5; // the low byte: GGGBBBBB
        const uint32_t blue = byte & 31u;
        present.fromLow[byte] = (greenLow << 2) << 8 | (blue << 3 | blue >> 2) << 16;
    }
}

} // namespace

void openPresent() {
    makeTables();
    present.rgba.assign(static_cast<std::size_t>(ScreenWidth) * ScreenHeight, 0);
}

void closePresent() {
    present.rgba = {};
}

} // namespace platform::detail

namespace platform {

void presentFrame(const uint16_t* pixels, int pitchBytes) {
    using detail::present;
    if (present.rgba.empty()) {
        return; // no window
    }
    const uint32_t tick = tickCount(); // right after the pacer's own read, before any work
    uint32_t* out = present.rgba.data();
    for (int y = 0; y < ScreenHeight; ++y) {
        const auto* row = reinterpret_cast<const uint16_t*>(
            reinterpret_cast<const uint8_t*>(pixels) + static_cast<std::ptrdiff_t>(y) * pitchBytes);
        for (int x = 0; x < ScreenWidth; ++x) {
            const uint16_t pixel = row[x];
            *out++ = present.fromHigh[pixel >> 8] | present.fromLow[pixel & 0xff];
        }
    }
    zanbury_page_show(reinterpret_cast<const uint8_t*>(present.rgba.data()), ScreenWidth,
                      ScreenHeight, tick);
}

} // namespace platform
