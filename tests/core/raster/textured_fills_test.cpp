#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "planes.h"
#include "raster/rasterizer.h"

namespace tarn {
namespace {

// A skin whose texel (s, t) holds (s + 3t) & 255, with its row table.
struct Skin {
    int width;
    int height;
    std::vector<std::uint8_t> pixels;
    std::vector<std::int32_t> rows;
    Skin(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w * h)), rows(static_cast<std::size_t>(h)) {
        for (int t = 0; t < h; ++t) {
            rows[static_cast<std::size_t>(t)] = t * w;
            for (int s = 0; s < w; ++s) pixels[static_cast<std::size_t>(t * w + s)] = texel(s, t);
        }
    }
    static std::uint8_t texel(int s, int t) { return static_cast<std::uint8_t>((s + 3 * t) & 255); }
};

template <class V> FillTriangle<V> tri(V a, V b, V c) { return {a, b, c, a}; }

class TexturedTest : public ::testing::Test {
protected:
    test::Planes planes{16, 12};
    Skin skin{64, 32};
    std::vector<std::uint8_t> colormap = std::vector<std::uint8_t>(64 * 256);
    std::vector<std::uint8_t> map = std::vector<std::uint8_t>(256 * 256);
    Rasterizer raster;

    void SetUp() override {
        ASSERT_TRUE(raster.SetTarget(planes.target()));
        ASSERT_TRUE(raster.SetTexture(skin.pixels, skin.width, skin.height, skin.rows));
        for (std::size_t i = 0; i < colormap.size(); ++i) colormap[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
        for (std::size_t i = 0; i < map.size(); ++i) map[i] = static_cast<std::uint8_t>((i / 256) % 64);
        raster.SetShadeTable(colormap);
        raster.SetMap(map);
    }
    void TearDown() override {
        EXPECT_TRUE(raster.edgesIdle());
        EXPECT_TRUE(planes.guardsIntact());
    }
    std::uint8_t colourAt(int x, int y) { return planes.colour[planes.at(x, y)]; }
    std::int32_t pickAt(int x, int y) { return planes.pick[planes.at(x, y)]; }
    // Every drawn pixel, in order.
    std::vector<std::size_t> drawnPixels() {
        std::vector<std::size_t> out;
        for (std::size_t i = 0; i < planes.colour.count; ++i)
            if (planes.depth[i] != kDepthFar) out.push_back(i);
        return out;
    }
};

TEST_F(TexturedTest, ConstantCoordinatesGiveOneTexelAndItsOffset) {
    const TexVertex a{1, 1, toFixed16(10), toFixed16(20), toFixed16(5)};
    TexVertex b = a, c = a;
    b.x = 14, b.y = 3, c.x = 6, c.y = 10;
    raster.FillTexturedTexel(tri(a, b, c));
    const auto drawn = drawnPixels();
    ASSERT_GT(drawn.size(), 40u);
    for (std::size_t i : drawn) {
        ASSERT_EQ(planes.colour[i], Skin::texel(10, 20));
        ASSERT_EQ(planes.pick[i], 20 * 64 + 10);
        ASSERT_EQ(planes.depth[i], 5);
    }
    // The Pick variant writes the key at the same pixels (equal depth: nothing new).
    raster.FillTexturedPick(tri(a, b, c), 33);
    EXPECT_EQ(pickAt(6, 9), 20 * 64 + 10);
}

TEST_F(TexturedTest, SpanStepsFallShortOfTheRightEdge) {
    // u from 0 to 4 over 5 pixels samples columns 0, 0, 1, 2, 3.
    const TexVertex a{0, 0, 0, 0, 0};
    const TexVertex b{4, 0, toFixed16(4), 0, 0};
    raster.FillTexturedTexel(tri(a, b, b));
    const int columns[] = {0, 0, 1, 2, 3};
    for (int x = 0; x < 5; ++x) EXPECT_EQ(pickAt(x, 0), columns[x]) << x;
}

TEST_F(TexturedTest, TwoDimensionalTextureFills) {
    // u from 0 to 1 over 3 pixels: plain steps sample 0, 0, 0; rounded steps 0, 0, 1.
    const TexVertex2D a{0, 0, 0, toFixed16(2)};
    const TexVertex2D b{2, 0, toFixed16(1), toFixed16(2)};
    raster.FillTexture2D({{a, b, b, b, a}});
    EXPECT_EQ(colourAt(2, 0), Skin::texel(0, 2));
    raster.FillTexture2DSmooth(tri(a, b, b));
    EXPECT_EQ(colourAt(1, 0), Skin::texel(0, 2));
    EXPECT_EQ(colourAt(2, 0), Skin::texel(1, 2));

    // A quad with its source map: every pixel's pick is the texel it shows.
    const auto at = [](int x, int y) { return TexVertex2D{x, y, toFixed16(x + 2), toFixed16(y + 1)}; };
    raster.FillTexture2DPick({{at(0, 2), at(15, 2), at(15, 11), at(0, 11), at(0, 2)}});
    for (int y = 2; y < 12; ++y)
        for (int x = 0; x < 16; ++x) {
            const std::int32_t offset = pickAt(x, y);
            ASSERT_GE(offset, 0);
            ASSERT_EQ(colourAt(x, y), skin.pixels[static_cast<std::size_t>(offset)]);
        }
    EXPECT_EQ(pickAt(0, 2), 3 * 64 + 2);
    EXPECT_EQ(pickAt(15, 11), 12 * 64 + 16);  // 16 pixels reach 15/16 of the delta: column 16, not 17
}

TEST_F(TexturedTest, ColormapShadedFills) {
    const TexGVertex a{2, 2, toFixed16(17), 0, toFixed16(5), toFixed16(3)};
    TexGVertex b = a, c = a;
    b.x = 9, c.y = 8;
    raster.FillTexGPick(tri(a, b, c), 4);
    EXPECT_EQ(colourAt(3, 3), colormap[5 * 256 + Skin::texel(17, 0)]);
    EXPECT_EQ(pickAt(3, 3), 4);

    // The phong table row comes from the map at (mx, my): row (my % 64).
    const TexPVertex p{2, 2, toFixed16(3), toFixed16(1), toFixed16(200), toFixed16(70), toFixed16(1)};
    TexPVertex q = p, r = p;
    q.x = 12, r.y = 9;
    raster.FillTexPTexel(tri(p, q, r));
    EXPECT_EQ(colourAt(8, 3), colormap[(70 % 64) * 256 + Skin::texel(3, 1)]);
    EXPECT_EQ(pickAt(8, 3), 1 * 64 + 3);
    raster.FillTexPPick(tri(p, q, r), 8);  // equal depth: nothing changes
    EXPECT_EQ(pickAt(8, 3), 1 * 64 + 3);
    raster.FillTexGTexel(tri(TexGVertex{0, 0, toFixed16(1), toFixed16(1), toFixed16(63), 0},
                             TexGVertex{0, 0, toFixed16(1), toFixed16(1), toFixed16(63), 0},
                             TexGVertex{0, 0, toFixed16(1), toFixed16(1), toFixed16(63), 0}));
    EXPECT_EQ(colourAt(0, 0), colormap[63 * 256 + Skin::texel(1, 1)]);
}

TEST_F(TexturedTest, MapFillsAddTheRampBase) {
    const MapVertex a{0, 0, toFixed16(128), toFixed16(40), toFixed16(2)};
    MapVertex b = a, c = a;
    b.x = 6, c.y = 6;
    raster.FillMapRampPick(tri(a, b, c), 64, 11);
    EXPECT_EQ(colourAt(1, 1), 64 + 40);
    EXPECT_EQ(pickAt(1, 1), 11);
    MapVertex n = a, m = b, o = c;
    n.z = m.z = o.z = toFixed16(1);
    raster.FillMap(tri(n, m, o));
    EXPECT_EQ(colourAt(1, 1), 40);
    EXPECT_EQ(pickAt(1, 1), 11);
    n.z = m.z = o.z = 0;
    raster.FillMapPick(tri(n, m, o), 12);
    EXPECT_EQ(pickAt(1, 1), 12);
    n.x = m.x = o.x = 10;
    raster.FillMapRamp(tri(n, m, o), 128);
    EXPECT_EQ(colourAt(10, 0), 128 + 40);
}

TEST_F(TexturedTest, CoordinatesOutsideTheirSourcesAreClamped) {
    // Corners beyond the skin show its border texels; nothing outside is read.
    const TexVertex a{1, 0, toFixed16(-50), toFixed16(1000), 0};
    const TexVertex b{15, 0, toFixed16(5000), toFixed16(1000), 0};
    const TexVertex c{1, 11, toFixed16(-50), toFixed16(-7), 0};
    raster.FillTexturedTexel(tri(a, b, c));
    EXPECT_EQ(pickAt(1, 0), 31 * 64 + 0);
    EXPECT_EQ(pickAt(15, 0), 31 * 64 + 59);  // 14 steps of 63.99 / 15: short of the right edge
    EXPECT_EQ(pickAt(1, 11), 0);
    for (std::size_t i : drawnPixels()) {
        ASSERT_GE(planes.pick[i], 0);
        ASSERT_LT(planes.pick[i], 64 * 32);
    }
    // A short colormap caps the phong row; map coordinates are clamped to 0..255.
    raster.SetShadeTable(std::span<const std::uint8_t>(colormap).first(2 * 256));
    const TexPVertex p{0, 0, 0, 0, toFixed16(-9), toFixed16(999), 0};
    raster.FillTexPPick(tri(p, p, p), 1);
    EXPECT_EQ(colourAt(0, 0), colormap[1 * 256 + Skin::texel(0, 0)]);
    // Setting a table again replaces the cap, and no table at all draws nothing.
    raster.SetShadeTable(colormap);
    const TexPVertex corner{15, 11, 0, 0, toFixed16(-9), toFixed16(999), 0};
    raster.FillTexPPick(tri(corner, corner, corner), 1);
    EXPECT_EQ(colourAt(15, 11), colormap[63 * 256 + Skin::texel(0, 0)]);
    raster.SetShadeTable({});
    const TexPVertex beside{14, 11, 0, 0, 0, 0, 0};
    raster.FillTexPPick(tri(beside, beside, beside), 1);
    EXPECT_EQ(pickAt(14, 11), kPickNothing);
}

TEST_F(TexturedTest, MissingSourcesDrawNothing) {
    Rasterizer bare;
    ASSERT_TRUE(bare.SetTarget(planes.target()));
    const TexVertex a{0, 0, 0, 0, 0};
    const TexVertex b{9, 9, 0, 0, 0};
    bare.FillTexturedPick(tri(a, b, TexVertex{0, 9, 0, 0, 0}), 1);
    bare.FillMap(tri(a, b, TexVertex{0, 9, 0, 0, 0}));
    EXPECT_EQ(planes.drawn(), 0);

    // A row table reaching past the pixels is refused as a whole.
    std::vector<std::int32_t> badRows = skin.rows;
    badRows[5] = 64 * 32 - 10;
    EXPECT_FALSE(bare.SetTexture(skin.pixels, 64, 32, badRows));
    EXPECT_FALSE(bare.SetTexture(skin.pixels, 64, 33, skin.rows));
    EXPECT_FALSE(bare.SetTexture(skin.pixels, 65, 32, skin.rows));
    EXPECT_EQ(bare.textureWidth(), 0);
    bare.SetMap(std::span<const std::uint8_t>(map).first(1000));
    bare.FillMap(tri(a, b, TexVertex{0, 9, 0, 0, 0}));
    EXPECT_EQ(planes.drawn(), 0);
    EXPECT_TRUE(bare.edgesIdle());
}

}  // namespace
}  // namespace tarn
