// The symmetry search over every frame and axis of the real player models,
// and the measures of each real model: the best frame and axis, the share of
// vertices whose mirror lands on the surface, and the share of Triangles a
// mirrored mapping from one side reaches.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "edit/mirror_mapping.h"
#include "model/md2_format.h"
#include "model/symmetry.h"

namespace {

using tarn::Mesh;

const char* const kModels[] = {
    "q2-didux/baseq2/players/male/tris.md2",
    "q2-didux/baseq2/players/female/tris.md2",
    "q2-didux/baseq2/players/male/weapon.md2",
    "q2-didux/baseq2/players/male/w_railgun.md2",
    "q2-didux/baseq2/models/objects/r_explode/tris.md2",
    "q2-didux/baseq2/models/objects/dmspot/tris.md2",
};

bool loadReal(const std::string& relative, Mesh& mesh) {
    std::ifstream in(std::string(TARN_REAL_TESTDATA) + "/" + relative, std::ios::binary);
    if (!in) return false;
    const tarn::Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    tarn::Md2Parse parse = tarn::parseMd2(bytes);
    if (!parse.ok()) return false;
    tarn::applyMd2ToMesh(std::move(parse.contents), mesh);
    return true;
}

void BM_BestSymmetry(benchmark::State& state) {
    Mesh mesh;
    if (!loadReal(kModels[state.range(0)], mesh)) return state.SkipWithError("no real test data");
    for (auto _ : state) benchmark::DoNotOptimize(tarn::bestSymmetry(mesh));
    state.SetLabel(kModels[state.range(0)]);
    state.counters["frames"] = double(mesh.frames.size());
}
BENCHMARK(BM_BestSymmetry)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Selects the Triangles on the lower side of the mirror plane in the symmetry
// frame, mirrors their mapping, and counts the other side's Triangles reached.
void BM_Measures(benchmark::State& state) {
    Mesh mesh;
    if (!loadReal(kModels[state.range(0)], mesh)) return state.SkipWithError("no real test data");
    tarn::SymmetryMeasure best;
    for (auto _ : state) best = tarn::bestSymmetry(mesh);
    const tarn::Mirror mirror(mesh, best);
    const auto& positions = mesh.frames[std::size_t(best.frame)].positions;
    int lower = 0;
    for (int t = 0; t < mesh.triangleCount; ++t) {
        tarn::Vec3f centre;
        tarn::surfacePosition(mesh, positions, {t, {1.0f / 3, 1.0f / 3, 1.0f / 3}}, centre);
        const float c = best.plane.axis == 0 ? centre.x : best.plane.axis == 1 ? centre.y : centre.z;
        if (c < best.plane.centre) {
            mesh.triangles[std::size_t(t)].flags |= tarn::kTriSelected;
            ++lower;
        }
    }
    const auto result = tarn::mirrorMapping(mesh, mirror, tarn::skinMirrorLine(mesh, mirror), false);
    const int other = mesh.triangleCount - lower;
    state.SetLabel(kModels[state.range(0)]);
    state.counters["frame"] = best.frame;
    state.counters["axis"] = best.plane.axis;
    state.counters["mean_dist"] = best.meanDistance;
    state.counters["landed"] = best.landedShare;
    state.counters["reached"] = other > 0 ? double(result.mapped) / other : 0.0;
    state.counters["partly"] = double(result.partlyOutside.size());
}
BENCHMARK(BM_Measures)->DenseRange(0, 5)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
