// The autoplayer on small parks made here: its snapshots, the search and what it reports, the
// scripts it writes, the whole-run join and the table of expected scores.

#include "tests/support/game_fixture.h"
#include "tools/autoplay/autoplay.h"
#include "tools/autoplay/snapshot.h"
#include "tools/common/common.h"
#include "tools/sim/sim.h"

#include <algorithm>
#include <cstdlib>
#include <sys/wait.h>

using platform::Key;
using testing_support::GameTest;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

// A grey block, a ramp, a rail and a rubbish bin: every kind of obstacle, all of them passable.
const char* const MixedPark = "5 700\n"
                              "123 267 159 331 40 396 1\n"
                              "114 371 150 431 120 396 2\n"
                              "238 282 286 482 200 384 3\n"
                              "311 219 361 249 420 382 4\n"
                              "355 309 403 478 500 384 1\n";

// One rubbish bin, easy to jump at any moment of a wide window.
const char* const EasyPark = "1 260\n311 219 361 249 20 382 4\n";

// A hazard 200 wide and 200 tall standing on the ground line: nothing rises over it, and no
// jump keeps the skater rising for the 67 frames it takes to pass.
const char* const WallPark = "1 200\n0 0 200 200 0 232 4\n";

// A hazard 12 wide and too tall to rise over: it covers the skater's column for exactly the 20
// frames that a jump rises, park frames 133 to 152, so only a jump started in the controls of
// park frame 132 gets past it.
const char* const SlotPark = "1 190\n0 0 200 12 2 232 4\n";

// Two such slots: jumps in park frames 132 and 173, 41 frames apart. Hands that decide every
// 2 or 4 frames, and land every jump 40 frames after it, cannot make both.
const char* const TwoSlotPark = "2 240\n0 0 200 12 2 232 4\n0 0 200 12 43 232 4\n";

std::vector<sim::ScriptEvent> parse(const std::string& script) {
    std::vector<sim::ScriptEvent> events;
    std::string error;
    EXPECT_TRUE(sim::parseScript(script, "script", events, error)) << error;
    return events;
}

class AutoplayTest : public GameTest {
  protected:
    // Writes the park into the test's directory, with a park list naming it alone.
    std::filesystem::path park(const std::string& name, const std::string& text) {
        writeFile(name, text);
        writeFile("parks.txt", "1\n" + name + "\n");
        return dir / name;
    }

    // One main-loop pass as the simulator plays it, and the trace of it with the clock.
    std::string pass(int64_t number) {
        sim::playPass();
        return sim::traceLine(number, headless::takeSounds()) +
               " clock=" + std::to_string(headless::clock());
    }
};

TEST_F(AutoplayTest, ARestoredSnapshotPlaysOnExactlyAsTheOriginal) {
    startPark(MixedPark);
    headless::setClock(5000);
    for (int64_t i = 1; i <= 150; ++i) {
        pass(i);
    }
    ASSERT_EQ(gameState, GameState::Playing);
    ASSERT_GT(run.firstActive + run.lastActive, 0) << "obstacles should be on the way by now";

    // Up held and Right tapped: a jump turned at once into a spin. Right is only a went-down
    // record, so a snapshot that lost it would replay a plain jump.
    headless::press(Key::Up);
    headless::tap(Key::Right);
    const uint32_t clockAtSave = headless::clock();
    autoplay::GameSnapshot saved;
    autoplay::saveGame(saved);

    std::vector<std::string> first;
    for (int64_t i = 151; i <= 260; ++i) {
        if (i == 155) {
            headless::release(Key::Up);
        }
        first.push_back(pass(i));
    }
    EXPECT_NE(first.front().find("trick=4"), std::string::npos) << first.front();

    autoplay::restoreGame(saved);
    std::vector<std::string> again;
    for (int64_t i = 151; i <= 260; ++i) {
        if (i == 155) {
            headless::release(Key::Up);
        }
        again.push_back(pass(i));
    }
    EXPECT_EQ(again, first);

    // The keys come back as they were: Up down, Right only went down, and that record is
    // cleared by a query and put back by the next restore; the clock too.
    autoplay::restoreGame(saved);
    headless::release(Key::Up);
    EXPECT_TRUE(platform::keyCheck(Key::Up)); // went down since the last query
    EXPECT_FALSE(platform::keyCheck(Key::Up));
    EXPECT_TRUE(platform::keyCheck(Key::Right));
    EXPECT_FALSE(platform::keyCheck(Key::Right));
    headless::advanceClock(777);
    autoplay::restoreGame(saved);
    EXPECT_TRUE(platform::keyCheck(Key::Up));
    EXPECT_TRUE(platform::keyCheck(Key::Up)); // still down
    EXPECT_TRUE(platform::keyCheck(Key::Right));
    EXPECT_EQ(headless::clock(), clockAtSave);
}

TEST_F(AutoplayTest, AWayThroughEveryKindOfObstacleIsFoundAndItsScriptProvesIt) {
    const auto path = park("mixed.txt", MixedPark);
    autoplay::Verdict v = autoplay::searchPark(path, autoplay::SearchOptions{});
    ASSERT_TRUE(v.error.empty()) << v.error;
    ASSERT_TRUE(v.completed) << autoplay::describe(v);
    EXPECT_TRUE(v.byFirstRules());
    EXPECT_STREQ(v.rules.name, autoplay::HumanRules.name);
    EXPECT_EQ(v.falls, 0);
    EXPECT_EQ(v.endPass, 3 + 700);
    EXPECT_GT(v.score, 0);

    // Human hands: every press on the decision grid from the park's first frame (pass 4), held
    // 3 frames, and at least 8 frames after the one before.
    ASSERT_FALSE(v.presses.empty());
    for (std::size_t i = 0; i < v.presses.size(); ++i) {
        EXPECT_EQ((v.presses[i].pass - 4) % 4, 0) << "press " << i;
        EXPECT_EQ(v.presses[i].holdFrames, 3);
        if (i > 0) {
            EXPECT_GE(v.presses[i].pass - v.presses[i - 1].pass, 8) << "press " << i;
        }
    }

    // The script starts from the menu, completes the park in the simulator with the score
    // found, and leaves the program by itself after the end screen.
    const std::string script = autoplay::scriptText(v);
    EXPECT_NE(script.find("\n2 enter tap\n"), std::string::npos);
    autoplay::ReplayOutcome out = autoplay::replay(dir, parse(script), v.endPass + 100);
    EXPECT_TRUE(out.completed);
    EXPECT_EQ(out.score, v.score);
    EXPECT_EQ(out.livesLost, 0);
    EXPECT_EQ(out.endPass, v.endPass);
    EXPECT_EQ(out.parksCompleted, 1);
    EXPECT_EQ(gameState, GameState::Quit);
    EXPECT_EQ(readFile("highscore.txt"), std::to_string(v.score));

    EXPECT_GT(v.tricks.jumps + v.tricks.hops, 0);
}

// Every input the rules allow on a short park, tried one by one: the search must find the
// best score there is, through a way that really completes the park.
TEST_F(AutoplayTest, TheSearchFindsTheBestScoreThatTryingEveryInputFinds) {
    // A grey block arriving at park frame 131: a jump or hop started at frame 121 carries the
    // skater onto it or over it; anything else meets its side.
    const char* const text = "1 160\n123 267 159 331 0 396 1\n";
    const auto path = park("block.txt", text);
    const autoplay::InputRules sparse{"sparse", 40, 3, 40};
    autoplay::SearchOptions options;
    options.ladder = {sparse};
    autoplay::Verdict v = autoplay::searchPark(path, options);
    ASSERT_TRUE(v.error.empty()) << v.error;

    // Decision points at park frames 1, 41, 81 and 121 (passes 4, 44, 84, 124); each may press
    // one of four keys or none.
    startPark(text);
    display::closeDisplay(); // nothing here looks at pixels
    autoplay::GameSnapshot start;
    autoplay::saveGame(start);
    const Key keys[] = {Key::Up, Key::Down, Key::Right, Key::Left};
    int32_t best = -1;
    int completing = 0;
    int falling = 0;
    for (int code = 0; code < 625; ++code) {
        autoplay::restoreGame(start);
        int choice[4] = {code % 5, code / 5 % 5, code / 25 % 5, code / 125};
        for (int32_t frame = 1; frame <= 160 && gameState == GameState::Playing; ++frame) {
            for (int d = 0; d < 4; ++d) {
                if (choice[d] != 0 && frame == 1 + 40 * d) {
                    headless::press(keys[choice[d] - 1]);
                }
                if (choice[d] != 0 && frame == 1 + 40 * d + 3) {
                    headless::release(keys[choice[d] - 1]);
                }
            }
            runStateHandler();
        }
        if (run.lives < 3) {
            ++falling;
        } else if (gameState == GameState::GameOver) {
            ++completing;
            best = std::max(best, run.score);
        }
    }
    ASSERT_GT(falling, 0);
    ASSERT_GT(completing, 0);
    ASSERT_TRUE(v.completed) << autoplay::describe(v);
    EXPECT_EQ(v.score, best);
}

TEST_F(AutoplayTest, AParkNothingGetsThroughNamesTheObstacleAndTheFrame) {
    const auto path = park("wall.txt", WallPark);
    autoplay::Verdict v = autoplay::searchPark(path, autoplay::SearchOptions{});
    ASSERT_TRUE(v.error.empty()) << v.error;
    EXPECT_FALSE(v.completed);
    EXPECT_FALSE(v.proved());
    ASSERT_EQ(v.attempts.size(), 4u + 2u + 1u); // every phase of human, quick, frame-perfect
    for (const autoplay::Attempt& a : v.attempts) {
        EXPECT_FALSE(a.completed) << a.rules.name;
        EXPECT_FALSE(a.stuck.outOfTime);
        EXPECT_FALSE(a.stuck.narrowed);
        ASSERT_EQ(a.stuck.obstacles.size(), 1u) << a.rules.name;
        EXPECT_EQ(a.stuck.obstacles[0].index, 0);
        EXPECT_EQ(a.stuck.obstacles[0].kind, static_cast<int32_t>(park::ObstacleKind::Hazard));
        EXPECT_EQ(a.stuck.obstacles[0].line, 2);
    }
    // The wall reaches the skater's column (x below 118) in park frame 131; a jump from the
    // frame before keeps the skater rising, and safe, for 20 frames, and nothing lasts longer.
    EXPECT_EQ(v.attempts.back().stuck.frame, 151);
    EXPECT_NE(autoplay::describe(v).find("obstacle 1 (hazard, line 2)"), std::string::npos);
    int32_t line = 0;
    EXPECT_NE(autoplay::whyNotProved(v, line).find("not even with frame-perfect hands"),
              std::string::npos);
    EXPECT_EQ(line, 2);
}

TEST_F(AutoplayTest, AParkThatOnlyFramePerfectHandsGetThroughSaysWhereHumanHandsFall) {
    const auto path = park("slots.txt", TwoSlotPark);
    autoplay::Verdict v = autoplay::searchPark(path, autoplay::SearchOptions{});
    ASSERT_TRUE(v.error.empty()) << v.error;
    ASSERT_TRUE(v.completed) << autoplay::describe(v);
    EXPECT_FALSE(v.byFirstRules());
    EXPECT_STREQ(v.rules.name, autoplay::BotRules.name);
    ASSERT_EQ(v.attempts.size(), 4u + 2u + 1u);
    int32_t furthest = 0;
    for (std::size_t i = 0; i + 1 < v.attempts.size(); ++i) {
        const autoplay::Stuck& stuck = v.attempts[i].stuck;
        EXPECT_FALSE(v.attempts[i].completed) << i;
        ASSERT_EQ(stuck.obstacles.size(), 1u) << i;
        // A phase that misses the first slot's frame falls there, one that meets it at the
        // second; at best by jumping a frame early and falling in the slot's last frame.
        EXPECT_EQ(stuck.frame, stuck.obstacles[0].index == 0 ? 152 : 193) << i;
        furthest = std::max(furthest, stuck.frame);
    }
    EXPECT_EQ(furthest, 193);
    // The jumps that get past start in the controls of park frames 132 and 173.
    for (int64_t pass : {135, 176}) {
        EXPECT_TRUE(std::any_of(
            v.presses.begin(), v.presses.end(),
            [pass](const autoplay::Press& p) { return p.pass == pass && p.key == Key::Up; }))
            << pass;
    }
    EXPECT_NE(autoplay::describe(v).find("human hands at their best: every way falls by park "
                                         "frame"),
              std::string::npos)
        << autoplay::describe(v);
    int32_t line = 0;
    EXPECT_EQ(autoplay::whyNotProved(v, line).rfind("only frame-perfect hands get through", 0), 0u);
    EXPECT_EQ(line, 3);
}

TEST_F(AutoplayTest, AProofNeedsAWayOnEvenAndOnOddFrames) {
    autoplay::SearchOptions options;
    options.prove = true;
    autoplay::Verdict easy = autoplay::searchPark(park("easy.txt", EasyPark), options);
    ASSERT_TRUE(easy.completed) << autoplay::describe(easy);
    ASSERT_EQ(easy.attempts.size(), 3u); // the search, then the proof at both phases
    EXPECT_TRUE(easy.attempts[1].proof && easy.attempts[2].proof);
    EXPECT_TRUE(easy.proved()) << autoplay::describe(easy);
    EXPECT_NE(autoplay::describe(easy).find("proved"), std::string::npos);
    int32_t line = -1;
    EXPECT_EQ(autoplay::whyNotProved(easy, line), "");
    EXPECT_EQ(line, 0);

    // One phase of the human grid meets the slot's one frame, so human hands get through; but
    // the proof fails on one of its two phases.
    autoplay::Verdict slot = autoplay::searchPark(park("slot.txt", SlotPark), options);
    ASSERT_TRUE(slot.completed) << autoplay::describe(slot);
    EXPECT_TRUE(slot.byFirstRules());
    EXPECT_FALSE(slot.proved());
    EXPECT_EQ(std::count_if(slot.attempts.begin(), slot.attempts.end(),
                            [](const autoplay::Attempt& a) { return a.proof && !a.completed; }),
              1);
    EXPECT_NE(slot.phase, 0);
    // Up went down in time to be held in the controls of park frame 132, pass 135.
    EXPECT_TRUE(std::any_of(slot.presses.begin(), slot.presses.end(), [](const autoplay::Press& p) {
        return p.key == Key::Up && p.pass <= 135 && p.pass + p.holdFrames > 135;
    }));
    EXPECT_NE(autoplay::describe(slot).find("NOT proved"), std::string::npos);
    EXPECT_EQ(autoplay::whyNotProved(slot, line).rfind("a press must hit one exact frame", 0), 0u);
    EXPECT_EQ(line, 2);

    // Without --prove nothing is proved, however easy the park.
    autoplay::Verdict plain = autoplay::searchPark(dir / "easy.txt", autoplay::SearchOptions{});
    EXPECT_TRUE(plain.byFirstRules());
    EXPECT_FALSE(plain.proved());
    EXPECT_EQ(autoplay::whyNotProved(plain, line), "was not proved");
}

// A slot 4 wide covers the skater's column for 18 frames, two fewer than a jump rises: the jump
// may start in any of 3 frames. The 12-wide slot leaves it 1.
TEST_F(AutoplayTest, ATimingWindowCountsTheFramesOnWhichItsPressMayLand) {
    const char* const NarrowSlot = "1 190\n0 0 200 4 2 232 4\n";
    for (const auto& [text, width] : {std::pair{NarrowSlot, 3}, std::pair{SlotPark, 1}}) {
        autoplay::Verdict v = autoplay::searchPark(park("slot.txt", text), {});
        ASSERT_TRUE(v.completed && v.steady.completed) << autoplay::describe(v);
        ASSERT_EQ(v.steady.windows.size(), v.steady.presses.size());
        const int32_t k = v.narrowest();
        ASSERT_GE(k, 0);
        const autoplay::PressWindow w = v.steady.windows[static_cast<std::size_t>(k)];
        EXPECT_EQ(w.width(), width);
        EXPECT_NE(autoplay::describe(v).find("tightness " + std::to_string(width) + " frame"),
                  std::string::npos)
            << autoplay::describe(v);

        // The simulator agrees: the press at either end of its window completes the park, one
        // frame further falls at the slot, and a steady run stands at the middle.
        for (int32_t shift : {w.earliest - 1, w.earliest, w.latest, w.latest + 1}) {
            autoplay::Verdict moved = v;
            moved.steady.presses[static_cast<std::size_t>(k)].pass += shift;
            const bool inside = shift >= w.earliest && shift <= w.latest;
            autoplay::ReplayOutcome out = autoplay::replay(
                dir, parse(autoplay::scriptText(moved, true)), v.steady.endPass + 100);
            EXPECT_EQ(out.completed && out.livesLost == 0, inside) << "moved by " << shift;
        }
        EXPECT_LE(std::abs(w.earliest + w.latest), 1);
        for (const autoplay::WindowEdge& edge : {w.tooEarly, w.tooLate}) {
            EXPECT_FALSE(edge.capped);
            ASSERT_EQ(edge.obstacles.size(), 1u);
            EXPECT_EQ(edge.obstacles[0].line, 2);
        }

        // Read back from its script, the run measures the same.
        std::vector<autoplay::Press> presses;
        std::string error;
        ASSERT_TRUE(autoplay::pressesOfScript(parse(autoplay::scriptText(v, true)), presses, error))
            << error;
        autoplay::MeasuredRun measured;
        ASSERT_TRUE(autoplay::measureRun(dir / "slot.txt", presses, measured, error)) << error;
        ASSERT_EQ(measured.windows.size(), v.steady.windows.size());
        EXPECT_EQ(measured.windows[static_cast<std::size_t>(k)].earliest, w.earliest);
        EXPECT_EQ(measured.windows[static_cast<std::size_t>(k)].latest, w.latest);
        EXPECT_EQ(measured.score.back(), v.steady.score);
    }

    // A press that nothing needs is free to move as far as the measure looks; a run that falls
    // is not measured.
    const auto easy = park("easy.txt", EasyPark);
    std::vector<autoplay::Press> presses{{4, Key::Right, 3}};
    autoplay::MeasuredRun measured;
    std::string error;
    EXPECT_FALSE(autoplay::measureRun(easy, presses, measured, error));
    EXPECT_NE(error.find("do not complete"), std::string::npos) << error;
    const autoplay::Verdict v = autoplay::searchPark(easy, {});
    presses = v.steady.presses;
    presses.push_back({v.steady.endPass - 40, Key::Left, 3});
    ASSERT_TRUE(autoplay::measureRun(easy, presses, measured, error)) << error;
    EXPECT_EQ(measured.windows.back().earliest, -autoplay::MaxShift);
    EXPECT_EQ(measured.windows.back().latest, autoplay::MaxShift);
    EXPECT_TRUE(measured.windows.back().tooEarly.capped && measured.windows.back().tooLate.capped);

    // A script whose press is never released is refused.
    EXPECT_FALSE(autoplay::pressesOfScript(parse("2 enter tap\n9 up press\n"), presses, error));
    EXPECT_NE(error.find("never released"), std::string::npos) << error;
}

TEST_F(AutoplayTest, JoinedScriptsPlayAWholeRunAndScoresAreKeptInATable) {
    writeFile("easy.txt", EasyPark);
    writeFile("mixed.txt", MixedPark);
    autoplay::Verdict a = autoplay::searchPark(dir / "easy.txt", autoplay::SearchOptions{});
    autoplay::Verdict b = autoplay::searchPark(dir / "mixed.txt", autoplay::SearchOptions{});
    ASSERT_TRUE(a.completed && b.completed);

    writeFile("parks.txt", "2\neasy.txt\nmixed.txt\n");
    std::vector<sim::ScriptEvent> whole =
        autoplay::joinRun({parse(autoplay::scriptText(a)), parse(autoplay::scriptText(b))},
                          {a.parkLength, b.parkLength});
    autoplay::ReplayOutcome out = autoplay::replay(dir, whole, whole.back().frame + 10);
    EXPECT_TRUE(out.completed);
    EXPECT_EQ(out.livesLost, 0);
    EXPECT_EQ(out.parksCompleted, 2);
    EXPECT_EQ(out.score, a.score + b.score);
    EXPECT_EQ(gameState, GameState::Quit);
    // The second park's first frame is pass 4 + 260 + 2, after its park-complete screen and
    // its loading.
    EXPECT_EQ(out.endPass, 3 + 260 + 2 + 700);

    const auto table = dir / "expected.txt";
    writeFile("expected.txt", "# park score\nmixed.txt 1\nother.txt 7\n");
    std::string error;
    ASSERT_TRUE(tools::recordExpected(table, "mixed.txt", b.score, error)) << error;
    ASSERT_TRUE(tools::recordExpected(table, "easy.txt", a.score, error)) << error;
    std::vector<std::pair<std::string, int32_t>> rows;
    ASSERT_TRUE(tools::readExpected(table, rows, error)) << error;
    const std::vector<std::pair<std::string, int32_t>> wanted{
        {"mixed.txt", b.score}, {"other.txt", 7}, {"easy.txt", a.score}};
    EXPECT_EQ(rows, wanted);
    EXPECT_EQ(readFile("expected.txt").rfind("# park score\n", 0), 0u);

    writeFile("expected.txt", "mixed.txt\n");
    EXPECT_FALSE(tools::readExpected(table, rows, error));
    EXPECT_NE(error.find(":1:"), std::string::npos) << error;
}

TEST_F(AutoplayTest, WrittenEventsReadBackAsTheSameEvents) {
    std::vector<sim::ScriptEvent> events;
    int64_t frame = 1;
    for (Key key : {Key::Up, Key::Down, Key::Left, Key::Right, Key::Enter, Key::Escape}) {
        for (sim::Action action : {sim::Action::Press, sim::Action::Release, sim::Action::Tap}) {
            events.push_back({frame++, key, action});
        }
    }
    const std::vector<sim::ScriptEvent> again = parse(autoplay::eventsText(events));
    ASSERT_EQ(again.size(), events.size());
    for (std::size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(again[i].frame, events[i].frame) << i;
        EXPECT_EQ(again[i].key, events[i].key) << i;
        EXPECT_EQ(again[i].action, events[i].action) << i;
    }
}

TEST_F(AutoplayTest, TheParkCheckerReportsAParkWithNoWayThroughAsAnError) {
    // The checker's output, and its exit status, for a park directory.
    auto check = [this](const std::string& park, std::string& output) {
        writeFile("parks.txt", "1\npark.txt\n");
        writeFile("park.txt", park);
        const std::string command = std::string(ZANBURY_PARKCHECK) + " --prove " + dir.string() +
                                    " > " + (dir / "out.txt").string();
        const int status = std::system(command.c_str());
        output = readFile("out.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    std::string output;
    EXPECT_EQ(check(WallPark, output), 2);
    EXPECT_NE(output.find("park.txt:2: error: not proved: no way through"), std::string::npos)
        << output;
    EXPECT_LT(check(EasyPark, output), 2) << output;
    EXPECT_EQ(output.find("error"), std::string::npos) << output;
}

} // namespace
