// The high score survives a crash: a process killed at any moment of the end screen's write
// leaves the file holding the old number or the new one, complete.

#include "park/park.h"
#include "tests/support/game_fixture.h"

#include <cctype>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using testing_support::GameTest;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

class HighScoreKillTest : public GameTest {};

TEST_F(HighScoreKillTest, AKilledWriterLeavesAWholeNumber) {
    std::mt19937 random(12345);
    writeFile("highscore.txt", "1000");
    int previous = 1000;
    for (int attempt = 0; attempt < 60; ++attempt) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Writes ever higher scores until it is killed.
            for (int score = previous + 1;; ++score) {
                run.score = score;
                park::showEndScreen();
            }
        }
        usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));

        std::string text = readFile("highscore.txt");
        ASSERT_FALSE(text.empty()) << "attempt " << attempt;
        for (char c : text) {
            ASSERT_TRUE(std::isdigit(static_cast<unsigned char>(c))) << "'" << text << "'";
        }
        int stored = std::stoi(text);
        // Either the number that stood before or one that the child wrote in full.
        ASSERT_GE(stored, previous) << "attempt " << attempt;
        previous = stored;
    }
    EXPECT_GT(previous, 1000); // the children did write between the kills
}

} // namespace
