#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "../panes/mouse_events.h"
#include "image/skin.h"
#include "model/mesh.h"
#include "paint/paint_state.h"
#include "platform/refresh.h"
#include "render/camera_drag.h"
#include "render/iso_view.h"
#include "render/iso_view_line.h"

namespace tarn {
namespace {

using test::mouseAt;
using test::RecordingPointer;

double yawOf(const CameraPose& p) { return std::atan2(p.eye.y - p.lookAt.y, p.eye.x - p.lookAt.x) * 180.0 / M_PI; }
double distanceOf(const CameraPose& p) {
    const Vec3f d = p.eye - p.lookAt;
    return std::sqrt(double(d.x) * d.x + double(d.y) * d.y + double(d.z) * d.z);
}

using Pixels = std::vector<std::pair<int, int>>;

Pixels walk(int x0, int y0, int x1, int y1) {
    Pixels out;
    forEachLinePixel(x0, y0, x1, y1, [&](int x, int y) { out.emplace_back(x, y); });
    return out;
}

TEST(BrushWalk, VisitsWhatLineDrawsOnceEachEitherWay) {
    const Pixels forward = walk(0, 0, 9, 3);
    ASSERT_EQ(forward.size(), 10u);
    EXPECT_EQ(forward.front(), std::make_pair(0, 0));
    EXPECT_EQ(forward.back(), std::make_pair(9, 3));
    EXPECT_EQ(std::set(forward.begin(), forward.end()), [] {
        const Pixels back = walk(9, 3, 0, 0);
        return std::set(back.begin(), back.end());
    }());
    EXPECT_EQ(walk(4, 4, 4, 4), (Pixels{{4, 4}}));
    EXPECT_EQ(walk(0, 0, 3, 3).size(), 4u);
    EXPECT_EQ(walk(2, 0, 2, 5).size(), 6u);
    // A y-major line: one pixel per row, the column stepping on carries.
    const Pixels steep = walk(0, 0, 3, 9);
    ASSERT_EQ(steep.size(), 10u);
    for (std::size_t i = 0; i < steep.size(); ++i) EXPECT_EQ(steep[i].second, static_cast<int>(i));
}

TEST(BrushWalk, MatchesTheRasterizersLine) {
    constexpr int kSide = 40;
    std::vector<std::uint8_t> plane(kSide * kSide);
    Rasterizer raster;
    raster.SetTarget(RasterTarget{plane.data(), nullptr, nullptr, nullptr, kSide, kSide});
    const std::vector<Segment2D> segments = {{0, 0, 39, 7}, {3, 30, 12, 2}, {39, 39, 0, 38}, {5, 5, 5, 5},
                                             {20, 1, 1, 20}, {7, 33, 30, 33}, {11, 0, 13, 39}};
    for (const Segment2D& s : segments) {
        std::fill(plane.begin(), plane.end(), 0);
        raster.Line(s, 1);
        std::set<std::pair<int, int>> drawn, walked;
        for (int i = 0; i < kSide * kSide; ++i)
            if (plane[static_cast<std::size_t>(i)] != 0) drawn.emplace(i % kSide, i / kSide);
        forEachLinePixel(s.x0, s.y0, s.x1, s.y1, [&](int x, int y) { walked.emplace(x, y); });
        EXPECT_EQ(walked, drawn) << s.x0 << "," << s.y0 << " - " << s.x1 << "," << s.y1;
    }
}

TEST(BrushWalk, SegmentsAreClippedToTheClientArea) {
    Rasterizer clipper;
    Pixels seen;
    const auto record = [&](int x, int y) { seen.emplace_back(x, y); };
    EXPECT_FALSE(paintBrushSegment(clipper, -5, 3, -5, 3, 10, 10, record));
    EXPECT_FALSE(paintBrushSegment(clipper, -5, 3, -1, 8, 10, 10, record));
    EXPECT_TRUE(seen.empty());
    EXPECT_TRUE(paintBrushSegment(clipper, -20, 5, 30, 5, 10, 10, record));
    EXPECT_EQ(seen.size(), 10u);
    for (const auto& [x, y] : seen) {
        EXPECT_GE(x, 0);
        EXPECT_LT(x, 10);
        EXPECT_EQ(y, 5);
    }
}

TEST(CameraDrag, WheelTurnsByWholeNotchesOf1125Degrees) {
    CameraPose pose;
    rotateByWheel(pose, 120);
    EXPECT_NEAR(yawOf(pose), 11.25, 1e-4);
    EXPECT_NEAR(distanceOf(pose), 100.0, 1e-3);
    rotateByWheel(pose, 119);
    EXPECT_NEAR(yawOf(pose), 11.25, 1e-4);
    rotateByWheel(pose, -360);
    EXPECT_NEAR(yawOf(pose), -22.5, 1e-4);
}

TEST(CameraDrag, FieldOfViewStopsAt1And120) {
    CameraPose pose;
    Vec3f light{};
    CameraDrag drag;
    drag.begin(CameraDragKind::FieldOfView, pose);
    drag.move(10, 0, false, pose, light);
    EXPECT_FLOAT_EQ(pose.fieldOfView, 34.0f);
    drag.move(100000, 0, false, pose, light);
    EXPECT_EQ(pose.fieldOfView, 120.0f);
    drag.move(-100000, 0, false, pose, light);
    EXPECT_EQ(pose.fieldOfView, 1.0f);
}

TEST(CameraDrag, OrbitKeepsTheDistanceAndZoomStepsPerPixel) {
    CameraPose pose;
    Vec3f light{};
    CameraDrag drag;
    drag.begin(CameraDragKind::OrbitZoom, pose);
    drag.move(-50, 0, false, pose, light);  // yaw 0 - (-50 * 0.2) = 10 degrees
    EXPECT_NEAR(yawOf(pose), 10.0, 1e-3);
    EXPECT_NEAR(distanceOf(pose), 100.0, 1e-3);
    drag.move(0, 100, false, pose, light);  // pitch 0 - 20 = 340: the eye rises
    EXPECT_GT(pose.eye.z, 30.0f);
    EXPECT_NEAR(distanceOf(pose), 100.0, 1e-3);
    const double before = distanceOf(pose);
    drag.move(0, -10, true, pose, light);  // zoom in: 10 pixels up
    EXPECT_NEAR(distanceOf(pose), before * std::pow(0.998004, 10), 1e-3);
    // From behind the look-at point the up sign flips so drags keep their screen sense.
    CameraPose behind;
    behind.eye = {-100.0f, 0.0f, 0.0f};
    drag.begin(CameraDragKind::OrbitZoom, behind);
    EXPECT_EQ(drag.upSign(), -1);
    drag.move(0, 0, false, behind, light);
    EXPECT_NEAR(behind.eye.x, -100.0f, 1e-3);
    EXPECT_NEAR(behind.eye.z, 0.0f, 1e-3);
}

TEST(CameraDrag, LightTurnsAndStaysUnitLength) {
    CameraPose pose;
    Vec3f light{-0.57735f, -0.57735f, -0.57735f};
    CameraDrag drag;
    drag.begin(CameraDragKind::Light, pose);
    drag.move(13, -7, false, pose, light);
    EXPECT_NEAR(dot(light, light), 1.0f, 1e-5);
    EXPECT_NE(light.x, -0.57735f);
}

// A mode that shows a 32 x 32 skin 1:1 at client (10..41, 10..41) in the pick
// plane (texel offsets) or, in Mapping Mode, Triangle (x / 8) there.
struct FakeMode final : RenderMode {
    bool mapping = false;
    int draws = 0;
    void Draw(RenderTarget& t, RenderScene&) override {
        ++draws;
        for (int row = 0; row < t.height; ++row) {
            for (int x = 0; x < t.width; ++x) {
                const int y = t.height - 1 - row;
                const bool on = x >= 10 && x < 42 && y >= 10 && y < 42;
                const std::int32_t v = !on ? -1 : mapping ? (x - 10) / 8 : (y - 10) * 32 + (x - 10);
                t.pick[row * t.width + x] = v;
                t.colour[row * t.width + x] = 0;
            }
        }
    }
    const char* GetName() const override { return "fake"; }
};

class IsoViewTest : public ::testing::Test {
protected:
    IsoViewTest()
        : skin(makeBlankSkin(32, 32)),
          view(PaneContext{mesh, paint, modes, refresh, [this] { return skin.get(); }, [this] { return modeIndex; }},
               [this] {
                   RenderScene s;
                   s.lighting = &lighting;
                   return s;
               },
               [this] { return &mode; }) {
        for (int i = 0; i < 256; ++i)
            for (int c = 0; c < 3; ++c) skin->palette[static_cast<std::size_t>(i * 3 + c)] = static_cast<std::uint8_t>(i);
        for (std::size_t i = 0; i < skin->pixels.size(); ++i) skin->pixels[i] = static_cast<std::uint8_t>(i % 100 + 20);
        original = skin->pixels;
        paint.colorSlots[0] = 200;
        paint.updatePaintRemap(&skin->palette);
        view.resize(300, 200);
    }
    Mesh mesh;
    PaintState paint;
    PaneModes modes;
    RecordingRefresh refresh;
    RecordingPointer pointer;
    Lighting lighting;
    FakeMode mode;
    int modeIndex = kModeTextured;
    std::unique_ptr<Skin> skin;
    std::vector<std::uint8_t> original;
    IsoView view;
};

TEST_F(IsoViewTest, ResizeReallocatesOnlyWhenThePlanesChange) {
    EXPECT_EQ(mode.draws, 1);
    view.resize(301, 200);
    EXPECT_EQ(view.frame().width(), 304);
    EXPECT_EQ(mode.draws, 2);
    view.resize(302, 200);
    EXPECT_EQ(mode.draws, 2);
    EXPECT_EQ(view.clientWidth(), 302);
    view.resize(0, 0);
    view.render();
    EXPECT_EQ(mode.draws, 2);
}

TEST_F(IsoViewTest, CameraDragHidesThePointerAndEndsWhenBothButtonsAreUp) {
    modes.cameraOverride = true;
    EXPECT_EQ(view.cursor(), PaneCursor::Camera);
    view.mousePress(mouseAt(100, 100, kLeftButton, kLeftButton), pointer);
    EXPECT_EQ(view.drag(), IsoView::Drag::OrbitZoom);
    view.mouseMove(mouseAt(110, 100, kNoButton, kLeftButton), pointer);
    view.mousePress(mouseAt(100, 100, kRightButton, kLeftButton | kRightButton), pointer);
    view.mouseRelease(mouseAt(100, 100, kLeftButton, kRightButton), pointer);
    EXPECT_EQ(view.drag(), IsoView::Drag::CameraEnded);
    view.mouseRelease(mouseAt(100, 100, kRightButton, kNoButton), pointer);
    EXPECT_EQ(view.drag(), IsoView::Drag::Idle);
    EXPECT_EQ(pointer.calls, (std::vector<std::string>{"hide", "capture", "warp 100,100", "show", "release"}));
    EXPECT_EQ(refresh.calls, (std::vector<std::string>{"refresh 1 18", "refresh 0 34"}));
    EXPECT_NEAR(std::atan2(view.target().eye.y, view.target().eye.x) * 180 / M_PI, -2.0, 1e-3);

    // Shift + right turns the light.
    const Vec3f before = lighting.lightVector;
    view.mousePress(mouseAt(100, 100, kRightButton, kRightButton, true), pointer);
    view.mouseMove(mouseAt(120, 90, kNoButton, kRightButton), pointer);
    view.captureLost(pointer);
    EXPECT_NE(lighting.lightVector, before);
    EXPECT_EQ(view.drag(), IsoView::Drag::Idle);
}

TEST_F(IsoViewTest, WithASelectionEveryBrushAndInkPaintsOnlyInsideIt) {
    // Texels 5..10 of row 10 and 11 of the skin the fake mode shows 1:1.
    std::vector<std::uint8_t> shape(32 * 32, 0);
    for (int y = 10; y <= 11; ++y)
        for (int x = 5; x <= 10; ++x) shape[std::size_t(y * 32 + x)] = 1;
    paint.selection.combine(shape, 32, 32, SelectCombine::Replace);
    for (Ink ink : {Ink::Paint, Ink::Shade, Ink::Dither})
        for (Brush brush : {Brush::Point, Brush::Pencil, Brush::Line}) {
            skin->pixels = original;
            paint.ink = ink;
            paint.shadeSteps = computeShadeSteps(skin->palette);
            modes.brush = brush;
            view.mousePress(mouseAt(11, 20, kLeftButton, kLeftButton), pointer);
            view.mouseMove(mouseAt(18, 20, kNoButton, kLeftButton), pointer);
            view.mouseMove(mouseAt(30, 21, kNoButton, kLeftButton), pointer);
            view.mouseRelease(mouseAt(30, 21, kLeftButton, kNoButton), pointer);
            bool any = false;
            for (std::size_t i = 0; i < original.size(); ++i)
                if (skin->pixels[i] != original[i]) {
                    any = true;
                    EXPECT_TRUE(shape[i]) << int(ink) << " " << int(brush) << " " << i;
                }
            EXPECT_TRUE(any) << int(ink) << " " << int(brush);
        }
}

TEST_F(IsoViewTest, PencilOnTheModelPaintsTheTexelsUnderThePointerOnce) {
    paint.paintStrength = 0.5;
    paint.updatePaintRemap(&skin->palette);
    view.mousePress(mouseAt(12, 20, kLeftButton, kLeftButton), pointer);
    view.mouseMove(mouseAt(30, 20, kNoButton, kLeftButton), pointer);
    view.mouseMove(mouseAt(12, 20, kNoButton, kLeftButton), pointer);
    view.mouseMove(mouseAt(60, 20, kNoButton, kLeftButton), pointer);  // off the model
    view.mouseRelease(mouseAt(60, 20, kLeftButton, kNoButton), pointer);
    for (std::size_t i = 0; i < original.size(); ++i) {
        const bool under = i / 32 == 10 && i % 32 >= 2;
        EXPECT_EQ(skin->pixels[i], under ? paint.paintRemap[original[i]] : original[i]) << i;
    }
    EXPECT_EQ(refresh.calls.front(), "refresh 3 19");
    EXPECT_EQ(view.drag(), IsoView::Drag::Idle);
}

TEST_F(IsoViewTest, NoPaintWhereThePickPlaneHoldsNoTexels) {
    paint.protectedColors[original[10 * 32 + 5]] = true;
    view.mousePress(mouseAt(15, 20, kLeftButton, kLeftButton), pointer);
    view.mouseRelease(mouseAt(15, 20, kLeftButton, kNoButton), pointer);
    EXPECT_EQ(skin->pixels, original);
    // Shaded modes write Triangle indices: painting there must not touch the skin.
    modeIndex = 3;
    view.mousePress(mouseAt(20, 20, kLeftButton, kLeftButton), pointer);
    view.mouseRelease(mouseAt(20, 20, kLeftButton, kNoButton), pointer);
    EXPECT_EQ(skin->pixels, original);
    // A smaller skin than the mode drew: offsets past its end are ignored.
    modeIndex = kModeTextured;
    skin = makeBlankSkin(4, 4);
    view.mousePress(mouseAt(40, 40, kLeftButton, kLeftButton), pointer);
    view.mouseRelease(mouseAt(40, 40, kLeftButton, kNoButton), pointer);
    for (std::uint8_t px : skin->pixels) EXPECT_EQ(px, 0);
}

TEST_F(IsoViewTest, RightClickPicksTheTexelColour) {
    paint.activeSlot = 3;
    view.mousePress(mouseAt(11, 12, kRightButton, kRightButton), pointer);
    view.mouseRelease(mouseAt(11, 12, kRightButton, kNoButton), pointer);
    EXPECT_EQ(paint.colorSlots[3], original[2 * 32 + 1]);
    EXPECT_EQ(refresh.calls, (std::vector<std::string>{"refresh 0 24", "refresh 0 35", "paintRemap"}));
}

TEST_F(IsoViewTest, MappingModeSelectsAndDeselectsTriangles) {
    modes.mappingMode = true;
    mode.mapping = true;
    view.render();
    mesh.triangleCount = 3;
    view.mousePress(mouseAt(12, 20, kLeftButton, kLeftButton), pointer);
    view.mouseMove(mouseAt(30, 20, kNoButton, kLeftButton), pointer);
    view.mouseMove(mouseAt(40, 20, kNoButton, kLeftButton), pointer);  // Triangle 3: beyond the count
    view.mouseRelease(mouseAt(40, 20, kLeftButton, kNoButton), pointer);
    EXPECT_EQ(mesh.triangles[0].flags, kTriSelected);
    EXPECT_EQ(mesh.triangles[2].flags, kTriSelected);
    EXPECT_EQ(mesh.triangles[1].flags, 0u);
    EXPECT_EQ(mesh.triangles[3].flags, 0u);
    // The next frame marks where the selected Triangles show, for the tint.
    view.render();
    const auto tinted = [this](int x, int y) {
        const FrameBuffer& f = view.frame();
        return view.tint()[static_cast<std::size_t>((f.height() - 1 - y) * f.width() + x)] != 0;
    };
    ASSERT_FALSE(view.tint().empty());
    EXPECT_TRUE(tinted(12, 20));
    EXPECT_FALSE(tinted(20, 20));
    EXPECT_FALSE(tinted(5, 20));
    view.mousePress(mouseAt(12, 20, kRightButton, kRightButton), pointer);
    view.mouseRelease(mouseAt(12, 20, kRightButton, kNoButton), pointer);
    EXPECT_EQ(mesh.triangles[0].flags, 0u);
    EXPECT_EQ(refresh.calls, (std::vector<std::string>{"refresh 1 19", "refresh 1 19", "refresh 1 19"}));
    EXPECT_EQ(skin->pixels, original);
}

}  // namespace
}  // namespace tarn

#include "render/render_session.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

// A real model in the real textured mode: a stroke across the pane paints
// exactly the skin texels the pick plane shows along it, once each.
TEST(IsoViewRealModel, StrokeAcrossTheModelPaintsTheTexelsItCrosses) {
    const std::string model = test::realTestData("3dengine/models/ogro/tris.md2");
    if (model.empty()) GTEST_SKIP();
    test::ScriptedUi ui;
    RenderSession s;
    ASSERT_TRUE(loadSessionModel(s, model, test::realTestData("3dengine"), ui));
    Skin* skin = s.skins.current();
    ASSERT_NE(skin, nullptr);
    s.paint.colorSlots[0] = 251;
    s.paint.paintStrength = 0.6;
    s.rebuildTables();
    PaneModes modes;
    RecordingRefresh refresh;
    IsoView view(PaneContext{s.mesh, s.paint, modes, refresh, [&] { return s.skins.current(); },
                             [] { return int{kModeTextured}; }},
                 [&] { return s.scene(); }, [&]() -> RenderMode* { return &s.modes.at(kModeTextured); });
    view.target().eye = {90.0f, 0.0f, 0.0f};
    view.resize(160, 200);

    const std::vector<std::uint8_t> before = skin->pixels;
    std::set<std::int32_t> crossed;
    for (int x = 20; x <= 140; ++x)
        if (auto e = view.frame().elementAt(x, 100); e && view.frame().pick()[*e] >= 0) crossed.insert(view.frame().pick()[*e]);
    ASSERT_FALSE(crossed.empty()) << "the model is not across the middle row";

    NoPointer pointer;
    view.mousePress(test::mouseAt(20, 100, kLeftButton, kLeftButton), pointer);
    view.mouseMove(test::mouseAt(140, 100, kNoButton, kLeftButton), pointer);
    view.mouseMove(test::mouseAt(20, 100, kNoButton, kLeftButton), pointer);
    view.mouseRelease(test::mouseAt(20, 100, kLeftButton, kNoButton), pointer);
    for (std::size_t i = 0; i < before.size(); ++i) {
        const bool painted = crossed.count(static_cast<std::int32_t>(i)) && !s.paint.protectedColors[before[i]];
        ASSERT_EQ(skin->pixels[i], painted ? s.paint.paintRemap[before[i]] : before[i]) << i;
    }
}

}  // namespace
}  // namespace tarn
