// Keeping the libraries under SDL from burying the game's own messages on standard error:
// alsa-lib tells of a missing sound card in about nine lines, and libwayland-client of a missing
// runtime directory in one, while SDL looks past it for a display. Each library is only looked
// up among those SDL has already loaded, never loaded or linked here: where SDL has not loaded
// it, it has nothing to say.

#include "platform/sdl/sdl_state.h"

#include <dlfcn.h>

#include <cstdarg>
#include <cstdio>

namespace platform::detail {
namespace {

using AlsaReportHandler = void (*)(const char* file, int line, const char* function, int error,
                                   const char* format, ...);
using SetAlsaReportHandler = int (*)(AlsaReportHandler handler);
using WaylandLogHandler = void (*)(const char* format, va_list args);
using SetWaylandLogHandler = void (*)(WaylandLogHandler handler);

// A function of a library already in the process; nullptr when the library is not.
void* loadedFunction(const char* library, const char* name) {
    void* handle = dlopen(library, RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr) {
        return nullptr;
    }
    void* function = dlsym(handle, name);
    dlclose(handle); // the reference that this lookup took; SDL's own keeps the library
    return function;
}

void dropAlsaReport(const char*, int, const char*, int, const char*, ...) {}

bool waylandQuiet = false;

// libwayland-client's log handler cannot be taken back, so this one stays and, once the quiet
// is over, writes as the library's own does.
void waylandLog(const char* format, va_list args) {
    if (!waylandQuiet) {
        std::vfprintf(stderr, format, args);
    }
}

} // namespace

void quietenAlsa(bool quiet) {
    auto setHandler = reinterpret_cast<SetAlsaReportHandler>(
        loadedFunction("libasound.so.2", "snd_lib_error_set_handler"));
    if (setHandler != nullptr) {
        setHandler(quiet ? dropAlsaReport : nullptr); // nullptr: alsa-lib's own handler again
    }
}

void quietenWayland(bool quiet) {
    waylandQuiet = quiet;
    if (!quiet) {
        return;
    }
    auto setHandler = reinterpret_cast<SetWaylandLogHandler>(
        loadedFunction("libwayland-client.so.0", "wl_log_set_handler_client"));
    if (setHandler != nullptr) {
        setHandler(waylandLog);
    }
}

} // namespace platform::detail
