// The model core on a full-size mesh: a 64 x 32 quad grid of 4096 triangles
// (the Triangle capacity), one skin coordinate per vertex, 100 frames.
#include <benchmark/benchmark.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

#include "model/gl_commands.h"
#include "model/md2_format.h"
#include "model/mesh.h"

namespace {

constexpr int kColumns = 64;
constexpr int kRows = 32;
constexpr int kFrames = 100;

int vertexAt(int x, int y) { return y * (kColumns + 1) + x; }

tarn::Mesh gridMesh() {
    tarn::Mesh mesh;
    mesh.skinWidth = 256;
    mesh.skinHeight = 128;
    mesh.vertexCount = static_cast<std::int16_t>((kColumns + 1) * (kRows + 1));
    mesh.mappingVertCount = mesh.vertexCount;
    tarn::Frame frame{"grid", {}};
    for (int y = 0; y <= kRows; ++y)
        for (int x = 0; x <= kColumns; ++x) {
            mesh.mappingVerts[static_cast<std::size_t>(vertexAt(x, y))] = {static_cast<std::int16_t>(x * 4),
                                                                           static_cast<std::int16_t>(y * 4)};
            frame.positions.push_back({static_cast<float>(x), static_cast<float>(y), std::sin(x * 0.3f) * 2.0f});
        }
    int t = 0;
    for (int y = 0; y < kRows; ++y)
        for (int x = 0; x < kColumns; ++x) {
            const auto a = static_cast<std::int16_t>(vertexAt(x, y)), b = static_cast<std::int16_t>(vertexAt(x + 1, y));
            const auto c = static_cast<std::int16_t>(vertexAt(x, y + 1)), d = static_cast<std::int16_t>(vertexAt(x + 1, y + 1));
            for (std::array<std::int16_t, 3> tri : {std::array<std::int16_t, 3>{a, c, b}, std::array<std::int16_t, 3>{b, c, d}}) {
                mesh.triangles[static_cast<std::size_t>(t)].vertex = tri;
                mesh.triangles[static_cast<std::size_t>(t)].mapping = tri;
                ++t;
            }
        }
    mesh.triangleCount = static_cast<std::int16_t>(t);
    mesh.frames.assign(kFrames, frame);
    return mesh;
}

// The grid as an .md2 file: frames packed into the bytes a load would keep.
tarn::Bytes gridFile(const tarn::Mesh& mesh) {
    tarn::Bytes source(tarn::kMd2HeaderSize, 0);
    std::memcpy(source.data(), tarn::kMd2Magic, 4);
    auto put = [&](std::size_t at, std::int32_t v) { std::memcpy(source.data() + at, &v, 4); };
    put(tarn::kMd2OfsNumVertices, mesh.vertexCount);
    put(tarn::kMd2OfsNumFrames, kFrames);
    put(tarn::kMd2OfsOffsetFrames, static_cast<std::int32_t>(tarn::kMd2HeaderSize));
    source.resize(tarn::kMd2HeaderSize + tarn::md2FrameBytes(mesh.vertexCount) * kFrames, 0x40);
    for (std::size_t f = 0; f < kFrames; ++f) {
        const std::size_t at = tarn::kMd2HeaderSize + f * tarn::md2FrameBytes(mesh.vertexCount);
        const float one = 1.0f;
        for (std::size_t k = 0; k < 3; ++k) std::memcpy(source.data() + at + 4 * k, &one, 4);
        std::memset(source.data() + at + 12, 0, 28);
    }
    return tarn::encodeMd2(mesh, {"models/grid/skin.pcx"}, source).bytes;
}

void BM_BuildGlCommands(benchmark::State& state) {
    const tarn::Mesh mesh = gridMesh();
    std::vector<std::int32_t> words(tarn::kGlCommandCapacity);
    for (auto _ : state) benchmark::DoNotOptimize(tarn::BuildGlCommands(mesh, words));
    state.SetItemsProcessed(state.iterations() * mesh.triangleCount);
}

void BM_MergeMappingVerts(benchmark::State& state) {
    tarn::Mesh mesh = gridMesh();
    for (auto _ : state) {
        tarn::MergeMappingVerts(mesh);
        benchmark::DoNotOptimize(mesh.mappingVertCount);
    }
    state.SetItemsProcessed(state.iterations() * mesh.triangleCount * 3);
}

void BM_ComputeFaceNormals(benchmark::State& state) {
    tarn::Mesh mesh = gridMesh();
    for (auto _ : state) {
        tarn::ComputeFaceNormals(mesh);
        benchmark::DoNotOptimize(mesh.triangles[0].normal);
    }
    state.SetItemsProcessed(state.iterations() * mesh.triangleCount);
}

void BM_ParseAndApplyMd2(benchmark::State& state) {
    const tarn::Bytes file = gridFile(gridMesh());
    tarn::Mesh mesh;
    for (auto _ : state) {
        tarn::Md2Parse parsed = tarn::parseMd2(file);
        tarn::applyMd2ToMesh(std::move(parsed.contents), mesh);
        benchmark::DoNotOptimize(mesh.triangleCount);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
}

void BM_EncodeMd2(benchmark::State& state) {
    const tarn::Mesh grid = gridMesh();
    const tarn::Bytes file = gridFile(grid);
    tarn::Mesh mesh;
    tarn::applyMd2ToMesh(tarn::parseMd2(file).contents, mesh);
    for (auto _ : state) benchmark::DoNotOptimize(tarn::encodeMd2(mesh, {"models/grid/skin.pcx"}, file));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
}

}  // namespace

BENCHMARK(BM_BuildGlCommands);
BENCHMARK(BM_MergeMappingVerts);
BENCHMARK(BM_ComputeFaceNormals);
BENCHMARK(BM_ParseAndApplyMd2);
BENCHMARK(BM_EncodeMd2);
