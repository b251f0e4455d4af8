// A park file that vanishes or breaks after start-up: the run ends on the end screen, which
// names the park file, and the game goes on.

#include "tests/support/back_buffer.h"
#include "tests/support/game_fixture.h"
#include "tests/support/park_text.h"

#include <filesystem>

using namespace testing_support;
using platform::Key;
using testing_support::GameTest;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

class ParkLoadFailureTest : public GameTest {
  protected:
    // The end screen now in the back buffer is the normal one for that verdict plus one line of
    // black text below the verdict, naming the park.
    void expectEndScreenNamingThePark(bool newHighScore, int32_t score) {
        auto screen = backBuffer();
        int black = blackPixels(Rect{0, 160, 640, 230});
        auto rows = differingRows(screen, expectedEndScreen(newHighScore, score));
        EXPECT_GT(black, 0);
        EXPECT_GE(rows.first, 160);
        EXPECT_LE(rows.second, 230);
        EXPECT_NE(rows.first, -1) << "the end screen does not mention the park";
    }
};

TEST_F(ParkLoadFailureTest, AParkThatVanishedBeforeItsLoadEndsTheRun) {
    usePark("0 100\n");
    writeFile("highscore.txt", "50");
    std::filesystem::remove("park.txt");
    startNewRun();
    run.score = 70;
    testing::internal::CaptureStderr();
    frame(); // LoadPark
    std::string reason = testing::internal::GetCapturedStderr();
    EXPECT_EQ(gameState, GameState::GameOver);
    EXPECT_NE(reason.find("park.txt"), std::string::npos) << reason;
    expectEndScreenNamingThePark(true, 70);
    EXPECT_EQ(readFile("highscore.txt"), "70");
    EXPECT_STREQ(park::failedPark.name, "") << "named once, then forgotten";
    EXPECT_EQ(run.lastActive, -1);

    // The end screen waits for Enter as usual; once the file is back a new run plays, and its
    // end screen no longer mentions the park.
    frame();
    EXPECT_EQ(gameState, GameState::GameOver);
    headless::tap(Key::Enter);
    frame();
    EXPECT_EQ(gameState, GameState::Title);
    writeFile("park.txt", "0 2\n");
    startNewRun();
    frame();
    EXPECT_EQ(gameState, GameState::Playing);
    frame();
    frame();
    EXPECT_EQ(gameState, GameState::GameOver);
    EXPECT_EQ(backBuffer(), expectedEndScreen(false, 0)) << "0 is below the stored 70";
}

TEST_F(ParkLoadFailureTest, AParkThatBrokeBeforeItsLoadEndsTheRunAndKeepsALowHighScoreFile) {
    usePark(parkText(100, {record(GreyBlock, 0, 100, ObstacleKind::Block)}));
    writeFile("highscore.txt", "500\n");
    writeFile("park.txt", "1 100\n267 123 331 oops 0 100 1\n");
    startNewRun();
    run.score = 20;
    testing::internal::CaptureStderr();
    frame();
    std::string reason = testing::internal::GetCapturedStderr();
    EXPECT_EQ(gameState, GameState::GameOver);
    EXPECT_NE(reason.find("park.txt:2:"), std::string::npos) << reason;
    expectEndScreenNamingThePark(false, 20);
    EXPECT_EQ(readFile("highscore.txt"), "500\n");
}

TEST_F(ParkLoadFailureTest, AParkThatBreaksBeforeTheRestartAfterAFallEndsTheRun) {
    for (bool vanish : {false, true}) {
        startPark(parkText(1000, {record(Hydrant, 0, 400, ObstacleKind::Hazard)}));
        writeFile("highscore.txt", "0");
        park::obstacleTable.records[0].x = 104; // across the skater after the next move
        run.score = 8;
        if (vanish) {
            std::filesystem::remove("park.txt");
        } else {
            writeFile("park.txt", "1 1000\n");
        }
        testing::internal::CaptureStderr();
        frame();
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(gameState, GameState::GameOver) << vanish;
        EXPECT_EQ(run.lives, 2) << vanish;
        EXPECT_EQ(run.score, 6) << vanish;
        EXPECT_EQ(run.lastActive, -1) << vanish;
        EXPECT_EQ(run.parkFrame, 0) << vanish;
        EXPECT_EQ(skater.bodyY, 343) << vanish;
        expectEndScreenNamingThePark(true, 6);
        EXPECT_EQ(readFile("highscore.txt"), "6") << vanish;
        frame();
        EXPECT_EQ(gameState, GameState::GameOver) << vanish;
    }
}

} // namespace
