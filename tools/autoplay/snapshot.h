#pragma once
// A copy of the whole game at one moment: every program-wide record, and the headless
// platform's keys and clock. Restoring it puts the game back to that moment exactly, so a
// search can try one way on from there, come back and try another.

#include "app/shell.h"
#include "core/run_state.h"
#include "park/park.h"
#include "platform/headless.h"
#include "skater/skater.h"

namespace autoplay {

struct GameSnapshot {
    RunState run;
    GameState gameState = GameState::Quit;
    Skater skater;
    park::ObstacleTable obstacleTable;
    park::ParkList parkList;
    Rect newGameMarker;
    Rect exitMarker;
    FramePacer framePacer;
    headless::KeysAndClock keys;
};

void saveGame(GameSnapshot& into);
void restoreGame(const GameSnapshot& from);

} // namespace autoplay
