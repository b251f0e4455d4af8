#include "tools/autoplay/snapshot.h"

#include "app/flow.h"

namespace autoplay {

void saveGame(GameSnapshot& into) {
    into.run = ::run;
    into.gameState = ::gameState;
    into.skater = ::skater;
    into.obstacleTable = park::obstacleTable;
    into.parkList = park::parkList;
    into.newGameMarker = ::newGameMarker;
    into.exitMarker = ::exitMarker;
    into.framePacer = ::framePacer;
    into.keys = headless::saveKeysAndClock();
}

void restoreGame(const GameSnapshot& from) {
    ::run = from.run;
    ::gameState = from.gameState;
    ::skater = from.skater;
    park::obstacleTable = from.obstacleTable;
    park::parkList = from.parkList;
    ::newGameMarker = from.newGameMarker;
    ::exitMarker = from.exitMarker;
    ::framePacer = from.framePacer;
    headless::restoreKeysAndClock(from.keys);
}

} // namespace autoplay
