// The game flow: the handler of each GameState, the menu and the start of a new run.

#include "app/flow.h"

#include "app/session.h"
#include "core/run_state.h"
#include "display/atlas.h"
#include "display/display.h"
#include "park/park.h"
#include "platform/platform.h"
#include "skater/skater.h"

#include <cstdio>
#include <iterator>

Rect newGameMarker;
Rect exitMarker;

namespace {

void titleFrame() {
    display::blitBackdrop(display::WholeScreen, 0, 0);
    display::blitSprite(atlas::CreditLine, 10, 460);
    display::blitSprite(atlas::TitleLogo, 10, 10);
    display::blitSprite(atlas::MenuPanel, 361, 150);
    gameState = GameState::Menu;
}

void menuFrame() {
    menuInput();
    display::blitSprite(newGameMarker, 359, 170);
    display::blitSprite(exitMarker, 359, 217);
}

void loadParkFrame() {
    park::loadPark();
    // A park that could not be loaded has already ended the run on the end screen.
    if (gameState == GameState::LoadPark) {
        gameState = GameState::Playing;
    }
}

// The backdrop slides 2 pixels left a frame: the part that has scrolled out at the left edge
// comes back in at column backdropScroll, so the two blits always repaint the whole screen.
void scrollBackdrop() {
    if (run.backdropScroll == 0) {
        run.backdropScroll = 640;
        run.backdropOutSrc.right = 640;
        run.backdropOutSrc.left = 0;
        run.backdropInSrc.right = 0;
        run.backdropInSrc.left = 0;
    }
    run.backdropScroll -= 2;
    run.backdropOutSrc.left += 2;
    run.backdropInSrc.right = 640 - run.backdropScroll;
    display::blitBackdrop(run.backdropOutSrc, 0, 0);
    display::blitBackdrop(run.backdropInSrc, run.backdropScroll, 0);
}

void messageLine() {
    if (run.messageSeconds < 0) {
        return;
    }
    display::drawText(run.message, 10, 22);
    if (session::gameTick() >= static_cast<uint32_t>(run.messageTick + 1000u)) {
        run.messageSeconds -= 1;
        run.messageTick = session::gameTick();
    }
}

void parkEnd() {
    if (run.parkFrame < run.parkLength) {
        return;
    }
    resetSkater();
    run.parkIndex += 1;
    if (run.parkIndex < run.parkCount && park::practice.park == 0) {
        display::blitBackdrop(display::WholeScreen, 0, 0);
        display::blitSprite(atlas::LevelClearBanner, 130, 10);
        display::drawText("Press enter to continue...", 10, 460);
        gameState = GameState::ParkComplete;
    } else {
        park::endRun();
    }
}

void playingFrame() {
    run.parkFrame += 1;
    scrollBackdrop();
    messageLine();
    park::stepObstacles();
    std::snprintf(run.scoreText, sizeof run.scoreText, "%d", run.score);
    display::drawText(run.scoreText, 10, 10);
    display::blitSprite(skater.bodySrc, skater.bodyX, skater.bodyY);
    display::blitSprite(skater.boardSrc, skater.boardX, skater.boardY);
    stepSkater();
    parkEnd(); // also after a fall or Escape: both reset parkFrame to 0 first
}

void parkCompleteFrame() {
    if (platform::keyCheck(platform::Key::Enter)) {
        gameState = GameState::LoadPark;
    }
}

void gameOverFrame() {
    if (platform::keyCheck(platform::Key::Enter)) {
        gameState = GameState::Title;
    }
}

using Handler = void (*)();

// Indexed by GameState; Quit has no handler.
constexpr Handler handlers[] = {
    nullptr, menuFrame, loadParkFrame, titleFrame, playingFrame, parkCompleteFrame, gameOverFrame,
};

} // namespace

void setStartUpRunValues() {
    run.backdropOutSrc = display::WholeScreen;
    run.backdropInSrc = Rect{0, 0, 0, 480};
    run.lives = 3;
    run.parkIndex = 0;
    gameState = GameState::Title;
}

void setScreenPictures() {
    newGameMarker = atlas::MarkerSelected;
    exitMarker = atlas::MarkerOther;
}

bool newGameSelected() {
    return newGameMarker.top != atlas::MarkerOther.top;
}

void runStateHandler() {
    auto index = static_cast<int32_t>(gameState);
    if (index > 0 && index < static_cast<int32_t>(std::size(handlers))) {
        handlers[index]();
    }
}

void menuInput() {
    if (platform::keyCheck(platform::Key::Up)) {
        newGameMarker = atlas::MarkerSelected;
        exitMarker = atlas::MarkerOther;
    }
    if (platform::keyCheck(platform::Key::Down)) {
        newGameMarker = atlas::MarkerOther;
        exitMarker = atlas::MarkerSelected;
    }
    if (platform::keyCheck(platform::Key::Enter)) {
        if (!newGameSelected()) {
            gameState = GameState::Quit;
        } else {
            startNewRun();
        }
    }
}

void startNewRun() {
    resetSkater();
    run.firstActive = 0;
    run.lives = 3;
    run.parkFrame = 0;
    run.score = 0;
    run.parkIndex = park::practice.park > 0 ? park::practice.park - 1 : 0;
    gameState = GameState::LoadPark;
    skater.trick = Trick::NoTrick;
    skater.trickTimer = 0;
}
