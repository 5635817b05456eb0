// The symmetry search over every frame and axis of the real player models,
// and the measures of each real model: the best frame and axis, the share of
// vertices whose mirror lands on the surface, and the share of Triangles a
// mirrored mapping from one side reaches. Then the worst case a file can
// bring: 300 frames of 4,096 vertices and 4,096 Triangles at random (4.8 MB
// as an .md2), whose huge overlapping Triangles defeat any spatial grid.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

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
    tarn::MergeMappingVerts(mesh);
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

// Real items whose other half's mapping was scrambled: the lower half (by
// Triangle centre, in the symmetry frame) selected, the other half's corners
// set at random, then mirrored across the line of the untouched mapping.
// Counts the other half's corners and Triangles that got their own mapping
// back (within a texel), mirrored and with shared texels.
const char* const kItems[] = {
    "q2-didux/baseq2/models/items/armor/jacket/tris.md2",
    "q2-didux/baseq2/models/items/armor/band/tris.md2",
    "q2-didux/baseq2/models/items/armor/screen/tris.md2",
    "q2-didux/baseq2/models/items/adrenal/tris.md2",
    "q2-didux/baseq2/models/objects/r_explode/tris.md2",
    "q2-didux/baseq2/models/objects/banner/tris.md2",
    "q2-didux/baseq2/models/weapons/g_rail/tris.md2",
    "q2-didux/baseq2/players/male/tris.md2",
};

void BM_ScrambledHalf(benchmark::State& state) {
    Mesh original;
    if (!loadReal(kItems[state.range(0)], original)) return state.SkipWithError("no real test data");
    const tarn::SymmetryMeasure best = tarn::bestSymmetry(original);
    const tarn::SkinMirrorLine line = tarn::skinMirrorLine(original, tarn::Mirror(original, best));
    const auto& positions = original.frames[std::size_t(best.frame)].positions;
    std::vector<bool> lower;
    for (int t = 0; t < original.triangleCount; ++t) {
        tarn::Vec3f centre;
        tarn::surfacePosition(original, positions, {t, {1.0f / 3, 1.0f / 3, 1.0f / 3}}, centre);
        lower.push_back((best.plane.axis == 0 ? centre.x : best.plane.axis == 1 ? centre.y : centre.z) < best.plane.centre);
    }
    double right[2] = {}, whole[2] = {};
    int others = 0;
    for (auto _ : state)
        for (bool share : {false, true}) {
            Mesh mesh = original;
            std::mt19937 random(8);
            std::uniform_int_distribution<int> s(0, mesh.skinWidth - 1), u(0, mesh.skinHeight - 1);
            for (int t = 0; t < mesh.triangleCount; ++t) {
                tarn::Triangle& tri = mesh.triangles[std::size_t(t)];
                if (lower[std::size_t(t)]) tri.flags |= tarn::kTriSelected;
                else for (auto& c : tri.corner) c = {std::int16_t(s(random)), std::int16_t(u(random))};
            }
            tarn::RebuildMappingVerts(mesh);
            const tarn::Mirror mirror(mesh, best);
            tarn::mirrorMapping(mesh, mirror, line, share);
            others = 0;
            for (int t = 0; t < mesh.triangleCount; ++t) {
                if (lower[std::size_t(t)]) continue;
                ++others;
                int good = 0;
                for (int k = 0; k < 3; ++k) {
                    const tarn::MappingVert a = mesh.triangles[std::size_t(t)].corner[std::size_t(k)];
                    const tarn::MappingVert b = original.triangles[std::size_t(t)].corner[std::size_t(k)];
                    good += std::abs(a.s - b.s) <= 1 && std::abs(a.t - b.t) <= 1;
                }
                right[share] += good;
                whole[share] += good == 3;
            }
        }
    state.SetLabel(kItems[state.range(0)]);
    state.counters["others"] = others;
    state.counters["corners_right"] = others > 0 ? right[0] / (3.0 * others) : 0.0;
    state.counters["tris_right"] = others > 0 ? whole[0] / others : 0.0;
    state.counters["corners_right_shared"] = others > 0 ? right[1] / (3.0 * others) : 0.0;
    state.counters["tris_right_shared"] = others > 0 ? whole[1] / others : 0.0;
}
BENCHMARK(BM_ScrambledHalf)->DenseRange(0, 7)->Iterations(1)->Unit(benchmark::kMillisecond);

// The worst case: every frame's vertices anywhere in a 255-unit box, as the
// file's bytes could put them, and Triangles joining any three of them.
Mesh worstCase() {
    Mesh mesh;
    std::mt19937 random(35);
    std::uniform_int_distribution<int> byte(0, 255), vertex(0, tarn::kMaxFrameVertices - 1);
    mesh.vertexCount = std::int16_t(tarn::kMaxFrameVertices);
    mesh.triangleCount = std::int16_t(tarn::kMaxTriangles);
    mesh.skinWidth = mesh.skinHeight = 256;
    for (int t = 0; t < mesh.triangleCount; ++t) {
        tarn::Triangle& tri = mesh.triangles[std::size_t(t)];
        for (int k = 0; k < 3; ++k) {
            tri.vertex[std::size_t(k)] = std::int16_t(vertex(random));
            tri.corner[std::size_t(k)] = {std::int16_t(byte(random)), std::int16_t(byte(random))};
        }
    }
    tarn::RebuildMappingVerts(mesh);
    for (int f = 0; f < 300; ++f) {
        tarn::Frame frame{"frame" + std::to_string(f), {}};
        for (int v = 0; v < mesh.vertexCount; ++v)
            frame.positions.push_back({float(byte(random)), float(byte(random)), float(byte(random))});
        mesh.frames.push_back(std::move(frame));
    }
    return mesh;
}

double peakResidentMegabytes() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return double(use.ru_maxrss) / 1024.0;
}

void BM_BestSymmetryWorstCase(benchmark::State& state) {
    const Mesh mesh = worstCase();
    tarn::SymmetryMeasure best;
    for (auto _ : state) best = tarn::bestSymmetry(mesh);
    state.counters["frame"] = best.frame;
    state.counters["peak_MB"] = peakResidentMegabytes();
}
BENCHMARK(BM_BestSymmetryWorstCase)->Iterations(1)->Unit(benchmark::kMillisecond);

// Mirror Mapping From Selection on the worst case, half its Triangles
// selected, with the line found from the mapping: what the command does
// after the search.
void BM_MirrorMappingWorstCase(benchmark::State& state) {
    Mesh mesh = worstCase();
    for (int t = 0; t < mesh.triangleCount; t += 2) mesh.triangles[std::size_t(t)].flags |= tarn::kTriSelected;
    int mapped = 0;
    for (auto _ : state) {
        const tarn::Mirror mirror(mesh, 0, 0);
        mapped = tarn::mirrorMapping(mesh, mirror, tarn::skinMirrorLine(mesh, mirror), false).mapped;
    }
    state.counters["mapped"] = mapped;
    state.counters["peak_MB"] = peakResidentMegabytes();
}
BENCHMARK(BM_MirrorMappingWorstCase)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
