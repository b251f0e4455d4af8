// The end screen's verdict, the high score file it reads and rewrites, and copyText.

#include "tests/support/back_buffer.h"
#include "tests/support/game_fixture.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <set>

#include <sys/wait.h>
#include <unistd.h>

using namespace testing_support;
using testing_support::GameTest;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

namespace fs = std::filesystem;

class EndScreenTest : public GameTest {
  protected:
    // Runs the body in a child process as a user whom file permissions bind: root is not bound
    // by them, so it becomes nobody (the test's directory must let nobody in). Returns "" when
    // the body returned true.
    static std::string asPlayerBoundByPermissions(const std::function<bool()>& body) {
        pid_t child = fork();
        if (child == 0) {
            bool ok = geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0);
            _exit(ok && body() ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? "" : "the body failed";
    }

    // Shows the end screen over a back buffer that holds something else, and returns it.
    std::vector<uint16_t> shown() {
        fillBackBuffer(display::mapColour(255, 0, 255));
        park::showEndScreen();
        return backBuffer();
    }

    std::set<std::string> filesHere() {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(".")) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }
};

TEST_F(EndScreenTest, TheVerdictComparesWithTheStoredScoreAndAnEqualScoreWins) {
    struct Case {
        std::optional<std::string> stored; // nullopt: no file
        int32_t score;
        bool newHighScore;
        std::string fileAfter;
    };
    const Case cases[] = {
        {"120", 120, true, "120"},
        {"120", 119, false, "120"},
        {"120\nkept as it was\r\n", 119, false, "120\nkept as it was\r\n"},
        {"0", 0, true, "0"},
        {"0120\n", 500, true, "500"},
        {"0120\n", 119, false, "0120\n"},
        {"-5", -5, true, "-5"},
        {"-5", -4, true, "-4"},
        {"-5", 0, true, "0"},
        {"-5", -6, false, "-5"},
        {" \t\n+42 and then words", 41, false, " \t\n+42 and then words"},
        {" \t\n+42 and then words", 42, true, "42"},
        {"2147483647", 2147483647, true, "2147483647"},
        // No stored score can be read: any score is a new high score, and the file is written.
        {std::nullopt, 0, true, "0"},
        {"", 3, true, "3"},
        {"\n\n", 3, true, "3"},
        {"high", 3, true, "3"},
        {"high", -3, true, "-3"},
        {"-", 3, true, "3"},
        // A number beyond 32 bits is a very high or very low score, never "no score".
        {"99999999999", 3, false, "99999999999"},
        {"99999999999", 2147483647, true, "2147483647"},
        {"-99999999999 points", -2147483647 - 1, true, "-2147483648"},
    };
    for (const Case& c : cases) {
        std::string label = (c.stored ? "'" + *c.stored + "'" : "no file") + " and score " +
                            std::to_string(c.score);
        std::filesystem::remove("highscore.txt");
        if (c.stored) {
            writeFile("highscore.txt", *c.stored);
        }
        run.score = c.score;
        auto screen = shown();
        EXPECT_EQ(screen, expectedEndScreen(c.newHighScore, c.score)) << label;
        EXPECT_NE(expectedEndScreen(!c.newHighScore, c.score), screen) << label;
        EXPECT_EQ(readFile("highscore.txt"), c.fileAfter) << label;
        EXPECT_EQ(filesHere(), (std::set<std::string>{"highscore.txt", "highscore.txt.lock"}))
            << label;
        if (c.newHighScore) {
            EXPECT_STREQ(run.scoreText, std::to_string(c.score).c_str()) << label;
        }
    }
}

TEST_F(EndScreenTest, AStoredScoreThatCannotBeReadIsLeftAloneAndTheModeIsKept) {
    const std::string unread = "Could not save it: the stored score cannot be read";
    // Only the leading number is read, however long the rest.
    const std::string big = "500" + std::string(std::size_t{17} << 20, 'x');
    writeFile("highscore.txt", big);
    run.score = 3;
    EXPECT_EQ(shown(), expectedEndScreen(false, 3));
    EXPECT_TRUE(readFile("highscore.txt") == big) << "the long file was changed";
    run.score = 600;
    EXPECT_EQ(shown(), expectedEndScreen(true, 600));
    EXPECT_EQ(readFile("highscore.txt"), "600");

    // No number ends within the reading limit: the file is left alone, and the screen says so.
    const std::string blank = std::string(std::size_t{17} << 20, ' ') + "7";
    writeFile("highscore.txt", blank);
    run.score = 9;
    testing::internal::CaptureStderr();
    EXPECT_EQ(shown(), expectedEndScreen(true, 9, unread));
    std::string warning = testing::internal::GetCapturedStderr();
    EXPECT_NE(warning.find("highscore.txt cannot be read"), std::string::npos) << warning;
    EXPECT_TRUE(readFile("highscore.txt") == blank) << "an unread file was replaced";

    // The replacement keeps the file's permissions.
    for (auto mode : {fs::perms(0600), fs::perms(0640), fs::perms(0664)}) {
        writeFile("highscore.txt", "10");
        fs::permissions("highscore.txt", mode);
        run.score = 20;
        shown();
        EXPECT_EQ(readFile("highscore.txt"), "20");
        EXPECT_EQ(fs::status("highscore.txt").permissions(), mode);
    }

    // A file the player may not read is left alone.
    writeFile("highscore.txt", "10");
    fs::permissions("highscore.txt", fs::perms::none);
    fs::permissions(".", fs::perms(0777));
    EXPECT_EQ(asPlayerBoundByPermissions([&] {
                  run.score = 20;
                  return shown() == expectedEndScreen(true, 20, unread);
              }),
              "");
    fs::permissions("highscore.txt", fs::perms(0644));
    EXPECT_EQ(readFile("highscore.txt"), "10");
}

TEST_F(EndScreenTest, AScoreThatCannotBeSavedIsShownUnderTheVerdict) {
    // A read-only directory: the file keeps the old number, and the screen says why.
    writeFile("highscore.txt", "10");
    fs::permissions(".", fs::perms(0555));
    EXPECT_EQ(asPlayerBoundByPermissions([&] {
                  testing::internal::CaptureStderr();
                  run.score = 20;
                  bool screen = shown() ==
                                expectedEndScreen(true, 20, "Could not save it: permission denied");
                  run.score = 5; // a low score needs no save: the screen is as always
                  screen = screen && shown() == expectedEndScreen(false, 5);
                  std::string warning = testing::internal::GetCapturedStderr();
                  return screen && warning.find("highscore.txt") != std::string::npos;
              }),
              "");
    fs::permissions(".", fs::perms(0755));
    EXPECT_EQ(readFile("highscore.txt"), "10");
    EXPECT_EQ(filesHere(), std::set<std::string>{"highscore.txt"});

    // A directory where the file should be is left alone.
    fs::remove("highscore.txt");
    fs::create_directory("highscore.txt");
    writeFile("highscore.txt/inside", "1000");
    run.score = 37;
    testing::internal::CaptureStderr();
    auto screen = shown();
    std::string warning = testing::internal::GetCapturedStderr();
    EXPECT_EQ(screen,
              expectedEndScreen(true, 37, "Could not save it: the stored score cannot be read"));
    EXPECT_NE(warning.find("highscore.txt"), std::string::npos) << warning;
    EXPECT_TRUE(std::filesystem::is_directory("highscore.txt"));
    EXPECT_EQ(readFile("highscore.txt/inside"), "1000");
    EXPECT_EQ(filesHere(), (std::set<std::string>{"highscore.txt", "highscore.txt.lock"}))
        << "no temporary file left";

    // Once the way is clear the score is written, and the screen is as always.
    std::filesystem::remove_all("highscore.txt");
    EXPECT_EQ(shown(), expectedEndScreen(true, 37));
    EXPECT_EQ(readFile("highscore.txt"), "37");
}

TEST_F(EndScreenTest, ALinkPlantedBesideTheScoreIsNeverWrittenThrough) {
    writeFile("victim.txt", "keep");
    writeFile("highscore.txt", "10");
    // The fixed temporary name of old: the score goes round it.
    fs::create_symlink("victim.txt", "highscore.txt.new");
    run.score = 20;
    EXPECT_EQ(shown(), expectedEndScreen(true, 20));
    EXPECT_EQ(readFile("highscore.txt"), "20");
    EXPECT_EQ(readFile("victim.txt"), "keep");
    EXPECT_TRUE(fs::is_symlink("highscore.txt.new"));

    // A link in place of the lock is not followed: nothing is made or changed through it, and
    // the score is not saved.
    fs::remove("highscore.txt.lock");
    fs::create_symlink("made.txt", "highscore.txt.lock");
    run.score = 30;
    testing::internal::CaptureStderr();
    auto screen = shown();
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(readFile("highscore.txt"), "20");
    EXPECT_FALSE(fs::exists("made.txt"));
    EXPECT_NE(screen, expectedEndScreen(true, 30)) << "the failure is not shown";
    const auto rows = differingRows(screen, expectedEndScreen(true, 30));
    EXPECT_GE(rows.first, 170) << "only under the verdict";
    EXPECT_LT(rows.second, 190);
}

TEST_F(EndScreenTest, CopyTextCopiesTheTerminatorAndNothingAfterIt) {
    char buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), 'x');
    park::copyText("ab", buffer);
    EXPECT_EQ(std::string(buffer, 8), std::string("ab\0xxxxx", 8));
    park::copyText("", buffer);
    EXPECT_EQ(std::string(buffer, 8), std::string("\0b\0xxxxx", 8));

    park::copyText("You fell, try again.", run.message);
    EXPECT_STREQ(run.message, "You fell, try again.");
}

} // namespace
