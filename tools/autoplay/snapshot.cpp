// Saving and restoring the game's snapshot, record by record from the one list.

#include "tools/autoplay/snapshot.h"

namespace autoplay {

void saveGame(GameSnapshot& into) {
#define ZANBURY_SAVE(record, name) into.name = record;
    ZANBURY_PROGRAM_RECORDS(ZANBURY_SAVE)
#undef ZANBURY_SAVE
    into.keys = headless::saveKeysAndClock();
}

void restoreGame(const GameSnapshot& from) {
#define ZANBURY_RESTORE(record, name) record = from.name;
    ZANBURY_PROGRAM_RECORDS(ZANBURY_RESTORE)
#undef ZANBURY_RESTORE
    headless::restoreKeysAndClock(from.keys);
}

} // namespace autoplay
