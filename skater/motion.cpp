// The skater step: ground contact, obstacles by kind, rise, trick, falling, keys; and falls.

#include "core/run_state.h"
#include "display/atlas.h"
#include "display/display.h"
#include "park/park.h"
#include "skater/skater.h"

namespace {

void land() {
    if (skater.landed == 0 && skater.supported != 1) {
        display::playSound("HIT");
    }
    skater.landed = 1;
    skater.supported = 1;
}

// A side hit: the overlap reaches more than 4 rows below the obstacle's top edge.
bool sideHit(const park::Obstacle& o, const Rect& overlap) {
    return skater.trick == Trick::NoTrick && o.y + 4 < overlap.bottom;
}

void obstaclePass(const Rect& box) {
    // lastActive is read afresh: a fall reloads the park and resets the window.
    for (int32_t i = run.firstActive; i <= run.lastActive; ++i) {
        const park::Obstacle& o = park::obstacleTable.records[i];
        if (!park::isActive(o, run.parkFrame)) {
            continue;
        }
        const Rect overlap = intersect(park::obstacleBox(o), box);
        if (overlap.empty()) {
            continue;
        }
        switch (static_cast<park::ObstacleKind>(o.kind)) {
        case park::ObstacleKind::Block:
            if (sideHit(o, overlap)) {
                takeFall();
            } else {
                land();
            }
            break;
        case park::ObstacleKind::Ramp:
            skater.bodyY -= 4;
            skater.boardY -= 4;
            skater.supported = 1;
            break;
        case park::ObstacleKind::Rail:
            skater.onRail = 1;
            if (sideHit(o, overlap)) {
                takeFall();
            } else {
                skater.supported = 1;
            }
            break;
        case park::ObstacleKind::Hazard:
            if (skater.riseFrames == 0) {
                takeFall();
            }
            break;
        default:
            break;
        }
    }
}

void standingArrangement() {
    skater.bodySrc = atlas::BodyStand;
    skater.boardSrc = atlas::BoardFlat;
    skater.boardX = skater.bodyX + 14;
    skater.boardY = skater.bodyY + 81;
}

} // namespace

void stepSkater() {
    if (skater.bodyY == skater.groundY) {
        land();
    }
    const Rect box = skaterBox(); // once: neither a ramp lift nor a fall changes it
    obstaclePass(box);
    if (skater.riseFrames > 0) {
        skater.riseFrames -= 1;
        skater.bodyY -= RiseStep;
        skater.boardY -= RiseStep;
        skater.supported = 0;
    }
    if (skater.trick != Trick::NoTrick) {
        stepTrick();
        skater.onRail = 0;
    }
    if (skater.riseFrames == 0 && skater.supported != 1) {
        run.score += 1;
        skater.bodyY += 4;
        skater.trick = Trick::NoTrick;
        skater.onRail = 0;
        skater.landed = 0;
        standingArrangement();
    }
    pollControls();
    skater.supported = 0;
}

void takeFall() {
    run.messageSeconds = 5;
    park::copyText("You fell, try again.", run.message);
    skater.trick = Trick::NoTrick;
    skater.trickTimer = 0;
    run.score -= run.score / 4;
    run.lives -= 1;
    resetSkater();
    park::loadPark();
    if (gameState == GameState::GameOver) {
        return; // the park could not be loaded: the run has ended on the end screen
    }
    if (run.lives == 0) {
        run.messageSeconds = 0;
        resetSkater();
        park::endRun();
    }
}
