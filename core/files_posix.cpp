// The file layer on POSIX systems (core/files.h).

#include "core/files.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

ReadStatus readWhole(const char* path, std::string& text, std::string& why, std::size_t maxBytes) {
    text.clear();
    why.clear();
    // O_NONBLOCK: opening a FIFO with no writer, or some devices, would otherwise wait for ever.
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        why = std::strerror(errno);
        return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Refused;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        why = S_ISDIR(info.st_mode) ? "a directory, not a regular file" : "not a regular file";
        return ReadStatus::Refused;
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            why = std::strerror(errno);
            break;
        }
        if (n == 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(n));
        if (text.size() > maxBytes) {
            why = maxBytes >= (std::size_t{1} << 20)
                      ? "larger than " + std::to_string(maxBytes >> 20) + " MiB"
                      : "larger than " + std::to_string(maxBytes >> 10) + " KiB";
            break;
        }
    }
    ::close(fd);
    if (!why.empty()) {
        text.clear();
        return ReadStatus::Refused;
    }
    return ReadStatus::Read;
}

} // namespace files
