// Undo and Redo as a user reaches them: strokes in the skin pane, the Edit
// menu's texts, every key of both commands, and the unsaved mark.
#include <QTest>
#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "app/preferences.h"
#include "real_session.h"

namespace tarn {
namespace {

TEST(UndoRedo, ThreeStrokesUndoneAndRedoneGiveBackEachSkinExactly) {
    test::TempDir tmp;
    const std::string model = test::copyRealPlayer(tmp);
    if (model.empty()) GTEST_SKIP() << "real test data not present";
    test::Session s;
    ASSERT_TRUE(s.start(tmp.file("baseq2"), model));
    MainWindow& w = *s.window;
    Skin& skin = *s.app().skins.current();
    QAction* undo = w.action(cmd::kUndo);
    QAction* redo = w.action(cmd::kRedo);
    EXPECT_FALSE(undo->isEnabled());

    SkinViewWidget* pane = w.shell()->skinView();
    std::vector<std::vector<std::uint8_t>> states{skin.pixels};
    for (int i = 1; i <= 3; ++i) {
        const int y = pane->height() * i / 5;
        QTest::mousePress(pane, Qt::LeftButton, Qt::NoModifier, QPoint(pane->width() / 4, y));
        QTest::mouseMove(pane, QPoint(pane->width() * 3 / 4, y + 20));
        QTest::mouseRelease(pane, Qt::LeftButton, Qt::NoModifier, QPoint(pane->width() * 3 / 4, y + 20));
        ASSERT_NE(skin.pixels, states.back()) << "stroke " << i << " painted nothing";
        states.push_back(skin.pixels);
    }
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), "&Undo Pencil stroke");
    EXPECT_TRUE(w.isWindowModified());

    // Every key of each command, in turn: today's first, then the classic ones.
    const std::pair<Qt::Key, Qt::KeyboardModifiers> undoKeys[] = {{Qt::Key_Z, Qt::ControlModifier},
                                                                  {Qt::Key_Backspace, Qt::AltModifier},
                                                                  {Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier}};
    const std::pair<Qt::Key, Qt::KeyboardModifiers> redoKeys[] = {
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier},
        {Qt::Key_Y, Qt::ControlModifier},
        {Qt::Key_Backspace, Qt::ShiftModifier | Qt::AltModifier}};
    for (int i = 2; i >= 0; --i) {
        QTest::keyClick(&w, undoKeys[i].first, undoKeys[i].second);
        ASSERT_EQ(skin.pixels, states[static_cast<std::size_t>(i)]) << "undo to " << i;
    }
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(redo->text(), "&Redo Pencil stroke");
    EXPECT_FALSE(w.isWindowModified()) << "back at the stored state, the mark goes";
    for (int i = 1; i <= 3; ++i) {
        QTest::keyClick(&w, redoKeys[i - 1].first, redoKeys[i - 1].second);
        ASSERT_EQ(skin.pixels, states[static_cast<std::size_t>(i)]) << "redo to " << i;
    }

    // A save is no step: Undo after it takes the last stroke back and marks
    // the skin unsaved; Redo returns to the saved state and clears the mark.
    w.runCommand(cmd::kSkinSave);
    EXPECT_FALSE(w.isWindowModified());
    EXPECT_EQ(undo->text(), "&Undo Pencil stroke");
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(skin.pixels, states[2]);
    EXPECT_TRUE(w.isWindowModified());
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(skin.pixels, states[3]);
    EXPECT_FALSE(w.isWindowModified());

    // Store is a step; Revert (Ctrl+Shift+R, Ctrl+Z with the classic keys)
    // is a step of its own.
    QTest::keyClick(&w, Qt::Key_Backspace, Qt::AltModifier);
    QTest::keyClick(&w, Qt::Key_Z, Qt::ShiftModifier);
    EXPECT_FALSE(w.isWindowModified());
    EXPECT_EQ(undo->text(), "&Undo Store skin");
    QTest::keyClick(&w, Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_TRUE(w.isWindowModified());
    PreferencesValues classic;
    classic.skipIntro = classic.quickExit = classic.classicKeys = true;
    s.ui.custom("preferences", classic);
    w.runCommand(cmd::kPreferences);
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(skin.pixels, states[3]) << "reverted to the saved state";
    QTest::keyClick(&w, Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(skin.pixels, states[2]);

    // Loading a model starts a fresh history.
    ASSERT_TRUE(s.app().loadMesh(model));
    w.refreshAll();
    EXPECT_FALSE(s.app().history.canUndo());
    EXPECT_TRUE(w.close());
}

}  // namespace
}  // namespace tarn
