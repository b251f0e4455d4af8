// What the tools share: scratch directories, copies of a park list, checked text files.

#include "tools/common/common.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace {

namespace fs = std::filesystem;

std::string read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every file below `dir`, as paths relative to it.
std::set<std::string> filesIn(const fs::path& dir) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (entry.is_regular_file()) {
            files.insert(fs::relative(entry.path(), dir).string());
        }
    }
    return files;
}

TEST(ToolsCommon, AScratchDirIsFreshAndGoesWithItsFilesAndPutsTheWorkingDirectoryBack) {
    const fs::path before = fs::current_path();
    fs::path made;
    {
        tools::ScratchDir a("common-test");
        tools::ScratchDir b("common-test");
        ASSERT_EQ(a.error, "");
        ASSERT_EQ(b.error, "");
        EXPECT_NE(a.path, b.path);
        EXPECT_TRUE(fs::is_empty(a.path));
        made = a.path;
        fs::current_path(a.path);
        std::string error;
        ASSERT_TRUE(tools::writeTextFile("left.txt", "behind", error)) << error;
    }
    EXPECT_EQ(fs::current_path(), before);
    EXPECT_FALSE(fs::exists(made));
}

TEST(ToolsCommon, CopyParksCopiesTheListAndItsParksAloneAndRefusesAWayOut) {
    tools::ScratchDir from("common-from");
    tools::ScratchDir into("common-into");
    std::string error;
    fs::create_directories(from.path / "sub");
    for (const char* name : {"a.txt", "sub/b.txt", "highscore.txt", "unlisted.txt"}) {
        ASSERT_TRUE(tools::writeTextFile((from.path / name).string(), name, error)) << error;
    }
    ASSERT_TRUE(
        tools::writeTextFile((from.path / "parks.txt").string(), "2 a.txt sub/b.txt\n", error));
    ASSERT_TRUE(tools::copyParks(from.path, into.path, error)) << error;
    EXPECT_EQ(filesIn(into.path), (std::set<std::string>{"parks.txt", "a.txt", "sub/b.txt"}));
    EXPECT_EQ(read(into.path / "sub/b.txt"), "sub/b.txt");

    for (const char* outside : {"../a.txt", "sub/../../a.txt", "/etc/hostname"}) {
        ASSERT_TRUE(tools::writeTextFile((from.path / "parks.txt").string(),
                                         std::string("1 ") + outside + "\n", error));
        EXPECT_FALSE(tools::copyParks(from.path, into.path, error)) << outside;
        EXPECT_NE(error.find(std::string("the park name '") + outside + "'"), std::string::npos)
            << error;
        EXPECT_NE(error.find("park names are paths relative to the directory of the list"),
                  std::string::npos)
            << error;
    }
    ASSERT_TRUE(tools::writeTextFile((from.path / "parks.txt").string(), "1 gone.txt\n", error));
    EXPECT_FALSE(tools::copyParks(from.path, into.path, error));
    EXPECT_NE(error.find("gone.txt: cannot be copied"), std::string::npos) << error;
    fs::remove(from.path / "parks.txt");
    EXPECT_FALSE(tools::copyParks(from.path, into.path, error));
    EXPECT_NE(error.find("parks.txt: cannot be read"), std::string::npos) << error;
}

TEST(ToolsCommon, AWriteThatIsLostIsReportedWithThePath) {
    tools::ScratchDir scratch("common-write");
    const std::string out = (scratch.path / "out.txt").string();
    std::string error;
    ASSERT_TRUE(tools::writeTextFile(out, "1\neasy.txt\n", error)) << error;
    EXPECT_EQ(read(out), "1\neasy.txt\n");

    // /dev/full takes the open and the buffered write, and refuses the bytes at the flush.
    EXPECT_FALSE(tools::writeTextFile("/dev/full", "lost", error));
    EXPECT_EQ(error.rfind("/dev/full: cannot be written", 0), 0u) << error;

    const std::string missing = (scratch.path / "no-such-dir" / "out.txt").string();
    EXPECT_FALSE(tools::writeTextFile(missing, "lost", error));
    EXPECT_EQ(error.rfind(missing + ": cannot be written", 0), 0u) << error;
}

} // namespace
