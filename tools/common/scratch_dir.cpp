// Scratch directories: made fresh under the temporary directory, removed when done.

#include "tools/common/common.h"

#include <unistd.h>

namespace tools {

namespace fs = std::filesystem;

ScratchDir::ScratchDir(const std::string& purpose) {
    static int made = 0;
    std::error_code ec;
    previous = fs::current_path(ec);
    const fs::path where =
        fs::temp_directory_path(ec) /
        ("zanbury-" + purpose + "-" + std::to_string(getpid()) + "-" + std::to_string(++made));
    fs::remove_all(where, ec);
    if (!ec) {
        fs::create_directories(where, ec);
    }
    if (ec) {
        error = "cannot make " + where.string() + ": " + ec.message();
        return;
    }
    path = where;
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    if (!previous.empty()) {
        fs::current_path(previous, ec);
    }
    if (!path.empty()) {
        fs::remove_all(path, ec);
    }
}

} // namespace tools
