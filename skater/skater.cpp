// The skater's record, its placement on the ground line and its reset.

#include "skater/skater.h"

#include "core/run_state.h"
#include "display/atlas.h"

Skater skater;

namespace {

// The board stands on the ground line and covers the lowest 3 rows of the body picture.
void applyPlacementRule() {
    skater.bodyX = 50;
    skater.boardX = skater.bodyX + 14;
    skater.bodyY = GroundLine - skater.bodySrc.height() - skater.boardSrc.height() + 3;
    skater.groundY = skater.bodyY;
    skater.boardY = GroundLine - skater.boardSrc.height();
}

} // namespace

void placeSkaterAtStartUp() {
    applyPlacementRule();
    skater.supported = 1;
    skater.landed = 1;
    skater.riseFrames = 0;
    skater.trick = Trick::NoTrick;
    skater.trickTimer = 0;
    skater.onRail = 0;
}

void resetSkater() {
    skater.bodySrc = atlas::BodyStand;
    skater.boardSrc = atlas::BoardFlat;
    applyPlacementRule();
    run.parkFrame = 0;
    skater.onRail = 0;
    skater.supported = 1;
    skater.riseFrames = 0;
    skater.trick = Trick::NoTrick;
    skater.trickTimer = 0;
}

Rect skaterBox() {
    const int32_t top = skater.bodyY + skater.boardSrc.height();
    return Rect{skater.bodyX, top, skater.bodyX + skater.bodySrc.width(),
                top + skater.bodySrc.height()};
}
