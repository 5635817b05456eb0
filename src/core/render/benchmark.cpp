#include "render/benchmark.h"

#include <chrono>
#include <cstdio>

#include "platform/ui.h"

namespace tarn {

namespace {
constexpr double kMicrosecondsPerSecond = 1e6;
constexpr double kSecondsPerMillisecond = 0.001;
}  // namespace

std::int64_t steadyMicroseconds() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

double BenchmarkResult::framesPerSecond() const {
    // From the milliseconds the message shows, so its two figures agree; the
    // finer clock only when a run is too short for them.
    if (milliseconds() > 0) return frames / (double(milliseconds()) * kSecondsPerMillisecond);
    if (microseconds <= 0) return 0.0;
    return frames * kMicrosecondsPerSecond / double(microseconds);
}

BenchmarkResult runBenchmark(const std::function<void()>& renderAndShow, int frames,
                             const MicrosecondClock& clock) {
    BenchmarkResult result;
    result.frames = frames > 0 ? frames : 0;
    const std::int64_t before = clock();
    for (int i = 0; i < result.frames; ++i) renderAndShow();
    result.microseconds = clock() - before;
    return result;
}

std::string benchmarkMessage(const BenchmarkResult& result) {
    char text[128];
    std::snprintf(text, sizeof text, "%d frames in %lld milliseconds = %f fps", result.frames,
                  static_cast<long long>(result.milliseconds()), result.framesPerSecond());
    return text;
}

BenchmarkResult Benchmark(Ui& ui, const std::function<void()>& renderAndShow,
                          const MicrosecondClock& clock) {
    const BenchmarkResult result = runBenchmark(renderAndShow, kBenchmarkFrames, clock);
    ui.message(benchmarkMessage(result));
    return result;
}

}  // namespace tarn
