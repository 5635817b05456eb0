#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "planes.h"
#include "raster/rasterizer.h"

namespace tarn {
namespace {

constexpr int kSkinWidth = 64;
constexpr int kSkinHeight = 32;
constexpr int kSpan = 13;  // columns 1..13 of the target

// A strip two rows tall whose left and right columns carry constant texture
// coordinates, so that every row steps from (u0, v0) to (u1, v1) across the
// span. The texel offsets in the pick plane must follow 32-bit running sums,
// whichever way each coordinate runs.
class SpanSteppingTest : public ::testing::TestWithParam<std::array<int, 4>> {
protected:
    test::Planes planes{16, 4};
    std::vector<std::uint8_t> pixels = std::vector<std::uint8_t>(kSkinWidth * kSkinHeight);
    std::vector<std::int32_t> rows = std::vector<std::int32_t>(kSkinHeight);
    Rasterizer raster;

    void SetUp() override {
        for (int r = 0; r < kSkinHeight; ++r) rows[static_cast<std::size_t>(r)] = r * kSkinWidth;
        for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 7);
        ASSERT_TRUE(raster.SetTarget(planes.target()));
        ASSERT_TRUE(raster.SetTexture(pixels, kSkinWidth, kSkinHeight, rows));
    }
    void TearDown() override { EXPECT_TRUE(raster.edgesIdle()); }

    // Fractions off the whole texel, so that truncation shows.
    Fixed16 leftU() const { return toFixed16(GetParam()[0]) + 3; }
    Fixed16 leftV() const { return toFixed16(GetParam()[1]) + 5; }
    Fixed16 rightU() const { return toFixed16(GetParam()[2]); }
    Fixed16 rightV() const { return toFixed16(GetParam()[3]) + 2; }

    std::int32_t expectedOffset(int column) const {
        const auto du = static_cast<std::uint32_t>((rightU() - leftU()) / kSpan);
        const auto dv = static_cast<std::uint32_t>((rightV() - leftV()) / kSpan);
        const std::uint32_t u = static_cast<std::uint32_t>(leftU()) + static_cast<std::uint32_t>(column) * du;
        const std::uint32_t v = static_cast<std::uint32_t>(leftV()) + static_cast<std::uint32_t>(column) * dv;
        return rows[v >> kFixed16Shift] + static_cast<std::int32_t>(u >> kFixed16Shift);
    }
};

TEST_P(SpanSteppingTest, TexelOffsetsFollowThirtyTwoBitSums) {
    const TexVertex2D a{1, 0, leftU(), leftV()}, b{kSpan, 0, rightU(), rightV()}, c{kSpan, 3, rightU(), rightV()},
        d{1, 3, leftU(), leftV()};
    raster.FillTexture2DPick(FillQuad<TexVertex2D>{a, b, c, d, a});
    for (int x = 0; x < kSpan; ++x)
        for (const int y : {1, 2}) EXPECT_EQ(planes.pick[planes.at(1 + x, y)], expectedOffset(x)) << x << ", " << y;
}

INSTANTIATE_TEST_SUITE_P(EveryDirection, SpanSteppingTest,
                         ::testing::Values(std::array<int, 4>{2, 3, 60, 29}, std::array<int, 4>{60, 3, 2, 29},
                                           std::array<int, 4>{2, 29, 60, 3}, std::array<int, 4>{60, 29, 2, 3},
                                           std::array<int, 4>{0, 31, 63, 31}, std::array<int, 4>{63, 0, 0, 0}));

// The map coordinates of the phong-shaded textured fill follow the same sums.
// The span is the top row of a triangle, its ends two corners whose (mx, my)
// differ by a multiple of the edge's 12 steps, so both ends are exact. Each
// map byte selects the shade row that paints every texel in its own value.
TEST(MapSpanStepping, MapCoordinatesFollowThirtyTwoBitSumsWhicheverWayTheyRun) {
    constexpr int kLast = 12;
    Rasterizer raster;
    std::vector<std::uint8_t> pixels(4, 0);
    const std::vector<std::int32_t> rows{0, 2};
    std::vector<std::uint8_t> map(static_cast<std::size_t>(kMapSide) * kMapSide);
    for (std::size_t i = 0; i < map.size(); ++i)
        map[i] = static_cast<std::uint8_t>((i % kMapSide) * 7 + (i / kMapSide) * 13);
    std::vector<std::uint8_t> shade(static_cast<std::size_t>(kMapSide) * kShadeRowBytes);
    for (std::size_t i = 0; i < shade.size(); ++i) shade[i] = static_cast<std::uint8_t>(i / kShadeRowBytes);
    ASSERT_TRUE(raster.SetTexture(pixels, 2, 2, rows));
    raster.SetMap(map);
    raster.SetShadeTable(shade);
    for (const int sx : {1, -1})
        for (const int sy : {1, -1}) {
            test::Planes planes{16, 4};
            ASSERT_TRUE(raster.SetTarget(planes.target()));
            const Fixed16 mx0 = toFixed16(128) + 5, my0 = toFixed16(120) + 3;
            const Fixed16 mx1 = mx0 + sx * kLast * 0x9A3D1, my1 = my0 + sy * kLast * 0x7B2E9;
            const TexPVertex a{1, 0, 0, 0, mx0, my0, 0}, b{1 + kLast, 0, 0, 0, mx1, my1, 0},
                c{7, 3, 0, 0, mx0, my0, 0};
            raster.FillTexPTexel({a, b, c, a});
            const auto dx = static_cast<std::uint32_t>((mx1 - mx0) / (kLast + 1));
            const auto dy = static_cast<std::uint32_t>((my1 - my0) / (kLast + 1));
            for (int x = 0; x <= kLast; ++x) {
                const std::uint32_t mx = static_cast<std::uint32_t>(mx0) + static_cast<std::uint32_t>(x) * dx;
                const std::uint32_t my = static_cast<std::uint32_t>(my0) + static_cast<std::uint32_t>(x) * dy;
                EXPECT_EQ(planes.colour[planes.at(1 + x, 0)], map[(my >> kFixed16Shift) * kMapSide + (mx >> kFixed16Shift)])
                    << sx << ", " << sy << ", " << x;
            }
        }
    EXPECT_TRUE(raster.edgesIdle());
}

}  // namespace
}  // namespace tarn
