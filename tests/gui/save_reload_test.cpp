// The whole round a user makes: open a real model, paint its skin in the skin
// pane, save skin and model, start again and find exactly the edits.
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/command_ids.h"
#include "platform/fs.h"
#include "real_session.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

using test::Session;

TEST(SaveReload, PaintedSkinAndSavedModelReopenWithExactlyTheEdits) {
    test::TempDir tmp;
    const std::string model = test::copyRealPlayer(tmp);
    if (model.empty()) GTEST_SKIP() << "real test data not present";
    const std::string base = tmp.file("baseq2");

    std::vector<std::uint8_t> painted;
    Mesh before;
    {
        Session s;
        ASSERT_TRUE(s.start(base, model));
        ASSERT_EQ(s.app().skins.count(), 1);
        Skin& skin = *s.app().skins.current();
        const std::vector<std::uint8_t> original = skin.pixels;

        // A pencil stroke across the middle of the skin pane.
        SkinViewWidget* pane = s.window->shell()->skinView();
        const int y = pane->height() / 2;
        QTest::mousePress(pane, Qt::LeftButton, Qt::NoModifier, QPoint(pane->width() / 4, y));
        QTest::mouseMove(pane, QPoint(pane->width() * 3 / 4, y));
        QTest::mouseRelease(pane, Qt::LeftButton, Qt::NoModifier, QPoint(pane->width() * 3 / 4, y));
        ASSERT_NE(skin.pixels, original) << "the stroke painted nothing";
        EXPECT_NE(skin.pixels, skin.backup);
        painted = skin.pixels;

        s.window->runCommand(cmd::kSkinSave);
        EXPECT_EQ(skin.pixels, skin.backup);
        // The model is written from memory: with the file gone, only the save
        // can bring it back for the second session.
        fs::remove(model);
        s.window->runCommand(cmd::kSave);
        ASSERT_TRUE(fs::exists(model));
        EXPECT_TRUE(s.ui.messages().empty()) << s.ui.messages().front();
        before = s.app().mesh;
        EXPECT_TRUE(s.window->close());
    }

    Session again;
    ASSERT_TRUE(again.start(base, model));
    ASSERT_EQ(again.app().skins.count(), 1);
    EXPECT_EQ(again.app().skins.current()->pixels, painted);
    const Mesh& after = again.app().mesh;
    EXPECT_EQ(after.triangleCount, before.triangleCount);
    EXPECT_EQ(after.mappingVertCount, before.mappingVertCount);
    ASSERT_EQ(after.frames.size(), before.frames.size());
    for (std::size_t f = 0; f < after.frames.size(); ++f) {
        EXPECT_EQ(after.frames[f].name, before.frames[f].name);
        ASSERT_EQ(after.frames[f].positions.size(), before.frames[f].positions.size());
        for (std::size_t v = 0; v < after.frames[f].positions.size(); ++v) {
            EXPECT_EQ(after.frames[f].positions[v].x, before.frames[f].positions[v].x);
            EXPECT_EQ(after.frames[f].positions[v].z, before.frames[f].positions[v].z);
        }
    }
    for (int t = 0; t < after.triangleCount; ++t) {
        EXPECT_EQ(after.triangles[t].vertex, before.triangles[t].vertex);
        EXPECT_EQ(after.triangles[t].mapping, before.triangles[t].mapping);
    }
    EXPECT_TRUE(again.window->close());
}

}  // namespace
}  // namespace tarn
