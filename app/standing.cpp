// The lines of the cards that the present draws over the picture (app/standing.h).

#include "app/standing.h"

#include "core/run_state.h"
#include "park/park.h"
#include "platform/platform.h"

namespace {

// A park as the list names it, without its ".txt": "harbour-front".
std::string parkName(int32_t index) {
    if (index < 0 || index >= run.parkCount) {
        return "";
    }
    std::string name = park::parkList.names[index];
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".txt") == 0) {
        name.resize(name.size() - 4);
    }
    return name;
}

std::string ofParks(int32_t number) {
    return "park " + std::to_string(number) + " of " + std::to_string(run.parkCount);
}

} // namespace

std::vector<std::string> standingLines() {
    if (gameState == GameState::ParkComplete) {
        // parkIndex has moved on to the next park: the one cleared is the one before it.
        return {parkName(run.parkIndex - 1) + ", " + ofParks(run.parkIndex),
                "Score " + std::to_string(run.score) + "    Lives " + std::to_string(run.lives)};
    }
    if (gameState != GameState::GameOver) {
        return {};
    }
    if (park::practice.park > 0) {
        // A practice run is no run: no best to tell, only how the park went.
        const int32_t index = park::practice.park - 1;
        const bool cleared = run.lives > 0 && run.parkIndex > index;
        return {"Score " + std::to_string(run.score),
                "Practice of " + parkName(index) + ", " + ofParks(index + 1) +
                    (cleared ? ": cleared" : ": out of lives")};
    }
    const park::HighScoreOutcome& outcome = park::highScoreTape.outcome;
    std::string scores = "Score " + std::to_string(run.score);
    if (outcome.bestKnown) {
        scores += "    Best " + std::to_string(outcome.best);
    }
    std::string how;
    if (park::failedPark.name[0] != '\0') {
        how = "Ended at a park that could not be loaded";
    } else if (run.lives > 0 && run.parkIndex >= run.parkCount) {
        how = "Every park cleared!";
    } else {
        how = "Out of lives in " + parkName(run.parkIndex) + ", " + ofParks(run.parkIndex + 1);
    }
    return {scores, how};
}

std::vector<std::string> keysLines() {
    using platform::Key;
    struct Line {
        const char* what;
        Key key;
    };
    static constexpr Line lines[] = {
        {"Jump, choose NEW GAME", Key::Up}, {"Crouch, flip, choose EXIT", Key::Down},
        {"Hop, spin", Key::Right},          {"Slide on a rail", Key::Left},
        {"Choose, continue", Key::Enter},   {"Give up the run", Key::Escape},
    };
    std::vector<std::string> out = {"Keys (F1 hides them)", ""};
    for (const Line& l : lines) {
        out.push_back(std::string(l.what) + ": " + platform::keyNames(l.key, false) + "  (pad " +
                      platform::keyNames(l.key, true) + ")");
    }
    out.push_back("");
    out.push_back("P or Pause: pause    M: sound    F10: look    F11: full screen");
    return out;
}
