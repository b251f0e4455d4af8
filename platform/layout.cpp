// The picture's place in the window for each look, and the overlays' places (see layout.h).

#include "platform/layout.h"
#include "platform/platform.h"

#include <algorithm>

namespace layout {
namespace {

constexpr int W = platform::ScreenWidth;
constexpr int H = platform::ScreenHeight;

Box fitted(int width, int height) {
    Box b;
    if (static_cast<long long>(width) * H >= static_cast<long long>(height) * W) {
        b.h = height;
        b.w = static_cast<int>((static_cast<long long>(height) * W * 2 + H) / (2 * H));
    } else {
        b.w = width;
        b.h = static_cast<int>((static_cast<long long>(width) * H * 2 + W) / (2 * W));
    }
    b.w = std::max(1, b.w);
    b.h = std::max(1, b.h);
    b.x = (width - b.w) / 2;
    b.y = (height - b.h) / 2;
    return b;
}

} // namespace

Box pictureBox(settings::Look look, int windowWidth, int windowHeight) {
    windowWidth = std::max(1, windowWidth);
    windowHeight = std::max(1, windowHeight);
    switch (look) {
    case settings::Look::Whole: {
        const int scale = std::min(windowWidth / W, windowHeight / H);
        if (scale >= 1) {
            return Box{(windowWidth - W * scale) / 2, (windowHeight - H * scale) / 2, W * scale,
                       H * scale};
        }
        return fitted(windowWidth, windowHeight);
    }
    case settings::Look::Stretch:
        return Box{0, 0, windowWidth, windowHeight};
    case settings::Look::Sharp:
        break;
    }
    return fitted(windowWidth, windowHeight);
}

int overlayScale(const Box& picture) {
    return std::max(1, std::min(picture.w / W, picture.h / H));
}

Box lifeBox(const Box& picture, int windowWidth, int width, int height, int index) {
    const int n = overlayScale(picture);
    const int w = width * n;
    const int h = height * n;
    const int gap = 6 * n;
    const int margin = windowWidth - (picture.x + picture.w);
    if (margin >= w + 2 * gap) {
        return Box{picture.x + picture.w + (margin - w) / 2, picture.y + 10 * n + index * (h + gap),
                   w, h};
    }
    return Box{picture.x + picture.w - 10 * n - (index + 1) * w - index * gap, picture.y + 10 * n,
               w, h};
}

namespace {

// Twice the overlays' scale, so that it reads at a glance, where it fits in `share` of the
// picture's width.
int readableScale(const Box& picture, int width, double share) {
    return 2 * width * overlayScale(picture) <= picture.w * share ? 2 * overlayScale(picture)
                                                                  : overlayScale(picture);
}

} // namespace

Box signBox(const Box& picture, int width, int height) {
    const int n = readableScale(picture, width, 0.5);
    return Box{picture.x + (picture.w - width * n) / 2, picture.y + (picture.h - height * n) / 2,
               width * n, height * n};
}

Box cardBox(const Box& picture, int width, int height) {
    // A card of two lines may take three quarters of the width: it covers only sky.
    const int n = readableScale(picture, width, 0.75);
    return Box{picture.x + (picture.w - width * n) / 2, picture.y + picture.h * 59 / 100, width * n,
               height * n};
}

Box noteBox(const Box& picture, int width, int height) {
    const int n = overlayScale(picture);
    return Box{picture.x + (picture.w - width * n) / 2, picture.y + picture.h - 30 * n - height * n,
               width * n, height * n};
}

} // namespace layout
