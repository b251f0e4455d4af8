#include "tools/artgen/bmp.h"

namespace artgen {

Bytes encodeBmp(const Image& img) {
    const uint32_t stride = (static_cast<uint32_t>(img.width) * 3 + 3) & ~3u;
    const uint32_t imageSize = stride * static_cast<uint32_t>(img.height);
    const uint32_t offset = 14 + 40;
    Bytes out;
    out.reserve(offset + imageSize);

    out.push_back('B');
    out.push_back('M');
    putU32(out, offset + imageSize);
    putU32(out, 0); // two reserved words
    putU32(out, offset);

    putU32(out, 40);
    putU32(out, static_cast<uint32_t>(img.width));
    putU32(out, static_cast<uint32_t>(img.height)); // positive: bottom-up rows
    putU16(out, 1);                                 // planes
    putU16(out, 24);
    putU32(out, 0); // no compression
    putU32(out, imageSize);
    putU32(out, 2835); // 72 dots per inch, as pixels per metre
    putU32(out, 2835);
    putU32(out, 0); // no colour table
    putU32(out, 0);

    for (int y = img.height - 1; y >= 0; --y) {
        for (int x = 0; x < img.width; ++x) {
            Rgb c = get(img, x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        for (uint32_t pad = static_cast<uint32_t>(img.width) * 3; pad < stride; ++pad) {
            out.push_back(0);
        }
    }
    return out;
}

} // namespace artgen
