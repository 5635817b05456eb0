// LoadSkinImage and the writers on real paths: names, case fallback, silence
// on unreadable files, and what the writers mark on the Skin.
#include "image/skin_io.h"

#include "skin_fixture.h"

namespace tarn::test {
namespace {

class SkinFiles : public SkinFixture {};

TEST_F(SkinFiles, LoadKeepsTheGivenNameAndFallsBackToAnyCase) {
    std::filesystem::create_directories(joinPath(base, toNative("Players/Marine")));
    const std::string actual = writeImage(joinPath(base, toNative("Players/Marine/Weapon.PCX")), kW, kH, 4);

    auto exact = LoadSkinImage(ui, actual);
    ASSERT_NE(exact, nullptr);
    EXPECT_EQ(exact->name, actual);
    EXPECT_EQ(exact->filePath, actual);
    EXPECT_EQ(exact->fileType, SkinFileType::Pcx);
    EXPECT_EQ(exact->rowTable[2], 2 * kW);

    const std::string lower = joinPath(base, toNative("players/marine/weapon.pcx"));
    auto folded = LoadSkinImage(ui, lower);
    ASSERT_NE(folded, nullptr);
    EXPECT_EQ(folded->name, lower);
    EXPECT_EQ(folded->filePath, actual);

    // A name from a model, with backslashes and another case, below the base.
    auto linked = LoadLinkedSkin(ui, base, "players\\MARINE\\weapon.pcx");
    ASSERT_NE(linked, nullptr);
    EXPECT_EQ(linked->name, "players\\MARINE\\weapon.pcx");
    EXPECT_EQ(linked->filePath, actual);
    EXPECT_FALSE(linked->external);

    // What cannot be opened is not reported here: the caller says what it means.
    EXPECT_EQ(LoadSkinImage(ui, joinPath(base, "missing.pcx")), nullptr);
    EXPECT_EQ(LoadSkinImage(ui, base), nullptr);
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(SkinFiles, WritersSetTheFileTypeOnlyWhenTheWriteSucceeds) {
    Skin& skin = addSkin("s", false, 200);
    EXPECT_TRUE(SaveBmp(ui, skin, dir.file("s.bmp")));
    EXPECT_EQ(skin.fileType, SkinFileType::Bmp);
    EXPECT_FALSE(SavePcx(ui, skin, dir.file("gone/s.pcx")));
    EXPECT_EQ(skin.fileType, SkinFileType::Bmp);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].rfind("Error Saving: ", 0), 0u);

    // A Skin whose buffer does not match its size is refused, not written.
    skin.pixels.pop_back();
    EXPECT_FALSE(SavePcx(ui, skin, dir.file("s.pcx")));
    EXPECT_FALSE(isRegularFile(dir.file("s.pcx")));

    // The existing file survives a refused save.
    const Bytes before = readFile(dir.file("s.bmp")).bytes;
    EXPECT_FALSE(SaveBmp(ui, skin, dir.file("s.bmp")));
    EXPECT_EQ(readFile(dir.file("s.bmp")).bytes, before);
}

}  // namespace
}  // namespace tarn::test
