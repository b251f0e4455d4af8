// The obstacle stream: obstacles enter at the right edge, move 4 pixels a frame while active,
// and retire once wholly past the left edge, which moves the obstacle window on by one.

#include "core/run_state.h"
#include "display/display.h"
#include "park/park.h"

#include <algorithm>
#include <cstdint>

namespace park {

int64_t activeSpanEnd(const Obstacle& o) {
    return int64_t{o.startFrame} + o.src.width() + 160;
}

bool isActive(const Obstacle& o, int32_t parkFrame) {
    return o.startFrame < parkFrame && parkFrame < activeSpanEnd(o);
}

Rect obstacleBox(const Obstacle& o) {
    return Rect{o.x, o.y, o.x + o.src.width(), o.y + o.src.height()};
}

void drawObstacle(int32_t x, int32_t y, const Rect& src) {
    const int32_t width = src.width();
    if (x < 0) {
        display::blitSprite(Rect{src.left - x, src.top, src.right, src.bottom}, 0, y);
    } else if (x + width > 640) {
        display::blitSprite(Rect{src.left, src.top, src.left + (640 - x), src.bottom}, x, y);
    } else {
        display::blitSprite(src, x, y);
    }
}

void stepObstacles() {
    // Retirements move firstActive but not i; lastActive is read afresh for every record,
    // so a window extended in this step is walked to its new end in this same step.
    for (int32_t i = run.firstActive; i <= run.lastActive; ++i) {
        Obstacle& o = obstacleTable.records[i];
        if (!isActive(o, run.parkFrame)) {
            continue;
        }
        o.x -= ObstacleSpeed;
        drawObstacle(o.x, o.y, o.src);
        if (o.x < -o.src.width()) {
            run.firstActive += 1;
            run.lastActive = std::min(run.firstActive + WindowSpan, run.obstacleCount - 1);
        }
    }
}

} // namespace park
