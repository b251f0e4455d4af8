// Reading a whole small text file for the readers: through the file layer, so that only a regular
// file is read, and only up to MaxTextFileBytes (or the caller's limit); a name of a pipe or a
// device is refused rather than waited on.

#include "park/readers.h"

#include "core/files.h"

namespace park {

bool readTextFile(const char* path, std::string& text, Problem& problem, std::size_t maxBytes) {
    std::string why;
    if (files::readWhole(path, text, why, maxBytes) != files::ReadStatus::Read) {
        problem = Problem{path, 0, "cannot be read: " + why};
        return false;
    }
    return true;
}

} // namespace park
