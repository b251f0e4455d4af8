// The folder the game plays in on Windows, and the player's copy of the installed parks there
// (windows/home.h).

#include "windows/home.h"

#include "core/files.h"

#include <cstdio>
#include <filesystem>
#include <vector>
#include <windows.h>

namespace windows {
namespace {

namespace fs = std::filesystem;

fs::path pathOf(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8Of(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

fs::path programFolder() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (n < name.size()) {
            name.resize(n);
            return fs::path(name).parent_path();
        }
        name.resize(name.size() * 2);
    }
}

bool isFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// What the file holds, or nothing when it cannot be read.
bool contents(const fs::path& path, std::string& text) {
    std::string why;
    return files::readWhole(utf8Of(path), text, why, std::size_t{16} << 20) ==
           files::ReadStatus::Read;
}

} // namespace

const HelpPlaces Places = {
    "Run from its own folder (the zip\n"
    "unpacked), it plays in that folder, with parks.txt, the park files and highscore.txt;\n"
    "installed, in %APPDATA%\\Zanbury, where it keeps its copy of the parks (brought up to\n"
    "date when a new version is installed). It keeps there too the recording of this session,\n"
    "last-run.txt, and of the run that set the high score, highscore-run.txt.\n",
    "%APPDATA%\\Zanbury\\settings.conf.\n"};

void bringParksUpToDate(const std::string& shipped, const std::string& home) {
    std::vector<std::string> failed;
    std::string reason;
    std::string why;
    const fs::path records = pathOf(home) / ".shipped";
    if (!files::makeDirectories(utf8Of(records), why)) {
        failed.push_back(".shipped\\");
        reason = why;
    }
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(pathOf(shipped), ec)) {
        if (!entry.is_regular_file(ec) || entry.path().extension() != ".txt") {
            continue;
        }
        const fs::path name = entry.path().filename();
        const fs::path mine = pathOf(home) / name;
        const fs::path record = records / name;
        std::string park;
        if (!contents(entry.path(), park)) {
            continue;
        }
        std::string kept;
        std::string last;
        const bool have = contents(mine, kept);
        const bool recorded = contents(record, last);
        // Replaced only when missing, or as last shipped: a park the player changed stays.
        if (!isFile(mine) || (have && kept != park && recorded && last == kept)) {
            if (files::writeWhole(utf8Of(mine), park, why)) {
                kept = park;
            } else {
                failed.push_back(utf8Of(name));
                reason = why;
            }
        }
        // Remember what was shipped while the player's copy is it; a changed copy keeps the
        // record of the version it was changed from, so it is never replaced.
        if (kept == park && !(recorded && last == park) &&
            !files::writeWhole(utf8Of(record), park, why)) {
            failed.push_back(".shipped\\" + utf8Of(name));
            reason = why;
        }
    }
    if (!failed.empty()) {
        std::string names;
        for (const std::string& n : failed) {
            names += " " + n;
        }
        std::fprintf(stderr, "zanbury: could not bring up to date in %s (%s):%s\n", home.c_str(),
                     reason.c_str(), names.c_str());
    }
}

bool enterHome(GameOptions& options, std::string& why) {
    std::error_code ec;
    // The files the player names are where the player said, from where the game was started.
    for (std::string* file : {&options.record, &options.replay, &options.trace}) {
        if (!file->empty()) {
            *file = utf8Of(fs::absolute(pathOf(*file), ec));
        }
    }
    const fs::path program = programFolder();
    fs::path home;
    if (isFile(program / "parks.txt")) {
        home = program;
    } else if (isFile(program / "parks" / "parks.txt")) {
        const std::string data = files::dataDirectory();
        if (data.empty()) {
            why = "APPDATA names no folder for the game's files";
            return false;
        }
        if (!files::makeDirectories(data, why)) {
            why = "cannot make " + data + ": " + why;
            return false;
        }
        bringParksUpToDate(utf8Of(program / "parks"), data);
        home = pathOf(data);
    } else {
        return true; // the working directory, as on Linux
    }
    fs::current_path(home, ec);
    if (ec) {
        why = "cannot play in " + utf8Of(home) + ": " + ec.message();
        return false;
    }
    return true;
}

} // namespace windows
