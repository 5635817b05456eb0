// Whole draws of the render modes over a generated model: a UV sphere of
// about 4000 Triangles with a 256 x 256 skin, seen at 640 x 480.
#include <benchmark/benchmark.h>

#include "sphere_session.h"

namespace tarn {
namespace {

void BM_RenderMode(benchmark::State& state) {
    const int mode = int(state.range(0));
    auto session = bench::sphereSession(state.range(1) != 0);
    for (auto _ : state) {
        session->draw(mode);
        benchmark::DoNotOptimize(session->frame.colour());
    }
    state.SetLabel(session->modes.at(mode).GetName());
}
BENCHMARK(BM_RenderMode)
    ->ArgsProduct({{kModeWireframe, kModeWireframeSolid, kModeFlat, kModeGouraud, kModeTextured},
                   {0, 1}})
    ->ArgNames({"mode", "mapping"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarn
