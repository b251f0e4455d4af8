// The session's files: each regular one replaced atomically (a new file made beside the old one
// under a name of its own, renamed over it once it holds what must never be seen missing), a
// terminal, pipe or device that the player named written in place; and the check that a file
// the player names is none of the game's own.

#include "app/session_parts.h"

#include "app/session.h"
#include "core/files.h"
#include "park/park.h"
#include "park/readers.h"
#include "platform/settings.h"

namespace session::detail {

NewFile openNamed(const std::string& path, std::string& error) {
    switch (files::kindOf(path)) {
    case files::Kind::Directory:
        error = "cannot write " + path + ": it is a directory";
        return NewFile{};
    case files::Kind::BrokenLink:
        error = "cannot write " + path + ": it is a link to a file that does not exist";
        return NewFile{};
    case files::Kind::Other: {
        NewFile f;
        f.path = path;
        std::string why;
        f.file = files::openInPlace(path, why);
        if (f.file == nullptr) {
            error = "cannot write " + path + ": " + why;
        }
        return f;
    }
    case files::Kind::File:
        // Replaced where it lies: a link to it stays the link it was.
        return openReplacing(files::resolved(path), error);
    case files::Kind::None:
        break;
    }
    return openReplacing(path, error);
}

NewFile openReplacing(const std::string& path, std::string& error) {
    NewFile f;
    f.path = path;
    std::string why;
    f.file = files::createBeside(path, f.temporary, why);
    if (f.file == nullptr) {
        error = "cannot make a file beside " + path + ": " + why;
    }
    return f;
}

bool putInPlace(NewFile& file, std::string& error) {
    if (file.temporary.empty()) {
        return true; // written in place
    }
    std::string why;
    if (!files::replace(file.temporary, file.path, why)) {
        error = "cannot put " + file.path + " in place: " + why;
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
    // Read back from the start, then left at its end for the writing that goes on.
    std::string bytes;
    char buffer[65536];
    bool ok = std::fflush(from) == 0 && std::fseek(from, 0, SEEK_SET) == 0;
    for (std::size_t n; ok && (n = std::fread(buffer, 1, sizeof buffer, from)) > 0;) {
        bytes.append(buffer, n);
    }
    ok = ok && std::ferror(from) == 0;
    std::fseek(from, 0, SEEK_END);
    std::string why;
    if (!ok) {
        error = "cannot read back the recording";
        return false;
    }
    if (!files::writeWhole(path, bytes + tail, why)) {
        error = "cannot write " + path + ": " + why;
        return false;
    }
    return true;
}

} // namespace session::detail

namespace session {

bool sameFile(const std::string& a, const std::string& b) {
    return files::sameFile(a, b);
}

std::string refusedOptionFile(const std::string& path, const std::string& replay) {
    struct Own {
        std::string name;
        const char* what;
    };
    std::vector<Own> own = {
        {"parks.txt", "the park list"},
        {park::HighScoreFileName, "the high score"},
        {park::HighScoreLockName, "the high score's lock"},
        {LastRunFile, "the recording the game keeps of every session"},
        {HighScoreRunFile, "the recording of the high score's run"},
    };
    std::vector<std::string> parks;
    std::string unread;
    if (detail::parkFiles(parks, unread)) {
        for (std::size_t i = 1; i < parks.size(); ++i) {
            own.push_back({parks[i], "a park of parks.txt"});
        }
    }
    if (const std::string settingsFile = settings::settingsPath(); !settingsFile.empty()) {
        own.push_back({settingsFile, "the settings file"});
    }
    if (!replay.empty()) {
        own.push_back({replay, "the recording being replayed"});
    }
    for (const Own& o : own) {
        if (sameFile(path, o.name)) {
            return park::printable(path) + " is " + o.what +
                   ", which the game keeps for itself: name another file";
        }
    }
    return "";
}

} // namespace session
