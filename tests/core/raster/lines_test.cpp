#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>

#include "planes.h"
#include "raster/rasterizer.h"

namespace tarn {
namespace {

using Pixels = std::set<std::pair<int, int>>;

class LineTest : public ::testing::Test {
protected:
    test::Planes planes{20, 12};
    Rasterizer raster;
    void SetUp() override { ASSERT_TRUE(raster.SetTarget(planes.target())); }

    Pixels colourPixels(std::uint8_t colour) {
        Pixels out;
        for (int y = 0; y < planes.height; ++y)
            for (int x = 0; x < planes.width; ++x)
                if (planes.colour[planes.at(x, y)] == colour) out.insert({x, y});
        return out;
    }
};

TEST_F(LineTest, BothEndpointsAreDrawnInEitherDirection) {
    raster.Line({0, 0, 9, 3}, 1);
    const Pixels expected{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 1}, {5, 1}, {6, 1}, {7, 2}, {8, 2}, {9, 3}};
    EXPECT_EQ(colourPixels(1), expected);
    raster.Line({9, 3, 0, 0}, 2);
    EXPECT_EQ(colourPixels(2), expected);

    raster.Line({4, 5, 4, 5}, 3);
    EXPECT_EQ(colourPixels(3), (Pixels{{4, 5}}));
}

TEST_F(LineTest, StraightDiagonalAndYMajorCases) {
    raster.Line({5, 2, 1, 2}, 1);
    EXPECT_EQ(colourPixels(1), (Pixels{{1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}}));
    raster.Line({7, 6, 7, 3}, 2);
    EXPECT_EQ(colourPixels(2), (Pixels{{7, 3}, {7, 4}, {7, 5}, {7, 6}}));
    raster.Line({13, 0, 10, 3}, 3);
    EXPECT_EQ(colourPixels(3), (Pixels{{10, 3}, {11, 2}, {12, 1}, {13, 0}}));
    // y-major, going left: x moves on accumulator carries.
    raster.Line({19, 0, 17, 5}, 4);
    EXPECT_EQ(colourPixels(4), (Pixels{{19, 0}, {19, 1}, {19, 2}, {18, 3}, {18, 4}, {17, 5}}));
}

TEST_F(LineTest, OnPickWritesOnlyOverItsKey) {
    raster.LineOnPick({0, 0, 19, 0}, 1, 5);
    EXPECT_EQ(planes.drawn(), 0);
    planes.pick[planes.at(3, 0)] = 5;
    planes.pick[planes.at(4, 0)] = 6;
    raster.LineOnPick({0, 0, 19, 0}, 1, 5);
    EXPECT_EQ(colourPixels(1), (Pixels{{3, 0}}));
}

TEST_F(LineTest, SixteenBitLinesPlainAndBlended) {
    constexpr std::uint16_t kWhite = 0x7FFF;
    raster.Line16({2, 2, 5, 2}, 0x1234);
    EXPECT_EQ(planes.colour16[planes.at(2, 2)], 0x1234);
    EXPECT_EQ(planes.colour16[planes.at(5, 2)], 0x1234);
    EXPECT_EQ(planes.colour16[planes.at(6, 2)], 0);

    // y-major (0,5)-(1,7): the middle step has accumulator 0x8000, so the
    // stepped pixel and its neighbour get half the colour each.
    raster.LineSmooth16({0, 5, 1, 7}, kWhite);
    const std::uint16_t half = 15 | (15 << 5) | (15 << 10);
    EXPECT_EQ(planes.colour16[planes.at(0, 5)], kWhite);
    EXPECT_EQ(planes.colour16[planes.at(0, 6)], half);
    EXPECT_EQ(planes.colour16[planes.at(1, 6)], half);
    EXPECT_EQ(planes.colour16[planes.at(1, 7)], kWhite);

    // x-major along the top row: neighbours beyond the last row are skipped.
    raster.LineSmooth16({0, 10, 19, 11}, kWhite);
    raster.LineSmooth16({19, 0, 0, 11}, kWhite);
    EXPECT_TRUE(planes.guardsIntact());
}

TEST_F(LineTest, SegmentsOutsideAreClippedNotWrapped) {
    // 16-bit wrapping would bring x = 65537 back to column 1.
    raster.Line({65537, 3, 65537, 8}, 1);
    EXPECT_EQ(planes.drawn(), 0);
    raster.Line({-1000, 4, 1000, 4}, 2);
    EXPECT_EQ(colourPixels(2).size(), 20u);
    raster.Line({-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647}, 3);
    raster.LineOnPick({-5, -5, 100, 100}, 3, -1);
    raster.Line16({-5, 300, 100, -100}, 3);
    EXPECT_TRUE(planes.guardsIntact());

    Rasterizer noPlanes;
    noPlanes.Line({0, 0, 5, 5}, 1);  // no target: nothing happens
}

// Callers may draw a segment as it comes or clip it first: the pixels are the
// same, whichever way round the segment runs.
TEST_F(LineTest, ClippingFirstChangesNoPixel) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> x(-30, 50), y(-20, 32);
    for (int round = 0; round < 2000; ++round) {
        const Segment2D s{x(rng), y(rng), x(rng), y(rng)};
        test::Planes direct(20, 12), clipped(20, 12);
        Rasterizer a, b;
        a.SetTarget(direct.target());
        b.SetTarget(clipped.target());
        a.Line(s, 1);
        Segment2D cut = s;
        if (b.ClipLine(cut)) b.Line(cut, 1);
        ASSERT_EQ(direct.colour.storage, clipped.colour.storage)
            << s.x0 << "," << s.y0 << " to " << s.x1 << "," << s.y1;
    }
}

}  // namespace
}  // namespace tarn
