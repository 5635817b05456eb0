// LoadSkinImage on real paths: the names it keeps, the case fallback, and
// silence on files it cannot open.
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

}  // namespace
}  // namespace tarn::test
