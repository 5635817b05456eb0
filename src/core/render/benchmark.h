#pragma once
// The Benchmark command: times a number of renders of the current view (each
// drawn and shown at once) and reports frames, milliseconds and frames per
// second.
#include <cstdint>
#include <functional>
#include <string>

namespace tarn {

class Ui;

inline constexpr int kBenchmarkFrames = 100;

// Microseconds from a steady clock; tests pass their own.
using MicrosecondClock = std::function<std::int64_t()>;
std::int64_t steadyMicroseconds();

struct BenchmarkResult {
    int frames = 0;
    std::int64_t microseconds = 0;

    // Whole milliseconds, as the message shows them.
    std::int64_t milliseconds() const { return microseconds / 1000; }
    // From the whole milliseconds; from the exact time only when those are 0,
    // so a run shorter than a millisecond still gives a figure; 0 when no time
    // passed at all.
    double framesPerSecond() const;
};

// Calls `renderAndShow` `frames` times between two readings of `clock`.
BenchmarkResult runBenchmark(const std::function<void()>& renderAndShow,
                             int frames = kBenchmarkFrames,
                             const MicrosecondClock& clock = steadyMicroseconds);

// "100 frames in %d milliseconds = %f fps", with the run's frame count.
std::string benchmarkMessage(const BenchmarkResult& result);

// The menu command (F11): runs the benchmark and shows its message.
BenchmarkResult Benchmark(Ui& ui, const std::function<void()>& renderAndShow,
                          const MicrosecondClock& clock = steadyMicroseconds);

}  // namespace tarn
