#include <gtest/gtest.h>

#include <cstdint>
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

}  // namespace
}  // namespace tarn
