#pragma once
// The game's way with files, the same for every file it reads: opened so that the open cannot
// block, and read only when it is a regular file of a bounded size. The park readers, the
// recordings and the settings all read through here, so that a name that leads to a pipe, a
// device or a directory is refused with a reason, never waited on or read for ever.

#include <cstddef>
#include <string>

namespace files {

enum class ReadStatus {
    Read,    // `text` holds the whole file
    Missing, // there is no file of that name
    Refused, // it cannot be read, is not a regular file, or is larger than allowed: see `why`
};

// Reads the whole file at `path` into `text`. On Refused, `why` says why in a few words ("not a
// regular file", "larger than 16 MiB", or the system's reason); on Missing, the system's reason.
ReadStatus readWhole(const char* path, std::string& text, std::string& why, std::size_t maxBytes);

} // namespace files
