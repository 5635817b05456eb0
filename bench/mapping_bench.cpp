// Mapping Mode at the sizes the tables allow: Select Connected along a strip
// of 4096 Triangles (one ring per pass for a flood by passes), one step of a
// dragged vert with the 640 x 480 skin following it, and a Retro-Map of a
// 640 x 480 skin mapped all over by a grid of Triangles.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "edit/kmap.h"
#include "edit/mapping_selection.h"
#include "edit/retro_map.h"
#include "edit/seam_padding.h"
#include "edit/skin_follow.h"
#include "image/skin.h"
#include "model/mesh.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// Triangle i uses MappingVerts i, i + 1, i + 2: each shares two with the next.
void makeStrip(tarn::Mesh& mesh) {
    mesh.skinWidth = kWidth;
    mesh.skinHeight = kHeight;
    mesh.triangleCount = tarn::kMaxTriangles;
    mesh.mappingVertCount = tarn::kMaxTriangles + 2;
    for (int i = 0; i < mesh.mappingVertCount; ++i)
        mesh.mappingVerts[static_cast<std::size_t>(i)] = {static_cast<std::int16_t>(i % kWidth),
                                                          static_cast<std::int16_t>((i / kWidth) * 60 + (i % 2) * 50)};
    for (int i = 0; i < tarn::kMaxTriangles; ++i) {
        const auto m = static_cast<std::int16_t>(i);
        mesh.triangles[static_cast<std::size_t>(i)].mapping = {m, static_cast<std::int16_t>(m + 1),
                                                               static_cast<std::int16_t>(m + 2)};
    }
}

void BM_SelectConnectedStrip(benchmark::State& state) {
    tarn::Mesh mesh;
    makeStrip(mesh);
    for (auto _ : state) {
        tarn::SelectNone(mesh);
        mesh.triangles[0].flags = tarn::kTriSelected;
        tarn::SelectConnected(mesh);
        benchmark::DoNotOptimize(mesh.triangles.back().flags);
    }
}
BENCHMARK(BM_SelectConnectedStrip)->Unit(benchmark::kMillisecond);

// The 40 Triangles of a fan about a dragged centre, each step repainting the
// whole skin from the press and refilling the fan.
void BM_SkinFollowStep(benchmark::State& state) {
    tarn::Mesh mesh;
    mesh.skinWidth = kWidth;
    mesh.skinHeight = kHeight;
    constexpr int kFan = 40;
    mesh.mappingVertCount = kFan + 1;
    mesh.mappingVerts[0] = {320, 240};
    for (int i = 0; i < kFan; ++i) {
        const double a = 6.283185307179586 * i / kFan;
        mesh.mappingVerts[static_cast<std::size_t>(i + 1)] = {static_cast<std::int16_t>(320 + 150 * std::cos(a)),
                                                              static_cast<std::int16_t>(240 + 150 * std::sin(a))};
        mesh.triangles[static_cast<std::size_t>(i)].mapping = {0, static_cast<std::int16_t>(i + 1),
                                                               static_cast<std::int16_t>((i + 1) % kFan + 1)};
        mesh.triangles[static_cast<std::size_t>(i)].flags = tarn::kTriDragMark;
    }
    mesh.triangleCount = kFan;
    auto skin = tarn::makeBlankSkin(kWidth, kHeight);
    for (std::size_t i = 0; i < skin->pixels.size(); ++i) skin->pixels[i] = static_cast<std::uint8_t>(i * 7);
    const std::vector<tarn::MappingVert> press = mesh.mappingVerts;
    tarn::SkinFollow follow;
    follow.start(skin.get(), mesh);
    int step = 0;
    for (auto _ : state) {
        mesh.mappingVerts[0] = {static_cast<std::int16_t>(300 + step % 40), static_cast<std::int16_t>(230 + step % 20)};
        follow.retexture(mesh, press);
        benchmark::DoNotOptimize(skin->pixels.data());
        ++step;
    }
}
BENCHMARK(BM_SkinFollowStep)->Unit(benchmark::kMicrosecond);

// 2 x 40 x 30 Triangles tiling the skin in cells of 16 texels with a texel of
// seam between the cells, re-baked from a mapping 9/10 the size, with the
// default padding.
void BM_RetroMap(benchmark::State& state) {
    constexpr int kCell = 16;
    const auto grid = [](int scaleNum, int scaleDen) {
        tarn::Mesh mesh;
        mesh.skinWidth = kWidth;
        mesh.skinHeight = kHeight;
        int t = 0;
        for (int y = 0; y < kHeight / kCell; ++y) {
            for (int x = 0; x < kWidth / kCell; ++x) {
                const auto at = [&](int dx, int dy) {
                    return tarn::MappingVert{static_cast<std::int16_t>((x * kCell + dx) * scaleNum / scaleDen),
                                             static_cast<std::int16_t>((y * kCell + dy) * scaleNum / scaleDen)};
                };
                mesh.triangles[static_cast<std::size_t>(t++)].corner = {at(0, 0), at(kCell - 2, 0), at(kCell - 2, kCell - 2)};
                mesh.triangles[static_cast<std::size_t>(t++)].corner = {at(0, 0), at(kCell - 2, kCell - 2), at(0, kCell - 2)};
            }
        }
        mesh.triangleCount = static_cast<std::int16_t>(t);
        tarn::RebuildMappingVerts(mesh);
        return mesh;
    };
    const tarn::Mesh mesh = grid(1, 1);
    const tarn::KmapParse file = tarn::ParseKmap(tarn::EncodeKmap(grid(9, 10)), mesh.triangleCount);
    auto old = tarn::makeBlankSkin(kWidth, kHeight);
    for (std::size_t i = 0; i < old->pixels.size(); ++i) old->pixels[i] = static_cast<std::uint8_t>(i * 7);
    for (auto _ : state) {
        std::vector<std::uint8_t> pixels = tarn::RetroMapPixels(mesh, *old, file.file, 0, tarn::kDefaultSeamPadding);
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(BM_RetroMap)->Unit(benchmark::kMillisecond);

}  // namespace
