// Reading a whole small text file for the readers: only a regular file, and only up to
// MaxTextFileBytes (or the caller's limit), so that a name of a pipe or a device is refused rather
// than waited on.

#include "park/readers.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace park {

bool readTextFile(const char* path, std::string& text, Problem& problem, std::size_t maxBytes) {
    auto refuse = [&](const std::string& why) {
        problem = Problem{path, 0, "cannot be read" + (why.empty() ? "" : ": " + why)};
        return false;
    };
    // Opened without waiting, so that a name of a pipe or a device is refused, not waited on or
    // read for ever.
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return refuse(std::strerror(errno));
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return refuse("not a regular file");
    }
    std::FILE* f = fdopen(fd, "rb");
    if (f == nullptr) {
        const int reason = errno;
        close(fd);
        return refuse(std::strerror(reason));
    }
    text.clear();
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0 && text.size() <= maxBytes) {
        text.append(buffer, n);
    }
    bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) {
        return refuse("");
    }
    if (text.size() > maxBytes) {
        return refuse("larger than " + std::to_string(maxBytes >> 20) + " MiB");
    }
    return true;
}

} // namespace park
