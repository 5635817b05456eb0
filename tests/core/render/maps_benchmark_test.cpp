// The Benchmark command's count, arithmetic and message.
#include <gtest/gtest.h>

#include <deque>

#include "render/benchmark.h"
#include "scripted_ui.h"

namespace tarn {
namespace {

// A clock that returns the prepared readings in turn.
MicrosecondClock readings(std::deque<std::int64_t> values) {
    return [values]() mutable {
        const std::int64_t v = values.front();
        values.pop_front();
        return v;
    };
}

TEST(Benchmark, HundredRendersInTwoSecondsShowFiftyFps) {
    test::ScriptedUi ui;
    int renders = 0;
    const auto result = Benchmark(ui, [&] { ++renders; }, readings({5'000'000, 7'000'000}));
    EXPECT_EQ(renders, 100);
    EXPECT_EQ(result.milliseconds(), 2000);
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{"100 frames in 2000 milliseconds = 50.000000 fps"}));
}

TEST(Benchmark, ShortRunsStillGiveAFigure) {
    // Under a millisecond: the message shows 0 ms but the rate from the exact time.
    const auto fast = runBenchmark([] {}, 100, readings({0, 500}));
    EXPECT_EQ(benchmarkMessage(fast), "100 frames in 0 milliseconds = 200000.000000 fps");
    // A clock that did not move gives no rate rather than an infinite one.
    const auto still = runBenchmark([] {}, 10, readings({42, 42}));
    EXPECT_EQ(benchmarkMessage(still), "10 frames in 0 milliseconds = 0.000000 fps");
    // Other frame counts are reported as run.
    int renders = 0;
    const auto three = runBenchmark([&] { ++renders; }, 3, readings({0, 1'234'567}));
    EXPECT_EQ(renders, 3);
    EXPECT_EQ(benchmarkMessage(three), "3 frames in 1234 milliseconds = 2.431118 fps");
}

TEST(Benchmark, TheRateAgreesWithTheMillisecondsShown) {
    // 150.767 ms: the message shows 150, and the rate is 100 / 0.150.
    const auto run = runBenchmark([] {}, 100, readings({1'000, 151'767}));
    EXPECT_EQ(benchmarkMessage(run), "100 frames in 150 milliseconds = 666.666667 fps");
}

}  // namespace
}  // namespace tarn
