// The symmetry search over every frame and axis of the real player models,
// and the measures of each real model: the best frame and axis, the share of
// vertices whose mirror lands on the surface, and the share of Triangles a
// mirrored mapping from one side reaches. Then the worst case a file can
// bring: 300 frames of 4,096 vertices and 4,096 Triangles at random (4.8 MB
// as an .md2), whose huge overlapping Triangles defeat any spatial grid.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
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
// A partner Triangle is a Triangle of the other half whose three vertices
// mirror (to the nearest vertex, within 1 % of the frame's size, both ways)
// onto the vertices of one selected Triangle; its corner is right when it is
// that Triangle's MappingVert at the mirror vertex, flipped across the line.
// Counts the partner Triangles' corners and whole Triangles that are right.
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

// Each vertex's mirror vertex in `frame`, or -1.
std::vector<int> vertexPartners(const Mesh& mesh, const tarn::SymmetryMeasure& best) {
    const auto& p = mesh.frames[std::size_t(best.frame)].positions;
    float size = 0.0f;
    for (const auto& a : p)
        for (const auto& b : p) size = std::max(size, std::sqrt(tarn::dot(a - b, a - b)));
    std::vector<int> nearest(std::size_t(mesh.vertexCount), -1);
    for (int v = 0; v < mesh.vertexCount; ++v) {
        const tarn::Vec3f image = best.plane.apply(p[std::size_t(v)]);
        float d = 0.01f * size;
        for (int w = 0; w < mesh.vertexCount; ++w)
            if (const float e = std::sqrt(tarn::dot(p[std::size_t(w)] - image, p[std::size_t(w)] - image)); e <= d) {
                d = e;
                nearest[std::size_t(v)] = w;
            }
    }
    std::vector<int> partner(nearest.size(), -1);
    for (std::size_t v = 0; v < nearest.size(); ++v)
        if (nearest[v] >= 0 && nearest[std::size_t(nearest[v])] == int(v)) partner[v] = nearest[v];
    return partner;
}

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
    // The right corners of each partner Triangle.
    const std::vector<int> partner = vertexPartners(original, best);
    std::map<int, std::array<tarn::MappingVert, 3>> right;
    for (int t = 0; t < original.triangleCount; ++t) {
        if (lower[std::size_t(t)]) continue;
        const auto& tri = original.triangles[std::size_t(t)];
        for (int s = 0; s < original.triangleCount; ++s) {
            const auto& other = original.triangles[std::size_t(s)];
            if (!lower[std::size_t(s)]) continue;
            std::array<tarn::MappingVert, 3> want{};
            int found = 0;
            for (int k = 0; k < 3; ++k)
                for (int j = 0; j < 3; ++j)
                    if (partner[std::size_t(tri.vertex[std::size_t(k)])] == other.vertex[std::size_t(j)]) {
                        want[std::size_t(k)] = other.corner[std::size_t(j)];
                        auto& v = line.vertical ? want[std::size_t(k)].s : want[std::size_t(k)].t;
                        v = std::int16_t(std::lround(line.flip(v)));
                        ++found;
                        break;
                    }
            if (found == 3) right[t] = want;
        }
    }
    double corners = 0.0, whole = 0.0;
    for (auto _ : state) {
        Mesh mesh = original;
        std::mt19937 random(8);
        std::uniform_int_distribution<int> s(0, mesh.skinWidth - 1), u(0, mesh.skinHeight - 1);
        for (int t = 0; t < mesh.triangleCount; ++t) {
            tarn::Triangle& tri = mesh.triangles[std::size_t(t)];
            if (lower[std::size_t(t)]) tri.flags |= tarn::kTriSelected;
            else for (auto& c : tri.corner) c = {std::int16_t(s(random)), std::int16_t(u(random))};
        }
        tarn::RebuildMappingVerts(mesh);
        tarn::mirrorMapping(mesh, tarn::Mirror(mesh, best), line, false);
        corners = whole = 0.0;
        for (const auto& [t, want] : right) {
            int good = 0;
            for (int k = 0; k < 3; ++k) good += mesh.triangles[std::size_t(t)].corner[std::size_t(k)] == want[std::size_t(k)];
            corners += good;
            whole += good == 3;
        }
    }
    const double partners = double(right.size());
    state.SetLabel(kItems[state.range(0)]);
    state.counters["partners"] = partners;
    state.counters["corners_right"] = partners > 0 ? corners / (3.0 * partners) : 0.0;
    state.counters["tris_right"] = partners > 0 ? whole / partners : 0.0;
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
