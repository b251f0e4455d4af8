// The settings file: what it holds survives a write and a read, a broken one gives the defaults
// for what is broken, and a writer killed at any moment leaves the old file or the new, whole.

#include "platform/settings.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("zanbury-settings-" + std::to_string(getpid()));
        fs::remove_all(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(SettingsTest, ChangedSettingsAndUnknownKeysSurviveAWriteAndARead) {
    std::string problem;
    settings::Settings s = settings::parseSettings("future = 3 \n", problem);
    EXPECT_TRUE(problem.empty());
    s.look = settings::Look::Stretch;
    s.mute = true;
    s.lives = false;
    s.gpu = settings::Gpu::No;
    const std::string path = (dir_ / "deep" / "zanbury" / "settings.conf").string();
    ASSERT_TRUE(settings::saveSettings(path, s)); // the directories are made
    const settings::Settings back = settings::loadSettings(path);
    EXPECT_EQ(back.look, settings::Look::Stretch);
    EXPECT_TRUE(back.mute);
    EXPECT_FALSE(back.lives);
    EXPECT_EQ(back.gpu, settings::Gpu::No);
    ASSERT_EQ(back.others.size(), 1u);
    EXPECT_EQ(back.others[0], "future = 3");
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(path).parent_path()),
                            fs::directory_iterator{}),
              2)
        << "no temporary file is left beside the settings and their lock";

    // F10's order, and a missing file: the defaults.
    EXPECT_EQ(settings::nextLook(settings::Look::Sharp), settings::Look::Whole);
    EXPECT_EQ(settings::nextLook(settings::Look::Stretch), settings::Look::Sharp);
    bool missing = false;
    const settings::Settings none = settings::loadSettings((dir_ / "none.conf").string(), &missing);
    EXPECT_TRUE(missing);
    settings::loadSettings(path, &missing);
    EXPECT_FALSE(missing);
    EXPECT_EQ(none.look, settings::Look::Sharp);
    EXPECT_TRUE(none.lives);
    EXPECT_FALSE(none.mute);
    EXPECT_EQ(none.gpu, settings::Gpu::Unknown);
}

TEST_F(SettingsTest, BrokenLinesGiveTheDefaultsForWhatTheySay) {
    std::string problem;
    settings::Settings s =
        settings::parseSettings("mute = yes\nlook = blurry\n\x01\x02garbage\nlives\n", problem);
    EXPECT_TRUE(s.mute); // the good line holds
    EXPECT_EQ(s.look, settings::Look::Sharp);
    EXPECT_TRUE(s.lives);
    EXPECT_NE(problem.find("line 2"), std::string::npos) << problem;

    // A file of garbage: every default, and no exception.
    fs::create_directories(dir_);
    std::ofstream(dir_ / "garbage.conf", std::ios::binary) << std::string("\xff\xfe\0\x80=\n==", 8);
    const settings::Settings g = settings::loadSettings((dir_ / "garbage.conf").string());
    EXPECT_EQ(g.look, settings::Look::Sharp);
    EXPECT_FALSE(g.mute);
    EXPECT_TRUE(g.others.empty());

    // The warning names the file and the line, and says the defaults stand for it.
    const fs::path broken = dir_ / "broken.conf";
    std::ofstream(broken) << "mute = yes\nlook = blurry\n";
    testing::internal::CaptureStderr();
    EXPECT_TRUE(settings::loadSettings(broken.string()).mute);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "zanbury: the settings file " + broken.string() +
                  ": line 2 is not understood: \"look = blurry\"; the defaults stand for it\n");

    // A pipe or a directory by that name is refused at once, never waited on (an alarm ends a
    // reader that would wait for a writer for ever).
    const fs::path fifo = dir_ / "fifo.conf";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const fs::path& odd : {fifo, dir_}) {
        testing::internal::CaptureStderr();
        alarm(10);
        bool missing = true;
        const settings::Settings d = settings::loadSettings(odd.string(), &missing);
        alarm(0);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_FALSE(missing) << odd; // not a first start: nothing is written over it
        EXPECT_EQ(d.look, settings::Look::Sharp);
        EXPECT_NE(said.find("cannot read the settings file " + odd.string()), std::string::npos)
            << said;
        EXPECT_NE(said.find("using the defaults"), std::string::npos) << said;
    }
}

TEST_F(SettingsTest, ThePathFollowsXdgConfigHome) {
    const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string keep = oldConfig != nullptr ? oldConfig : "";
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(settings::settingsPath(), "/cfg/zanbury/settings.conf");
    setenv("XDG_CONFIG_HOME", "relative", 1); // not absolute: ignored
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        EXPECT_EQ(settings::settingsPath(), std::string(home) + "/.config/zanbury/settings.conf");
    }
    if (oldConfig != nullptr) {
        setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
    } else {
        unsetenv("XDG_CONFIG_HOME");
    }
}

TEST_F(SettingsTest, AWriterKilledAtAnyMomentLeavesAWholeFile) {
    const std::string path = (dir_ / "settings.conf").string();
    settings::Settings first;
    ASSERT_TRUE(settings::saveSettings(path, first));
    for (int attempt = 0; attempt < 40; ++attempt) {
        int written[2];
        ASSERT_EQ(pipe(written), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(written[0]);
            settings::Settings s;
            for (int i = 0;; ++i) {
                s.look = static_cast<settings::Look>(i % 3);
                s.mute = i % 2 == 0;
                s.others.assign(static_cast<std::size_t>(i % 50),
                                "padding = " + std::string(40, 'x'));
                settings::saveSettings(path, s);
                (void)!write(written[1], "w", 1);
            }
        }
        close(written[1]);
        char byte = 0;
        ASSERT_EQ(read(written[0], &byte, 1), 1);
        usleep(static_cast<useconds_t>(attempt * 97 % 3000));
        kill(child, SIGKILL);
        close(written[0]);
        int status = 0;
        waitpid(child, &status, 0);
        const std::string text = readAll(path);
        std::string problem;
        const settings::Settings s = settings::parseSettings(text, problem);
        ASSERT_TRUE(problem.empty()) << problem;
        // The whole of some write: the padding lines it wrote are all there, after the three keys.
        ASSERT_NE(text.find("lives = yes\n"), std::string::npos) << text;
        for (const std::string& line : s.others) {
            ASSERT_EQ(line, "padding = " + std::string(40, 'x'));
        }
    }
    // What the killed writers left is swept away by the next, under the lock.
    ASSERT_TRUE(settings::saveSettings(path, first));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator{}), 2);

    // A link planted at the lock's name is not written through; the settings are still stored.
    const fs::path victim = dir_ / "victim";
    std::ofstream(victim) << "keep me";
    fs::remove(path + ".lock");
    fs::create_symlink(victim, path + ".lock");
    ASSERT_TRUE(settings::saveSettings(path, first));
    EXPECT_EQ(readAll(victim), "keep me");
    EXPECT_NE(readAll(path).find("look = sharp"), std::string::npos);
}

} // namespace
