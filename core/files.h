#pragma once
// The game's one file layer: every file the game, the simulator and the tools read or write goes
// through here, with one implementation for POSIX systems (files_posix.cpp) and one for Windows
// (files_windows.cpp). Paths are UTF-8 everywhere in the game; on Windows this layer alone turns
// them into the system's wide names, so that a player called "Zoë" keeps a high score.
//
// The promises, the same on both systems:
// - a file is read only when it is a regular file, and opening it never waits (a pipe, a device
//   or a directory by that name is refused with a reason);
// - a file is replaced atomically: its replacement is written to a new file beside it, made
//   exclusively and never through a link, synced, then renamed over it, so that a kill at any
//   moment leaves the old file or the new, whole;
// - the high score's lock is one exclusive lock held by one game at a time.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace files {

enum class ReadStatus {
    Read,    // the file is open, or `text` holds the whole file
    Missing, // there is no file of that name
    Refused, // it cannot be read, is not a regular file, or is larger than allowed: see `why`
};

// Opens a regular file for reading as bytes, without waiting. nullptr, with the status and the
// reason in a few words ("not a regular file", or the system's reason), when it cannot.
std::FILE* openToRead(const std::string& path, ReadStatus& status, std::string& why);

// Reads the whole file at `path` into `text`. On Refused, `why` says why ("not a regular file",
// "larger than 16 MiB", or the system's reason); on Missing, the system's reason.
ReadStatus readWhole(const std::string& path, std::string& text, std::string& why,
                     std::size_t maxBytes);

// A new file beside `path`, its replacement: named `path` + ".new-" and six characters of its
// own, created exclusively (a planted file or link at that name is never written through), with
// the permissions of the file it replaces or, for a new one, of an ordinary new file. Open for
// writing and reading back as bytes. nullptr with the reason when it cannot be made.
std::FILE* createBeside(const std::string& path, std::string& temporary, std::string& why);
// A new file at exactly `path`, made the same way: it fails when anything, a link included, is
// there already.
std::FILE* createNew(const std::string& path, std::string& why);
// The prefix of every temporary name that createBeside makes for `path`.
std::string temporaryPrefix(const std::string& path);

// Writes what the stream holds through to the disk. False with the reason.
bool syncFile(std::FILE* file, std::string& why);

// Renames `temporary` over `path` in one step: a reader sees the old file or the new, never
// neither. The temporary file may still be open (a recording goes on being written after it is
// in place). Then makes the rename itself durable (the directory synced, where the system has
// that). On Windows, where a file open elsewhere cannot be replaced, the replace waits about a
// second for it to be closed. False with the reason; `temporary` is then left for the caller
// to remove.
bool replace(const std::string& temporary, const std::string& path, std::string& why);

// Replaces the file at `path` with `bytes`, atomically: createBeside, the bytes, syncFile, then
// replace; nothing is left beside it when that fails. False with the reason.
bool writeWhole(const std::string& path, const std::string& bytes, std::string& why);

// Writes `bytes` to a file that the player named on a command line: a regular file (through any
// link to it) or a new one is replaced as writeWhole does; a terminal, a pipe or a device is
// written in place; a directory or a link to nothing is refused. False with the reason.
bool writeNamed(const std::string& path, const std::string& bytes, std::string& why);

// Removes a file; nothing is said when there is none.
void removeFile(const std::string& path);

// Removes the temporary files that createBeside made for `path` and that are older than
// `seconds`: leftovers of a writer killed between the making and the rename. A writer at work
// now keeps its own, which is younger.
void sweepTemporaries(const std::string& path, int seconds);

// Opens a terminal, a pipe or a device that the player named for writing, in place, as a shell's
// redirection would; a pipe that nothing reads is refused at once. nullptr with the reason.
std::FILE* openInPlace(const std::string& path, std::string& why);

// What lies at a path: nothing, a regular file, a directory, a link to nothing, or something else
// (a terminal, a pipe, a device). Links are followed.
enum class Kind { None, File, Directory, BrokenLink, Other };
Kind kindOf(const std::string& path);
// The path with every link resolved, absolute; the path itself made absolute when it cannot be.
std::string resolved(const std::string& path);
// Whether two names lead to one file: the same path once links are resolved, or, for files that
// exist, the same file (a hard link).
bool sameFile(const std::string& a, const std::string& b);

// Makes the directory and its parents, as `mkdir -p` does. False with the reason.
bool makeDirectories(const std::string& dir, std::string& why);

// An exclusive lock on the file at `path` (made when missing, never through a link, only a
// regular file), waited for for about three seconds before giving up, so that a game never hangs
// on a lock that a stopped process keeps. NoLock, with the reason, when it cannot be had.
using Lock = std::intptr_t;
inline constexpr Lock NoLock = -1;
Lock takeLock(const std::string& path, std::string& why);
void releaseLock(Lock lock);

// The player's own directories for the game: settings, and data (the high score, the
// recordings, the parks). XDG_CONFIG_HOME/zanbury and XDG_DATA_HOME/zanbury, or under HOME as XDG
// says; on Windows both are %APPDATA%\Zanbury. "" when the environment names none.
std::string configDirectory();
std::string dataDirectory();
// A file's path in a directory, with the system's own separator.
std::string inDirectory(const std::string& dir, const std::string& name);

} // namespace files
