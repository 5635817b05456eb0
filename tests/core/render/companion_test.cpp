#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <filesystem>

#include "image/image_codec.h"
#include "model/companion.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

// A small MD2 image: `frames` frames of a 3-vertex, 1-triangle model, with an
// optional skin name.
Bytes companionFile(int frames, const std::string& skinName = "", int skinW = 8, int skinH = 8) {
    Bytes b(68, 0);
    auto put32 = [&](std::size_t at, std::int32_t v) {
        for (int i = 0; i < 4; ++i) b[at + std::size_t(i)] = std::uint8_t(std::uint32_t(v) >> (8 * i));
    };
    auto append16 = [&](std::int16_t v) {
        b.push_back(std::uint8_t(v & 0xFF));
        b.push_back(std::uint8_t((v >> 8) & 0xFF));
    };
    auto appendFloat = [&](float f) {
        const auto u = std::bit_cast<std::uint32_t>(f);
        for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(u >> (8 * i)));
    };
    std::memcpy(b.data(), "IDP2", 4);
    put32(4, 8);
    put32(8, skinW);
    put32(12, skinH);
    put32(16, 40 + 3 * 4);
    put32(20, skinName.empty() ? 0 : 1);
    put32(24, 3);
    put32(28, 3);
    put32(32, 1);
    put32(40, frames);
    put32(44, std::int32_t(b.size()));
    if (!skinName.empty()) {
        std::string rec = skinName;
        rec.resize(64, '\0');
        b.insert(b.end(), rec.begin(), rec.end());
    }
    put32(48, std::int32_t(b.size()));
    for (std::int16_t st : {0, 0, 7, 0, 7, 7}) append16(st);
    put32(52, std::int32_t(b.size()));
    for (std::int16_t v : {0, 1, 2, 0, 1, 2}) append16(v);
    put32(56, std::int32_t(b.size()));
    for (int f = 0; f < frames; ++f) {
        for (float v : {1.0f, 1.0f, 1.0f, float(f), 0.0f, 0.0f}) appendFloat(v);
        b.insert(b.end(), 16, 0);
        for (std::uint8_t v : {0, 0, 0, 0, 0, 10, 0, 0, 0, 10, 10, 0}) b.push_back(v);
    }
    put32(60, std::int32_t(b.size()));
    put32(64, std::int32_t(b.size()));
    return b;
}

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
    cut.resize(cut.size() - 5);
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
