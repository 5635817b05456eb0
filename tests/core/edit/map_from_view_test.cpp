#include <gtest/gtest.h>

#include "../panes/mouse_events.h"
#include "edit/map_from_view.h"
#include "edit/rectangle_tool.h"
#include "image/skin.h"
#include "paint/paint_state.h"
#include "platform/refresh.h"

namespace tarn {
namespace {

// Seen from -x at a distance of 100 with a 90 degree field of view in a
// 200 x 200 pane. Triangle 0 faces the eye: its corner 1 lies to the viewer's
// left of corner 0 and corner 2 above it. Triangle 1 is its back (the same
// corners wound the other way), triangle 2 has corner 2 twice as far away,
// and triangle 3 is never selected.
struct ViewScene {
    Mesh mesh;
    ViewCamera camera{{-100, 0, 0}, {0, 0, 0}, 90.0f, 200, 200};

    ViewScene() {
        mesh.skinWidth = mesh.skinHeight = 256;
        mesh.vertexCount = 4;
        mesh.frames.push_back(Frame{"f", {{0, 0, 0}, {0, 10, 0}, {0, 0, 10}, {100, 10, 10}}});
        mesh.triangleCount = 4;
        const std::array<std::array<std::int16_t, 3>, 4> corners = {{{0, 1, 2}, {0, 2, 1}, {0, 1, 3}, {1, 2, 3}}};
        for (std::size_t i = 0; i < 4; ++i) {
            mesh.triangles[i].vertex = corners[i];
            mesh.triangles[i].mapping = {0, 0, 0};
        }
        mesh.mappingVerts[0] = {1, 1};
        mesh.mappingVertCount = 1;
        MergeMappingVerts(mesh);
    }
    std::array<MappingVert, 3> corners(int t) const {
        std::array<MappingVert, 3> out{};
        for (std::size_t k = 0; k < 3; ++k)
            out[k] = mesh.mappingVerts[std::size_t(mesh.triangles[std::size_t(t)].mapping[k])];
        return out;
    }
};

using Corners = std::array<MappingVert, 3>;
constexpr MappingVert kUnmapped{1, 1};

TEST(MapFromView, FaceOnTriangleFillsTheRectangleAsSeen) {
    struct Case {
        const char* what;
        MapFromViewOptions options;
        MapRect rect;
        Corners expected;
    };
    const MapRect rect{10, 20, 110, 70};
    const Case cases[] = {
        {"as seen", {}, rect, {{{110, 70}, {10, 70}, {110, 20}}}},
        {"mirror", {.mirror = true}, rect, {{{10, 70}, {110, 70}, {10, 20}}}},
        {"flip", {.flip = true}, rect, {{{110, 20}, {10, 20}, {110, 70}}}},
        {"parallel", {.parallel = true}, rect, {{{110, 70}, {10, 70}, {110, 20}}}},
        {"drawn right to left, bottom to top", {}, {110, 70, 10, 20}, {{{110, 70}, {10, 70}, {110, 20}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ViewScene s;
        s.mesh.triangles[0].flags = kTriSelected;
        MapRect r = c.rect;
        MapFromView(s.mesh, s.camera, r, c.options);
        EXPECT_EQ(s.corners(0), c.expected);
        EXPECT_EQ(r, rect);  // stored back normalised
        EXPECT_EQ(s.corners(3), (Corners{kUnmapped, kUnmapped, kUnmapped}));
    }
}

TEST(MapFromView, PerspectiveShrinksWithDepthAndParallelDoesNot) {
    for (const bool parallel : {false, true}) {
        ViewScene s;
        s.mesh.triangles[2].flags = kTriSelected;
        MapRect r{10, 20, 110, 70};
        MapFromView(s.mesh, s.camera, r, {.parallel = parallel});
        // Corner 2 is as far left as corner 1 but twice as deep: in perspective
        // it appears halfway to the centre.
        EXPECT_EQ(s.corners(2)[2].s, parallel ? 10 : 60) << (parallel ? "parallel" : "perspective");
    }
}

TEST(MapFromView, NoBackfacesKeepsTheOldMappingOfTrianglesFacingAway) {
    for (const bool noBackfaces : {false, true}) {
        ViewScene s;
        s.mesh.triangles[0].flags = s.mesh.triangles[1].flags = kTriSelected;
        MapRect r{10, 20, 110, 70};
        MapFromView(s.mesh, s.camera, r, {.noBackfaces = noBackfaces});
        EXPECT_EQ(s.corners(0)[1], (MappingVert{10, 70}));
        EXPECT_EQ(s.corners(1)[0] == kUnmapped, noBackfaces);
    }
}

// A camera looking down at 45 degrees: points one behind the other along its
// line of sight land on the same skin texel, and a point above the target
// lands above it (the tilt, not only the turn, takes part).
TEST(MapFromView, TiltedCameraProjectsAlongItsLineOfSight) {
    for (const bool parallel : {true, false}) {
        SCOPED_TRACE(parallel ? "parallel" : "perspective");
        Mesh mesh;
        mesh.skinWidth = mesh.skinHeight = 256;
        // p2 = p0 - d / 10 and p4 = p3 + d / 20, with d = target - eye = (100, 0, -100).
        mesh.frames.push_back(Frame{"f", {{0, 0, 0}, {0, 10, 0}, {-10, 0, 10}, {0, 0, 10}, {5, 0, 5}}});
        mesh.vertexCount = 5;
        mesh.triangleCount = 2;
        mesh.triangles[0].vertex = {0, 1, 3};
        mesh.triangles[1].vertex = {2, 4, 1};
        for (int i = 0; i < 2; ++i) mesh.triangles[std::size_t(i)].flags = kTriSelected;
        mesh.mappingVertCount = 1;
        MergeMappingVerts(mesh);
        MapRect r{10, 20, 110, 70};
        MapFromView(mesh, ViewCamera{{-100, 0, 100}, {0, 0, 0}, 90.0f, 200, 200}, r, {.parallel = parallel});
        const auto at = [&](int t, int k) { return mesh.mappingVerts[std::size_t(mesh.triangles[std::size_t(t)].mapping[std::size_t(k)])]; };
        EXPECT_EQ(at(1, 0), at(0, 0));  // p2 behind p0
        if (parallel) {
            EXPECT_EQ(at(1, 1), at(0, 2));  // p4 in front of p3: the same place without perspective
        }
        EXPECT_LT(at(0, 2).t, at(0, 0).t);  // p3 above p0
        EXPECT_EQ(at(0, 2).s, at(0, 0).s);
    }
}

// Counts the clicks the rectangle passes on.
struct ClickCounter final : SkinViewTool {
    int clicks = 0;
    bool press(const MouseEvent& e) override { return e.shift && ++clicks > 0; }
    void move(const MouseEvent&) override {}
    void release(const MouseEvent&) override {}
    void cancel() override {}
};

// The rectangle in the skin pane, in Mapping Mode: a 16 x 16 skin at zoom 4
// with its centre in the middle of a 200 x 200 pane, and the rectangle
// (4, 4)-(11, 11). With Shift a drag draws a new one wherever it starts, and
// a click that drew nothing goes on as a selection click.
TEST(RectangleTool, PressPlaceChoosesNewMoveOrEdge) {
    static constexpr auto at = [](int u) { return 100 + (u - 8) * 4 + 1; };
    struct Case {
        const char* what;
        int pressU, pressV, toU, toV;
        RectangleTool::Drag drag;
        MapRect after;
        bool shift = false;
        int clicks = 0;
    };
    const Case cases[] = {
        {"shift inside: a new one", 7, 7, 9, 10, RectangleTool::Drag::ShiftPress, {7, 7, 9, 10}, true},
        {"shift click: a selection click", 7, 7, 7, 7, RectangleTool::Drag::ShiftPress, {4, 4, 11, 11}, true, 1},
        {"outside: a new one, normalised", 0, 0, 2, 1, RectangleTool::Drag::New, {0, 0, 2, 1}},
        {"outside, dragged up and left", 14, 14, 13, 12, RectangleTool::Drag::New, {13, 12, 14, 14}},
        {"inside: moved", 7, 7, 8, 9, RectangleTool::Drag::Move, {5, 6, 12, 13}},
        {"left edge", 5, 7, 1, 9, RectangleTool::Drag::Left, {1, 4, 11, 11}},
        {"right edge", 13, 7, 15, 9, RectangleTool::Drag::Right, {4, 4, 15, 11}},
        {"top edge", 7, 2, 7, 0, RectangleTool::Drag::Top, {4, 0, 11, 11}},
        {"bottom edge", 7, 10, 9, 14, RectangleTool::Drag::Bottom, {4, 4, 11, 14}},
        {"left edge dragged past the right", 4, 7, 14, 7, RectangleTool::Drag::Left, {11, 4, 14, 11}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Mesh mesh;
        PaintState paint;
        PaneModes modes;
        modes.mappingMode = true;
        RecordingRefresh refresh;
        test::RecordingPointer pointer;
        auto skin = makeBlankSkin(16, 16);
        SkinView view(PaneContext{mesh, paint, modes, refresh, [&] { return skin.get(); }, [] { return 0; }});
        view.setZoom(4.0f);
        view.setPan(8.0f, 8.0f);
        view.resize(200, 200);
        RectangleTool tool(view, refresh);
        ClickCounter counter;
        tool.passClicksTo(&counter);
        view.setRectangleTool(&tool);
        view.rectangleMode = true;
        view.mapRect = {4, 4, 11, 11};
        const auto event = [&c](int u, int v, unsigned button, unsigned buttons) {
            MouseEvent e = test::mouseAt(at(u), at(v), button, buttons);
            e.shift = c.shift;
            return e;
        };
        view.mousePress(event(c.pressU, c.pressV, kLeftButton, kLeftButton), pointer);
        EXPECT_EQ(tool.drag(), c.drag);
        view.mouseMove(event(c.toU, c.toV, kNoButton, kLeftButton), pointer);
        view.mouseRelease(event(c.toU, c.toV, kLeftButton, kNoButton), pointer);
        view.redraw(kRedrawFull);
        EXPECT_EQ(view.mapRect, c.after);
        EXPECT_EQ(counter.clicks, c.clicks);
        // A drag redraws the rectangle; a click leaves it to the tool it went to.
        EXPECT_EQ(refresh.calls.empty() ? "" : refresh.calls.back(), c.clicks ? "" : "refresh 0 1");
    }
}

}  // namespace
}  // namespace tarn
