#pragma once
// A game in Playing on a park of the test's making, with helpers to place obstacles against the
// skater and to step frame by frame.

#include "tests/support/back_buffer.h"
#include "tests/support/game_fixture.h"
#include "tests/support/park_text.h"

#include <string>

namespace skater_tests {

using namespace testing_support;

class SkaterTest : public testing_support::GameTest {
  protected:
    // One Playing frame; returns the sounds it played, comma-joined, or "-".
    std::string step() {
        frame();
        return headless::takeSounds();
    }

    // Places obstacle i so that the next frame's 4-pixel move leaves its left edge at x.
    static void slideTo(int i, int32_t x) { park::obstacleTable.records[i].x = x + 4; }

    // The skater as a falling step leaves it `rows` above the ground line: standing
    // arrangement, not supported, not landed, not rising.
    static void putInTheAir(int32_t rows) {
        skater.bodySrc = atlas::BodyStand;
        skater.boardSrc = atlas::BoardFlat;
        skater.bodyY = skater.groundY - rows;
        skater.boardX = skater.bodyX + 14;
        skater.boardY = skater.bodyY + 81;
        skater.supported = 0;
        skater.landed = 0;
        skater.riseFrames = 0;
    }

    // Steps until a step plays HIT (at most `limit` steps); returns the steps taken, or -1.
    int stepsToLanding(int limit = 200) {
        for (int n = 1; n <= limit; ++n) {
            if (step().find("HIT") != std::string::npos) {
                return n;
            }
        }
        return -1;
    }
};

} // namespace skater_tests
