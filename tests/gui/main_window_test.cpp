#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "main_window.h"
#include "qt_settings.h"

namespace tarn {
namespace {

TEST(MainWindowSmoke, OpensWithTitleKeepsMinimumSizeAndCloses) {
    MainWindow w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.windowTitle(), "TARN");
    w.resize(100, 100);
    EXPECT_GE(w.width(), MainWindow::kMinWidth);
    EXPECT_GE(w.height(), MainWindow::kMinHeight);
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(w.isVisible());
}

TEST(QtSettingsStore, KeepsIntsAndStringsBySection) {
    QTemporaryDir dir;
    QString ini = dir.filePath("tarn.ini");
    {
        QtSettings s(ini);
        EXPECT_EQ(s.getInt("Preferences", "Splitter", 6500), 6500);
        EXPECT_EQ(s.getString("Project", "BaseDir", "Unknown"), "Unknown");
        s.setInt("Colors", "Color-0", 248);
        s.setString("Project", "BaseDir", "/q/baseq2");
        s.sync();
    }
    QtSettings again(ini);
    EXPECT_EQ(again.getInt("Colors", "Color-0", 0), 248);
    EXPECT_EQ(again.getString("Project", "BaseDir", "Unknown"), "/q/baseq2");
}

}  // namespace
}  // namespace tarn
