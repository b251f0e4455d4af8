// The file layer's parts that are the same on every system (core/files.h): whole reads, and names
// and kinds through std::filesystem, its paths made from the game's UTF-8.

#include "core/files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace files {
namespace {

namespace fs = std::filesystem;

fs::path pathOf(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8Of(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace

ReadStatus readWhole(const std::string& path, std::string& text, std::string& why,
                     std::size_t maxBytes) {
    text.clear();
    why.clear();
    ReadStatus status = ReadStatus::Read;
    std::FILE* f = openToRead(path, status, why);
    if (f == nullptr) {
        return status;
    }
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) {
        text.append(buffer, n);
        if (text.size() > maxBytes) {
            why = maxBytes >= (std::size_t{1} << 20)
                      ? "larger than " + std::to_string(maxBytes >> 20) + " MiB"
                      : "larger than " + std::to_string(maxBytes >> 10) + " KiB";
            break;
        }
    }
    if (why.empty() && std::ferror(f) != 0) {
        why = "a read failed";
    }
    std::fclose(f);
    if (!why.empty()) {
        text.clear();
        return ReadStatus::Refused;
    }
    return ReadStatus::Read;
}

bool writeNamed(const std::string& path, const std::string& bytes, std::string& why) {
    switch (kindOf(path)) {
    case Kind::Directory:
        why = "it is a directory";
        return false;
    case Kind::BrokenLink:
        why = "it is a link to a file that does not exist";
        return false;
    case Kind::Other: {
        std::FILE* f = openInPlace(path, why);
        if (f == nullptr) {
            return false;
        }
        errno = 0;
        const bool written =
            std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() && std::fflush(f) == 0;
        int error = errno;
        if (std::fclose(f) != 0 && error == 0) {
            error = errno;
        }
        if (!written || error != 0) {
            why = error != 0 ? std::strerror(error) : "it cannot be written";
            return false;
        }
        return true;
    }
    case Kind::File:
        return writeWhole(resolved(path), bytes, why);
    case Kind::None:
        break;
    }
    return writeWhole(path, bytes, why);
}

std::string inDirectory(const std::string& dir, const std::string& name) {
    return utf8Of(pathOf(dir) / pathOf(name));
}

std::string temporaryPrefix(const std::string& path) {
    return path + ".new-";
}

Kind kindOf(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(pathOf(path), ec);
    switch (status.type()) {
    case fs::file_type::regular:
        return Kind::File;
    case fs::file_type::directory:
        return Kind::Directory;
    case fs::file_type::not_found:
    case fs::file_type::none:
        return fs::is_symlink(fs::symlink_status(pathOf(path), ec)) ? Kind::BrokenLink : Kind::None;
    default:
        return Kind::Other;
    }
}

std::string resolved(const std::string& path) {
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(pathOf(path), ec), ec);
    if (ec) {
        p = fs::absolute(pathOf(path), ec);
    }
    return utf8Of(p);
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return resolved(a) == resolved(b) || fs::equivalent(pathOf(a), pathOf(b), ec);
}

} // namespace files
