#include "tools/artgen/image.h"

#include <algorithm>

namespace artgen {

Image makeImage(int width, int height, Rgb fill) {
    Image img;
    img.width = width;
    img.height = height;
    img.pixels.assign(static_cast<std::size_t>(width) * height, fill);
    return img;
}

void fillBox(Image& img, int left, int top, int right, int bottom, Rgb c) {
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            put(img, x, y, c);
        }
    }
}

void paste(Image& dst, const Image& src, int x, int y, bool skipKey) {
    for (int sy = 0; sy < src.height; ++sy) {
        for (int sx = 0; sx < src.width; ++sx) {
            Rgb c = get(src, sx, sy);
            if (skipKey && c == KeyGreen) {
                continue;
            }
            put(dst, x + sx, y + sy, c);
        }
    }
}

Image mirrorX(const Image& img) {
    Image out = makeImage(img.width, img.height, KeyGreen);
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            put(out, img.width - 1 - x, y, get(img, x, y));
        }
    }
    return out;
}

Image rotate180(const Image& img) {
    Image out = makeImage(img.width, img.height, KeyGreen);
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            put(out, img.width - 1 - x, img.height - 1 - y, get(img, x, y));
        }
    }
    return out;
}

Image crop(const Image& img, int left, int top, int width, int height) {
    Image out = makeImage(width, height, KeyGreen);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (contains(img, left + x, top + y)) {
                put(out, x, y, get(img, left + x, top + y));
            }
        }
    }
    return out;
}

Rect usedBox(const Image& img) {
    Rect box{img.width, img.height, 0, 0};
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            if (get(img, x, y) != KeyGreen) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
        }
    }
    return box.empty() ? Rect{} : box;
}

} // namespace artgen
