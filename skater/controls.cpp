// The in-play keys and the trick animations. Every rule of pollControls sees what the rules
// before it set, so Up and Right together start a Jump and turn it at once into a Spin.

#include "core/run_state.h"
#include "display/atlas.h"
#include "display/display.h"
#include "platform/platform.h"
#include "skater/skater.h"

#include <algorithm>

namespace {

void startRailTrick(Trick trick) {
    if (skater.onRail == 1 && skater.trick == Trick::NoTrick) {
        skater.trick = trick;
        skater.trickTimer = 1;
    }
}

// The first step of a board flip or spin cuts the rise by 2 and lowers the board.
void startAirTrick() {
    skater.riseFrames = std::max(0, skater.riseFrames - 2);
    skater.bodySrc = atlas::BodySpreadTrim;
    skater.boardY = skater.bodyY + 84;
}

} // namespace

void pollControls() {
    if (platform::keyCheck(platform::Key::Down)) {
        if (skater.trick == Trick::NoTrick && skater.supported == 1) {
            skater.bodySrc = atlas::BodyCrouch;
        }
        if (skater.riseFrames != 0 && skater.trick == Trick::Jump) {
            skater.trick = Trick::BoardFlip;
            skater.trickTimer = 6;
        }
        startRailTrick(Trick::NoseUpGrind);
    }
    if (platform::keyCheck(platform::Key::Up) && skater.supported == 1) {
        display::playSound("SMACK");
        skater.trick = Trick::Jump;
        skater.riseFrames = JumpRiseFrames;
    }
    if (platform::keyCheck(platform::Key::Right)) {
        if (skater.riseFrames != 0 && skater.trick == Trick::Jump) {
            skater.trick = Trick::Spin;
            skater.trickTimer = 6;
        }
        if (skater.onRail != 1 && skater.trick == Trick::NoTrick && skater.supported == 1) {
            display::playSound("SMACK");
            skater.riseFrames = 15;
            skater.trick = Trick::Hop;
            skater.trickTimer = 1;
        }
        startRailTrick(Trick::NoseDownGrind);
    }
    if (platform::keyCheck(platform::Key::Left)) {
        startRailTrick(Trick::SideSlide);
    }
    if (platform::keyCheck(platform::Key::Escape) && run.parkFrame > 5) {
        gameState = GameState::Title;
        resetSkater();
    }
}

void stepTrick() {
    switch (skater.trick) {
    case Trick::Jump:
        skater.bodySrc = atlas::BodySpread;
        skater.boardSrc = atlas::BoardNoseUp;
        skater.boardY = skater.bodyY + 69;
        break;
    case Trick::BoardFlip:
        if (skater.trickTimer == 6) {
            startAirTrick();
            skater.boardSrc = atlas::BoardUnderside;
        } else if (skater.trickTimer == 3) {
            skater.boardSrc = atlas::BoardUpsideDown;
        } else if (skater.trickTimer == 0) {
            skater.boardSrc = atlas::BoardGripTop;
            skater.trick = Trick::NoTrick;
            skater.trickTimer = 0;
            run.score += 20;
        }
        skater.trickTimer -= 1;
        break;
    case Trick::SideSlide:
        skater.bodySrc = atlas::BodySide;
        skater.boardX += 10;
        skater.boardSrc = atlas::BoardEndOn;
        skater.trick = Trick::TrickDone;
        skater.trickTimer = 0;
        run.score += 20;
        break;
    case Trick::Spin:
        if (skater.trickTimer == 6) {
            startAirTrick();
            skater.boardSrc = atlas::BoardFlat;
        } else if (skater.trickTimer == 3) {
            skater.boardSrc = atlas::BoardEndOn;
        } else if (skater.trickTimer == 0) {
            skater.boardSrc = atlas::BoardFlat;
            skater.boardX -= 12;
            run.score += 20;
            skater.trick = Trick::NoTrick;
            skater.trickTimer = 0;
        }
        skater.trickTimer -= 1;
        break;
    case Trick::NoseUpGrind:
        skater.bodySrc = atlas::BodySpreadTrim;
        skater.boardSrc = atlas::BoardNoseUp;
        skater.boardY = skater.bodyY + 61;
        skater.boardX += 8;
        skater.trick = Trick::TrickDone;
        run.score += 20;
        break;
    case Trick::Hop:
        skater.bodySrc = atlas::BodySpreadAlt;
        skater.boardY = skater.bodyY + 68;
        skater.boardSrc = atlas::BoardNoseDown;
        run.score += 5;
        break;
    case Trick::NoseDownGrind:
        skater.bodySrc = atlas::BodySpreadAltTrim;
        skater.boardSrc = atlas::BoardNoseDown;
        skater.boardY = skater.bodyY + 62;
        skater.boardX -= 8;
        skater.trick = Trick::TrickDone;
        run.score += 20;
        break;
    case Trick::NoTrick:
    case Trick::TrickDone:
    default:
        break;
    }
}
