// Wide spans (eight or sixteen lanes) must leave every plane exactly as the
// one-pixel loop does, on every path this processor has: the same random scenes are drawn both ways and compared element by
// element, with textures whose rows are evenly spaced (computed row starts)
// and shuffled (gathered row starts), at odd addresses (the byte gathers read
// aligned words), and with spans longer than sixteen pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

#include "planes.h"
#include "raster/rasterizer.h"

namespace tarn {
namespace {

// Puts the span path back however a test ends.
struct SpanPathRestored {
    SpanPath path = Rasterizer::Spans();
    ~SpanPathRestored() { Rasterizer::SetSpans(path); }
};

// The wide paths this processor has.
std::vector<SpanPath> widePaths() {
    std::vector<SpanPath> paths;
    for (SpanPath p : {SpanPath::Avx2, SpanPath::Avx512})
        if (p <= Rasterizer::BestSpans()) paths.push_back(p);
    return paths;
}

struct Scene {
    std::mt19937 rng;
    int width;
    int height;

    std::int32_t between(std::int32_t low, std::int32_t high) {
        return std::uniform_int_distribution<std::int32_t>(low, high)(rng);
    }
    // Mostly inside the target and modest, sometimes far off or extreme.
    std::int32_t coordinate(int limit) {
        return between(0, 9) == 0 ? between(-100000, 100000) : between(-40, limit + 40);
    }
    std::int32_t attribute() {
        switch (between(0, 5)) {
            case 0: return between(INT32_MIN, INT32_MAX);
            case 1: return between(-20 * kFixed16One, 300 * kFixed16One);
            default: return between(0, 260 * kFixed16One);
        }
    }
    template <class V> FillTriangle<V> triangle() {
        FillTriangle<V> t;
        for (int i = 0; i < 3; ++i) {
            std::array<std::int32_t, sizeof(V) / sizeof(std::int32_t)> r;
            r[0] = coordinate(width - 1);
            r[1] = coordinate(height - 1);
            for (std::size_t k = 2; k < r.size(); ++k) r[k] = attribute();
            // Depth mostly in the pipeline's range, so triangles overlap and
            // the test passes and fails within spans.
            if (between(0, 3) != 0) r.back() = between(0, 16384) * kFixed16One + between(0, 65535);
            t[static_cast<std::size_t>(i)] = std::bit_cast<V>(r);
        }
        t[3] = t[0];
        return t;
    }
};

// Every depth-tested fill, in a sequence fixed by the seed.
void drawScene(Rasterizer& r, unsigned seed, int width, int height) {
    Scene g{std::mt19937(seed), width, height};
    for (int round = 0; round < 60; ++round) {
        const std::int32_t key = g.between(0, 4095);
        const auto colour = static_cast<std::uint8_t>(g.between(0, 255));
        r.FillFlat(g.triangle<FlatVertex>(), colour);
        r.FillFlatPick(g.triangle<FlatVertex>(), colour, key);
        r.FillGouraud(g.triangle<GouraudVertex>());
        r.FillGouraudPick(g.triangle<GouraudVertex>(), key);
        r.FillTexturedPick(g.triangle<TexVertex>(), key);
        r.FillTexturedTexel(g.triangle<TexVertex>());
        r.FillTexGPick(g.triangle<TexGVertex>(), key);
        r.FillTexGTexel(g.triangle<TexGVertex>());
        r.FillTexPPick(g.triangle<TexPVertex>(), key);
        r.FillTexPTexel(g.triangle<TexPVertex>());
        r.FillMap(g.triangle<MapVertex>());
        r.FillMapPick(g.triangle<MapVertex>(), key);
        r.FillMapRamp(g.triangle<MapVertex>(), colour);
        r.FillMapRampPick(g.triangle<MapVertex>(), colour, key);
    }
}

struct Sources {
    std::vector<std::uint8_t> storage;  // skin at an offset, to misalign it
    int skinWidth;
    int skinHeight;
    std::vector<std::int32_t> rows;
    std::vector<std::uint8_t> colormap;
    std::vector<std::uint8_t> map;

    Sources(int w, int h, std::size_t misalign, bool shuffledRows, int shadeRows, unsigned seed)
        : storage(misalign + static_cast<std::size_t>(w * h)), skinWidth(w), skinHeight(h),
          rows(static_cast<std::size_t>(h)), colormap(static_cast<std::size_t>(shadeRows) * 256), map(256 * 256) {
        std::mt19937 rng(seed);
        for (auto& b : storage) b = static_cast<std::uint8_t>(rng());
        for (auto& b : colormap) b = static_cast<std::uint8_t>(rng());
        for (auto& b : map) b = static_cast<std::uint8_t>(rng());
        for (int r = 0; r < h; ++r) rows[static_cast<std::size_t>(r)] = r * w;
        if (shuffledRows) std::shuffle(rows.begin(), rows.end(), rng);
    }
    std::span<const std::uint8_t> skin() const { return std::span(storage).subspan(storage.size() - static_cast<std::size_t>(skinWidth * skinHeight)); }
    void attach(Rasterizer& raster) const {
        ASSERT_TRUE(raster.SetTexture(skin(), skinWidth, skinHeight, rows));
        raster.SetShadeTable(colormap);
        raster.SetMap(map);
    }
};

test::Planes render(SpanPath path, const Sources& sources, unsigned seed, int width, int height) {
    Rasterizer::SetSpans(path);
    test::Planes planes(width, height);
    Rasterizer raster;
    raster.SetTarget(planes.target());
    sources.attach(raster);
    drawScene(raster, seed, width, height);
    EXPECT_TRUE(raster.edgesIdle());
    return planes;
}

TEST(WideSpans, PlanesMatchTheOnePixelLoopExactly) {
    if (widePaths().empty()) GTEST_SKIP() << "this processor has no AVX2";
    const SpanPathRestored restore;
    struct Case {
        int width, height, skinWidth, skinHeight;
        std::size_t misalign;
        bool shuffledRows;
        int shadeRows;
    };
    const Case cases[] = {
        {64, 48, 37, 29, 1, false, 64}, {97, 61, 256, 200, 0, false, 32}, {33, 40, 13, 7, 3, true, 5},
        {160, 120, 64, 64, 2, true, 1}, {17, 1, 1, 1, 0, false, 64},     {1, 23, 5, 300, 1, true, 64},
    };
    unsigned seed = 7;
    for (const Case& c : cases) {
        const Sources sources(c.skinWidth, c.skinHeight, c.misalign, c.shuffledRows, c.shadeRows, seed);
        for (int scene = 0; scene < 4; ++scene, ++seed) {
            const test::Planes one = render(SpanPath::Scalar, sources, seed, c.width, c.height);
            for (const SpanPath path : widePaths()) {
                test::Planes wide = render(path, sources, seed, c.width, c.height);
                SCOPED_TRACE(testing::Message() << Rasterizer::SpanPathName(path) << " " << c.width << "x" << c.height
                                                << " seed " << seed);
                EXPECT_EQ(one.colour.storage, wide.colour.storage);
                EXPECT_EQ(one.depth.storage, wide.depth.storage);
                EXPECT_EQ(one.pick.storage, wide.pick.storage);
                EXPECT_TRUE(wide.guardsIntact());
                EXPECT_GT(wide.drawn(), 0);
            }
        }
    }
}

// Bytes placed against an inaccessible page, before or after them: a read
// outside the bytes faults.
class FencedBytes {
public:
    FencedBytes(std::size_t size, bool fenceAfter) : size_(size) {
        const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        const std::size_t inner = (size + page - 1) / page * page;
        length_ = inner + 2 * page;
        void* at = mmap(nullptr, length_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (at == MAP_FAILED) return;
        region_ = static_cast<std::uint8_t*>(at);
        mprotect(region_, page, PROT_NONE);
        mprotect(region_ + page + inner, page, PROT_NONE);
        data_ = fenceAfter ? region_ + page + inner - size : region_ + page;
        for (std::size_t i = 0; i < size; ++i) data_[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    ~FencedBytes() {
        if (region_ != nullptr) munmap(region_, length_);
    }
    FencedBytes(const FencedBytes&) = delete;
    FencedBytes& operator=(const FencedBytes&) = delete;
    bool ready() const { return data_ != nullptr; }
    std::span<const std::uint8_t> bytes() const { return {data_, size_}; }

private:
    std::size_t size_;
    std::size_t length_ = 0;
    std::uint8_t* region_ = nullptr;
    std::uint8_t* data_ = nullptr;
};

TEST(WideSpans, ReadNothingOutsideTheirSources) {
    const SpanPathRestored restore;
    for (const SpanPath path : widePaths()) {
    Rasterizer::SetSpans(path);
    for (const bool fenceAfter : {true, false}) {
        for (const int side : {2, 5, 64}) {
            const int w = side, h = side + 1;
            FencedBytes skin(std::size_t(w * h), fenceAfter), colormap(3 * 256, fenceAfter),
                map(256 * 256, fenceAfter);
            ASSERT_TRUE(skin.ready() && colormap.ready() && map.ready());
            std::vector<std::int32_t> rows(static_cast<std::size_t>(h));
            for (int r = 0; r < h; ++r) rows[static_cast<std::size_t>(r)] = r * w;
            test::Planes planes(80, 60);
            Rasterizer raster;
            ASSERT_TRUE(raster.SetTarget(planes.target()));
            ASSERT_TRUE(raster.SetTexture(skin.bytes(), w, h, rows));
            raster.SetShadeTable(colormap.bytes());
            raster.SetMap(map.bytes());
            // Large triangles whose coordinates run past every side of their
            // sources, clamped to the first and last texel, row and map byte.
            drawScene(raster, 99u + unsigned(side), 80, 60);
            EXPECT_GT(planes.drawn(), 0);
        }
    }
    }
}

// The AVX2 paths read and write whole groups of depth and colour elements
// (eight or sixteen): planes whose last element touches an inaccessible page fault if
// a round reaches past them. Drawn the same as the one-pixel loop draws them.
TEST(WideSpans, TouchNothingPastTheirPlanes) {
    const SpanPathRestored restore;
    for (const SpanPath path : widePaths()) {
        for (const int width : {1, 7, 9, 15, 30}) {
            const int height = 11;
            const std::size_t n = std::size_t(width) * height;
            const Sources sources(19, 23, 1, false, 16, 5);
            Rasterizer::SetSpans(SpanPath::Scalar);
            const test::Planes one = [&] {
                test::Planes p(width, height);
                Rasterizer raster;
                raster.SetTarget(p.target());
                sources.attach(raster);
                drawScene(raster, 41, width, height);
                return p;
            }();
            FencedBytes colour(n, true), depth(2 * n, true), pick(4 * n, true);
            ASSERT_TRUE(colour.ready() && depth.ready() && pick.ready());
            auto* c = const_cast<std::uint8_t*>(colour.bytes().data());
            auto* d = reinterpret_cast<std::uint16_t*>(const_cast<std::uint8_t*>(depth.bytes().data()));
            auto* k = reinterpret_cast<std::int32_t*>(const_cast<std::uint8_t*>(pick.bytes().data()));
            std::fill_n(c, n, test::kBackground);
            std::fill_n(d, n, kDepthFar);
            std::fill_n(k, n, kPickNothing);
            Rasterizer::SetSpans(path);
            Rasterizer raster;
            ASSERT_TRUE(raster.SetTarget(RasterTarget{c, nullptr, d, k, width, height}));
            sources.attach(raster);
            drawScene(raster, 41, width, height);
            SCOPED_TRACE(testing::Message() << Rasterizer::SpanPathName(path) << " width " << width);
            EXPECT_TRUE(std::equal(c, c + n, one.colour.storage.begin() + test::kGuard));
            EXPECT_TRUE(std::equal(d, d + n, one.depth.storage.begin() + test::kGuard));
            EXPECT_TRUE(std::equal(k, k + n, one.pick.storage.begin() + test::kGuard));
        }
    }
}

}  // namespace
}  // namespace tarn
