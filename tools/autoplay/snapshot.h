#pragma once
// A copy of the whole game at one moment: every program-wide record of app/records.h, and the
// headless platform's keys and clock. Restoring it puts the game back to that moment exactly,
// so a search can try one way on from there, come back and try another.

#include "app/records.h"
#include "platform/headless.h"

namespace autoplay {

struct GameSnapshot {
#define ZANBURY_SNAPSHOT_FIELD(record, name) ZANBURY_RECORD_TYPE(record) name{};
    ZANBURY_PROGRAM_RECORDS(ZANBURY_SNAPSHOT_FIELD)
#undef ZANBURY_SNAPSHOT_FIELD
    headless::KeysAndClock keys;
};

void saveGame(GameSnapshot& into);
void restoreGame(const GameSnapshot& from);

} // namespace autoplay
