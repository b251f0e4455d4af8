// The end screen's verdict, the high score file it reads and rewrites, and copyText.

#include "tests/support/back_buffer.h"
#include "tests/support/game_fixture.h"

#include <filesystem>
#include <optional>
#include <set>

using namespace testing_support;
using testing_support::GameTest;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

class EndScreenTest : public GameTest {
  protected:
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
        {"99999999999", 3, true, "3"},
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
        EXPECT_EQ(filesHere(), std::set<std::string>{"highscore.txt"}) << label;
        if (c.newHighScore) {
            EXPECT_STREQ(run.scoreText, std::to_string(c.score).c_str()) << label;
        }
    }
}

TEST_F(EndScreenTest, AHighScoreFileThatCannotBeWrittenStillShowsTheScreen) {
    std::filesystem::create_directory("highscore.txt");
    writeFile("highscore.txt/inside", "1000");
    run.score = 37;
    testing::internal::CaptureStderr();
    auto screen = shown();
    std::string warning = testing::internal::GetCapturedStderr();
    EXPECT_EQ(screen, expectedEndScreen(true, 37));
    EXPECT_NE(warning.find("highscore.txt"), std::string::npos) << warning;
    EXPECT_TRUE(std::filesystem::is_directory("highscore.txt"));
    EXPECT_EQ(readFile("highscore.txt/inside"), "1000");
    EXPECT_EQ(filesHere(), std::set<std::string>{"highscore.txt"}) << "no temporary file left";

    // Shown again, the same; and once the way is clear the score is written.
    EXPECT_EQ(shown(), expectedEndScreen(true, 37));
    std::filesystem::remove_all("highscore.txt");
    shown();
    EXPECT_EQ(readFile("highscore.txt"), "37");
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
