// The skater's record, its placement on the ground line and its reset.

#include "skater/skater.h"

#include "core/run_state.h"
#include "display/atlas.h"

Skater skater;

namespace {

// The board stands on the ground line and covers the lowest 3 rows of the body picture.
void applyPlacementRule(Skater& s) {
    s.bodyX = 50;
    s.boardX = s.bodyX + 14;
    s.bodyY = GroundLine - s.bodySrc.height() - s.boardSrc.height() + 3;
    s.groundY = s.bodyY;
    s.boardY = GroundLine - s.boardSrc.height();
}

Rect boxOf(const Skater& s) {
    const int32_t top = s.bodyY + s.boardSrc.height();
    return Rect{s.bodyX, top, s.bodyX + s.bodySrc.width(), top + s.bodySrc.height()};
}

} // namespace

void placeSkaterAtStartUp() {
    applyPlacementRule(skater);
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
    applyPlacementRule(skater);
    run.parkFrame = 0;
    skater.onRail = 0;
    skater.supported = 1;
    skater.riseFrames = 0;
    skater.trick = Trick::NoTrick;
    skater.trickTimer = 0;
}

Rect skaterBox() {
    return boxOf(skater);
}

Rect standingBox() {
    Skater standing;
    standing.bodySrc = atlas::BodyStand;
    standing.boardSrc = atlas::BoardFlat;
    applyPlacementRule(standing);
    return boxOf(standing);
}
