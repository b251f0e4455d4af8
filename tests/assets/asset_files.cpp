#include "tests/assets/asset_files.h"

#include <fstream>
#include <iterator>

namespace assettest {

std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Picture decodeBmp(const std::vector<uint8_t>& b) {
    Picture pic;
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || u32At(b, 14) != 40 || u16At(b, 28) != 24 ||
        u32At(b, 30) != 0) {
        return pic;
    }
    const int width = static_cast<int>(u32At(b, 18));
    const int height = static_cast<int>(u32At(b, 22));
    const std::size_t offset = u32At(b, 10);
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    if (width <= 0 || height <= 0 || offset + stride * height > b.size()) {
        return pic;
    }
    pic.width = width;
    pic.height = height;
    pic.pixels.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const std::size_t row = offset + stride * static_cast<std::size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const std::size_t p = row + static_cast<std::size_t>(x) * 3;
            pic.pixels[static_cast<std::size_t>(y) * width + x] = {b[p + 2], b[p + 1], b[p]};
        }
    }
    return pic;
}

std::vector<bool> inkOf(const Picture& pic, const Rect& area) {
    std::vector<bool> ink;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            ink.push_back(!(pic.at(x, y) == Green));
        }
    }
    return ink;
}

std::string assetPath(const char* name) {
    return std::string(ZB_ASSETS_DIR) + "/" + name;
}

} // namespace assettest
