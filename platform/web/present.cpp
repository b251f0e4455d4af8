// The browser platform's present: the 640 x 480 RGB565 picture widened to RGBA bytes with the
// overlays (the "Paused" sign, the lives) drawn over it, and handed to the page, which shows it
// in the player's look (web/page.js): sharp bilinear, whole-number or stretched to the stage.
// The canvas draws what it is given at the browser's next paint, once the frame's wait yields.
// The overlays go where a window of the picture's own size would have them: the lives in a row
// from its top-right corner, the sign centred.

#include "platform/layout.h"
#include "platform/platform.h"
#include "platform/scaler.h"
#include "platform/sdl/sdl_state.h"
#include "platform/web/page.h"

#include <algorithm>
#include <vector>

namespace platform::detail {
namespace {

struct PresentState {
    std::vector<uint32_t> rgba; // the picture as the page's canvas takes it
    // Memory is little-endian: red is the lowest byte, alpha the highest.
    scaler::Widen widen = scaler::makeWiden(0, 8, 16, 0xff000000u);
};

PresentState present;

void drawOverlay(const Picture& picture, const layout::Box& at) {
    scaler::drawOver(picture, present.widen, at.w / std::max(1, picture.width), at.x, at.y,
                     present.rgba.data(), ScreenWidth * 4, ScreenWidth, ScreenHeight);
}

} // namespace

void openPresent() {
    present.rgba.assign(static_cast<std::size_t>(ScreenWidth) * ScreenHeight, 0);
}

void closePresent() {
    present.rgba = {};
}

} // namespace platform::detail

namespace platform {

void presentFrame(const uint16_t* pixels, int pitchBytes, const Overlays& overlays) {
    using detail::present;
    using detail::sdl;
    if (present.rgba.empty()) {
        return; // no window
    }
    // The tick the pacer read just before this present, which the pacing rule measures from; a
    // read of its own here would also count whatever ran between the two.
    const uint32_t tick = sdl.lastTick;
    for (int y = 0; y < ScreenHeight; ++y) {
        scaler::widenRow(present.widen, scaler::pictureRow(pixels, pitchBytes, y),
                         present.rgba.data() + static_cast<std::ptrdiff_t>(y) * ScreenWidth,
                         ScreenWidth);
    }
    const layout::Box whole{0, 0, ScreenWidth, ScreenHeight};
    layout::forEachOverlay(overlays, {sdl.settings.lives, sdl.settings.standing}, whole,
                           ScreenWidth, detail::drawOverlay);
    zanbury_page_show(reinterpret_cast<const uint8_t*>(present.rgba.data()), ScreenWidth,
                      ScreenHeight, tick, static_cast<int>(sdl.settings.look));
}

} // namespace platform
