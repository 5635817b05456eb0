// A skin another editor rewrites while the window shows it: written anew and
// renamed over, as most editors save, through the window's real file watcher.
#include <QFileInfo>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/command_ids.h"
#include "app/live_reload.h"
#include "image/image_codec.h"
#include "outside_edit_watch.h"
#include "platform/fs.h"
#include "real_session.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

using test::Session;

constexpr int kWaitMs = 3000;

// Another program's save: the whole file written beside, then renamed over.
void saveFromOutside(const Skin& skin, const std::vector<std::uint8_t>& pixels) {
    const std::string beside = skin.filePath + ".new";
    ASSERT_EQ(writeFileAtomic(beside, encodePcx(skin.width, skin.height, pixels.data(), skin.palette)), 0);
    fs::rename(beside, skin.filePath);
}

std::vector<std::uint8_t> turned(std::vector<std::uint8_t> pixels, int by) {
    for (auto& p : pixels) p = static_cast<std::uint8_t>(p + by);
    return pixels;
}

bool asked(const test::ScriptedUi& ui) {
    return std::any_of(ui.shown.begin(), ui.shown.end(),
                       [](const std::string& s) { return s.find(kAskTakeOutsideFile) != std::string::npos; });
}

void paintStroke(Session& s) {
    SkinViewWidget* pane = s.window->shell()->skinView();
    const int y = pane->height() / 2;
    QTest::mousePress(pane, Qt::LeftButton, Qt::NoModifier, QPoint(pane->width() / 4, y));
    QTest::mouseMove(pane, QPoint(pane->width() * 3 / 4, y));
    QTest::mouseRelease(pane, Qt::LeftButton, Qt::NoModifier, QPoint(pane->width() * 3 / 4, y));
}

// The male player open in the window, on copies of its files.
class OutsideEdit : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string model = test::copyRealPlayer(tmp);
        if (model.empty()) GTEST_SKIP() << "real test data not present";
        ASSERT_TRUE(s.start(tmp.file("baseq2"), model));
        started_ = true;
    }
    test::TempDir tmp;
    Session s;
    bool started_ = false;
};

TEST_F(OutsideEdit, SkinRenamedOverReloadsQuietlyAsOneStepAndOwnSavesAndRemovalsDoNot) {
    if (!started_) return;
    Skin& skin = *s.app().skins.current();
    const std::vector<std::uint8_t> original = skin.pixels;
    ASSERT_EQ(s.window->outsideEdits()->watched().size(), 1);

    const std::vector<std::uint8_t> outside = turned(original, 1);
    saveFromOutside(skin, outside);
    ASSERT_TRUE(QTest::qWaitFor([&] { return skin.pixels == outside; }, kWaitMs));
    EXPECT_EQ(skin.backup, outside) << "the file's content is what TARN stores";
    EXPECT_FALSE(skin.modified());
    EXPECT_EQ(s.app().history.undoName(), kStepReloadSkin);
    EXPECT_TRUE(s.ui.shown.empty()) << s.ui.shown.front();

    // The renamed file is watched in place of the one it replaced.
    const std::vector<std::uint8_t> again = turned(original, 2);
    saveFromOutside(skin, again);
    ASSERT_TRUE(QTest::qWaitFor([&] { return skin.pixels == again; }, kWaitMs));

    // TARN's own save reaches the watcher too, and is no reload.
    paintStroke(s);
    const std::size_t steps = s.app().history.stepCount();
    const std::string lastStep = s.app().history.undoName();
    s.window->runCommand(cmd::kSkinSave);
    const std::vector<std::uint8_t> saved = skin.pixels;
    QTest::qWait(600);
    EXPECT_EQ(skin.pixels, saved);
    EXPECT_EQ(s.app().history.undoName(), lastStep);
    EXPECT_EQ(s.app().history.stepCount(), steps);

    // A file that disappears leaves the skin as it is.
    fs::remove(skin.filePath);
    QTest::qWait(600);
    EXPECT_EQ(skin.pixels, saved);
    EXPECT_EQ(s.app().history.undoName(), lastStep);
    EXPECT_TRUE(s.ui.shown.empty()) << s.ui.shown.front();

    // Written again well after the watch on the file itself gave up: the
    // folder's watch still sees it come back.
    QTest::qWait(1500);
    const std::vector<std::uint8_t> back = turned(original, 5);
    saveFromOutside(skin, back);
    ASSERT_TRUE(QTest::qWaitFor([&] { return skin.pixels == back; }, kWaitMs));
    EXPECT_TRUE(s.window->close());
}

TEST_F(OutsideEdit, UnsavedChangesAskAndTakingTheFileUndoesBackToThem) {
    if (!started_) return;
    Skin& skin = *s.app().skins.current();
    const std::vector<std::uint8_t> original = skin.pixels;
    paintStroke(s);
    const std::vector<std::uint8_t> painted = skin.pixels;
    ASSERT_NE(painted, original);

    // Keep TARN's: nothing changes, and the one write asks once.
    s.ui.answer(Answer::No);
    saveFromOutside(skin, turned(original, 3));
    ASSERT_TRUE(QTest::qWaitFor([&] { return asked(s.ui); }, kWaitMs));
    QTest::qWait(400);
    EXPECT_EQ(skin.pixels, painted);
    EXPECT_EQ(std::count_if(s.ui.shown.begin(), s.ui.shown.end(),
                            [](const std::string& t) { return t.find(kAskTakeOutsideFile) != std::string::npos; }),
              1);

    // Take the file's: one step, and Undo brings the painting back.
    s.ui.shown.clear();
    s.ui.answer(Answer::Yes);
    const std::vector<std::uint8_t> outside = turned(original, 4);
    saveFromOutside(skin, outside);
    ASSERT_TRUE(QTest::qWaitFor([&] { return skin.pixels == outside; }, kWaitMs));
    EXPECT_TRUE(asked(s.ui));
    EXPECT_EQ(s.app().history.undoName(), kStepReloadSkin);
    s.window->runCommand(cmd::kUndo);
    EXPECT_EQ(skin.pixels, painted);
    EXPECT_TRUE(skin.modified());
    EXPECT_TRUE(s.ui.allConsumed());
    s.ui.answer(Answer::Yes);  // lose the painting on close
    s.window->close();
}

// A skin shown by a command that changes no list is watched from then on.
TEST_F(OutsideEdit, ACompanionSkinLoadedByHandIsWatchedAtOnce) {
    if (!started_) return;
    const std::string other = tmp.file("baseq2/players/male/other.pcx");
    fs::copy_file(s.app().skins.current()->filePath, other);
    s.ui.openFile(tmp.file("baseq2/players/male/tris.md2"));
    s.window->runCommand(cmd::kCompanionOpen);
    s.ui.openFile(other);
    s.window->runCommand(cmd::kCompanionLoadSkin);
    EXPECT_TRUE(s.window->outsideEdits()->watched().contains(QFileInfo(QString::fromStdString(other)).absoluteFilePath()));
    EXPECT_TRUE(s.ui.allConsumed());
    s.window->close();
}

}  // namespace
}  // namespace tarn
