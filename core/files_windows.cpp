// The file layer on Windows (core/files.h): wide names made from the game's UTF-8, CreateFileW
// that shares each file so that it can be renamed and replaced while open, CREATE_NEW for the
// temporary files, MoveFileExW for the atomic replace, LockFileEx for the lock.

#include "core/files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace files {
namespace {

std::wstring wide(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string utf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

// The system's reason for the last failure, in its own words, without the closing full stop.
std::string reason(DWORD error = GetLastError()) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string said = n > 0 ? utf8(std::wstring(text, n)) : "error " + std::to_string(error);
    LocalFree(text);
    while (!said.empty() && (said.back() == '\n' || said.back() == '\r' || said.back() == '.' ||
                             said.back() == ' ')) {
        said.pop_back();
    }
    return said;
}

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A stream over an open handle; the handle is closed when the stream cannot be made.
std::FILE* streamOf(HANDLE handle, int flags, const char* mode, std::string& why) {
    const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(handle), flags | _O_BINARY);
    if (fd < 0) {
        why = "cannot open it as a stream";
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* f = _fdopen(fd, mode);
    if (f == nullptr) {
        why = "cannot open it as a stream";
        _close(fd);
    }
    return f;
}

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string sixCharacters(unsigned tries) {
    static unsigned count = 0;
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    unsigned long long seed = static_cast<unsigned long long>(GetCurrentProcessId()) * 2654435761u +
                              static_cast<unsigned long long>(GetTickCount64()) * 40503u +
                              (count++) * 7919u + tries * 104729u;
    std::string six(6, 'a');
    for (char& c : six) {
        c = letters[seed % 36];
        seed /= 36;
    }
    return six;
}

} // namespace

std::FILE* openToRead(const std::string& path, ReadStatus& status, std::string& why) {
    HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_READ, ShareAll, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        status = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                     ? ReadStatus::Missing
                     : ReadStatus::Refused;
        why = reason(error);
        return nullptr;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool directory = GetFileInformationByHandle(h, &info) != 0 &&
                           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (directory || GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        status = ReadStatus::Refused;
        why = directory ? "a directory, not a regular file" : "not a regular file";
        return nullptr;
    }
    std::FILE* f = streamOf(h, _O_RDONLY, "rb", why);
    status = f != nullptr ? ReadStatus::Read : ReadStatus::Refused;
    return f;
}

namespace {

// CREATE_NEW fails on any name that exists, a link included: nothing is written through it.
// `exists` tells that case from the others.
std::FILE* openNew(const std::string& name, bool& exists, std::string& why) {
    HANDLE h = CreateFileW(wide(name).c_str(), GENERIC_READ | GENERIC_WRITE, ShareAll, nullptr,
                           CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    exists = h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS;
    if (h == INVALID_HANDLE_VALUE) {
        why = exists ? "something is there already" : reason();
        return nullptr;
    }
    std::FILE* f = streamOf(h, _O_RDWR, "w+b", why);
    if (f == nullptr) {
        DeleteFileW(wide(name).c_str());
    }
    return f;
}

} // namespace

std::FILE* createNew(const std::string& path, std::string& why) {
    bool exists = false;
    return openNew(path, exists, why);
}

std::FILE* createBeside(const std::string& path, std::string& temporary, std::string& why) {
    const std::string prefix = temporaryPrefix(path);
    for (unsigned tries = 0; tries < 100; ++tries) {
        temporary = prefix + sixCharacters(tries);
        bool exists = false;
        if (std::FILE* f = openNew(temporary, exists, why)) {
            return f;
        }
        if (!exists) {
            break;
        }
    }
    if (why.empty() || why == "something is there already") {
        why = "no new name for a temporary file beside it";
    }
    temporary.clear();
    return nullptr;
}

bool syncFile(std::FILE* file, std::string& why) {
    if (std::fflush(file) != 0) {
        why = "cannot write it";
        return false;
    }
    const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    if (FlushFileBuffers(h) == 0) {
        why = reason();
        return false;
    }
    return true;
}

bool writeWhole(const std::string& path, const std::string& bytes, std::string& why) {
    std::string temporary;
    std::FILE* f = createBeside(path, temporary, why);
    if (f == nullptr) {
        return false;
    }
    errno = 0;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() && std::fflush(f) == 0;
    if (!ok) {
        why = std::strerror(errno != 0 ? errno : ENOSPC); // a short write: the disk is full
    }
    ok = ok && syncFile(f, why);
    if (std::fclose(f) != 0 && ok) {
        why = std::strerror(errno);
        ok = false;
    }
    ok = ok && replace(temporary, path, why);
    if (!ok) {
        removeFile(temporary);
    }
    return ok;
}

bool replace(const std::string& temporary, const std::string& path, std::string& why) {
    // WRITE_THROUGH: the move is on the disk when it returns, as a synced directory is on POSIX.
    // A file that another program has open cannot be replaced on Windows: the game's readers
    // hold a file for a moment only, so the move is tried again for about a second.
    for (int tries = 0;; ++tries) {
        if (MoveFileExW(wide(temporary).c_str(), wide(path).c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
            return true;
        }
        const DWORD error = GetLastError();
        if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || tries == 100) {
            why = reason(error);
            return false;
        }
        Sleep(10);
    }
}

void removeFile(const std::string& path) {
    DeleteFileW(wide(path).c_str());
}

void sweepTemporaries(const std::string& path, int seconds) {
    const std::string dir = directoryOf(path);
    const std::string prefix = temporaryPrefix(nameOf(path));
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(wide(dir + "\\" + prefix + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    FILETIME nowTime{};
    GetSystemTimeAsFileTime(&nowTime);
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    const unsigned long long now = ticks(nowTime);
    do {
        const std::string name = utf8(found.cFileName);
        const unsigned long long age = now - ticks(found.ftLastWriteTime); // 100 ns steps
        if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0 &&
            age >= static_cast<unsigned long long>(seconds) * 10000000ull) {
            DeleteFileW(wide(dir + "\\" + name).c_str());
        }
    } while (FindNextFileW(search, &found) != 0);
    FindClose(search);
}

std::FILE* openInPlace(const std::string& path, std::string& why) {
    HANDLE h = CreateFileW(wide(path).c_str(), GENERIC_WRITE, ShareAll, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        why = reason();
        return nullptr;
    }
    return streamOf(h, _O_WRONLY, "wb", why);
}

bool makeDirectories(const std::string& dir, std::string& why) {
    for (std::size_t at = 0;; ++at) {
        at = dir.find_first_of("/\\", at);
        const std::string part = dir.substr(0, at);
        // A drive ("C:") or a share's root needs no making.
        const bool root = part.empty() || part.back() == ':' ||
                          part.find_first_not_of("/\\") == std::string::npos;
        if (!root && CreateDirectoryW(wide(part).c_str(), nullptr) == 0 &&
            GetLastError() != ERROR_ALREADY_EXISTS) {
            why = reason();
            return false;
        }
        if (at == std::string::npos) {
            return true;
        }
    }
}

Lock takeLock(const std::string& path, std::string& why) {
    // OPEN_REPARSE_POINT: a link planted at the lock's name is opened as itself, not followed.
    HANDLE h =
        CreateFileW(wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, ShareAll, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        why = reason();
        return NoLock;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(h, &info) == 0 ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        CloseHandle(h);
        why = path + " is not a regular file";
        return NoLock;
    }
    for (int tries = 0;; ++tries) {
        OVERLAPPED at{};
        if (LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) != 0) {
            return reinterpret_cast<Lock>(h);
        }
        const DWORD error = GetLastError();
        if (error != ERROR_LOCK_VIOLATION || tries == 300) {
            why = error == ERROR_LOCK_VIOLATION ? "another program holds the lock" : reason(error);
            CloseHandle(h);
            return NoLock;
        }
        Sleep(10);
    }
}

void releaseLock(Lock lock) {
    if (lock != NoLock) {
        CloseHandle(reinterpret_cast<HANDLE>(lock)); // closing the handle lets go of its lock
    }
}

namespace {

// %APPDATA%\Zanbury, the player's roaming application data: where Windows games keep what is
// theirs, since the folder they are installed in is not the player's to write.
std::string appData() {
    const wchar_t* value = _wgetenv(L"APPDATA");
    return value != nullptr && value[0] != L'\0' ? utf8(value) + "\\Zanbury" : "";
}

} // namespace

std::string configDirectory() {
    return appData();
}

std::string dataDirectory() {
    return appData();
}

} // namespace files
