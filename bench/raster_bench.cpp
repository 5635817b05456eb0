// Rasterizer speed at 640 x 480: clearing the planes against plain memset,
// each fill family over one fixed set of model-sized triangles, a large
// depth-tested textured span, and the setup cost of tiny triangles.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "raster/frame_buffer.h"
#include "raster/rasterizer.h"

namespace tarn {
namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kSkinSide = 256;

// A model seen at 640 x 480: a jittered grid mesh (the front faces that
// survive culling), partly off the left border, with a smooth depth and a
// smooth skin layout, triangles drawn in order.
struct Corner {
    int x, y, s, t, z;
};
constexpr int kCell = 14;
constexpr int kColumns = 34;
constexpr int kRows = 26;
constexpr int kTriangles = kColumns * kRows * 2;
constexpr int kLeft = -30;
constexpr int kTop = 50;

struct Scene {
    std::vector<std::array<Corner, 3>> triangles;
    std::vector<std::uint8_t> skin = std::vector<std::uint8_t>(kSkinSide * kSkinSide);
    std::vector<std::int32_t> rows = std::vector<std::int32_t>(kSkinSide);
    std::vector<std::uint8_t> colormap = std::vector<std::uint8_t>(64 * 256);
    std::vector<std::uint8_t> map = std::vector<std::uint8_t>(256 * 256);
    long long pixels = 0;  // pixels covered by the spans of all triangles

    Scene() {
        std::mt19937 rng(1234);
        std::uniform_int_distribution<int> jitter(-kCell / 3, kCell / 3);
        std::vector<Corner> grid;
        for (int j = 0; j <= kRows; ++j)
            for (int i = 0; i <= kColumns; ++i) {
                const int x = kLeft + i * kCell + jitter(rng);
                const int y = kTop + j * kCell + jitter(rng);
                const int dx = i - kColumns / 2;
                const int dy = j - kRows / 2;
                grid.push_back(Corner{x, y, i * (kSkinSide - 1) / kColumns, j * (kSkinSide - 1) / kRows,
                                      2000 + 20 * (dx * dx + dy * dy)});
            }
        auto at = [&](int i, int j) { return grid[static_cast<std::size_t>(j * (kColumns + 1) + i)]; };
        for (int j = 0; j < kRows; ++j)
            for (int i = 0; i < kColumns; ++i) {
                triangles.push_back({at(i, j), at(i + 1, j), at(i + 1, j + 1)});
                triangles.push_back({at(i, j), at(i + 1, j + 1), at(i, j + 1)});
            }
        for (std::size_t i = 0; i < skin.size(); ++i) skin[i] = static_cast<std::uint8_t>(i * 13);
        for (int r = 0; r < kSkinSide; ++r) rows[static_cast<std::size_t>(r)] = r * kSkinSide;
        for (std::size_t i = 0; i < colormap.size(); ++i) colormap[i] = static_cast<std::uint8_t>(i);
        for (std::size_t i = 0; i < map.size(); ++i) map[i] = static_cast<std::uint8_t>(i % 64);
        countPixels();
    }

    void countPixels() {
        FrameBuffer frame;
        frame.resize(kWidth, kHeight);
        Rasterizer raster;
        raster.SetTarget(frame);
        for (const auto& t : triangles) {
            frame.clearColour(0);
            const Vertex2D a{t[0].x, t[0].y}, b{t[1].x, t[1].y}, c{t[2].x, t[2].y};
            raster.FillSolid2D({{a, b, c, a}}, 1);
            for (std::size_t i = 0; i < frame.elementCount(); ++i) pixels += frame.colour()[i];
        }
    }
};

const Scene& scene() {
    static const Scene s;
    return s;
}

Fixed16 fx(int v) { return toFixed16(v); }

struct Bench {
    FrameBuffer frame;
    Rasterizer raster;
    const Scene& s = scene();
    Bench() {
        frame.resize(kWidth, kHeight);
        raster.SetTarget(frame);
        raster.SetTexture(s.skin, kSkinSide, kSkinSide, s.rows);
        raster.SetShadeTable(s.colormap);
        raster.SetMap(s.map);
    }
};

void reportPixels(benchmark::State& state, long long pixelsPerIteration) {
    state.counters["Mpix/s"] = benchmark::Counter(static_cast<double>(pixelsPerIteration) / 1e6,
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

// Runs `fill(bench, triangle)` over the scene each iteration, from cleared planes.
template <class Fill>
void runScene(benchmark::State& state, Fill fill) {
    Bench b;
    for (auto _ : state) {
        b.frame.clear(0);
        for (const auto& t : b.s.triangles) fill(b.raster, t);
        benchmark::DoNotOptimize(b.frame.colour());
        benchmark::ClobberMemory();
    }
    reportPixels(state, b.s.pixels);
    state.SetItemsProcessed(state.iterations() * kTriangles);
}

void BM_ClearPlanes(benchmark::State& state) {
    FrameBuffer frame;
    frame.resize(kWidth, kHeight);
    for (auto _ : state) {
        frame.clear(7);
        benchmark::DoNotOptimize(frame.colour());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 7);
}
BENCHMARK(BM_ClearPlanes);

void BM_MemsetSameBytes(benchmark::State& state) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(kWidth) * kHeight * 7);
    for (auto _ : state) {
        std::memset(bytes.data(), 0xFF, bytes.size());
        benchmark::DoNotOptimize(bytes.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(bytes.size()));
}
BENCHMARK(BM_MemsetSameBytes);

void BM_FillFlatPick(benchmark::State& state) {
    runScene(state, [](Rasterizer& r, const std::array<Corner, 3>& t) {
        const FlatVertex a{t[0].x, t[0].y, fx(t[0].z)}, b{t[1].x, t[1].y, fx(t[1].z)}, c{t[2].x, t[2].y, fx(t[2].z)};
        r.FillFlatPick({{a, b, c, a}}, 5, 1);
    });
}
BENCHMARK(BM_FillFlatPick);

void BM_FillGouraudPick(benchmark::State& state) {
    runScene(state, [](Rasterizer& r, const std::array<Corner, 3>& t) {
        auto v = [](const Corner& c) { return GouraudVertex{c.x, c.y, fx(c.s / 4), fx(c.z)}; };
        r.FillGouraudPick({{v(t[0]), v(t[1]), v(t[2]), v(t[0])}}, 1);
    });
}
BENCHMARK(BM_FillGouraudPick);

void BM_FillSolid2D(benchmark::State& state) {
    runScene(state, [](Rasterizer& r, const std::array<Corner, 3>& t) {
        const Vertex2D a{t[0].x, t[0].y}, b{t[1].x, t[1].y}, c{t[2].x, t[2].y};
        r.FillSolid2D({{a, b, c, a}}, 5);
    });
}
BENCHMARK(BM_FillSolid2D);

void BM_FillTexture2DPick(benchmark::State& state) {
    runScene(state, [](Rasterizer& r, const std::array<Corner, 3>& t) {
        auto v = [](const Corner& c) { return TexVertex2D{c.x, c.y, fx(c.s), fx(c.t)}; };
        r.FillTexture2DPick({{v(t[0]), v(t[1]), v(t[2]), v(t[2]), v(t[0])}});
    });
}
BENCHMARK(BM_FillTexture2DPick);

void BM_FillTexturedTexel(benchmark::State& state) {
    runScene(state, [](Rasterizer& r, const std::array<Corner, 3>& t) {
        auto v = [](const Corner& c) { return TexVertex{c.x, c.y, fx(c.s), fx(c.t), fx(c.z)}; };
        r.FillTexturedTexel({{v(t[0]), v(t[1]), v(t[2]), v(t[0])}});
    });
}
BENCHMARK(BM_FillTexturedTexel);

void BM_FillTexGTexel(benchmark::State& state) {
    runScene(state, [](Rasterizer& r, const std::array<Corner, 3>& t) {
        auto v = [](const Corner& c) { return TexGVertex{c.x, c.y, fx(c.s), fx(c.t), fx(c.z % 64), fx(c.z)}; };
        r.FillTexGTexel({{v(t[0]), v(t[1]), v(t[2]), v(t[0])}});
    });
}
BENCHMARK(BM_FillTexGTexel);

void BM_FillTexPTexel(benchmark::State& state) {
    runScene(state, [](Rasterizer& r, const std::array<Corner, 3>& t) {
        auto v = [](const Corner& c) { return TexPVertex{c.x, c.y, fx(c.s), fx(c.t), fx(c.t), fx(c.s), fx(c.z)}; };
        r.FillTexPTexel({{v(t[0]), v(t[1]), v(t[2]), v(t[0])}});
    });
}
BENCHMARK(BM_FillTexPTexel);

void BM_FillMapRampPick(benchmark::State& state) {
    runScene(state, [](Rasterizer& r, const std::array<Corner, 3>& t) {
        auto v = [](const Corner& c) { return MapVertex{c.x, c.y, fx(c.s), fx(c.t), fx(c.z)}; };
        r.FillMapRampPick({{v(t[0]), v(t[1]), v(t[2]), v(t[0])}}, 64, 1);
    });
}
BENCHMARK(BM_FillMapRampPick);

// Two triangles covering the frame: the cost of a depth-tested textured span
// pixel (the depth plane is cleared each time so every pixel passes). The
// argument is the span path: 0 one pixel at a time, 1 AVX2 (sixteen lanes in
// register pairs), 2 AVX-512 (sixteen lanes).
void BM_TexturedSpanPixel(benchmark::State& state) {
    const auto wanted = static_cast<SpanPath>(state.range(0));
    const SpanPath before = Rasterizer::Spans();
    if (Rasterizer::SetSpans(wanted) != wanted) {
        Rasterizer::SetSpans(before);
        state.SkipWithError("this processor lacks that span path");
        return;
    }
    Bench b;
    const int xl = kWidth - 1, yl = kHeight - 1;
    const TexVertex p0{0, 0, 0, 0, fx(100)}, p1{xl, 0, fx(255), 0, fx(100)}, p2{xl, yl, fx(255), fx(255), fx(100)},
        p3{0, yl, 0, fx(255), fx(100)};
    for (auto _ : state) {
        b.frame.clearDepth();
        b.raster.FillTexturedTexel({{p0, p1, p2, p0}});
        b.raster.FillTexturedTexel({{p0, p2, p3, p0}});
        benchmark::DoNotOptimize(b.frame.colour());
        benchmark::ClobberMemory();
    }
    reportPixels(state, static_cast<long long>(kWidth) * kHeight);
    Rasterizer::SetSpans(before);
}
BENCHMARK(BM_TexturedSpanPixel)->Arg(0)->Arg(1)->Arg(2);

// Setup of tiny triangles (a few pixels each): clip, edge walk and span
// bookkeeping dominate. Arg 1 places them across the left border. The depth
// plane is not cleared, so after the first round the pixels fail the depth
// test and only the setup and the span loop's test remain.
void BM_SmallTriangleSetup(benchmark::State& state) {
    Bench b;
    const int x0 = state.range(0) ? -2 : 300;
    std::vector<FillTriangle<TexVertex>> tris;
    for (int i = 0; i < 256; ++i) {
        const int y = 10 + i;
        const TexVertex a{x0, y, fx(1), fx(1), fx(i)}, c{x0 + 3, y + 1, fx(4), fx(2), fx(i)},
            d{x0 + 1, y + 3, fx(2), fx(4), fx(i)};
        tris.push_back({a, c, d, a});
    }
    for (auto _ : state) {
        for (const auto& t : tris) b.raster.FillTexturedTexel(t);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(tris.size()));
}
BENCHMARK(BM_SmallTriangleSetup)->Arg(0)->Arg(1);

}  // namespace
}  // namespace tarn
