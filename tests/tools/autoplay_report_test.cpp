// The autoplayer's report on a park: counts in words, and short lines that keep every word.

#include "tools/autoplay/autoplay.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using autoplay::Press;
using autoplay::PressWindow;
using autoplay::StuckObstacle;

// The words of a text, whatever its line breaks and indents.
std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string w; in >> w;) {
        out.push_back(w);
    }
    return out;
}

TEST(AutoplayReport, CountsInWordsAndKeepsEveryLineShort) {
    // A completed park with every trick, whose human hands fell at three obstacles at once.
    autoplay::Verdict v;
    v.parkName = "a-park-with-a-long-name-x.txt";
    v.parkLength = 2000;
    v.completed = true;
    v.rules = autoplay::QuickRules;
    v.phase = 1;
    v.score = 1234;
    v.tricks = {1, 2, 3, 4, 5, 6, 7};
    v.presses = {Press{100, platform::Key::Up, 2}};
    v.steady.presses = {Press{100, platform::Key::Up, 2}, Press{300, platform::Key::Right, 2}};
    PressWindow narrow{-1, 0, {}, {}};
    narrow.tooEarly = {false, 350, {StuckObstacle{2, 4, 5}, StuckObstacle{3, 1, 6}}};
    narrow.tooLate.capped = true;
    v.steady.windows = {PressWindow{-5, 5, {}, {}}, narrow};
    v.steady.score = 900;
    v.steady.tricks = {1, 1, 0, 0, 0, 0, 0};
    autoplay::Attempt human;
    human.rules = autoplay::HumanRules;
    human.stuck = {400, {{0, 1, 3}, {1, 3, 4}, {2, 4, 5}}, false, true};
    autoplay::Attempt quick;
    quick.rules = autoplay::QuickRules;
    quick.completed = true;
    v.attempts = {human, quick};
    v.seconds = 2.5;
    v.framesPlayed = 123456;

    const std::string statements = "park 12 " + autoplay::describe(v);
    EXPECT_NE(statements.find("park 12 a-park-with-a-long-name-x.txt: completed, score 1234, "
                              "0 falls\nbest run: 1 press with quick hands"),
              std::string::npos)
        << statements;
    EXPECT_NE(statements.find("deciding 1 frame after their grid; tricks: 1 jump, 2 hops, 3 board "
                              "flips, 4 spins, 5 nose-up grinds, 6 nose-down grinds, 7 side "
                              "slides\nsteady run: 2 presses, 1.8 a minute, score 900; tricks: "
                              "1 jump, 1 hop\ntightness 2 frames: press 2 (right at park frame "
                              "297) may come 1 earlier and 0 later; earlier falls at park frame "
                              "350 by obstacles 3 (hazard, line 5) and 4 (block, line 6), later "
                              "no fall within 30 frames\nhuman hands at their best: every way "
                              "falls by park frame 400, where obstacles 1 (block, line 3), 2 "
                              "(rail, line 4) and 3 (hazard, line 5) pass the skater"),
              std::string::npos)
        << statements;

    const std::string text = autoplay::wrapped(statements);
    std::istringstream in(text);
    int lineCount = 0;
    for (std::string line; std::getline(in, line); ++lineCount) {
        EXPECT_LT(line.size(), 80u) << line;
        EXPECT_EQ(line.rfind(lineCount == 0 ? "park 12 " : "  ", 0), 0u) << line;
    }
    EXPECT_GE(lineCount, 8) << text;
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(words(text), words(statements));
    // A word too long for a line stands alone on its own line.
    EXPECT_EQ(autoplay::wrapped("a\n" + std::string(90, 'x') + " b", 79),
              "a\n  " + std::string(90, 'x') + "\n    b\n");
}

} // namespace
