#pragma once
// Sessions: the main loop's passes kept as a recording (app/recording.h), a recording played
// back in place of the player and the clock, and the trace line of every pass. The game calls
// beforePass and afterPass around each pass (one run of the state handler, its wait and its
// present), and so does the simulator; with nothing started they only count the passes.

#include "app/recording.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace session {

// The recordings that the game keeps in its working directory: this session's, and the run that
// set the high score.
inline constexpr const char* LastRunFile = "last-run.txt";
inline constexpr const char* HighScoreRunFile = "highscore-run.txt";

// Whether the player may have the game write `path` for --record or --trace: "" when so, else
// why not. It is never one of the game's own files (parks.txt and its parks, highscore.txt and
// its lock, the two recordings it keeps, the settings) nor `replay`, the recording being
// replayed, whatever name leads to it (a link, a hard link, another path).
std::string refusedOptionFile(const std::string& path, const std::string& replay);
// Whether two names lead to one file: the same path once links are resolved, or the same file
// (a hard link).
bool sameFile(const std::string& a, const std::string& b);

// The tick count as the game logic reads it (the message line's timer, the pacer's read into
// lastPresentTick): platform::tickCount, noted in the recording; during a replay, the
// recording's values in turn.
uint32_t gameTick();
// The tick count that the pacer's wait polls, never recorded. During a replay, the clock moved
// onto the recording's time line, so that the passes come at the recorded pace.
uint32_t waitTick();

// Records the session into each of `paths`. last-run.txt, the game's own, is replaced atomically
// and never written through a link; any other path is one the player named: a link is followed
// to the file it leads to, and a terminal, a pipe or a device is written in place, as a shell's
// redirection would. Each regular file is replaced atomically: the old one stays
// whole until the new one, with its header, takes its place; then the passes are written as
// they come and flushed at least every second of the clock. The header names parks.txt and
// every park file it lists, in the working directory, with their checksums. With
// keepHighScoreRun, a pass whose end screen writes a new high score puts the recording up to
// that pass in highscore-run.txt, under the high score's lock while highscore.txt holds that
// score. The practice park of a practice session (park::practice) is in the header as well.
// False, with the reason in `error`, when a file cannot be made.
bool startRecording(const std::vector<std::string>& paths, bool keepHighScoreRun,
                    std::string& error);

// Checks the recording against the working directory (every file it names there with its
// checksum, parks.txt and every park that it lists among them, its practice park in that list),
// then replays it: its practice park as park::practice until finish, the keys through
// platform::scriptKey, the clock through gameTick, each end screen's verdict on the high score
// through park::highScoreTape (so that no file of the game's is touched). False, with the
// reason, when the directory's parks differ.
bool startReplay(recording::Recording recording, std::string& error);

// Writes the trace line of each pass, with its hash, to `out` after its present; with `own` the
// session flushes it every second and closes it at the end.
void startTrace(std::FILE* out, bool own);
// The same into a file the player named, with the hash: a regular file (through any link to it)
// is replaced atomically, a terminal, a pipe or a device written in place; false with the reason
// in `error` when it cannot be made.
bool startTraceFile(const std::string& path, std::string& error);

// Between the pacer's naps: during a replay, whether the player has asked to stop it (Escape,
// closing the window, a signal), so that a replay waiting for its recorded moment stops within a
// frame; the replay then has no pass left. Always false outside a replay.
bool stopAskedDuringWait();

// Before the pass's handler: a replay puts in the pass's keys. False when the replay has no
// pass left or has gone wrong; the main loop then ends.
bool beforePass();
// After the pass's present: the recording and the trace take the pass.
void afterPass();

// Ends the session: a recording gets its end line and every file is closed. False when a
// replay went wrong (the game did not read what the recording holds), with the reason naming
// the recording's line in `message`; when a replay ran out of a recording that was cut short,
// true with a note saying so in `message`. Everything is then as before any start.
bool finish(std::string& message);

} // namespace session
