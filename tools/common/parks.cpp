// A park directory for the tools: the names its parks.txt lists, and copies of the list and its
// parks.

#include "park/readers.h"
#include "tools/common/common.h"

namespace tools {

namespace fs = std::filesystem;

bool readParkFile(const fs::path& path, std::string& text, park::ParkFile& file,
                  std::string& error) {
    park::Problem problem;
    if (!park::readTextFile(path.string().c_str(), text, problem) ||
        !park::parseParkFile(text, path.string().c_str(), file, problem)) {
        error = park::formatProblem(problem);
        return false;
    }
    return true;
}

bool parkNames(const fs::path& dir, std::vector<std::string>& names, std::string& error) {
    const fs::path listPath = dir / "parks.txt";
    std::string text;
    static park::ParkListFile list; // large; kept out of the stack
    park::Problem problem;
    if (!park::readTextFile(listPath.string().c_str(), text, problem) ||
        !park::parseParkList(text, listPath.string().c_str(), list, problem)) {
        error = park::formatProblem(problem);
        return false;
    }
    names.clear();
    for (int32_t i = 0; i < list.parkCount; ++i) {
        names.emplace_back(list.list.names[i]);
    }
    return true;
}

bool copyParks(const fs::path& dir, const fs::path& into, std::string& error) {
    std::vector<std::string> names;
    if (!parkNames(dir, names, error)) {
        return false;
    }
    names.emplace_back("parks.txt");
    for (const std::string& name : names) {
        std::error_code ec;
        fs::create_directories((into / name).parent_path(), ec);
        fs::copy_file(dir / name, into / name, fs::copy_options::overwrite_existing, ec);
        if (ec) {
            error = (dir / name).string() + ": cannot be copied: " + ec.message();
            return false;
        }
    }
    return true;
}

} // namespace tools
