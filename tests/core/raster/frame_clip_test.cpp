#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "planes.h"
#include "raster/frame_buffer.h"
#include "raster/rasterizer.h"

namespace tarn {
namespace {

TEST(FrameBuffer, WidthIsPaddedToFourAndRowsRunBottomUp) {
    EXPECT_EQ(planeWidthFor(301), 304);
    EXPECT_EQ(planeWidthFor(300), 300);
    EXPECT_EQ(planeWidthFor(1), 4);
    EXPECT_EQ(planeWidthFor(0), 0);
    EXPECT_EQ(planeWidthFor(-5), 0);

    FrameBuffer frame;
    frame.resize(301, 10);
    EXPECT_EQ(frame.width(), 304);
    EXPECT_EQ(frame.height(), 10);
    EXPECT_EQ(frame.elementCount(), 3040u);
    // Client row 0 (top) is the last plane row.
    EXPECT_EQ(frame.elementAt(0, 0), std::optional<std::size_t>(9u * 304u));
    EXPECT_EQ(frame.elementAt(300, 9), std::optional<std::size_t>(300u));
    // The padding columns and anything outside are not pane pixels.
    EXPECT_EQ(frame.elementAt(301, 0), std::nullopt);
    EXPECT_EQ(frame.elementAt(-1, 0), std::nullopt);
    EXPECT_EQ(frame.elementAt(0, 10), std::nullopt);
}

TEST(FrameBuffer, ClearSetsBackgroundFarDepthAndNoPick) {
    FrameBuffer frame;
    frame.resize(5, 3);
    frame.colour()[7] = 1;
    frame.depth()[7] = 1;
    frame.pick()[7] = 1;
    frame.clear(42);
    for (std::size_t i = 0; i < frame.elementCount(); ++i) {
        ASSERT_EQ(frame.colour()[i], 42);
        ASSERT_EQ(frame.depth()[i], kDepthFar);
        ASSERT_EQ(frame.pick()[i], kPickNothing);
    }
    frame.resize(0, 0);
    frame.clear(1);  // an empty frame is fine

    frame.resize(100000, 3);  // cut to a size the rasterizer accepts
    Rasterizer raster;
    EXPECT_TRUE(raster.SetTarget(frame));
    EXPECT_LE(frame.width(), kMaxTargetSide);
}

TEST(ClipNear, KeepsMovesOrRejects) {
    Segment3D both{{1, 2, 0.05f}, {3, 4, 0.05f}};
    EXPECT_FALSE(Rasterizer::ClipNear(both));

    Segment3D crossing{{0, 0, 0.05f}, {1.95f, 3.9f, 2.0f}};
    ASSERT_TRUE(Rasterizer::ClipNear(crossing));
    EXPECT_EQ(crossing.p0.z, kNearPlane);
    EXPECT_NEAR(crossing.p0.x, 0.05f, 1e-5f);
    EXPECT_NEAR(crossing.p0.y, 0.1f, 1e-5f);
    EXPECT_EQ(crossing.p1.z, 2.0f);

    // The nearer point is moved whichever end it is.
    Segment3D reversed{{1.95f, 3.9f, 2.0f}, {0, 0, 0.05f}};
    ASSERT_TRUE(Rasterizer::ClipNear(reversed));
    EXPECT_EQ(reversed.p1.z, kNearPlane);
    EXPECT_EQ(reversed.p0.x, 1.95f);

    Segment3D beyond{{1, 2, 0.1f}, {3, 4, 7.0f}};
    ASSERT_TRUE(Rasterizer::ClipNear(beyond));
    EXPECT_EQ(beyond.p0.x, 1.0f);
    EXPECT_EQ(beyond.p0.z, 0.1f);
    EXPECT_EQ(beyond.p1.y, 4.0f);

    const float nan = std::numeric_limits<float>::quiet_NaN();
    Segment3D broken{{nan, 0, 1}, {0, 0, 2}};
    EXPECT_FALSE(Rasterizer::ClipNear(broken));
}

class ClipLineTest : public ::testing::Test {
protected:
    test::Planes planes{100, 50};
    Rasterizer raster;
    void SetUp() override { ASSERT_TRUE(raster.SetTarget(planes.target())); }
};

TEST_F(ClipLineTest, RejectsWithoutTouchingTheSegment) {
    Segment2D left{-30, 5, -1, 40};
    EXPECT_FALSE(raster.ClipLine(left));
    EXPECT_EQ(left.x0, -30);
    EXPECT_EQ(left.y0, 5);
    EXPECT_EQ(left.x1, -1);
    EXPECT_EQ(left.y1, 40);

    Segment2D above{10, 50, 90, 70};
    EXPECT_FALSE(raster.ClipLine(above));
    EXPECT_EQ(above.y0, 50);

    // Inside in x but cut to nothing in y after the x cut.
    Segment2D corner{-100, 60, 10, 49 + 20};
    EXPECT_FALSE(raster.ClipLine(corner));
}

TEST_F(ClipLineTest, CutsAtTheBordersInFixedPoint) {
    Segment2D crossing{-10, 0, 10, 20};
    ASSERT_TRUE(raster.ClipLine(crossing));
    EXPECT_EQ(crossing.x0, 0);
    EXPECT_EQ(crossing.y0, 10);
    EXPECT_EQ(crossing.x1, 10);
    EXPECT_EQ(crossing.y1, 20);

    // Endpoints come back ordered by y after the y cut.
    Segment2D steep{50, 80, 60, -20};
    ASSERT_TRUE(raster.ClipLine(steep));
    EXPECT_EQ(steep.y0, 0);
    EXPECT_EQ(steep.y1, 49);
    EXPECT_EQ(steep.x0, 58);  // 60 - (0.2 x 10)
    EXPECT_EQ(steep.x1, 54);  // the shift floors the negative correction

    Segment2D inside{3, 4, 5, 6};
    ASSERT_TRUE(raster.ClipLine(inside));
    EXPECT_EQ(inside.x0, 3);
    EXPECT_EQ(inside.y1, 6);
}

TEST_F(ClipLineTest, ExtremeCoordinatesLandInside) {
    const std::int32_t lo = std::numeric_limits<std::int32_t>::min();
    const std::int32_t hi = std::numeric_limits<std::int32_t>::max();
    Segment2D cases[] = {{lo, lo, hi, hi}, {hi, lo, lo, hi}, {lo, 25, hi, 25}, {40, lo, 40, hi}, {lo, hi, 3, 3}};
    for (Segment2D s : cases) {
        // The anti-diagonal passes just beside the corner and is rejected.
        const bool passesThrough = s.x0 != hi;
        ASSERT_EQ(raster.ClipLine(s), passesThrough);
        if (!passesThrough) continue;
        for (int x : {s.x0, s.x1}) EXPECT_TRUE(x >= 0 && x <= raster.xLimit()) << x;
        for (int y : {s.y0, s.y1}) EXPECT_TRUE(y >= 0 && y <= raster.yLimit()) << y;
    }
    Rasterizer empty;
    Segment2D any{0, 0, 5, 5};
    EXPECT_FALSE(empty.ClipLine(any));
}

TEST(Target, TablesFollowTallTargetsAndOversizedTargetsAreRefused) {
    test::Planes tall(4, 3000);
    Rasterizer raster;
    ASSERT_TRUE(raster.SetTarget(tall.target()));
    raster.FillSolid2D({{{0, 0}, {3, 2999}, {0, 2999}, {0, 0}}}, 1);
    EXPECT_EQ(tall.colour[tall.at(0, 2999)], 1);
    EXPECT_EQ(tall.colour[tall.at(0, 2500)], 1);
    EXPECT_TRUE(raster.edgesIdle());
    EXPECT_TRUE(tall.guardsIntact());

    RasterTarget huge = tall.target();
    huge.height = kMaxTargetSide + 1;
    EXPECT_FALSE(raster.SetTarget(huge));
    EXPECT_EQ(raster.width(), 0);
    raster.FillSolid2D({{{0, 0}, {3, 2999}, {0, 2999}, {0, 0}}}, 2);
    raster.Line({0, 0, 3, 3}, 2);
    EXPECT_EQ(tall.colour[tall.at(0, 2999)], 1);
}

}  // namespace
}  // namespace tarn
