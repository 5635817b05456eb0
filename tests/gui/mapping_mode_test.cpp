// Mapping Mode through the real window: drags in the skin pane with real
// mouse events, the Mapping menu and the title.
#include <QApplication>
#include <QCursor>
#include <QTest>
#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "edit/mapping_geometry.h"
#include "image/skin.h"
#include "main_window.h"
#include "scripted_ui.h"
#include "shell_widget.h"
#include "skin_view_widget.h"

namespace tarn {
namespace {

// A 32 x 32 skin mapped onto a square by two Triangles, (4,20) (20,20) (20,4)
// and (4,20) (20,4) (4,4), as if just loaded from "tris.md2".
void loadSquare(Application& app) {
    auto skin = makeBlankSkin(32, 32);
    for (std::size_t i = 0; i < skin->pixels.size(); ++i) skin->pixels[i] = static_cast<std::uint8_t>(i % 150 + 20);
    skin->store();
    app.skins.append(std::move(skin));
    Mesh& mesh = app.mesh;
    mesh.vertexCount = 4;
    mesh.skinWidth = mesh.skinHeight = 32;
    mesh.frames.push_back(Frame{"square", {{0, -20, -20}, {0, 20, -20}, {0, 20, 20}, {0, -20, 20}}});
    const MappingVert verts[] = {{4, 20}, {20, 20}, {20, 4}, {4, 4}};
    std::copy(std::begin(verts), std::end(verts), mesh.mappingVerts.begin());
    mesh.mappingVertCount = 4;
    mesh.triangles[0].vertex = mesh.triangles[0].mapping = {0, 1, 2};
    mesh.triangles[1].vertex = mesh.triangles[1].mapping = {0, 2, 3};
    mesh.triangleCount = 2;
    StoreMapping(mesh);
    ComputeFaceNormals(mesh);
    mesh.loaded = true;
    app.savedMapping.mark();
    app.currentFile = "/q/baseq2/models/m/tris.md2";
}

QPoint clientOf(const SkinView& view, MappingVert m) {
    const ScreenPoint p = screenOf(view, m);
    return {static_cast<int>(p.x), static_cast<int>(p.y)};
}

// The main window with the square loaded and shown.
struct MappingMode : ::testing::Test {
    test::ScriptedUi ui;
    MemorySettings settings;
    MainWindow w{ui, settings};
    SkinViewWidget* pane = nullptr;

    void SetUp() override {
        settings.setInt(kPreferences, "Quick Exit", 1);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        w.activateWindow();
        QApplication::setActiveWindow(&w);
        loadSquare(w.app());
        w.refreshAll();
        pane = w.shell()->skinView();
    }
};

TEST_F(MappingMode, VertDragAndSelectionMoveThroughTheSkinPane) {
    for (int id : {cmd::kSelectAll, cmd::kSelectNone, cmd::kInvertSelection, cmd::kSelectConnected,
                   cmd::kGrowSelection, cmd::kShrinkSelection, cmd::kHideSelected, cmd::kUnhideAll,
                   cmd::kMappingStore, cmd::kMappingRevert, cmd::kSkinFollowsMapping, cmd::kRectangleMode})
        EXPECT_TRUE(w.action(id)->isEnabled()) << id;
    EXPECT_FALSE(w.isWindowModified());

    w.runCommand(cmd::kMappingMode);
    SkinView& view = pane->view();
    view.setZoom(8.0f);
    view.setPan(16.0f, 16.0f);
    pane->redraw(kRedrawFull);
    const Mesh& mesh = w.app().mesh;

    // Left drag of the shared corner (20, 4) to (24, 10): both Triangles follow.
    const QPoint from = clientOf(view, {20, 4});
    const QPoint to = clientOf(view, {24, 10});
    QTest::mousePress(pane, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(pane, to);
    EXPECT_EQ(mesh.triangles[1].flags, kTriDragMark);
    QTest::mouseRelease(pane, Qt::LeftButton, Qt::NoModifier, to);
    EXPECT_EQ(mesh.mappingVertCount, 4);
    EXPECT_EQ(mesh.mappingVerts[static_cast<std::size_t>(mesh.triangles[0].mapping[2])], (MappingVert{24, 10}));
    EXPECT_EQ(mesh.mappingVerts[static_cast<std::size_t>(mesh.triangles[1].mapping[1])], (MappingVert{24, 10}));
    EXPECT_TRUE(w.isWindowModified());

    // Shift+click selects the Triangle under the pointer; a right drag of 16
    // view pixels moves its corners two skin pixels, with the pointer hidden.
    QTest::mouseClick(pane, Qt::LeftButton, Qt::ShiftModifier, clientOf(view, {8, 16}));
    EXPECT_EQ(mesh.triangles[0].flags, 0u);
    EXPECT_EQ(mesh.triangles[1].flags, kTriSelected);
    const QPoint press = clientOf(view, {12, 12});
    QTest::mousePress(pane, Qt::RightButton, Qt::NoModifier, press);
    EXPECT_TRUE(pane->pointer().hidden());
    QTest::mouseMove(pane, press + QPoint(16, 0));
    QTest::mouseRelease(pane, Qt::RightButton, Qt::NoModifier, press + QPoint(16, 0));
    EXPECT_FALSE(pane->pointer().hidden());
    EXPECT_EQ(mesh.mappingVerts[static_cast<std::size_t>(mesh.triangles[1].mapping[2])], (MappingVert{6, 4}));
    EXPECT_EQ(mesh.mappingVerts[static_cast<std::size_t>(mesh.triangles[0].mapping[2])], (MappingVert{26, 10}));
    // Undo takes back the move alone.
    w.runCommand(cmd::kUndo);
    EXPECT_EQ(mesh.mappingVerts[static_cast<std::size_t>(mesh.triangles[0].mapping[2])], (MappingVert{24, 10}));

    // Revert returns to the stored mapping and the title loses its mark.
    w.runCommand(cmd::kMappingRevert);
    EXPECT_EQ(mesh.mappingVerts[static_cast<std::size_t>(mesh.triangles[1].mapping[2])], (MappingVert{4, 4}));
    EXPECT_FALSE(w.isWindowModified());
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(ui.shown.empty());
}

// Slow right drags move as far as fast ones: what each event holds short of a
// skin pixel is kept for the next. The arrow keys nudge the selection by a
// texel, ten with Shift, each nudge one step of the history.
TEST_F(MappingMode, SlowDragsAddUpAndArrowKeysNudgeTheSelection) {
    w.runCommand(cmd::kMappingMode);
    SkinView& view = pane->view();
    view.setZoom(3.0f);
    view.setPan(16.0f, 16.0f);
    pane->redraw(kRedrawFull);
    const Mesh& mesh = w.app().mesh;
    const auto corner = [&mesh] { return mesh.mappingVerts[static_cast<std::size_t>(mesh.triangles[1].mapping[2])]; };
    w.runCommand(cmd::kSelectAll);

    // Nine moves of 2 view pixels right and 1 down at zoom 3: 18 / 3 and 9 / 3.
    const QPoint press = clientOf(view, {12, 12});
    QTest::mousePress(pane, Qt::RightButton, Qt::NoModifier, press);
    QPoint anchor = press;
    for (int i = 0; i < 9; ++i) {
        QTest::mouseMove(pane, anchor + QPoint(2, 1));
        // Where the platform refuses to put the pointer back, it stays where it went.
        anchor = QCursor::pos() == pane->mapToGlobal(press) ? press : anchor + QPoint(2, 1);
    }
    QTest::mouseRelease(pane, Qt::RightButton, Qt::NoModifier, anchor);
    EXPECT_EQ(corner(), (MappingVert{10, 7}));

    // The press gave the pane the keys.
    ASSERT_TRUE(pane->hasFocus());
    const std::size_t steps = w.app().history.stepCount();
    QTest::keyClick(pane, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(corner(), (MappingVert{0, 7}));
    QTest::keyClick(pane, Qt::Key_Left);  // at the border: nothing moves, no step
    QTest::keyClick(pane, Qt::Key_Down);
    EXPECT_EQ(corner(), (MappingVert{0, 8}));
    EXPECT_EQ(w.app().history.stepCount(), steps + 2);
    w.runCommand(cmd::kUndo);
    EXPECT_EQ(corner(), (MappingVert{0, 7}));

    // In Paint Mode the arrows leave the mapping alone.
    w.runCommand(cmd::kPaintMode);
    QTest::keyClick(pane, Qt::Key_Right);
    EXPECT_EQ(corner(), (MappingVert{0, 7}));
    w.runCommand(cmd::kMappingRevert);
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(ui.shown.empty());
}

}  // namespace
}  // namespace tarn
