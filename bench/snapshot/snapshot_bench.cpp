// A large smoothed 24-bit snapshot, of the generated sphere and of a real
// player model: its time, and the most heap memory it holds at once. Its own
// program, because counting every allocation would slow the others.
#include <benchmark/benchmark.h>

#include <sstream>

#include "alloc_peak.h"
#include "platform/batch_ui.h"
#include "render/render_setup.h"
#include "render/snapshot.h"
#include "sphere_session.h"

namespace tarn {
namespace {

// The case of a large smoothed 24-bit snapshot: time, and the most memory
// held at once beyond the session's own.
void BM_SmoothedSnapshot(benchmark::State& state) {
    constexpr int kWidth = 1600, kHeight = 1200;
    std::unique_ptr<RenderSession> session;
    if (state.range(0) == 0) {
        session = bench::sphereSession(false);
    } else {
        session = std::make_unique<RenderSession>();
        RenderRequest request;
        request.model = std::string(TARN_REAL_TESTDATA) + "/q2-didux/baseq2/players/male/tris.md2";
        request.base = std::string(TARN_REAL_TESTDATA) + "/q2-didux/baseq2";
        std::ostringstream quiet;
        BatchUi ui(quiet);
        if (!prepareRenderSession(*session, request, ui).empty())
            return state.SkipWithError("no real test data");
    }
    session->setSize(kWidth, kHeight);
    const SnapshotQuality quality{true, true, 1.0};
    std::size_t peak = 0;
    for (auto _ : state) {
        bench::resetAllocPeak();
        const SnapshotPicture picture = renderSnapshot(session->modes.at(kModeTextured), session->scene(),
                                                       session->target, kWidth, kHeight, quality);
        benchmark::DoNotOptimize(picture.pixels.data());
        peak = std::max(peak, bench::allocPeak());
    }
    state.counters["peak_MB"] = double(peak) / (1 << 20);
    state.SetLabel(state.range(0) == 0 ? "sphere" : "male player");
}
BENCHMARK(BM_SmoothedSnapshot)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tarn
