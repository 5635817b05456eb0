// The nearest-colour search of the skin effects, once per pixel of a 640 x 480
// skin: the plain search of all 256 entries beside the cell search, and Fill
// Selected on a fully selected 640 x 480 skin end to end.
#include <benchmark/benchmark.h>

#include <random>
#include <sstream>

#include "edit/skin_edit.h"
#include "image/palette_search.h"
#include "platform/batch_ui.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

tarn::Palette randomPalette() {
    std::mt19937 rng(3);
    tarn::Palette p{};
    for (auto& c : p) c = static_cast<std::uint8_t>(rng());
    return p;
}

std::vector<double> randomColours() {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> level(0.0, 255.0);
    std::vector<double> c(std::size_t(kWidth) * kHeight * 3);
    for (auto& v : c) v = level(rng);
    return c;
}

template <typename Search>
void searchEveryPixel(benchmark::State& state, Search search) {
    const auto colours = randomColours();
    for (auto _ : state) {
        int sum = 0;
        for (std::size_t i = 0; i < colours.size(); i += 3) sum += search(colours[i], colours[i + 1], colours[i + 2]);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void BM_NearestPlain640x480(benchmark::State& state) {
    const tarn::Palette p = randomPalette();
    searchEveryPixel(state, [&](double r, double g, double b) { return tarn::nearestColorPlain(p, r, g, b); });
}

void BM_NearestCells640x480(benchmark::State& state) {
    const tarn::Palette p = randomPalette();
    tarn::PaletteSearch search(p);
    searchEveryPixel(state, [&](double r, double g, double b) { return search.nearest(r, g, b); });
}

// Every cell of the table worked out: the most a search can cost beyond its lookups.
void BM_PaletteSearchBuild(benchmark::State& state) {
    const tarn::Palette p = randomPalette();
    constexpr int kStep = 256 / tarn::PaletteSearch::kCellsPerSide;
    for (auto _ : state) {
        tarn::PaletteSearch search(p);
        for (int r = 0; r < 256; r += kStep)
            for (int g = 0; g < 256; g += kStep)
                for (int b = 0; b < 256; b += kStep) benchmark::DoNotOptimize(search.candidatesAt(r, g, b));
    }
}

// Two Triangles covering the whole skin, with different normals, over random pixels.
void BM_FillSelectedWhole640x480(benchmark::State& state) {
    std::ostringstream out;
    tarn::BatchUi ui(out);
    tarn::MemorySettings settings;
    tarn::Folders folders;
    tarn::Mesh mesh;
    tarn::SkinList skins;
    tarn::PaintState paint;
    tarn::Lighting lighting;
    tarn::NullRefresh refresh;
    mesh.skinWidth = kWidth;
    mesh.skinHeight = kHeight;
    mesh.vertexCount = 4;
    mesh.frames.push_back(tarn::Frame{"f", {{0, 0, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}}});
    mesh.mappingVerts[0] = {0, 0};
    mesh.mappingVerts[1] = {kWidth - 1, 0};
    mesh.mappingVerts[2] = {kWidth - 1, kHeight - 1};
    mesh.mappingVerts[3] = {0, kHeight - 1};
    mesh.mappingVertCount = 4;
    mesh.triangleCount = 2;
    mesh.triangles[0].mapping = {0, 1, 2};
    mesh.triangles[1].mapping = {0, 2, 3};
    mesh.triangles[0].normal = {1, 0, 0};
    mesh.triangles[1].normal = {0, 0.6f, 0.8f};
    for (int i = 0; i < 2; ++i) {
        mesh.triangles[std::size_t(i)].vertex = {0, 1, 2};
        mesh.triangles[std::size_t(i)].flags = tarn::kTriSelected;
    }
    auto skin = tarn::makeBlankSkin(kWidth, kHeight);
    skin->palette = randomPalette();
    std::mt19937 rng(9);
    for (auto& px : skin->pixels) px = static_cast<std::uint8_t>(rng());
    const auto original = skin->pixels;
    skins.append(std::move(skin));
    tarn::SkinEditContext c{ui, settings, folders, mesh, skins, paint, lighting, refresh};
    for (auto _ : state) {
        state.PauseTiming();
        skins.current()->pixels = original;
        state.ResumeTiming();
        tarn::fillSelected(c);
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

}  // namespace

BENCHMARK(BM_NearestPlain640x480)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NearestCells640x480)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaletteSearchBuild)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FillSelectedWhole640x480)->Unit(benchmark::kMillisecond);
