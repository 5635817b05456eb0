// Mapping Mode driven through the skin pane with plain mouse events: the pick
// rule, the vert drag with its split and weld, the selection clicks and the
// right-button transforms, and the skin following the mapping.
#include <gtest/gtest.h>

#include <set>

#include "../panes/mouse_events.h"
#include "edit/mapping_geometry.h"
#include "edit/mapping_selection.h"
#include "edit/mapping_tool.h"
#include "image/history.h"
#include "image/skin.h"
#include "image/skin_list.h"
#include "paint/paint_state.h"
#include "platform/refresh.h"

namespace tarn {
namespace {

using test::mouseAt;
using test::RecordingPointer;

constexpr int kSide = 16;

// A 16 x 16 skin shown at zoom 4 in a 200 x 200 pane centred on (8, 8), so
// the centre of skin pixel (s, t) is at client (70 + 4 s, 70 + 4 t).
// MappingVerts 0..4 at (2,2) (6,2) (6,6) (2,6) (10,6); Triangles
// T0 (0,1,2), T1 (0,2,3), T2 (1,4,2): MappingVert 2 is shared by all three.
class MappingToolTest : public ::testing::Test {
protected:
    MappingToolTest()
        : context{mesh, paint, modes, refresh, [this] { return skins.current(); }, [] { return 5; }, &history},
          view(context),
          tool(view, context, follows) {
        skins.append(makeBlankSkin(kSide, kSide));
        skins.makeCurrent(0);
        skin = skins.current();
        for (std::size_t i = 0; i < skin->pixels.size(); ++i) skin->pixels[i] = static_cast<std::uint8_t>(i % 251);
        modes.mappingMode = true;
        mesh.skinWidth = mesh.skinHeight = kSide;
        const MappingVert verts[] = {{2, 2}, {6, 2}, {6, 6}, {2, 6}, {10, 6}};
        for (std::size_t i = 0; i < std::size(verts); ++i) mesh.mappingVerts[i] = verts[i];
        mesh.mappingVertCount = 5;
        const std::array<std::int16_t, 3> tris[] = {{0, 1, 2}, {0, 2, 3}, {1, 4, 2}};
        for (std::size_t i = 0; i < std::size(tris); ++i) mesh.triangles[i].mapping = tris[i];
        mesh.triangleCount = 3;
        StoreMapping(mesh);
        view.setMappingTool(&tool);
        view.setZoom(4.0f);
        view.setPan(8.0f, 8.0f);
        view.resize(200, 200);
        refresh.calls.clear();
    }
    static int at(int s) { return 70 + 4 * s; }
    void select(const std::string& letters) {
        for (std::size_t i = 0; i < letters.size(); ++i) mesh.triangles[i].flags = letters[i] == 's' ? std::uint32_t{kTriSelected} : 0u;
    }
    void drag(unsigned button, std::vector<MouseEvent> path, bool shift = false, bool ctrl = false) {
        MouseEvent e = path.front();
        e.button = e.buttons = button;
        e.shift = shift;
        e.ctrl = ctrl;
        view.mousePress(e, pointer);
        for (std::size_t i = 1; i < path.size(); ++i) {
            MouseEvent m = path[i];
            m.buttons = button;
            view.mouseMove(m, pointer);
        }
        MouseEvent r = path.back();
        r.button = button;
        r.buttons = kNoButton;
        view.mouseRelease(r, pointer);
    }
    static MouseEvent pt(int x, int y) { return mouseAt(x, y, kNoButton, kNoButton); }
    // Corner k of Triangle i on the skin.
    MappingVert corner(int i, int k) const {
        return mesh.mappingVerts[static_cast<std::size_t>(mesh.triangles[static_cast<std::size_t>(i)].mapping[static_cast<std::size_t>(k)])];
    }
    std::vector<MappingVert> corners() const {
        std::vector<MappingVert> out;
        for (int i = 0; i < mesh.triangleCount; ++i)
            for (int k = 0; k < 3; ++k) out.push_back(corner(i, k));
        return out;
    }

    Mesh mesh;
    PaintState paint;
    PaneModes modes;
    RecordingRefresh refresh;
    RecordingPointer pointer;
    SkinList skins;
    History history{skins};
    Skin* skin = nullptr;
    PaneContext context;
    SkinView view;
    bool follows = false;
    MappingTool tool;
};

TEST_F(MappingToolTest, PickTakesTheNearestCentreByTruncatedOffsetsAndTheLowestIndexOnTies) {
    struct Case {
        const char* what;
        float zoom;
        std::vector<MappingVert> verts;
        int x, y;
        int picked;
    };
    // At zoom 4 the centre of (2,5) is (78, 90) and of (4,5) is (86, 90).
    // At zoom 3 the centre of (2,5) is (83.5, 92.5).
    const Case cases[] = {
        {"tie, nearer one first", 4.0f, {{4, 5}, {2, 5}}, 82, 90, 0},
        {"tie, farther one first", 4.0f, {{2, 5}, {4, 5}}, 82, 90, 0},
        {"the nearest wins over a lower index", 4.0f, {{2, 5}, {4, 5}}, 85, 90, 1},
        {"d = 34 is within reach", 4.0f, {{2, 5}}, 83, 93, 0},
        {"d = 36 is not", 4.0f, {{2, 5}}, 84, 90, -1},
        {"offsets truncate: 5.5 counts as 5", 3.0f, {{2, 5}}, 89, 92, 0},
        {"and 6.5 as 6", 3.0f, {{2, 5}}, 90, 92, -1},
    };
    for (const Case& c : cases) {
        view.setZoom(c.zoom);
        for (std::size_t i = 0; i < c.verts.size(); ++i) mesh.mappingVerts[i] = c.verts[i];
        mesh.mappingVertCount = static_cast<std::int16_t>(c.verts.size());
        EXPECT_EQ(pickMappingVert(view, mesh, c.x, c.y), c.picked) << c.what;
    }
}

TEST_F(MappingToolTest, VertDragSplitsMovesOrWeldsAsTheSelectionSays) {
    const MappingVert a{2, 2}, b{6, 2}, c{6, 6}, d{2, 6}, e{10, 6}, moved{8, 9};
    struct Case {
        const char* what;
        std::string selected;
        int fromX, fromY, toX, toY;
        int count;
        std::vector<MappingVert> corners;  // T0, T1, T2
    };
    const Case cases[] = {
        {"two selected users take it, the third keeps it", "ss.", at(6), at(6), at(8), at(9), 6,
         {a, b, moved, a, moved, d, b, e, c}},
        {"with no selection every user follows", "...", at(6), at(6), at(8), at(9), 5,
         {a, b, moved, a, moved, d, b, e, moved}},
        {"only an unselected user: it still follows", "s..", at(2), at(6), at(3), at(7), 5,
         {a, b, c, a, c, {3, 7}, b, e, c}},
        {"dropped on another it welds", "...", at(6), at(6), at(10), at(6), 4,
         {a, b, e, a, e, d, b, e, e}},
        {"off the skin it stops at the last pixel", "...", at(10), at(6), 400, 400, 5,
         {a, b, c, a, c, d, b, {15, 15}, c}},
        {"six view pixels away nothing is picked", "...", at(6) + 6, at(6), at(8), at(9), 5,
         {a, b, c, a, c, d, b, e, c}},
        {"a press beside the skin starts nothing", "...", at(-2), at(6), at(8), at(9), 5,
         {a, b, c, a, c, d, b, e, c}},
    };
    for (const Case& k : cases) {
        select(k.selected);
        drag(kLeftButton, {pt(k.fromX, k.fromY), pt(k.toX, k.toY)});
        EXPECT_EQ(mesh.mappingVertCount, k.count) << k.what;
        EXPECT_EQ(corners(), k.corners) << k.what;
        for (int i = 0; i < mesh.triangleCount; ++i) EXPECT_EQ(mesh.triangles[static_cast<std::size_t>(i)].flags & kTriDragMark, 0u);
        EXPECT_EQ(view.drag(), SkinView::Drag::Idle);
        RevertMapping(mesh);
    }
}

TEST_F(MappingToolTest, VertDragSendsItsRefreshesAndIsOneStepToUndo) {
    const auto original = corners();
    drag(kLeftButton, {pt(at(6), at(6)), pt(at(7), at(6)), pt(at(7), at(6)), pt(at(8), at(6))});
    EXPECT_EQ(refresh.calls, (std::vector<std::string>{"refresh 1 35", "refresh 1 19", "refresh 1 19", "refresh 0 35"}));
    // Neither a press that picks nothing nor a selection click is a step.
    drag(kLeftButton, {pt(at(14), at(14))});
    drag(kLeftButton, {pt(at(5), at(3))}, true);
    EXPECT_EQ(history.stepCount(), 1u);
    EXPECT_EQ(history.undoName(), kStepMoveVertex);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(corners(), original);
}

TEST_F(MappingToolTest, FullTableHasNoSpareEntryAndRefusesTheDrag) {
    mesh.mappingVertCount = kMaxMappingVerts;
    const auto before = mesh.mappingVerts;
    drag(kLeftButton, {pt(at(6), at(6)), pt(at(8), at(9))});
    EXPECT_EQ(mesh.mappingVerts, before);
    EXPECT_EQ(mesh.mappingVertCount, kMaxMappingVerts);
    EXPECT_TRUE(pointer.calls.empty());
    EXPECT_TRUE(refresh.calls.empty());
}

// T0 covers the pixels right of the diagonal (2,2)-(6,6), T1 those left of it.
TEST_F(MappingToolTest, ShiftAndCtrlClicksSelectAndDeselectWhatLiesUnderThePointer) {
    const auto letters = [this] {
        std::string s;
        for (int i = 0; i < mesh.triangleCount; ++i) s += (mesh.triangles[static_cast<std::size_t>(i)].flags & kTriSelected) ? 's' : '.';
        return s;
    };
    drag(kLeftButton, {pt(at(5), at(3))}, true);
    EXPECT_EQ(letters(), "s..");
    drag(kLeftButton, {pt(at(5), at(3)), pt(at(3), at(5)), pt(at(8), at(5))}, true);
    EXPECT_EQ(letters(), "sss");
    drag(kLeftButton, {pt(at(3), at(5))}, false, true);
    EXPECT_EQ(letters(), "s.s");
    drag(kLeftButton, {pt(at(3), at(5))}, true, true);  // Shift wins
    EXPECT_EQ(letters(), "sss");
    drag(kLeftButton, {pt(at(14), at(14))}, false, true);  // nothing there
    EXPECT_EQ(letters(), "sss");
    // Hidden Triangles are selected too.
    mesh.triangles[1].flags = kTriHidden;
    drag(kLeftButton, {pt(at(3), at(5))}, true);
    EXPECT_EQ(mesh.triangles[1].flags, kTriHidden | kTriSelected);
}

TEST_F(MappingToolTest, RightDragMovesBySkinPixelsHidesThePointerAndStopsAtTheBorder) {
    select("s..");
    // Steps short of a skin pixel add up: 2 and 1 view pixels at zoom 3 make one.
    view.setZoom(3.0f);
    drag(kRightButton, {pt(100, 100), pt(102, 100), pt(103, 101)});
    EXPECT_EQ(corner(0, 0), (MappingVert{3, 2}));
    EXPECT_EQ(pointer.calls.front(), "hide");
    EXPECT_EQ(pointer.calls[1], "capture");
    EXPECT_EQ(pointer.calls[2], "warp 100,100");
    EXPECT_EQ(pointer.calls.back(), "release");
    EXPECT_EQ(pointer.calls[pointer.calls.size() - 2], "show");
    RevertMapping(mesh);

    view.setZoom(4.0f);
    drag(kRightButton, {pt(100, 100), pt(108, 104)});
    EXPECT_EQ(corners()[0], (MappingVert{4, 3}));
    EXPECT_EQ(corners()[4], (MappingVert{8, 7}));  // T1 shares the moved MappingVerts
    EXPECT_EQ(corners()[5], (MappingVert{2, 6}));  // but not this one
    // Far past the top-left corner: the box stops at 0 and stays there.
    drag(kRightButton, {pt(100, 100), pt(0, 0), pt(-300, -300)});
    EXPECT_EQ(tool.transform().box(), (SelectionBox{0, 4, 0, 4}));
    EXPECT_EQ(corner(0, 0), (MappingVert{0, 0}));
    // Without warping every move counts from the one before.
    pointer.warpWorks = false;
    drag(kRightButton, {pt(100, 100), pt(104, 100), pt(108, 100)});
    EXPECT_EQ(corner(0, 0), (MappingVert{2, 0}));
    EXPECT_EQ(history.stepCount(), 4u);
    EXPECT_EQ(history.undoName(), kStepMoveSelection);
}

TEST_F(MappingToolTest, RotationIsRefusedOffTheSkinAndGoesOnFromTheLastAcceptedAngle) {
    select("s..");
    // Pivot (8, 8): the box corner (2, 2) leaves the skin near 45 degrees.
    const MouseEvent pivot = pt(at(8), at(8));
    const auto rotated = [&](std::vector<int> dys) {
        RevertMapping(mesh);
        std::vector<MouseEvent> path{pivot};
        int y = pivot.y;
        for (int dy : dys) path.push_back(pt(pivot.x, y += dy));
        drag(kRightButton, path, true);
        return corners();
    };
    const auto unmoved = rotated({});
    const auto direct = rotated({40});
    // Moving the pointer down turns the selection counter-clockwise on the
    // skin by 0.005 radians a pixel: about the pivot (8, 8), 0.2 radians take
    // (2, 2) to (0.93, 3.31), (6, 2) to (4.85, 2.52) and (6, 6) to (5.64, 6.44).
    EXPECT_EQ(std::vector<MappingVert>(direct.begin(), direct.begin() + 3),
              (std::vector<MappingVert>{{0, 3}, {4, 2}, {5, 6}}));
    // Forty moves of one pixel turn as far as one of forty.
    EXPECT_EQ(rotated(std::vector<int>(40, 1)), direct);
    const auto refused = rotated({20, 140, 20});
    EXPECT_DOUBLE_EQ(tool.transform().angle(), 0.2);
    EXPECT_EQ(refused, direct);
    // Worked out from the press each time: there and back leaves no trace.
    EXPECT_EQ(rotated({33, -33}), unmoved);

    // Scale (Ctrl): half as wide about x = 8; twice as wide would put the box
    // corner at x = -4, which is refused as a whole.
    RevertMapping(mesh);
    drag(kRightButton, {pivot, pt(pivot.x - 125, pivot.y)}, false, true);
    EXPECT_EQ(corner(0, 0), (MappingVert{5, 2}));
    EXPECT_EQ(corner(0, 2), (MappingVert{7, 6}));
    RevertMapping(mesh);
    drag(kRightButton, {pivot, pt(pivot.x + 250, pivot.y)}, false, true);
    EXPECT_EQ(corners(), unmoved);
}

// Where a warp puts the pointer and what the device reports next: a mouse
// goes on from the press point, an absolute device (tablet, remote desktop,
// scripted input) from its own place, whatever the warp did.
struct DevicePointer : RecordingPointer {
    bool mouse = false;
    int x = 0, y = 0;
    bool warpTo(int wx, int wy) override {
        if (mouse) x = wx, y = wy;
        return RecordingPointer::warpTo(wx, wy);
    }
};

// The pointer moved `total` pixels right and down in `steps` equal moves.
TEST_F(MappingToolTest, TransformsFollowThePathNotTheNumberOfEvents) {
    select("s..");
    const MouseEvent press = pt(at(8), at(8));
    const auto dragged = [&](bool shift, bool ctrl, int total, int steps, bool mouse) {
        RevertMapping(mesh);
        DevicePointer device;
        device.mouse = mouse;
        device.x = press.x;
        device.y = press.y;
        MouseEvent e = press;
        e.button = e.buttons = kRightButton;
        e.shift = shift;
        e.ctrl = ctrl;
        view.mousePress(e, device);
        for (int i = 0; i < steps; ++i) {
            device.x += total / steps;
            device.y += total / steps;
            view.mouseMove(mouseAt(device.x, device.y, kNoButton, kRightButton), device);
        }
        view.mouseRelease(mouseAt(device.x, device.y, kRightButton, kNoButton), device);
        return corners();
    };
    const struct {
        const char* what;
        bool shift, ctrl;
        int total;
    } kinds[] = {{"move", false, false, 30}, {"rotate", true, false, 30}, {"scale", false, true, 30},
                 {"long rotate", true, false, 72}, {"long scale", false, true, 72}};
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.what);
        const auto once = dragged(k.shift, k.ctrl, k.total, 1, false);
        EXPECT_NE(once, dragged(k.shift, k.ctrl, 0, 1, false));
        EXPECT_EQ(dragged(k.shift, k.ctrl, k.total, k.total, false), once);
        EXPECT_EQ(dragged(k.shift, k.ctrl, k.total, k.total, true), once);
        EXPECT_EQ(dragged(k.shift, k.ctrl, k.total, 3, true), once);
    }
}

TEST_F(MappingToolTest, SkinFollowsTheMovedTrianglesTexelsAndNothingElse) {
    follows = true;
    select("sss");
    const std::vector<std::uint8_t> before = skin->pixels;
    // Three skin pixels right, two down.
    drag(kRightButton, {pt(100, 100), pt(112, 108)});
    const auto px = [&](const std::vector<std::uint8_t>& p, int x, int y) { return p[static_cast<std::size_t>(y * kSide + x)]; };
    int changed = 0;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            if (px(skin->pixels, x, y) == px(before, x, y)) continue;
            ++changed;
            // Inside the moved Triangles, (5..13) x (4..8), each texel comes
            // from three left and two up.
            EXPECT_TRUE(x >= 5 && x <= 13 && y >= 4 && y <= 8) << x << "," << y;
            EXPECT_EQ(px(skin->pixels, x, y), px(before, x - 3, y - 2)) << x << "," << y;
        }
    }
    EXPECT_GE(changed, 16);
    // Texels and mapping go back in one step.
    EXPECT_EQ(history.stepCount(), 1u);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(skin->pixels, before);
    EXPECT_EQ(corner(0, 0), (MappingVert{2, 2}));
}

}  // namespace
}  // namespace tarn
