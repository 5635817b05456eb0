#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "image/image_codec.h"
#include "model/companion.h"
#include "companion_file.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

using test::companionFile;

TEST(LoadCompanion, ReadsFramesCornersAndFollowsTheMeshFrame) {
    test::ScriptedUi ui;
    auto c = LoadCompanion(companionFile(40), "/x/weapon.md2", "/nowhere", ui);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->frameCount, 40);
    EXPECT_EQ(c->name, "/x/weapon.md2");
    EXPECT_EQ(c->triangles[0].corner[1], (MappingVert{7, 0}));
    EXPECT_EQ(c->framePositions(39)[0].x, 39.0f);
    EXPECT_EQ(c->framePositions(39)[1].y, 10.0f);
    EXPECT_TRUE(c->shownAt(39));
    EXPECT_FALSE(c->shownAt(40));
    EXPECT_FALSE(c->shownAt(45));
    EXPECT_FALSE(c->hasSkin());
    c->hidden = true;
    EXPECT_FALSE(c->shownAt(0));

    c->giveCheckerboard();
    EXPECT_EQ(c->skinPixels[0], 64);
    EXPECT_EQ(c->skinPixels[4], 192);
    EXPECT_EQ(c->skinPixels[4 * 8], 192);
    EXPECT_EQ(c->skinPixels[4 * 8 + 4], 64);
    EXPECT_EQ(c->rowTable[3], 24);
    EXPECT_FALSE(c->takeSkin(std::vector<std::uint8_t>(9 * 8, 1), 9, 8));
    EXPECT_TRUE(c->takeSkin(std::vector<std::uint8_t>(8 * 8, 1), 8, 8));
    EXPECT_EQ(c->skinPixels[4], 1);
}

TEST(LoadCompanion, TakesTheNamedSkinOfTheRightSizeBelowTheBase) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.file("models/w"));
    std::vector<std::uint8_t> pixels(64, 5);
    Palette p{};
    const Bytes pcx = encodePcx(8, 8, pixels.data(), p);
    ASSERT_EQ(writeFileAtomic(dir.file("models/w/skin.pcx"), pcx), 0);
    test::ScriptedUi ui;
    auto fits = LoadCompanion(companionFile(1, "models/w/skin.pcx"), "w.md2", dir.path(), ui);
    ASSERT_TRUE(fits);
    EXPECT_TRUE(fits->hasSkin());
    auto other = LoadCompanion(companionFile(1, "models/w/skin.pcx", 16, 8), "w.md2", dir.path(), ui);
    ASSERT_TRUE(other);
    EXPECT_FALSE(other->hasSkin());
    EXPECT_TRUE(ui.messages().empty());
}

TEST(LoadCompanion, RefusesOtherFilesDamageAndOversizeWithAMessage) {
    test::ScriptedUi ui;
    EXPECT_FALSE(LoadCompanion(Bytes{'I', 'D', 'P'}, "a", "/", ui));
    Bytes notMd2 = companionFile(1);
    notMd2[3] = '3';
    EXPECT_FALSE(LoadCompanion(notMd2, "a", "/", ui));
    Bytes cut = companionFile(2);
    cut.erase(cut.end() - 5, cut.end());
    EXPECT_FALSE(LoadCompanion(cut, "a", "/", ui));
    Bytes badIndex = companionFile(1);
    const std::size_t triangleAt = 68 + 12;
    badIndex[triangleAt + 2] = 9;  // vertex 9 of 3
    EXPECT_FALSE(LoadCompanion(badIndex, "a", "/", ui));
    EXPECT_FALSE(LoadCompanion(companionFile(1, "", 8, 481), "a", "/", ui));
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{kMsgCompanionNotMd2, kMsgCompanionNotMd2,
                                        kMsgCompanionDamaged, kMsgCompanionDamaged,
                                        kMsgCompanionDamaged}));
}

TEST(LoadCompanion, RealModelsLoadAsCompanions) {
    const std::string path = test::realTestData("SOURCES.md");
    if (path.empty()) GTEST_SKIP();
    const std::string folder = folderOf(path);
    int loaded = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.path().extension() != ".md2") continue;
        const ReadResult file = readFile(entry.path().string());
        test::ScriptedUi ui;
        auto c = LoadCompanion(file.bytes, entry.path().string(), folder, ui);
        if (!c) continue;
        ++loaded;
        for (const auto& t : c->triangles)
            for (auto v : t.vertex) ASSERT_LT(v, c->vertexCount);
        c->computeFaceNormals(0);
    }
    EXPECT_GT(loaded, 0);
}

}  // namespace
}  // namespace tarn
