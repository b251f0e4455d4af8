#include "tools/artgen/pixelmap.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace artgen {

Image fromPixelMap(std::initializer_list<const char*> rows, std::initializer_list<Ink> legend) {
    const int height = static_cast<int>(rows.size());
    const int width = height > 0 ? static_cast<int>(std::strlen(*rows.begin())) : 0;
    Image img = makeImage(width, height, KeyGreen);
    int y = 0;
    for (const char* row : rows) {
        if (static_cast<int>(std::strlen(row)) != width) {
            std::fprintf(stderr, "zanbury-artgen: pixel map row %d has the wrong length\n", y);
            std::exit(1);
        }
        for (int x = 0; x < width; ++x) {
            if (row[x] == '.') {
                continue;
            }
            bool found = false;
            for (const Ink& ink : legend) {
                if (ink.letter == row[x]) {
                    put(img, x, y, ink.colour);
                    found = true;
                }
            }
            if (!found) {
                std::fprintf(stderr, "zanbury-artgen: pixel map letter '%c' not in legend\n",
                             row[x]);
                std::exit(1);
            }
        }
        ++y;
    }
    return img;
}

} // namespace artgen
