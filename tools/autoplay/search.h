#pragma once
// What the autoplayer's files share: the passes of a run of one park from the menu, the arrow
// keys the search presses, and the search of the park with one set of rules.

#include "park/readers.h"
#include "platform/platform.h"
#include "tools/autoplay/autoplay.h"
#include "tools/autoplay/snapshot.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace autoplay {

// A park list naming the park alone: pass 2 chooses the first menu item, pass 3 loads the park,
// pass 4 is its first frame.
inline constexpr int64_t MenuPass = 2;
inline constexpr int64_t FirstParkPass = 4;

inline constexpr platform::Key Arrows[] = {platform::Key::Up, platform::Key::Down,
                                           platform::Key::Right, platform::Key::Left};

// One main-loop pass as the simulator runs it. The sounds are only heard, so they are dropped
// rather than gathered over millions of passes.
void playSilentPass();

// Starts the game in `dir` with a park list naming the park file alone (a copy of its `text`)
// and plays it from start-up to the moment before the park's first frame, Enter on the menu
// at pass 2 as the simulator plays it; that moment is saved in `start` and the display is then
// closed. False, with the reason in `error`, when the game or the park does not start.
bool startParkAlone(const std::filesystem::path& dir, const std::string& parkName,
                    const std::string& text, GameSnapshot& start, std::string& error);

// The active obstacles that cover the skater's column in the pass after the saved moment.
std::vector<StuckObstacle> obstaclesAtSkater(const GameSnapshot& moment,
                                             const park::ParkFile& file);

// The timing windows of the presses, played from `start` as startParkAlone leaves it. False
// when the presses themselves do not complete the park with no fall.
bool windowsFrom(const GameSnapshot& start, const std::vector<Press>& presses,
                 const park::ParkFile& file, MeasuredRun& measured);

struct SearchResult {
    bool completed = false;
    int32_t score = 0;
    std::vector<Press> presses;
    int64_t endPass = 0;
    Stuck stuck;
    int64_t framesPlayed = 0;
};

// The search proper, from the moment `start` before the park's first frame, with the display
// closed. Every way is played one pass at a time; at a decision point each way whose hands are
// free also branches into a press of each arrow key. Ways that fall are dropped, ways that meet
// are merged. `file` gives the lines of the obstacles where the search gets stuck. It keeps the
// best score, or with `steady` the fewest presses.
SearchResult searchWithRules(const GameSnapshot& start, const InputRules& rules, int32_t phase,
                             const SearchOptions& options, const park::ParkFile& file,
                             bool steady = false);

// Moves each press of a run that completes the park to the middle of its timing window, a few
// rounds over, as a person aiming at the middle of each window would play; the run still
// completes. Returns the windows of the run as it then stands.
MeasuredRun centreRun(const GameSnapshot& start, std::vector<Press>& presses,
                      const park::ParkFile& file);

} // namespace autoplay
