// The session's passes: the clock as the game reads it, the pass count, and the trace line of
// each pass; the recorder and the replayer take their part of each pass (session_parts.h).

#include "app/session.h"

#include "app/session_parts.h"
#include "app/trace.h"
#include "core/files.h"
#include "platform/platform.h"

#include <cerrno>
#include <cstring>

namespace session {
namespace {

struct Trace {
    std::FILE* out = nullptr;
    bool own = false;
    uint32_t lastFlush = 0;
};

int64_t pass = 0;
Trace trace;
bool stopAsked = false; // during a replay, by the player while the pacer waited

} // namespace

uint32_t gameTick() {
    if (detail::replaying()) {
        return detail::replayTick();
    }
    const uint32_t tick = platform::tickCount();
    if (detail::recording()) {
        detail::recordTick(tick);
    }
    return tick;
}

uint32_t waitTick() {
    return detail::replaying() ? detail::replayWaitTick() : platform::tickCount();
}

bool startRecording(const std::vector<std::string>& paths, bool keepHighScoreRun,
                    std::string& error) {
    return detail::recorderStart(paths, keepHighScoreRun, error);
}

bool startReplay(recording::Recording recording, std::string& error) {
    return detail::replayerStart(std::move(recording), error);
}

void startTrace(std::FILE* out, bool own) {
    trace = Trace{out, own, platform::tickCount()};
}

bool startTraceFile(const std::string& path, std::string& error) {
    detail::NewFile f = detail::openNamed(path, error);
    if (f.file == nullptr) {
        return false;
    }
    if (!detail::putInPlace(f, error)) {
        std::fclose(f.file);
        files::removeFile(f.temporary);
        return false;
    }
    startTrace(f.file, true);
    return true;
}

bool stopAskedDuringWait() {
    if (detail::replaying() && !stopAsked && !platform::pumpEvents()) {
        stopAsked = true;
    }
    return stopAsked;
}

bool beforePass() {
    if (detail::replaying() && (stopAsked || !detail::replayBeforePass(pass + 1))) {
        return false;
    }
    ++pass;
    if (detail::recording()) {
        detail::recordBeforePass(pass);
    }
    return true;
}

void afterPass() {
    if (detail::replaying()) {
        detail::replayAfterPass(pass);
    }
    if (detail::recording()) {
        detail::recordAfterPass(pass);
    }
    if (trace.out == nullptr) {
        return;
    }
    if (!trace::write(trace.out, pass, true)) {
        std::fprintf(stderr, "zanbury: warning: cannot write the trace: %s; it stops here\n",
                     std::strerror(errno));
        if (trace.own) {
            std::fclose(trace.out);
        }
        trace = Trace{};
    } else if (trace.own && platform::tickCount() - trace.lastFlush >= 1000u) {
        std::fflush(trace.out);
        trace.lastFlush = platform::tickCount();
    }
}

bool finish(std::string& message) {
    message.clear();
    detail::recorderFinish(pass);
    bool ok = detail::replayerFinish(pass, message);
    if (trace.out != nullptr && trace.own && std::fclose(trace.out) != 0) {
        std::fprintf(stderr, "zanbury: warning: cannot write the trace: %s\n",
                     std::strerror(errno));
    }
    trace = Trace{};
    pass = 0;
    stopAsked = false;
    return ok;
}

} // namespace session
