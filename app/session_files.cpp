// The session's files, each replaced atomically: a new file made beside the old one under a
// name of its own, renamed over it once it holds what must never be seen missing.

#include "app/session_parts.h"

#include "park/readers.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace session::detail {
namespace {

std::string reason() {
    return std::strerror(errno);
}

// The directory that holds `path`, for its sync after a rename.
bool syncDirectoryOf(const std::string& path) {
    std::string dir = std::filesystem::path(path).parent_path().string();
    int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) {
        return false;
    }
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace

NewFile openReplacing(const std::string& path, std::string& error) {
    NewFile f;
    f.path = path;
    std::string pattern = path + ".XXXXXX";
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        error = "cannot make a file beside " + path + ": " + reason();
        return f;
    }
    // An ordinary file as the umask makes them, not mkstemp's private one.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    f.temporary = pattern;
    f.file = ::fdopen(fd, "w+");
    if (f.file == nullptr) {
        error = "cannot write " + pattern + ": " + reason();
        ::close(fd);
        ::unlink(pattern.c_str());
    }
    return f;
}

bool putInPlace(NewFile& file, std::string& error) {
    if (std::rename(file.temporary.c_str(), file.path.c_str()) != 0) {
        error = "cannot put " + file.path + " in place: " + reason();
        return false;
    }
    return true;
}

bool parkFiles(std::vector<std::string>& names, std::string& error) {
    std::string list;
    park::Problem problem;
    park::ParkListFile parks;
    if (!park::readTextFile("parks.txt", list, problem) ||
        !park::parseParkList(list, "parks.txt", parks, problem)) {
        error = park::formatProblem(problem);
        return false;
    }
    names.assign({"parks.txt"});
    names.insert(names.end(), parks.list.names, parks.list.names + parks.parkCount);
    return true;
}

bool copyReplacing(std::FILE* from, const std::string& tail, const std::string& path,
                   std::string& error) {
    NewFile to = openReplacing(path, error);
    if (to.file == nullptr) {
        return false;
    }
    const int in = ::fileno(from);
    char buffer[65536];
    bool ok = true;
    for (off_t at = 0;;) {
        ssize_t n = ::pread(in, buffer, sizeof buffer, at);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        at += n;
        if (std::fwrite(buffer, 1, static_cast<std::size_t>(n), to.file) !=
            static_cast<std::size_t>(n)) {
            ok = false;
            break;
        }
    }
    ok = ok && std::fwrite(tail.data(), 1, tail.size(), to.file) == tail.size();
    ok = ok && std::fflush(to.file) == 0 && ::fsync(::fileno(to.file)) == 0;
    if (!ok) {
        error = "cannot write " + to.temporary + ": " + reason();
    }
    ok = std::fclose(to.file) == 0 && ok;
    if (ok && !putInPlace(to, error)) {
        ok = false;
    }
    if (!ok) {
        ::unlink(to.temporary.c_str());
        return false;
    }
    syncDirectoryOf(path);
    return true;
}

} // namespace session::detail
