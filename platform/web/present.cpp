// The browser platform's present: the 640 x 480 RGB565 picture with the overlays (the "Paused"
// sign, the lives, the cards, the note) drawn into a copy of it, handed to the page as it is,
// which uploads it as a texture and scales it in the player's look (web/present.js). The
// overlays go where a window of the picture's own size would have them, into the picture rather
// than as textures of their own, so that the page uploads one texture a frame and its WebGL and
// 2D canvas paths show the same pixels. The picture's box on the stage in each look is the
// game's own rule (platform/layout), which the page asks through zanbury_picture_box.

#include "platform/layout.h"
#include "platform/platform.h"
#include "platform/rasterisers.h"
#include "platform/scaler.h"
#include "platform/sdl/sdl_state.h"
#include "platform/web/page.h"

#include <emscripten.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace platform::detail {
namespace {

struct PresentState {
    std::vector<uint16_t> picture; // what the page is given: the picture, the overlays on it
    bool shown = false;            // a picture has been handed to the page
    bool audioOpen = false;
};

PresentState present;

void drawOverlay(const Picture& picture, const layout::Box& at) {
    scaler::drawOver(picture, at.w / std::max(1, picture.width), at.x, at.y, present.picture.data(),
                     ScreenWidth * 2, ScreenWidth, ScreenHeight);
}

} // namespace

void openPresent() {
    present.picture.assign(static_cast<std::size_t>(ScreenWidth) * ScreenHeight, 0);
    present.shown = false;
    present.audioOpen = false;
}

void closePresent() {
    present.picture = {};
}

} // namespace platform::detail

namespace platform {

void presentFrame(const uint16_t* pixels, int pitchBytes, const Overlays& overlays) {
    using detail::present;
    using detail::sdl;
    if (present.picture.empty()) {
        return; // no window
    }
    // The tick the pacer read just before this present, which the pacing rule measures from; a
    // read of its own here would also count whatever ran between the two.
    const uint32_t tick = sdl.lastTick;
    // Opening the sound device makes the browser's audio context, which takes a tenth of a
    // second or more: it waits until the first picture has been shown, at the second present,
    // since no sound plays before the player's first key press in any case.
    if (present.shown && !present.audioOpen) {
        present.audioOpen = true;
        detail::openAudio();
    }
    for (int y = 0; y < ScreenHeight; ++y) {
        std::memcpy(present.picture.data() + static_cast<std::ptrdiff_t>(y) * ScreenWidth,
                    scaler::pictureRow(pixels, pitchBytes, y), ScreenWidth * sizeof(uint16_t));
    }
    const layout::Box whole{0, 0, ScreenWidth, ScreenHeight};
    layout::forEachOverlay(overlays, {sdl.settings.lives, sdl.settings.standing}, whole,
                           ScreenWidth, detail::drawOverlay);
    zanbury_page_show(present.picture.data(), ScreenWidth, ScreenHeight, tick,
                      static_cast<int>(sdl.settings.look));
    present.shown = true;
}

} // namespace platform

extern "C" EMSCRIPTEN_KEEPALIVE const int* zanbury_picture_box(int look, int width, int height) {
    static int box[4];
    const auto shown = look == static_cast<int>(settings::Look::Whole)     ? settings::Look::Whole
                       : look == static_cast<int>(settings::Look::Stretch) ? settings::Look::Stretch
                                                                           : settings::Look::Sharp;
    const layout::Box b = layout::pictureBox(shown, width, height);
    box[0] = b.x;
    box[1] = b.y;
    box[2] = b.w;
    box[3] = b.h;
    return box;
}

// Whether the page's WebGL renderer draws on the processor, where the 2D canvas costs less: the
// same names the desktop's present goes by.
extern "C" EMSCRIPTEN_KEEPALIVE int zanbury_software_rasteriser(const char* renderer) {
    return platform::softwareRasteriser(renderer) ? 1 : 0;
}
