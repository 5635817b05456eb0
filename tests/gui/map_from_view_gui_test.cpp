// Map from 3D View in the real window: a rectangle drawn in the skin pane in
// Rectangle mode, the dialog, and the selected Triangles laid into it.
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "main_window.h"
#include "qt_ui.h"
#include "scripted_ui.h"
#include "shell_widget.h"
#include "skin_view_widget.h"
#include "start_request.h"
#include "test_files.h"

namespace tarn {
namespace {

TEST(MapFromViewDialog, OpensAtItsDefaultsAndReturnsTheChoices) {
    QtUi ui;
    for (int round = 0; round < 2; ++round) {
        QTimer::singleShot(0, [] {
            QWidget* d = QApplication::activeModalWidget();
            ASSERT_NE(d, nullptr);
            EXPECT_EQ(d->windowTitle(), "Map from 3D View");
            auto* perspective = d->findChild<QRadioButton*>("1016");
            ASSERT_NE(perspective, nullptr);
            EXPECT_EQ(perspective->text(), "Perspective");
            EXPECT_TRUE(perspective->isChecked());
            for (const char* id : {"1018", "1019", "1020"}) EXPECT_FALSE(d->findChild<QCheckBox*>(id)->isChecked());
            d->findChild<QRadioButton*>("1017")->click();
            d->findChild<QCheckBox*>("1020")->click();
            d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        const auto chosen = ui.mapFromView(MapFromViewOptions{});
        ASSERT_TRUE(chosen.has_value());
        EXPECT_TRUE(chosen->parallel && chosen->mirror && !chosen->flip && !chosen->noBackfaces);
    }
}

TEST(MapFromViewWindow, SelectedTrianglesFillTheRectangleDrawnInTheSkinPane) {
    const std::string base = test::realTestData("q2-didux/baseq2");
    if (base.empty()) GTEST_SKIP() << "real test data not present";
    test::ScriptedUi ui;
    MemorySettings settings;
    settings.setInt(kPreferences, "Skip Intro", 1);
    settings.setInt(kPreferences, "Quick Exit", 1);
    MainWindow w(ui, settings);
    w.resize(1000, 700);
    w.show();
    StartupRequest request;
    request.baseFolder = base;
    request.commandLine = "tarn -md2 " + base + "/players/male/tris.md2";
    ASSERT_TRUE(w.start(request) && QTest::qWaitForWindowExposed(&w));
    Mesh& mesh = w.app().mesh;
    for (int t = 0; t < 40; ++t) mesh.triangles[std::size_t(t)].flags |= kTriSelected;
    const MappingVert untouched = mesh.mappingVerts[std::size_t(mesh.triangles[100].mapping[0])];

    // A rectangle dragged from lower right to upper left in the skin pane.
    w.runCommand(cmd::kRectangleMode);
    SkinViewWidget* pane = w.shell()->skinView();
    const QPoint from(pane->width() * 2 / 3, pane->height() * 2 / 3), to(pane->width() / 3, pane->height() / 3);
    QTest::mousePress(pane, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(pane, to);
    QTest::mouseRelease(pane, Qt::LeftButton, Qt::NoModifier, to);
    const MapRect rect = pane->view().mapRect;
    EXPECT_LT(rect.left + 10, rect.right);
    EXPECT_LT(rect.top + 10, rect.bottom);

    ui.custom("mapFromView", MapFromViewOptions{});
    w.runCommand(cmd::kMapFrom3dView);
    int minS = 1 << 20, maxS = -1, minT = 1 << 20, maxT = -1;
    for (int t = 0; t < 40; ++t) {
        for (std::int16_t m : mesh.triangles[std::size_t(t)].mapping) {
            const MappingVert v = mesh.mappingVerts[std::size_t(m)];
            minS = std::min<int>(minS, v.s), maxS = std::max<int>(maxS, v.s);
            minT = std::min<int>(minT, v.t), maxT = std::max<int>(maxT, v.t);
        }
    }
    EXPECT_EQ(minS, rect.left);
    EXPECT_GE(maxS, rect.right - 1);
    EXPECT_EQ(minT, rect.top);
    EXPECT_GE(maxT, rect.bottom - 1);
    EXPECT_LE(maxS, rect.right);
    EXPECT_LE(maxT, rect.bottom);
    EXPECT_EQ(mesh.mappingVerts[std::size_t(mesh.triangles[100].mapping[0])], untouched);
    EXPECT_EQ(w.app().history.undoName(), "Map from view");
    EXPECT_TRUE(w.isWindowModified());  // a changed mapping is unsaved work
    EXPECT_TRUE(ui.allConsumed());
}

}  // namespace
}  // namespace tarn
