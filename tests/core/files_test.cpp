// The file layer, the same on POSIX and on Windows (this test is built for both, and runs under
// Wine): only regular files are read, byte for byte; a replacement is atomic and leaves nothing
// beside the file; a new file is never made through a name that is taken; temporary leftovers
// are swept; names are UTF-8; the lock is exclusive; the player's directories follow the
// environment.

#include "core/files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = (fs::temp_directory_path() /
                ("zanbury-files-" +
                 std::to_string(std::chrono::steady_clock::now().time_since_epoch().count())))
                   .string();
        std::string why;
        ASSERT_TRUE(files::makeDirectories(dir_, why)) << why;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(fs::path(std::u8string(dir_.begin(), dir_.end())), ec);
    }
    std::string at(const std::string& name) const { return dir_ + "/" + name; }
    std::string read(const std::string& path) const {
        std::string text;
        std::string why;
        EXPECT_EQ(files::readWhole(path, text, why, 1 << 20), files::ReadStatus::Read) << why;
        return text;
    }
    int entries() const {
        int n = 0;
        for ([[maybe_unused]] const auto& e :
             fs::directory_iterator(fs::path(std::u8string(dir_.begin(), dir_.end())))) {
            ++n;
        }
        return n;
    }
    std::string dir_;
};

TEST_F(FilesTest, OnlyRegularFilesAreReadAndByteForByte) {
    std::string text;
    std::string why;
    EXPECT_EQ(files::readWhole(at("missing"), text, why, 100), files::ReadStatus::Missing);
    EXPECT_EQ(files::readWhole(dir_, text, why, 100), files::ReadStatus::Refused);
    EXPECT_NE(why.find("not a regular file"), std::string::npos) << why;
    // Bytes a text mode would change: a line break of two, a lone one, and Ctrl-Z.
    const std::string bytes("1\r\n2\n\x1a"
                            "3",
                            7);
    ASSERT_TRUE(files::writeWhole(at("bytes"), bytes, why)) << why;
    EXPECT_EQ(read(at("bytes")), bytes);
    EXPECT_EQ(files::readWhole(at("bytes"), text, why, 6), files::ReadStatus::Refused);
    EXPECT_NE(why.find("larger than"), std::string::npos) << why;
    EXPECT_TRUE(text.empty());
#ifndef _WIN32
    ASSERT_EQ(mkfifo(at("pipe").c_str(), 0600), 0);
    EXPECT_EQ(files::readWhole(at("pipe"), text, why, 100), files::ReadStatus::Refused);
    EXPECT_EQ(files::kindOf(at("pipe")), files::Kind::Other);
#endif
    EXPECT_EQ(files::kindOf(at("bytes")), files::Kind::File);
    EXPECT_EQ(files::kindOf(dir_), files::Kind::Directory);
    EXPECT_EQ(files::kindOf(at("missing")), files::Kind::None);
}

TEST_F(FilesTest, AReplacementIsWholeAndNeverMadeThroughATakenName) {
    std::string why;
    ASSERT_TRUE(files::writeWhole(at("score"), "old", why)) << why;
    // A reader that has the old file open reads it whole while it is replaced (on Windows the
    // replace waits until the reader lets go).
    files::ReadStatus status = files::ReadStatus::Read;
    std::FILE* reader = files::openToRead(at("score"), status, why);
    ASSERT_NE(reader, nullptr) << why;
    std::string temporary;
    std::FILE* next = files::createBeside(at("score"), temporary, why);
    ASSERT_NE(next, nullptr) << why;
    EXPECT_EQ(temporary.rfind(files::temporaryPrefix(at("score")), 0), 0u) << temporary;
    ASSERT_GE(std::fputs("new", next), 0);
    ASSERT_TRUE(files::syncFile(next, why)) << why;
    // Renamed while still open, as a recording is, and written to afterwards.
    bool replaced = false;
    std::string replaceWhy;
    std::thread replacing([&] { replaced = files::replace(temporary, at("score"), replaceWhy); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    char old[8] = {};
    EXPECT_EQ(std::fread(old, 1, sizeof old, reader), 3u);
    EXPECT_STREQ(old, "old");
    std::fclose(reader);
    replacing.join();
    ASSERT_TRUE(replaced) << replaceWhy;
    std::fputs("er", next);
    std::fclose(next);
    EXPECT_EQ(read(at("score")), "newer");
    EXPECT_EQ(entries(), 1); // nothing beside it

    // A name that is taken, by a file or by a link, is never opened: the victim keeps its own.
    ASSERT_TRUE(files::writeWhole(at("victim"), "mine", why)) << why;
    EXPECT_EQ(files::createNew(at("victim"), why), nullptr);
    EXPECT_EQ(read(at("victim")), "mine");
#ifndef _WIN32
    fs::create_symlink(at("victim"), at("planted"));
    EXPECT_EQ(files::createNew(at("planted"), why), nullptr);
    EXPECT_EQ(read(at("victim")), "mine");
    fs::remove(at("planted"));
#endif
    std::FILE* made = files::createNew(at("fresh"), why);
    ASSERT_NE(made, nullptr) << why;
    std::fclose(made);

    // Leftovers beside a file are swept; a young one is kept by a sweep that spares those.
    const std::string leftover = files::temporaryPrefix(at("score")) + "abc123";
    ASSERT_TRUE(files::writeWhole(leftover, "cut", why)) << why;
    files::sweepTemporaries(at("score"), 3600);
    EXPECT_EQ(files::kindOf(leftover), files::Kind::File);
    files::sweepTemporaries(at("score"), 0);
    EXPECT_EQ(files::kindOf(leftover), files::Kind::None);
    EXPECT_EQ(files::kindOf(at("victim")), files::Kind::File);
}

TEST_F(FilesTest, NamesAreUtf8) {
    const std::string home = at("Zo\xc3\xab/\xc5\x81ukasz");
    std::string why;
    ASSERT_TRUE(files::makeDirectories(home, why)) << why;
    ASSERT_TRUE(files::writeWhole(home + "/highscore.txt", "120", why)) << why;
    EXPECT_EQ(read(home + "/highscore.txt"), "120");
    EXPECT_TRUE(files::sameFile(home + "/highscore.txt", home + "/./highscore.txt"));
    EXPECT_FALSE(files::sameFile(home + "/highscore.txt", at("other")));
    const files::Lock lock = files::takeLock(home + "/highscore.txt.lock", why);
    EXPECT_NE(lock, files::NoLock) << why;
    files::releaseLock(lock);
}

TEST_F(FilesTest, TheLockIsHeldByOneAtATime) {
    std::string why;
    const files::Lock first = files::takeLock(at("a.lock"), why);
    ASSERT_NE(first, files::NoLock) << why;
    EXPECT_EQ(files::takeLock(at("a.lock"), why), files::NoLock);
    EXPECT_NE(why.find("holds the lock"), std::string::npos) << why;
    files::releaseLock(first);
    const files::Lock again = files::takeLock(at("a.lock"), why);
    EXPECT_NE(again, files::NoLock) << why;
    files::releaseLock(again);
    // A directory by the lock's name is no lock.
    ASSERT_TRUE(files::makeDirectories(at("d.lock"), why));
    EXPECT_EQ(files::takeLock(at("d.lock"), why), files::NoLock);
}

TEST_F(FilesTest, ThePlayersDirectoriesFollowTheEnvironment) {
#ifdef _WIN32
    _wputenv_s(L"APPDATA", L"C:\\Users\\Zo\u00eb\\AppData\\Roaming");
    EXPECT_EQ(files::configDirectory(), "C:\\Users\\Zo\xc3\xab\\AppData\\Roaming\\Zanbury");
    EXPECT_EQ(files::dataDirectory(), files::configDirectory());
#else
    const char* home = std::getenv("HOME");
    const std::string keep = home != nullptr ? home : "";
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    setenv("XDG_DATA_HOME", "relative", 1); // not absolute: HOME's default instead
    setenv("HOME", "/home/zo\xc3\xab", 1);
    EXPECT_EQ(files::configDirectory(), "/cfg/zanbury");
    EXPECT_EQ(files::dataDirectory(), "/home/zo\xc3\xab/.local/share/zanbury");
    unsetenv("HOME");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(files::configDirectory(), "");
    if (home != nullptr) {
        setenv("HOME", keep.c_str(), 1);
    }
#endif
}

} // namespace
