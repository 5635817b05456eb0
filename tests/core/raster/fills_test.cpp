#include <gtest/gtest.h>

#include "planes.h"
#include "raster/rasterizer.h"

namespace tarn {
namespace {

FillTriangle<FlatVertex> flat(FlatVertex a, FlatVertex b, FlatVertex c) { return {a, b, c, a}; }

class FillTest : public ::testing::Test {
protected:
    test::Planes planes{16, 12};
    Rasterizer raster;
    void SetUp() override { ASSERT_TRUE(raster.SetTarget(planes.target())); }
    void TearDown() override {
        EXPECT_TRUE(raster.edgesIdle());
        EXPECT_TRUE(planes.guardsIntact());
    }
    std::uint16_t depthAt(int x, int y) { return planes.depth[planes.at(x, y)]; }
    std::uint8_t colourAt(int x, int y) { return planes.colour[planes.at(x, y)]; }
};

TEST_F(FillTest, TrianglesOutsideDrawNothing) {
    raster.FillFlat(flat({-9, 0, 0}, {-1, 5, 0}, {-4, 11, 0}), 1);
    raster.FillFlat(flat({16, 0, 0}, {40, 5, 0}, {20, 11, 0}), 1);
    raster.FillFlat(flat({0, -9, 0}, {15, -1, 0}, {7, -30, 0}), 1);
    raster.FillSolid2D({{{0, 12}, {15, 20}, {3, 99}, {0, 12}}}, 1);
    EXPECT_EQ(planes.drawn(), 0);
}

TEST_F(FillTest, CutAtTheLeftBorderInterpolatesDepth) {
    // The edge from (-10, 0) to (10, 0) is cut at its midpoint. Depth steps
    // in whole units: (42 - 21) / 11 pixels = 1, so column 10 gets 31.
    raster.FillFlatPick(flat({-10, 0, 0}, {10, 0, toFixed16(42)}, {10, 10, toFixed16(42)}), 7, 3);
    EXPECT_EQ(colourAt(0, 0), 7);
    EXPECT_EQ(depthAt(0, 0), 21);
    EXPECT_EQ(depthAt(1, 0), 22);
    EXPECT_EQ(depthAt(10, 0), 31);
    EXPECT_EQ(planes.pick[planes.at(0, 0)], 3);
}

TEST_F(FillTest, SinglePixelAndOnePixelSpans) {
    raster.FillFlat(flat({4, 4, toFixed16(9)}, {4, 4, toFixed16(9)}, {4, 4, toFixed16(9)}), 5);
    EXPECT_EQ(planes.drawn(), 1);
    EXPECT_EQ(depthAt(4, 4), 9);

    // A vertical sliver: every row is one pixel with its left values.
    raster.FillGouraud({{{8, 0, toFixed16(30), 0}, {8, 3, toFixed16(33), 0}, {8, 3, toFixed16(33), 0},
                         {8, 0, toFixed16(30), 0}}});
    for (int y = 0; y <= 3; ++y) EXPECT_EQ(colourAt(8, y), 30 + y);
}

TEST_F(FillTest, DepthTestIsStrictAndPickFollowsColour) {
    const auto tri = flat({1, 1, toFixed16(100)}, {12, 2, toFixed16(100)}, {5, 10, toFixed16(100)});
    raster.FillFlatPick(tri, 1, 17);
    const int covered = planes.drawn();
    EXPECT_GT(covered, 30);
    for (std::size_t i = 0; i < planes.colour.count; ++i)
        ASSERT_EQ(planes.colour[i] == 1, planes.pick[i] == 17) << i;
    // Equal depth: the first one stays.
    raster.FillFlatPick(tri, 2, 18);
    EXPECT_EQ(planes.drawn(), covered);
    for (std::size_t i = 0; i < planes.colour.count; ++i) ASSERT_NE(planes.colour[i], 2);
    // Nearer wins.
    raster.FillFlat(flat({1, 1, toFixed16(99)}, {12, 2, toFixed16(99)}, {5, 10, toFixed16(99)}), 3);
    EXPECT_EQ(colourAt(5, 5), 3);
    EXPECT_EQ(planes.pick[planes.at(5, 5)], 17);  // FillFlat leaves pick alone
}

TEST_F(FillTest, FirstPixelToReachAnExtremeKeepsIt) {
    // All three edges run along column 5. The clipped polygon starts at the end
    // of the first edge, so the walk is B -> C (rows 4..2), C -> A (rows 2..0),
    // then A -> B, whose pixels come too late to replace anything.
    raster.FillFlat(flat({5, 0, 0}, {5, 4, toFixed16(4)}, {5, 2, toFixed16(100)}), 1);
    const int expected[] = {0, 50, 100, 52, 4};
    for (int y = 0; y <= 4; ++y) EXPECT_EQ(depthAt(5, y), expected[y]) << y;
}

TEST_F(FillTest, CornersOnTheBordersStayWhereTheyAre) {
    // Halving from a corner that already lies on column 0 or row 0 would move
    // it along its edge: here (0, 11) would become (0, 10) and vanish.
    raster.FillFlat(flat({0, 11, toFixed16(8)}, {15, 0, toFixed16(8)}, {15, 11, toFixed16(8)}), 1);
    EXPECT_EQ(colourAt(0, 11), 1);
    EXPECT_EQ(colourAt(0, 10), test::kBackground);
    EXPECT_EQ(colourAt(15, 0), 1);
    // A Gouraud corner on row 0 keeps its own colour.
    raster.FillGouraud({{{3, 0, toFixed16(40), 0}, {3, 6, toFixed16(46), 0}, {9, 6, toFixed16(52), 0},
                         {3, 0, toFixed16(40), 0}}});
    EXPECT_EQ(colourAt(3, 0), 40);
    EXPECT_EQ(colourAt(3, 6), 46);
    // A corner on the last column whose edges leave the target: only it is
    // drawn (nearer than the first triangle there), its neighbours keep colour 1.
    raster.FillGouraud({{{15, 5, toFixed16(70), 0}, {25, 0, toFixed16(90), 0}, {25, 10, toFixed16(90), 0},
                         {15, 5, toFixed16(70), 0}}});
    EXPECT_EQ(colourAt(15, 5), 70);
    EXPECT_EQ(colourAt(15, 4), 1);
    EXPECT_EQ(colourAt(15, 6), 1);
}

TEST_F(FillTest, EdgeWalkFollowsBresenham) {
    // Edge (0,0) -> (5,1) covers x 0..2 on row 0 and 3..5 on row 1.
    raster.FillSolid2D({{{0, 0}, {5, 1}, {5, 1}, {0, 0}}}, 4);
    EXPECT_EQ(colourAt(2, 0), 4);
    EXPECT_EQ(colourAt(3, 0), test::kBackground);
    EXPECT_EQ(colourAt(0, 1), test::kBackground);
    EXPECT_EQ(colourAt(3, 1), 4);
    EXPECT_EQ(planes.drawn(), 6);
}

TEST_F(FillTest, GouraudAndShadeCarryFullPrecision) {
    // c from 10.0 to 13.0 across 4 pixels: steps of 0.75 give 10, 10, 11, 12.
    const GouraudVertex a{0, 0, toFixed16(10), 0};
    const GouraudVertex b{3, 0, toFixed16(13), 0};
    raster.FillGouraudPick({{a, b, b, a}}, 9);
    EXPECT_EQ(colourAt(0, 0), 10);
    EXPECT_EQ(colourAt(1, 0), 10);
    EXPECT_EQ(colourAt(2, 0), 11);
    EXPECT_EQ(colourAt(3, 0), 12);
    EXPECT_EQ(planes.pick[planes.at(3, 0)], 9);

    raster.FillShade2D({{{0, 2, toFixed16(10)}, {3, 2, toFixed16(13)}, {3, 2, toFixed16(13)}, {0, 2, toFixed16(10)}}});
    EXPECT_EQ(colourAt(1, 2), 10);
    EXPECT_EQ(colourAt(3, 2), 12);
}

TEST_F(FillTest, PolygonThatCoversTheTargetFillsEveryPixel) {
    raster.FillSolid2D({{{-1000, -1000}, {5000, -1000}, {-1000, 5000}, {-1000, -1000}}}, 6);
    EXPECT_EQ(planes.drawn(), 16 * 12);
}

}  // namespace
}  // namespace tarn
