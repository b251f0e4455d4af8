// zanbury-bench: what one frame of the real game costs on the headless platform, and how that
// compares with the floor that no frame can beat, one copy of a whole 640 x 480 x 16-bit
// buffer: every Playing frame repaints the whole screen. Ends by printing the ratio of the two.
//
// Every benchmark counts the heap allocations made inside its timed loop; a frame makes none,
// and the program exits with 1 when one does, or when a benchmark cannot reach its moment of play.

#include "app/flow.h"
#include "app/session.h"
#include "app/shell.h"
#include "core/run_state.h"
#include "display/display.h"
#include "park/park.h"
#include "platform/headless.h"
#include "platform/layout.h"
#include "platform/scaler.h"
#include "skater/skater.h"
#include "tools/autoplay/snapshot.h"
#include "tools/bench/allocations.h"
#include "tools/common/common.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The benchmark park: 21 obstacles, every kind, in three rows of seven, all on screen together
// in frame SnapshotFrame + 1 and clear of the skater's column (x below 130), so that the frame
// draws all of them and tests every one against the skater without a fall.
constexpr int32_t SnapshotFrame = 200;
constexpr int ObstacleCount = 21;

struct Picture {
    int32_t top, left, bottom, right;
};

std::string benchParkText() {
    constexpr Picture pictures[] = {
        {123, 267, 159, 331}, // grey block, 64 x 36
        {114, 371, 150, 431}, // ramp, 60 x 36
        {152, 364, 188, 389}, // fire hydrant, 25 x 36
        {189, 364, 237, 428}, // grey block, 64 x 48
        {311, 219, 361, 249}, // rubbish bin, 30 x 50
        {287, 282, 335, 346}, // block with black band, 64 x 48
        {123, 340, 151, 370}, // small block, 30 x 28
    };
    constexpr int32_t rows[] = {40, 120, 200};
    std::string text = std::to_string(ObstacleCount) + " 100000\n";
    for (int i = 0; i < ObstacleCount; ++i) {
        const int column = i / 3;
        const int row = i % 3;
        const Picture& p = pictures[(i * 5) % std::size(pictures)];
        // x in the timed frame: 640 - 4 * (frame - startFrame), so columns 140, 212, ... 572.
        const int32_t x = 140 + 72 * column;
        const int32_t startFrame = SnapshotFrame + 1 - (640 - x) / 4;
        const auto kind = static_cast<int32_t>(park::ObstacleKinds[i % 4]);
        text += std::to_string(p.top) + " " + std::to_string(p.left) + " " +
                std::to_string(p.bottom) + " " + std::to_string(p.right) + " " +
                std::to_string(startFrame) + " " + std::to_string(rows[row]) + " " +
                std::to_string(kind) + "\n";
    }
    return text;
}

// The game started on the headless platform in a directory of its own that holds the
// benchmark park; the working directory is left there while the benchmarks run.
class Game {
  public:
    bool start(std::string& error) {
        error = dir_.error;
        if (!error.empty() ||
            !tools::writeTextFile((dir_.path / "parks.txt").string(), "1\npark.txt\n", error) ||
            !tools::writeTextFile((dir_.path / "park.txt").string(), benchParkText(), error)) {
            return false;
        }
        std::filesystem::current_path(dir_.path);
        if (!tools::startHeadlessGame(0)) {
            error = "the game did not start";
            return false;
        }
        started_ = true;
        return true;
    }

    ~Game() {
        if (started_) {
            shutDown();
        }
    }

  private:
    tools::ScratchDir dir_{"bench"};
    bool started_ = false;
};

bool gameStarted = false;

// From the title into the benchmark park, then SnapshotFrame Playing frames with a jump turned
// into a board flip, so that the snapshot holds the skater in the air in the middle of the flip,
// with the fall message showing. Empty when the game did not reach that moment. Kept out of line
// so that a profile (tools/measure/measure_frame_instructions.sh) counts it apart from the timed
// frames.
[[gnu::noinline]] std::string reachMidTrick(autoplay::GameSnapshot& snapshot) {
    gameState = GameState::Title;
    runStateHandler(); // Title -> Menu
    headless::tap(platform::Key::Enter);
    runStateHandler(); // Menu -> LoadPark
    runStateHandler(); // LoadPark -> Playing
    if (gameState != GameState::Playing) {
        return "the benchmark park did not start";
    }
    while (run.parkFrame < SnapshotFrame) {
        if (run.parkFrame == SnapshotFrame - 5) {
            headless::tap(platform::Key::Up);
        } else if (run.parkFrame == SnapshotFrame - 4) {
            headless::tap(platform::Key::Down);
        }
        runStateHandler();
        if (gameState != GameState::Playing) {
            return "the benchmark park ended early";
        }
    }
    if (skater.trick != Trick::BoardFlip || skater.riseFrames == 0) {
        return "the skater is not in the middle of a board flip";
    }
    int onScreen = 0;
    for (int32_t i = run.firstActive; i <= run.lastActive; ++i) {
        const park::Obstacle& o = park::obstacleTable.records[i];
        // Where the timed frame will draw it: 4 pixels further left.
        if (park::isActive(o, run.parkFrame + 1) && o.x - 4 >= 0 &&
            o.x - 4 + o.src.width() <= 640) {
            ++onScreen;
        }
    }
    if (onScreen != ObstacleCount) {
        return "only " + std::to_string(onScreen) + " obstacles are on screen";
    }
    park::copyText("You fell, try again.", run.message);
    run.messageSeconds = 5;
    run.messageTick = headless::clock();
    autoplay::saveGame(snapshot);
    return "";
}

bool ready(benchmark::State& state) {
    if (!gameStarted) {
        state.SkipWithError("the game did not start");
        return false;
    }
    return true;
}

void countAllocations(benchmark::State& state, long long before) {
    state.counters["allocs"] = benchmark::Counter(
        static_cast<double>(bench::allocationCount() - before), benchmark::Counter::kAvgIterations);
}

void BM_PlayingFrame(benchmark::State& state) {
    if (!ready(state)) {
        return;
    }
    autoplay::GameSnapshot snapshot;
    std::string problem = reachMidTrick(snapshot);
    if (!problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    // The restore stays inside the timed loop: it is a copy of 8 KB that takes about 0.1 us,
    // while pausing and resuming the timers reads the clocks for about 0.7 us.
    const long long before = bench::allocationCount();
    for (auto _ : state) {
        autoplay::restoreGame(snapshot);
        runStateHandler();
    }
    countAllocations(state, before);
    if (gameState != GameState::Playing || skater.trick != Trick::BoardFlip) {
        state.SkipWithError("the timed frame left the mid-trick moment");
    }
}
BENCHMARK(BM_PlayingFrame);

// The same frame while the session is recorded, as the game always does: the keys' views
// before the handler, the tick count's reads noted, the pass merged into the clock lines after
// it, and a line and a flush to the file every second of the clock (34 ms a frame).
void BM_PlayingFrameRecording(benchmark::State& state) {
    if (!ready(state)) {
        return;
    }
    autoplay::GameSnapshot snapshot;
    std::string problem = reachMidTrick(snapshot);
    std::string error;
    if (problem.empty() && !session::startRecording({"bench-recording.txt"}, false, error)) {
        problem = error;
    }
    if (!problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    const long long before = bench::allocationCount();
    for (auto _ : state) {
        headless::advanceClock(34);
        session::beforePass();
        autoplay::restoreGame(snapshot);
        runStateHandler();
        benchmark::DoNotOptimize(session::gameTick()); // the pacer's read into lastPresentTick
        session::afterPass();
    }
    countAllocations(state, before);
    session::finish(error);
    if (gameState != GameState::Playing || skater.trick != Trick::BoardFlip) {
        state.SkipWithError("the timed frame left the mid-trick moment");
    }
}
BENCHMARK(BM_PlayingFrameRecording);

void BM_TitleAndMenuFrame(benchmark::State& state) {
    if (!ready(state)) {
        return;
    }
    const long long before = bench::allocationCount();
    for (auto _ : state) {
        gameState = GameState::Title;
        runStateHandler(); // the title, then
        runStateHandler(); // one menu frame with no key down
    }
    countAllocations(state, before);
    if (gameState != GameState::Menu) {
        state.SkipWithError("the menu did not stay up");
    }
}
BENCHMARK(BM_TitleAndMenuFrame);

// The longest line the game writes each frame and the score line, as the end screen draws them.
void BM_DrawText(benchmark::State& state) {
    if (!ready(state)) {
        return;
    }
    const char* const line = "Press enter to continue...";
    const long long before = bench::allocationCount();
    for (auto _ : state) {
        display::drawText(line, 10, 460);
        display::drawText("Score: 123456", 10, 10);
        benchmark::ClobberMemory();
    }
    countAllocations(state, before);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(std::strlen(line) + 13));
}
BENCHMARK(BM_DrawText);

void BM_BackBufferCopy(benchmark::State& state) {
    std::vector<uint16_t> from(640 * 480, 0x1234);
    std::vector<uint16_t> to(640 * 480, 0);
    const long long before = bench::allocationCount();
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), to.size() * sizeof to[0]);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    countAllocations(state, before);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(to.size() * sizeof to[0]));
}
BENCHMARK(BM_BackBufferCopy);

void BM_Present(benchmark::State& state) {
    if (!ready(state)) {
        return;
    }
    const long long before = bench::allocationCount();
    for (auto _ : state) {
        display::present();
    }
    countAllocations(state, before);
    state.SetBytesProcessed(state.iterations() * 640 * 480 * 2);
}
BENCHMARK(BM_Present);

// The software present's scaling and conversion of the game's picture (the back buffer as the
// benchmark game drew it) into a window of the given size in the given look (0 sharp, 1 whole,
// 2 stretch), as the SDL platform does into its window surface, without the upload to the
// display server. Windows smaller than the work: the tables and rows are made before timing.
void BM_ScaleToWindow(benchmark::State& state) {
    if (!ready(state)) {
        return;
    }
    const auto look = static_cast<settings::Look>(state.range(0));
    const auto width = static_cast<int>(state.range(1));
    const auto height = static_cast<int>(state.range(2));
    std::vector<uint16_t> picture(640 * 480);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            picture[static_cast<std::size_t>(y) * 640 + x] = display::backBufferPixel(x, y);
        }
    }
    const layout::Box box = layout::pictureBox(look, width, height);
    const scaler::Widen widen = scaler::makeWiden(16, 8, 0, 0);
    const scaler::Axis xs = scaler::sharpAxis(640, box.w);
    const scaler::Axis ys = scaler::sharpAxis(480, box.h);
    scaler::Work work;
    std::vector<uint32_t> window(static_cast<std::size_t>(width) * height);
    uint32_t* origin = window.data() + static_cast<std::size_t>(box.y) * width + box.x;
    scaler::scale(picture.data(), 640 * 2, widen, xs, ys, work, origin, width * 4);
    const long long before = bench::allocationCount();
    for (auto _ : state) {
        scaler::scale(picture.data(), 640 * 2, widen, xs, ys, work, origin, width * 4);
        benchmark::DoNotOptimize(window.data());
    }
    countAllocations(state, before);
    state.SetBytesProcessed(state.iterations() * box.w * box.h * 4);
}
BENCHMARK(BM_ScaleToWindow)
    ->ArgNames({"look", "w", "h"})
    ->ArgsProduct({{0, 1, 2}, {1280}, {800}})
    ->ArgsProduct({{0, 1, 2}, {1366}, {768}})
    ->ArgsProduct({{0, 1, 2}, {1920}, {1080}})
    ->ArgsProduct({{0, 1, 2}, {3840}, {2160}})
    ->Unit(benchmark::kMicrosecond);

// Passes every report on to the console, keeps the fastest repetition of each benchmark, and
// notes a benchmark that could not run or whose timed loop allocated.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    // Coloured only on a terminal, so that a log or a pipe gets plain text.
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) != 0 ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.run_type != Run::RT_Iteration) {
                continue;
            }
            if (r.error_occurred) {
                problems_ += r.benchmark_name() + ": " + r.error_message + "\n";
                continue;
            }
            auto allocs = r.counters.find("allocs");
            if (allocs != r.counters.end() && allocs->second.value > 0) {
                char line[160];
                std::snprintf(line, sizeof line, "%s: %.3g heap allocations an iteration\n",
                              r.benchmark_name().c_str(), static_cast<double>(allocs->second));
                problems_ += line;
            }
            const double seconds =
                r.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(r.time_unit);
            auto [it, fresh] = fastest_.try_emplace(r.run_name.function_name, seconds);
            if (!fresh) {
                it->second = std::min(it->second, seconds);
            }
        }
    }

    // The per-iteration CPU time of the fastest repetition, in seconds; 0 when it did not run.
    double fastest(const std::string& name) const {
        auto it = fastest_.find(name);
        return it == fastest_.end() ? 0.0 : it->second;
    }

    // One line for each benchmark that could not run or allocated; empty when all is well.
    const std::string& problems() const { return problems_; }

  private:
    std::map<std::string, double> fastest_;
    std::string problems_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    Game game;
    std::string error;
    gameStarted = game.start(error);
    if (!gameStarted) {
        std::fprintf(stderr, "zanbury-bench: %s\n", error.c_str());
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double frame = reporter.fastest("BM_PlayingFrame");
    const double floor = reporter.fastest("BM_BackBufferCopy");
    if (frame > 0 && floor > 0) {
        std::printf("\nPlaying frame %.1f us (%.2f%% of a 34 ms frame), back-buffer copy %.1f us\n",
                    frame * 1e6, frame / 0.034 * 100, floor * 1e6);
        std::printf("BM_PlayingFrame / BM_BackBufferCopy = %.2f (target: at most 4)\n",
                    frame / floor);
    }
    const double recorded = reporter.fastest("BM_PlayingFrameRecording");
    if (frame > 0 && recorded > 0) {
        std::printf("BM_PlayingFrameRecording / BM_PlayingFrame = %.3f (target: at most 1.05)\n",
                    recorded / frame);
    }
    if (!reporter.problems().empty()) {
        std::fprintf(stderr, "zanbury-bench: %s", reporter.problems().c_str());
        return 1;
    }
    return 0;
}
