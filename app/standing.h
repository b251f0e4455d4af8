#pragma once
// What the present tells the player over the game's own picture, never drawn into it: where the
// player stands between parks (the park just cleared, the score, the lives; at the end of a run
// the score, the best and whether every park was cleared), the keys as they are bound now, and
// a note of a choice just made. Lines of text for display::card.

#include <string>
#include <vector>

// The park-complete screen's lines ("harbour-front, park 1 of 12", the score and the lives)
// during ParkComplete, the end screen's during GameOver; none in any other state.
std::vector<std::string> standingLines();
// The keys card: each of the game's keys with what is bound to it, and the player's own keys.
std::vector<std::string> keysLines();
