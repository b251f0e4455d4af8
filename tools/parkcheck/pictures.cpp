// The catalogue of the sprite sheet's obstacle pictures for park authors, from the atlas's own
// table: what to write for each picture in a park file, and the row that stands it on the
// ground line.

#include "display/atlas.h"
#include "skater/skater.h"
#include "tools/parkcheck/parkcheck.h"

#include <cstdio>
#include <iterator>

namespace parkcheck {

std::string pictureCatalogue() {
    char line[96];
    std::snprintf(line, sizeof line, "%2s  %-22s %4s %4s %6s %5s  %-9s %8s\n", "#", "picture",
                  "top", "left", "bottom", "right", "size", "ground y");
    std::string text = line;
    for (std::size_t i = 0; i < std::size(atlas::ObstaclePictures); ++i) {
        const atlas::ObstaclePicture& p = atlas::ObstaclePictures[i];
        std::snprintf(line, sizeof line, "%2zu  %-22s %4d %4d %6d %5d  %3d x %-3d %8d\n", i + 1,
                      p.name, p.cell.top, p.cell.left, p.cell.bottom, p.cell.right, p.cell.width(),
                      p.cell.height(), GroundLine - p.cell.height());
        text += line;
    }
    return text;
}

} // namespace parkcheck
