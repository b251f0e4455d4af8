#pragma once
// The autoplayer: searches the key inputs of one park for a run that completes it with no
// fall, playing the real game headless and branching by saving and restoring its records.
// The park checker, the tests and zanbury-autoplay call it.

#include "platform/platform.h"
#include "skater/skater.h"
#include "tools/sim/sim.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace autoplay {

// How the searching player may use the keys. A key goes down only at a decision point (every
// decisionEvery frames, counted from the park's first frame plus a phase of 0 to
// decisionEvery - 1 frames), stays down for holdFrames frames, and the next key goes down at
// least minGap frames after the one before. One key at a time.
struct InputRules {
    const char* name = "";
    int32_t decisionEvery = 1;
    int32_t holdFrames = 1;
    int32_t minGap = 1;
};

// A person's hands: a decision every 4 frames (136 ms), each key held 3 frames (about 100 ms),
// at least 8 frames (272 ms) from one press to the next.
inline constexpr InputRules HumanRules{"human", 4, 3, 8};
// Quick hands: twice as fast as HumanRules.
inline constexpr InputRules QuickRules{"quick", 2, 2, 4};
// A bot that may press a key in any frame, for one frame.
inline constexpr InputRules BotRules{"frame-perfect", 1, 1, 1};
// The proof that no press must hit one particular frame: human hands deciding every other
// frame must get through both when their presses fall on even frames and when they fall on
// odd ones. A press that has to land on one exact frame fails one of the two.
inline constexpr InputRules ProofRules{"human", 2, 3, 8};

// One key press of a run: the key goes down before the handler of main-loop pass `pass` (pass 1
// draws the title) and comes up again holdFrames passes later.
struct Press {
    int64_t pass = 0;
    platform::Key key = platform::Key::Up;
    int32_t holdFrames = 1;
};

// The tricks of a run: jumps and hops started, the other tricks completed (worth 20 each).
struct TrickCounts {
    int32_t jumps = 0;
    int32_t hops = 0;
    int32_t boardFlips = 0;
    int32_t spins = 0;
    int32_t noseUpGrinds = 0;
    int32_t noseDownGrinds = 0;
    int32_t sideSlides = 0;
};

// An obstacle that passes the skater's column in the frame in which the search ran out of ways.
struct StuckObstacle {
    int32_t index = 0; // in the park file, from 0
    int32_t kind = 0;
    int32_t line = 0; // the line of the park file on which its record starts
};

// Where a search ran out of ways.
struct Stuck {
    int32_t frame = 0; // the park frame in which the last ways it had fell, or time ran out
    std::vector<StuckObstacle> obstacles; // the active obstacles at the skater's column then
    bool outOfTime = false;
    bool narrowed = false; // some frame had more ways than the search keeps
};

// One search of the park: one set of rules at one phase of their decision grid.
struct Attempt {
    InputRules rules;
    int32_t phase = 0;  // the decision points come this many frames after the grid's own
    bool proof = false; // a search of the proof, made after a way through was found
    bool completed = false;
    Stuck stuck; // when not completed
};

// The timing window of one press of a winning run: the press alone (same key, same hold) is
// moved earlier frame by frame and later frame by frame, every other press staying where it
// is, until the run no longer completes the park with no fall. The window is the number of
// frames on which the press may land: latest - earliest + 1. A move is tried up to MaxShift
// frames either way, and never before the park's first frame.
inline constexpr int32_t MaxShift = 30;

// Where a moved press makes the run fall.
struct WindowEdge {
    bool capped = false;   // no fall within MaxShift frames (or before the park's first frame)
    int32_t fallFrame = 0; // the park frame of the fall
    std::vector<StuckObstacle> obstacles; // the active obstacles at the skater's column then
};

struct PressWindow {
    int32_t earliest = 0; // the earliest move that still completes, 0 or below
    int32_t latest = 0;   // the latest, 0 or above
    WindowEdge tooEarly;  // the fall of the move one frame before `earliest`
    WindowEdge tooLate;   // ... one frame after `latest`
    int32_t width() const { return latest - earliest + 1; }
};

// The steady run of a park: the fewest presses that get through with the winning run's hands,
// each then moved to the middle of its timing window, as a person aiming at the middle would
// play. The park's tightness is measured on it, as a high-scoring run packs its presses so
// closely that moving any one of them spoils the next.
struct SteadyRun {
    bool completed = false; // ... and its script, replayed, completes the park with no fall
    std::vector<Press> presses;
    std::vector<PressWindow> windows; // the timing window of each press
    int32_t score = 0;
    int64_t endPass = 0;
    TrickCounts tricks;
};

struct Verdict {
    std::string parkName;
    int32_t parkLength = 0;
    bool completed = false; // the end screen reached after the park's end, with no fall
    InputRules rules;       // the rules of the winning run
    int32_t phase = 0;      // ... and the phase of its decisions
    int32_t score = 0;
    int32_t falls = 0;
    TrickCounts tricks;
    std::vector<Press> presses; // the winning run
    SteadyRun steady;
    int64_t endPass = 0;           // the pass whose handler reaches the end screen
    std::vector<Attempt> attempts; // every search made, in order
    std::string error;             // the park could not be read, or the game not started
    double seconds = 0;
    int64_t framesPlayed = 0;

    // The press of the steady run with the narrowest window (the first of several as narrow),
    // or -1 when it has no press. Its width is the park's tightness: the smaller, the tighter.
    int32_t narrowest() const;
    // That window's width in frames, 0 when there is none.
    int32_t tightness() const;
    // The presses a minute that the steady run needs, at 34 ms a frame.
    double pressesPerMinute() const;

    // Completed with the first rules of the ladder (HumanRules unless told otherwise).
    bool byFirstRules() const;
    // ... and the proof was searched, and every search of it got through.
    bool proved() const;
};

struct SearchOptions {
    // Tried in order, each at its phases 0, 1, ... in turn, until one completes the park.
    std::vector<InputRules> ladder{HumanRules, QuickRules, BotRules};
    // Once the first rules complete the park, also search proofRules at each of their phases.
    bool prove = false;
    InputRules proofRules = ProofRules;
    double secondsPerSearch = 60;
    // The ways kept per frame, best scores first; ways that end in the same state are merged
    // before this limit applies, so it is rarely reached.
    std::size_t keepWays = 6000;
};

// Searches the park file `parkPath` as the only park of a park list, in a temporary directory
// that holds the list and a copy of the file, from start-up and the menu. Among the runs that
// complete the park under the first rules and phase of the ladder that allow one, it keeps
// one with the highest score and, of those, the fewest presses. The search closes the display,
// so that nothing is drawn, and works in the temporary directory; the run found is then proved
// by replaying its script through the simulator, drawing. A search plays about a microsecond
// per frame, for each of the few hundred ways open per frame of the park.
Verdict searchPark(const std::filesystem::path& parkPath, const SearchOptions& options);

// A run of a park measured: the timing window of each press, and the skater and the score
// after each frame of the park, from its first.
struct MeasuredRun {
    std::vector<PressWindow> windows;
    std::vector<Skater> skater;
    std::vector<int32_t> score;
};

// Plays the presses in the park file `parkPath`, the only park of a list, from the menu as
// searchPark plays it, and measures the run. False, with the reason in `error`, when the park
// cannot be played or the presses do not complete it with no fall.
bool measureRun(const std::filesystem::path& parkPath, const std::vector<Press>& presses,
                MeasuredRun& measured, std::string& error);

// The presses of a script made like scriptText's: each arrow key's press with the release that
// follows it. False, with the reason in `error`, for a press with no release or a tap of an
// arrow key.
bool pressesOfScript(const std::vector<sim::ScriptEvent>& events, std::vector<Press>& presses,
                     std::string& error);

// The index of the narrowest window (the first of several as narrow), -1 when there is none.
int32_t narrowestWindow(const std::vector<PressWindow>& windows);

// The narrowest window in words: its width, the park frame and key of its press, and the
// obstacles where a press too early or too late falls.
std::string describeTightness(const std::vector<PressWindow>& windows,
                              const std::vector<Press>& presses);

// The winning run as a zanbury-sim script for a park list naming that park alone: Enter on the
// menu at pass 2, the presses, and after the end screen Enter, Down and Enter again, which leave
// the program, so that the simulator stops by itself.
std::string scriptText(const Verdict& verdict, bool steady = false);

// The verdict for people, one statement a line, not yet wrapped: the park's name and whether it
// is completed, with its score and falls; the best run's presses, rules and tricks; the steady
// run and the tightness; where slower hands fall; the proof; the time the search took.
std::string describe(const Verdict& verdict);
std::string describeTricks(const TrickCounts& tricks);
// "1 press", "2 presses".
std::string counted(int64_t count, const char* one, const char* many);
// The lines for a terminal: the first as it is, the others indented by 2, and any line longer
// than `width` broken at spaces into lines indented by 4. Each line ends with a line break.
std::string wrapped(const std::string& lines, std::size_t width = 79);
// Why the park is not proved, in one line for a park checker, with the park file line of the
// obstacle at which the telling search ran out in `line` (0 when none); "" when it is proved.
std::string whyNotProved(const Verdict& verdict, int32_t& line);

// What a replay through the simulator came to.
struct ReplayOutcome {
    bool started = false;    // the game started and the script ran
    bool reachedEnd = false; // a GameOver pass was reached
    bool completed = false;  // ... after the end of the last park, not by a fall
    int32_t score = 0;       // at the first GameOver pass
    int32_t livesLost = 0;   // before that pass
    int32_t parksCompleted = 0;
    int64_t endPass = 0;
    TrickCounts tricks;
};

// Runs the script through the simulator in `dir` for at most maxFrames passes and reads the
// trace up to the first GameOver pass.
ReplayOutcome replay(const std::filesystem::path& dir, const std::vector<sim::ScriptEvent>& events,
                     int64_t maxFrames);

// One script for a whole run of several parks, from single-park scripts made like scriptText's
// (Enter on the menu at pass 2, so the park's first frame is pass 4): each park's events move to
// where that park is played, every key comes up and Enter is tapped on each park-complete
// screen, and the program is left after the end screen. parkLengths[i] belongs to scripts[i].
std::vector<sim::ScriptEvent> joinRun(const std::vector<std::vector<sim::ScriptEvent>>& scripts,
                                      const std::vector<int32_t>& parkLengths);

// Writes the events as script text, one event a line.
std::string eventsText(const std::vector<sim::ScriptEvent>& events);

} // namespace autoplay
