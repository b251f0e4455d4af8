#include "display/atlas.h"

namespace atlas {

const char* nameOf(const Rect& rect) {
    if (rect == Rect{}) {
        return "none";
    }
    for (const NamedRect& n : BodyPoses) {
        if (n.rect == rect) {
            return n.name;
        }
    }
    for (const NamedRect& n : Boards) {
        if (n.rect == rect) {
            return n.name;
        }
    }
    return "?";
}

} // namespace atlas
