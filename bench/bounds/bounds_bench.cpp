// The worst cases of bounded work, generated: each command's costliest input
// as far as the caps allow. Time per run, and the most heap memory held at
// once (peak_MB) beyond the input's own; every case should stay within 2 s
// and 512 MB. Its own program, since counting allocations slows the others.
//   Islands        4096 Triangles piled over a 4000 x 4000 stretch: the charts
//   WastedSpace    the same over the largest skin, as info and About count it
//   LayoutFill     layout --fill of the piled Triangles
//   LayoutLargest  the largest layout written: 640 x 480 at scale 8, filled, over the skin
//   RetroMap       4096 piled Triangles re-baked onto a 2048 x 2048 skin
//   PackFit        the male player packed at the largest fitted size, with turns
//   PackCrowded    4096 small Triangles strewn over 640 x 480, fitted with turns,
//                  then shrunk with and without turns: a crowded skin
//   Open           the most frame positions a model may hold, parsed and applied
#include <benchmark/benchmark.h>

#include <sstream>

#include "alloc_peak.h"
#include "app/about.h"
#include "edit/kmap.h"
#include "edit/layout_export.h"
#include "edit/pack_islands.h"
#include "edit/retro_map.h"
#include "edit/seam_padding.h"
#include "hostile_models.h"
#include "model/game_folder.h"
#include "model/md2_format.h"
#include "platform/batch_ui.h"
#include "render/render_session.h"

namespace tarn {
namespace {

Mesh meshOf(const Bytes& file) {
    Md2Parse parsed = parseMd2(file);
    Mesh mesh;
    if (parsed.ok()) applyMd2ToMesh(std::move(parsed.contents), mesh);
    return mesh;
}

// Runs `work` per iteration and reports its peak heap use.
template <class Work>
void measured(benchmark::State& state, Work work) {
    std::size_t peak = 0;
    for (auto _ : state) {
        bench::resetAllocPeak();
        work();
        peak = std::max(peak, bench::allocPeak());
    }
    state.counters["peak_MB"] = double(peak) / (1 << 20);
}

const test::PiledModel kPiled{4096, 640, 480, 4000, 4000, 1, 3};

void BM_Islands(benchmark::State& state) {
    const Mesh mesh = meshOf(test::piledModel(kPiled));
    measured(state, [&] { benchmark::DoNotOptimize(FindCharts(mesh)); });
}

void BM_WastedSpace(benchmark::State& state) {
    test::PiledModel recipe = kPiled;
    recipe.skinWidth = kMaxImageWidth;
    recipe.skinHeight = kMaxImageRows;
    recipe.reachS = 32000;
    const Mesh mesh = meshOf(test::piledModel(recipe));
    measured(state, [&] { benchmark::DoNotOptimize(WastedSpace(mesh)); });
}

void BM_LayoutFill(benchmark::State& state) {
    const Mesh mesh = meshOf(test::piledModel(kPiled));
    LayoutOptions options;
    options.fill = true;
    measured(state, [&] { benchmark::DoNotOptimize(RenderLayout(mesh, nullptr, options)); });
}

void BM_LayoutLargest(benchmark::State& state) {
    test::PiledModel recipe = kPiled;
    recipe.reachS = 640;
    recipe.reachT = 480;
    const Mesh mesh = meshOf(test::piledModel(recipe));
    const auto skin = makeBlankSkin(mesh.skinWidth, mesh.skinHeight);
    LayoutOptions options;
    options.fill = true;
    options.overSkin = true;
    options.scale = kMaxLayoutScale;
    measured(state, [&] { benchmark::DoNotOptimize(WriteLayout("/tmp/tarn_bounds_layout.png", RenderLayout(mesh, skin.get(), options))); });
}

void BM_RetroMap(benchmark::State& state) {
    const Mesh mesh = meshOf(test::piledModel({4096, 2048, 2048, 4500, 4200, 1, 3}));
    const KmapParse kmap = ParseKmap(EncodeKmap(mesh), mesh.triangleCount, KmapVertCount::Ignored);
    const auto old = makeBlankSkin(mesh.skinWidth, mesh.skinHeight);
    measured(state, [&] { benchmark::DoNotOptimize(RetroMapPixels(mesh, *old, kmap.file, 0, kMaxSeamPadding)); });
}

void BM_PackFit(benchmark::State& state) {
    const std::string path = std::string(TARN_REAL_TESTDATA) + "/q2-didux/baseq2/players/male/tris.md2";
    std::ostringstream quiet;
    BatchUi ui(quiet);
    RenderSession session;
    if (!loadSessionModel(session, path, defaultBaseFolder(path), ui)) return state.SkipWithError("no real test data");
    const Mesh& mesh = session.mesh;
    PackOptions options;
    options.scale = PackScale::Fit;
    options.rotate = true;
    options.size = PackSize::Given;
    options.width = static_cast<int>(state.range(0));
    options.height = static_cast<int>(state.range(1));
    const auto skin = makeBlankSkin(mesh.skinWidth, mesh.skinHeight);
    measured(state, [&] {
        const PackPlan plan = PlanPack(mesh, options);
        if (plan.ok()) benchmark::DoNotOptimize(PackedPixels(mesh, plan, *skin, 0));
        state.SetLabel(plan.ok() ? "packed" : plan.refusal);
    });
}

void BM_PackCrowded(benchmark::State& state) {
    test::PiledModel recipe = kPiled;
    recipe.reachS = 628;
    recipe.reachT = 468;
    recipe.scatter = 8;
    const Mesh mesh = meshOf(test::piledModel(recipe));
    PackOptions options;
    options.rotate = state.range(0) != 0;
    options.scale = state.range(1) != 0 ? PackScale::Fit : PackScale::Keep;
    options.size = state.range(1) != 0 ? PackSize::Current : PackSize::Shrink;
    measured(state, [&] {
        const PackPlan plan = PlanPack(mesh, options);
        state.SetLabel(std::to_string(plan.charts.size()) + " islands: " +
                       (plan.ok() ? std::to_string(plan.width) + "x" + std::to_string(plan.height) : plan.refusal));
    });
}

void BM_Open(benchmark::State& state) {
    const Bytes file = test::piledModel({4096, 640, 480, 4000, 4000, kMaxFramePositions / kMaxFrameVertices, kMaxFrameVertices});
    measured(state, [&] { benchmark::DoNotOptimize(meshOf(file)); });
}

BENCHMARK(BM_Islands)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WastedSpace)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayoutFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayoutLargest)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_RetroMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PackFit)->Unit(benchmark::kMillisecond)->Iterations(1)->Args({1024, 1024})->Args({4096, 256})->Args({32767, 2048});
BENCHMARK(BM_PackCrowded)->Unit(benchmark::kMillisecond)->Iterations(1)->Args({1, 1})->Args({0, 0})->Args({1, 0});
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace tarn

BENCHMARK_MAIN();
