// The soak's invariants hold over a short seeded soak, and each one can catch a broken record.

#include "tests/support/game_fixture.h"
#include "tools/soak/soak.h"

#include <filesystem>

using testing_support::GameTest;
using testing_support::writeFile;

namespace {

class InvariantsTest : public GameTest {};

TEST_F(InvariantsTest, EachBrokenRecordIsNamed) {
    EXPECT_EQ(soak::brokenInvariant(), "");
    struct Case {
        const char* name;
        void (*breakIt)();
    };
    const Case cases[] = {
        {"lives", [] { run.lives = 4; }},
        {"score", [] { run.score = -1; }},
        {"firstActive", [] { run.firstActive = run.lastActive + 2; }},
        {"wider", [] { run.lastActive = run.firstActive + 21; }},
        {"table",
         [] {
             run.lastActive = 200;
             run.firstActive = 190;
         }},
        {"ground", [] { skater.bodyY = skater.groundY + 4; }},
        {"riseFrames", [] { skater.riseFrames = -1; }},
        {"onRail", [] { skater.onRail = 2; }},
        {"game state", [] { gameState = static_cast<GameState>(7); }},
    };
    for (const Case& c : cases) {
        resetProgramRecords();
        c.breakIt();
        std::string broken = soak::brokenInvariant();
        EXPECT_NE(broken.find(c.name), std::string::npos) << c.name << ": '" << broken << "'";
    }
}

TEST_F(InvariantsTest, AShortSoakPlaysRunsToTheirEnds) {
    display::closeDisplay(); // the soak starts the game itself
    writeFile("park.txt", "3 400\n"
                          "123 267 159 331 40 396 1\n"
                          "114 371 150 431 150 396 2\n"
                          "311 219 361 249 260 382 4\n");
    writeFile("parks.txt", "2 park.txt park.txt\n");
    soak::Result result = soak::runSoak(99, 20000);
    EXPECT_TRUE(result.ok) << result.violation;
    EXPECT_EQ(result.frames, 20000);
    EXPECT_GT(result.runsStarted, 2);
    EXPECT_GT(result.falls, 0);
    EXPECT_GT(result.endScreens, 0);
    EXPECT_TRUE(std::filesystem::exists("highscore.txt"));
    std::string why;
    ASSERT_TRUE(display::openDisplay(why)) << why; // for the fixture's tear-down
}

} // namespace
