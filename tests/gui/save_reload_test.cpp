// The whole round a user makes: open a real model, paint its skin or drag its
// mapping in the skin pane, save, start again and find exactly the edits.
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/command_ids.h"
#include "edit/mapping_geometry.h"
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

// A vert dragged in the skin pane, the close offering to save the changed
// mapping, and the next start finding the corners where they were dropped.
TEST(SaveReload, DraggedMappingIsSavedOnTheWayOutAndReopensMoved) {
    test::TempDir tmp;
    const std::string model = test::copyRealPlayer(tmp);
    if (model.empty()) GTEST_SKIP() << "real test data not present";
    const std::string base = tmp.file("baseq2");

    std::vector<std::pair<int, int>> users;  // Triangle, corner
    MappingVert moved;
    {
        Session s;
        ASSERT_TRUE(s.start(base, model));
        s.window->runCommand(cmd::kMappingMode);
        SkinViewWidget* pane = s.window->shell()->skinView();
        SkinView& view = pane->view();
        const Mesh& mesh = s.app().mesh;
        const MappingVert picked = mesh.mappingVerts[0];
        view.setPan(picked.s, picked.t);
        pane->redraw(kRedrawFull);
        const ScreenPoint centre = screenOf(view, picked);
        const QPoint from(static_cast<int>(centre.x), static_cast<int>(centre.y));
        ASSERT_EQ(pickMappingVert(view, mesh, from.x(), from.y()), 0);
        for (int t = 0; t < mesh.triangleCount; ++t)
            for (std::size_t k = 0; k < 3; ++k)
                if (mesh.triangles[static_cast<std::size_t>(t)].mapping[k] == 0) users.emplace_back(t, k);
        const QPoint to = from + QPoint(-25, 14);
        moved = {static_cast<std::int16_t>(std::clamp(view.skinXAt(to.x()), 0, mesh.skinWidth - 1)),
                 static_cast<std::int16_t>(std::clamp(view.skinYAt(to.y()), 0, mesh.skinHeight - 1))};
        ASSERT_NE(moved, picked);
        QTest::mousePress(pane, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(pane, to);
        QTest::mouseRelease(pane, Qt::LeftButton, Qt::NoModifier, to);
        EXPECT_TRUE(s.window->isWindowModified());

        s.ui.answer(Answer::Cancel);
        EXPECT_FALSE(s.window->close());
        s.ui.answer(Answer::Yes);
        EXPECT_TRUE(s.window->close());
        EXPECT_EQ(s.ui.shown.back(), std::string("question: ") + kAskSaveMesh);
    }
    Session again;
    ASSERT_TRUE(again.start(base, model));
    const Mesh& mesh = again.app().mesh;
    ASSERT_FALSE(users.empty());
    for (auto [t, k] : users)
        EXPECT_EQ(mesh.mappingVerts[static_cast<std::size_t>(mesh.triangles[static_cast<std::size_t>(t)].mapping[static_cast<std::size_t>(k)])], moved);
    EXPECT_FALSE(again.window->isWindowModified());
    EXPECT_TRUE(again.window->close());
}

}  // namespace
}  // namespace tarn
