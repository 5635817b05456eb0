// Random and extreme input: nothing may be written outside the planes, no
// source may be read outside, and the edge table must come back idle.
#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

#include "planes.h"
#include "raster/rasterizer.h"

namespace tarn {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

class Hostile {
public:
    explicit Hostile(unsigned seed) : rng_(seed) {}

    // Mostly near the target, sometimes on its borders, sometimes anywhere.
    std::int32_t coordinate(int limit) {
        switch (pick(6)) {
            case 0: return any();
            case 1: return pick(2) ? 0 : limit;
            case 2: return static_cast<std::int32_t>(pick(5)) - 2 + (pick(2) ? 0 : limit);
            case 3: return static_cast<std::int32_t>(pick(70000)) - 35000;
            default: return static_cast<std::int32_t>(pick(static_cast<unsigned>(limit) + 40)) - 20;
        }
    }
    std::int32_t attribute() {
        switch (pick(3)) {
            case 0: return any();
            case 1: return static_cast<std::int32_t>(pick(300)) * kFixed16One / 2 - 20 * kFixed16One;
            default: return static_cast<std::int32_t>(pick(1u << 30));
        }
    }
    template <class V> FillTriangle<V> triangle(int w, int h) {
        FillTriangle<V> t;
        for (int i = 0; i < 3; ++i) t[static_cast<std::size_t>(i)] = vertex<V>(w, h);
        t[3] = t[0];
        return t;
    }
    template <class V> FillQuad<V> quad(int w, int h) {
        FillQuad<V> q;
        for (int i = 0; i < 4; ++i) q[static_cast<std::size_t>(i)] = vertex<V>(w, h);
        q[4] = q[0];
        return q;
    }
    Segment2D segment(int w, int h) { return {coordinate(w - 1), coordinate(h - 1), coordinate(w - 1), coordinate(h - 1)}; }
    unsigned pick(unsigned n) { return std::uniform_int_distribution<unsigned>(0, n - 1)(rng_); }

private:
    std::int32_t any() { return std::uniform_int_distribution<std::int32_t>(kMin, kMax)(rng_); }
    template <class V> V vertex(int w, int h) {
        std::array<std::int32_t, sizeof(V) / sizeof(std::int32_t)> r;
        r[0] = coordinate(w - 1);
        r[1] = coordinate(h - 1);
        for (std::size_t k = 2; k < r.size(); ++k) r[k] = attribute();
        return std::bit_cast<V>(r);
    }
    std::mt19937 rng_;
};

struct Sources {
    int skinWidth;
    int skinHeight;
    std::vector<std::uint8_t> skin;
    std::vector<std::int32_t> rows;
    std::vector<std::uint8_t> colormap;
    std::vector<std::uint8_t> map;
    Sources(int w, int h, int shadeRows)
        : skinWidth(w), skinHeight(h), skin(static_cast<std::size_t>(w * h), 1), rows(static_cast<std::size_t>(h)),
          colormap(static_cast<std::size_t>(shadeRows) * 256, 2), map(256 * 256) {
        for (int r = 0; r < h; ++r) rows[static_cast<std::size_t>(r)] = r * w;
        for (std::size_t i = 0; i < map.size(); ++i) map[i] = static_cast<std::uint8_t>(i * 31);
    }
    void attach(Rasterizer& raster) {
        ASSERT_TRUE(raster.SetTexture(skin, skinWidth, skinHeight, rows));
        raster.SetShadeTable(colormap);
        raster.SetMap(map);
    }
};

// Every fill once with random input of its family.
void fillEverything(Rasterizer& r, Hostile& g, int w, int h) {
    const std::int32_t key = static_cast<std::int32_t>(g.pick(100));
    r.FillFlat(g.triangle<FlatVertex>(w, h), 1);
    r.FillFlatPick(g.triangle<FlatVertex>(w, h), 1, key);
    r.FillGouraud(g.triangle<GouraudVertex>(w, h));
    r.FillGouraudPick(g.triangle<GouraudVertex>(w, h), key);
    r.FillSolid2D(g.triangle<Vertex2D>(w, h), 3);
    r.FillShade2D(g.triangle<ShadeVertex2D>(w, h));
    r.FillTexture2D(g.quad<TexVertex2D>(w, h));
    r.FillTexture2DSmooth(g.triangle<TexVertex2D>(w, h));
    r.FillTexture2DPick(g.quad<TexVertex2D>(w, h));
    r.FillTexturedPick(g.triangle<TexVertex>(w, h), key);
    r.FillTexturedTexel(g.triangle<TexVertex>(w, h));
    r.FillTexGPick(g.triangle<TexGVertex>(w, h), key);
    r.FillTexGTexel(g.triangle<TexGVertex>(w, h));
    r.FillTexPPick(g.triangle<TexPVertex>(w, h), key);
    r.FillTexPTexel(g.triangle<TexPVertex>(w, h));
    r.FillMap(g.triangle<MapVertex>(w, h));
    r.FillMapPick(g.triangle<MapVertex>(w, h), key);
    r.FillMapRamp(g.triangle<MapVertex>(w, h), 64);
    r.FillMapRampPick(g.triangle<MapVertex>(w, h), 128, key);
    r.Line(g.segment(w, h), 4);
    r.LineOnPick(g.segment(w, h), 4, key);
    r.Line16(g.segment(w, h), 0x7FFF);
    r.LineSmooth16(g.segment(w, h), 0x7FFF);
}

TEST(Hostile, RandomInputStaysInsideEveryPlaneAndSource) {
    const int sizes[][2] = {{1, 1}, {4, 1}, {1, 7}, {13, 9}, {64, 48}};
    for (const auto& size : sizes) {
        const int w = size[0];
        const int h = size[1];
        for (const int skinSide : {1, 3, 64}) {
            test::Planes planes(w, h);
            Sources sources(skinSide, skinSide + 1, skinSide == 1 ? 1 : 64);
            Rasterizer raster;
            ASSERT_TRUE(raster.SetTarget(planes.target()));
            sources.attach(raster);
            Hostile g(static_cast<unsigned>(w * 1000 + h * 10 + skinSide));
            for (int round = 0; round < 300; ++round) {
                fillEverything(raster, g, w, h);
                ASSERT_TRUE(raster.edgesIdle()) << "round " << round;
            }
            EXPECT_TRUE(planes.guardsIntact()) << w << "x" << h;
            // Texel picks (the only non-key picks above 100) lie inside the skin.
            for (std::size_t i = 0; i < planes.pick.count; ++i) {
                const std::int32_t p = planes.pick[i];
                ASSERT_GE(p, kPickNothing);
                ASSERT_LT(p, static_cast<std::int32_t>(sources.skin.size() + 100));
            }
        }
    }
}

TEST(Hostile, BordersAndExtremesEndTheBisection) {
    test::Planes planes(32, 24);
    Rasterizer raster;
    ASSERT_TRUE(raster.SetTarget(planes.target()));
    const std::int32_t xs[] = {kMin, -1, 0, 1, 30, 31, 32, kMax};
    const std::int32_t ys[] = {kMin, 0, 23, 24, kMax};
    for (std::int32_t x0 : xs)
        for (std::int32_t x1 : xs)
            for (std::int32_t y0 : ys)
                for (std::int32_t y1 : ys) {
                    const GouraudVertex a{x0, y0, kMin, kMax};
                    const GouraudVertex b{x1, y1, kMax, kMin};
                    const GouraudVertex c{x1, y0, 0, 0};
                    raster.FillGouraud({{a, b, c, a}});
                    raster.FillSolid2D({{{x0, y1}, {x1, y0}, {x0, y0}, {x0, y1}}}, 9);
                    raster.Line({x0, y0, x1, y1}, 5);
                }
    EXPECT_TRUE(raster.edgesIdle());
    EXPECT_TRUE(planes.guardsIntact());
}

TEST(Hostile, EmptyAndMissingTargetsDrawNothing) {
    test::Planes planes(8, 8);
    Rasterizer raster;
    Hostile g(7);
    fillEverything(raster, g, 8, 8);  // never pointed at anything

    RasterTarget onlyColour{planes.colour.data(), nullptr, nullptr, nullptr, 8, 8};
    ASSERT_TRUE(raster.SetTarget(onlyColour));
    raster.FillFlat({{{0, 0, 0}, {7, 0, 0}, {0, 7, 0}, {0, 0, 0}}}, 1);
    raster.LineOnPick({0, 0, 7, 7}, 1, -1);
    raster.Line16({0, 0, 7, 7}, 1);
    EXPECT_EQ(planes.drawn(), 0);
    raster.FillSolid2D({{{0, 0}, {7, 0}, {0, 7}, {0, 0}}}, 1);
    EXPECT_GT(planes.drawn(), 0);

    RasterTarget zero = planes.target();
    zero.width = 0;
    ASSERT_TRUE(raster.SetTarget(zero));
    fillEverything(raster, g, 8, 8);
    RasterTarget negative = planes.target();
    negative.height = -3;
    EXPECT_FALSE(raster.SetTarget(negative));
    fillEverything(raster, g, 8, 8);
    EXPECT_TRUE(planes.guardsIntact());
}

}  // namespace
}  // namespace tarn
