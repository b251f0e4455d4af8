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
        int written[2];
        ASSERT_EQ(pipe(written), 0);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Writes ever higher scores until it is killed, and says so after each one.
            close(written[0]);
            for (int score = previous + 1;; ++score) {
                run.score = score;
                park::showEndScreen();
                (void)!write(written[1], "w", 1);
            }
        }
        close(written[1]);
        // The kill lands at a random moment after the first whole write, so that every attempt
        // has a new number to lose, however slowly a loaded machine starts the child.
        char byte = 0;
        ASSERT_EQ(read(written[0], &byte, 1), 1) << "the writer ended on attempt " << attempt;
        usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
        kill(child, SIGKILL);
        close(written[0]);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));

        std::string text = readFile("highscore.txt");
        ASSERT_FALSE(text.empty()) << "attempt " << attempt;
        for (char c : text) {
            ASSERT_TRUE(std::isdigit(static_cast<unsigned char>(c))) << "'" << text << "'";
        }
        int stored = std::stoi(text);
        // The number of a write that the child finished, never a part of one.
        ASSERT_GT(stored, previous) << "attempt " << attempt;
        previous = stored;
    }
}

} // namespace
