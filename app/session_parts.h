#pragma once
// What the session's files share: the recorder (recorder.cpp), the replayer (replayer.cpp) and
// the files they write (session_files.cpp). Nothing outside app/ sees this.

#include "app/recording.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace session::detail {

// recorder.cpp
bool recorderStart(const std::vector<std::string>& paths, bool keepHighScoreRun,
                   std::string& error);
bool recording();
void recordBeforePass(int64_t pass);
void recordTick(uint32_t tick);
void recordAfterPass(int64_t pass);
void recorderFinish(int64_t passes);

// replayer.cpp
bool replayerStart(recording::Recording recording, std::string& error);
bool replaying();
bool replayBeforePass(int64_t pass);
uint32_t replayTick();
uint32_t replayWaitTick();
void replayAfterPass(int64_t pass);
bool replayerFinish(int64_t passes, std::string& message);

// session_files.cpp: a file replaced atomically. openReplacing makes a new file beside `path`
// (nullptr with the reason in `error` when it cannot); putInPlace, once the start is written
// and flushed, renames it over `path`. openNamed opens a file that the player named: through its
// links, and in place when it is not a regular file (no temporary; putInPlace then does nothing).
struct NewFile {
    std::FILE* file = nullptr;
    std::string path;
    std::string temporary; // empty when the file is written in place
};
NewFile openReplacing(const std::string& path, std::string& error);
NewFile openNamed(const std::string& path, std::string& error);
bool putInPlace(NewFile& file, std::string& error);
// parks.txt in the working directory and every park file it lists, in order; false with the
// reason in `error` when the list cannot be read.
bool parkFiles(std::vector<std::string>& names, std::string& error);

// Replaces `path` atomically with the bytes of the open file `from` and then `tail`: written
// to a new file beside it, synced, renamed over it, and the directory synced.
bool copyReplacing(std::FILE* from, const std::string& tail, const std::string& path,
                   std::string& error);

} // namespace session::detail
