#include "display/keyed.h"

#include <algorithm>
#include <cstring>

namespace display::detail {

KeyedPicture encodeKeyed(const uint16_t* pixels, int32_t width, int32_t height, int32_t pitchPixels,
                         uint16_t key) {
    KeyedPicture p;
    p.pixels = pixels;
    p.pitchPixels = pitchPixels;
    p.rowFirst.reserve(static_cast<std::size_t>(height) + 1);
    for (int32_t y = 0; y < height; ++y) {
        p.rowFirst.push_back(static_cast<uint32_t>(p.runs.size()));
        const uint16_t* row = pixels + static_cast<std::ptrdiff_t>(y) * pitchPixels;
        int32_t x = 0;
        while (x < width) {
            while (x < width && row[x] == key) {
                ++x;
            }
            const int32_t begin = x;
            while (x < width && row[x] != key) {
                ++x;
            }
            if (x > begin) {
                p.runs.push_back({static_cast<uint16_t>(begin), static_cast<uint16_t>(x)});
            }
        }
    }
    p.rowFirst.push_back(static_cast<uint32_t>(p.runs.size()));
    return p;
}

void blitKeyed(const KeyedPicture& picture, const Rect& src, uint16_t* dst, int32_t dstPitchPixels,
               int32_t x, int32_t y) {
    using Run = KeyedPicture::Run;
    const KeyedPicture::Run* runs = picture.runs.data();
    for (int32_t row = src.top; row < src.bottom; ++row) {
        const Run* run = runs + picture.rowFirst[static_cast<std::size_t>(row)];
        const Run* last = runs + picture.rowFirst[static_cast<std::size_t>(row) + 1];
        // The first run that ends inside or after the area.
        run = std::partition_point(run, last, [&](const Run& r) { return r.end <= src.left; });
        const uint16_t* from =
            picture.pixels + static_cast<std::ptrdiff_t>(row) * picture.pitchPixels;
        // Where column 0 of the picture's row would land; only the runs' columns are added to it.
        const std::ptrdiff_t toColumn0 =
            static_cast<std::ptrdiff_t>(y + row - src.top) * dstPitchPixels + (x - src.left);
        for (; run != last && run->begin < src.right; ++run) {
            const int32_t begin = std::max<int32_t>(run->begin, src.left);
            const int32_t end = std::min<int32_t>(run->end, src.right);
            std::memcpy(dst + (toColumn0 + begin), from + begin,
                        static_cast<std::size_t>(end - begin) * sizeof(uint16_t));
        }
    }
}

} // namespace display::detail
