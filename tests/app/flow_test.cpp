// The game flow: every state change, the menu's rules, the backdrop scroll and the message line.

#include "app/standing.h"
#include "display/atlas.h"
#include "tests/support/game_fixture.h"

using platform::Key;
using testing_support::GameTest;

namespace {

class FlowTest : public GameTest {};

TEST_F(FlowTest, TitleDrawsOnceThenTheMenuMovesTheMarkers) {
    gameState = GameState::Title;
    frame();
    EXPECT_EQ(gameState, GameState::Menu);
    EXPECT_TRUE(newGameSelected());

    headless::tap(Key::Down);
    frame();
    EXPECT_FALSE(newGameSelected());
    EXPECT_EQ(exitMarker, atlas::MarkerSelected);
    EXPECT_EQ(newGameMarker, atlas::MarkerOther);

    headless::tap(Key::Up);
    frame();
    EXPECT_TRUE(newGameSelected());

    // Up and Down counting in one frame leave the second item selected.
    headless::tap(Key::Up);
    headless::tap(Key::Down);
    frame();
    EXPECT_FALSE(newGameSelected());
    EXPECT_EQ(gameState, GameState::Menu);
}

TEST_F(FlowTest, DownAndEnterInOneMenuFrameQuit) {
    gameState = GameState::Menu;
    headless::tap(Key::Down);
    headless::tap(Key::Enter);
    frame();
    EXPECT_EQ(gameState, GameState::Quit);
}

TEST_F(FlowTest, EnterOnNewGameStartsARunWithItsResets) {
    usePark("0 100\n");
    run.score = 55;
    run.lives = 1;
    run.parkIndex = 3;
    run.firstActive = 7;
    run.messageSeconds = 2;
    run.backdropScroll = 300;
    skater.trick = Trick::Hop;
    skater.trickTimer = 4;
    gameState = GameState::Menu;
    headless::tap(Key::Enter);
    frame();
    EXPECT_EQ(gameState, GameState::LoadPark);
    EXPECT_EQ(run.score, 0);
    EXPECT_EQ(run.lives, 3);
    EXPECT_EQ(run.parkIndex, 0);
    EXPECT_EQ(run.firstActive, 0);
    EXPECT_EQ(skater.trick, Trick::NoTrick);
    EXPECT_EQ(skater.trickTimer, 0);
    // Not reset by a new run: the message timer and the backdrop.
    EXPECT_EQ(run.messageSeconds, 2);
    EXPECT_EQ(run.backdropScroll, 300);

    frame();
    EXPECT_EQ(gameState, GameState::Playing);
    EXPECT_EQ(run.parkLength, 100);
    EXPECT_EQ(run.lastActive, -1);
}

TEST_F(FlowTest, ParksCompleteByLengthThenTheRunEnds) {
    ASSERT_NO_FATAL_FAILURE(useParks("2 a.txt b.txt\n", {{"a.txt", "0 3\n"}, {"b.txt", "0 1\n"}}));
    gameState = GameState::Menu;
    headless::tap(Key::Enter);
    frame(); // Menu -> LoadPark
    frame(); // LoadPark -> Playing
    frame();
    frame();
    EXPECT_EQ(run.parkFrame, 2);
    EXPECT_EQ(gameState, GameState::Playing);
    frame();
    EXPECT_EQ(gameState, GameState::ParkComplete);
    EXPECT_EQ(run.parkIndex, 1);
    EXPECT_EQ(run.parkFrame, 0);
    // Where the player stands, for the present to show over the picture.
    EXPECT_EQ(standingLines(), (std::vector<std::string>{"a, park 1 of 2", "Score 0    Lives 3"}));

    frame(); // no Enter: waits
    EXPECT_EQ(gameState, GameState::ParkComplete);
    headless::tap(Key::Enter);
    frame();
    EXPECT_EQ(gameState, GameState::LoadPark);
    frame();
    // A park length of 1 ends in its first Playing frame; the last park leads to the end.
    frame();
    EXPECT_EQ(gameState, GameState::GameOver);
    const std::vector<std::string> end = standingLines();
    ASSERT_EQ(end.size(), 2u);
    EXPECT_EQ(end[0], "Score 0    Best 0");
    EXPECT_EQ(end[1], "Every park cleared!");
    run.lives = 0; // as a run lost on its last life ends
    run.parkIndex = 1;
    EXPECT_EQ(standingLines()[1], "Out of lives in b, park 2 of 2");
    run.lives = 3;
    run.parkIndex = 2;
    frame();
    EXPECT_EQ(gameState, GameState::GameOver);
    headless::tap(Key::Enter);
    frame();
    EXPECT_EQ(gameState, GameState::Title);
}

TEST_F(FlowTest, EnterHeldAtTheEndScreenStartsANewRunOnTheThirdFrame) {
    usePark("0 50\n");
    gameState = GameState::GameOver;
    headless::press(Key::Enter);
    frame();
    EXPECT_EQ(gameState, GameState::Title);
    frame();
    EXPECT_EQ(gameState, GameState::Menu);
    frame();
    EXPECT_EQ(gameState, GameState::LoadPark);
}

TEST_F(FlowTest, EnterPressedDuringPlayEndsTheParkCompletePauseAtOnce) {
    ASSERT_NO_FATAL_FAILURE(useParks("2 a.txt a.txt\n", {{"a.txt", "0 2\n"}}));
    startNewRun();
    frame();
    headless::tap(Key::Enter); // not queried while playing
    frame();
    frame();
    ASSERT_EQ(gameState, GameState::ParkComplete);
    frame();
    EXPECT_EQ(gameState, GameState::LoadPark);
}

TEST_F(FlowTest, BackdropScrollsTwoPixelsAFrameAndWrapsEvery320Frames) {
    startPark("0 1000\n");
    frame();
    EXPECT_EQ(run.backdropScroll, 638);
    EXPECT_EQ(run.backdropOutSrc, (Rect{2, 0, 640, 480}));
    EXPECT_EQ(run.backdropInSrc, (Rect{0, 0, 2, 480}));
    for (int i = 1; i < 320; ++i) {
        frame();
    }
    // The wrap frame: the out part is empty and the in part is the whole picture at column 0.
    EXPECT_EQ(run.backdropScroll, 0);
    EXPECT_EQ(run.backdropOutSrc, (Rect{640, 0, 640, 480}));
    EXPECT_EQ(run.backdropInSrc, (Rect{0, 0, 640, 480}));
    frame();
    EXPECT_EQ(run.backdropScroll, 638);
    EXPECT_EQ(run.backdropOutSrc, (Rect{2, 0, 640, 480}));
}

TEST_F(FlowTest, MessageLineCountsDownOncePerSecond) {
    startPark("0 1000\n");
    park::copyText("You fell, try again.", run.message);
    run.messageSeconds = 5;
    run.messageTick = 0;
    headless::setClock(500);
    frame();
    EXPECT_EQ(run.messageSeconds, 5);
    headless::setClock(1000);
    frame();
    EXPECT_EQ(run.messageSeconds, 4);
    EXPECT_EQ(run.messageTick, 1000u);
    headless::setClock(1999);
    frame();
    EXPECT_EQ(run.messageSeconds, 4);
    for (uint32_t t = 2000; t <= 6000; t += 1000) {
        headless::setClock(t);
        frame();
    }
    EXPECT_EQ(run.messageSeconds, -1);
    headless::setClock(9000);
    frame();
    EXPECT_EQ(run.messageSeconds, -1); // below 0 the timer stops
}

TEST_F(FlowTest, EscapeIsHonouredOnlyAfterTheFifthFrame) {
    startPark("0 1000\n");
    for (int i = 0; i < 5; ++i) {
        headless::tap(Key::Escape);
        frame();
        EXPECT_EQ(gameState, GameState::Playing) << "frame " << run.parkFrame;
    }
    headless::tap(Key::Escape);
    frame();
    EXPECT_EQ(gameState, GameState::Title);
    EXPECT_EQ(run.parkFrame, 0);
}

} // namespace
