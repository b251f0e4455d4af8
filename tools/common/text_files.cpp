// Text files the tools write: written whole or reported, and the table of expected replay
// scores, which they read and rewrite.

#include "core/files.h"
#include "park/readers.h"
#include "tools/common/common.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>

namespace tools {

namespace fs = std::filesystem;

bool writeTextFile(const std::string& path, const std::string& text, std::string& error) {
    std::string why;
    if (!files::writeNamed(path, text, why)) {
        error = path + ": cannot be written: " + why;
        return false;
    }
    return true;
}

namespace {

// The table's text, or "" for a table that does not exist yet.
bool readTable(const fs::path& table, std::string& text, std::string& error) {
    text.clear();
    park::Problem problem;
    if (fs::exists(table) && !park::readTextFile(table.string().c_str(), text, problem)) {
        error = park::formatProblem(problem);
        return false;
    }
    return true;
}

} // namespace

bool readExpected(const fs::path& table, std::vector<std::pair<std::string, int32_t>>& rows,
                  std::string& error) {
    rows.clear();
    std::string text;
    if (!readTable(table, text, error)) {
        return false;
    }
    std::istringstream in(text);
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        std::istringstream words(line);
        std::string name;
        long long score = 0;
        if (!(words >> name) || name[0] == '#') {
            continue;
        }
        if (!(words >> score)) {
            error = table.string() + ":" + std::to_string(lineNumber) + ": no score after " + name;
            return false;
        }
        rows.emplace_back(name, static_cast<int32_t>(score));
    }
    return true;
}

bool recordExpected(const fs::path& table, const std::string& parkName, int32_t score,
                    std::string& error) {
    std::string text;
    if (!readTable(table, text, error)) {
        return false;
    }
    std::istringstream in(text);
    std::ostringstream out;
    bool replaced = false;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string name;
        if (words >> name && name == parkName) {
            out << parkName << " " << score << "\n";
            replaced = true;
        } else {
            out << line << "\n";
        }
    }
    if (!replaced) {
        out << parkName << " " << score << "\n";
    }
    return writeTextFile(table.string(), out.str(), error);
}

} // namespace tools
