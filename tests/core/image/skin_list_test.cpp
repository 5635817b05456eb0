// Open, Close/Delete, the moves and their ordering, Unlink, Revert and Store,
// the Skins list choice, and the base and scan folders.
#include "image/skin_list.h"

#include "skin_fixture.h"

namespace tarn::test {
namespace {

using Strings = std::vector<std::string>;

class SkinListCommands : public SkinFixture {};

std::vector<std::string> names(const SkinList& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.count(); ++i) out.push_back(list.at(i)->name);
    return out;
}

TEST_F(SkinListCommands, OpenAppendsAnExternalSkinOfTheMeshSizeAndMakesItCurrent) {
    addSkin("linked.pcx", false, 1);
    const std::string good = writeImage(dir.file("good.bmp"), kW, kH, 5, true);
    const std::string wrong = writeImage(dir.file("wrong.pcx"), kW + 1, kH, 5);
    const std::string text = dir.file("text.pcx");
    ASSERT_EQ(writeFileAtomic(text, Bytes{'x', 'y', 'z'}), 0);

    ui.openFile(wrong, 1).openFile(text, 1).openFile(std::nullopt);
    openSkin(ctx);
    openSkin(ctx);
    openSkin(ctx);
    EXPECT_EQ(ui.messages(), (Strings{kMsgWrongDimensions, std::string(kMsgNotValidSkin) + "\n" + text}));
    EXPECT_EQ(skins.count(), 1);
    EXPECT_TRUE(calls().empty());
    EXPECT_TRUE(ui.fileRequests[0].mustExist);
    EXPECT_EQ(ui.fileRequests[0].initialName, "*.pcx");

    // Without an extension, the Bitmap filter adds ".bmp".
    ui.openFile(dir.file("good"), 2);
    openSkin(ctx);
    ASSERT_EQ(skins.count(), 2);
    EXPECT_EQ(skins.currentIndex(), 1);
    const Skin& opened = *skins.current();
    EXPECT_TRUE(opened.external);
    EXPECT_EQ(opened.name, good);
    EXPECT_EQ(opened.name, opened.filePath);
    EXPECT_EQ(calls(), (Strings{"refreshAll", "paintRemap", "shadeRamps"}));
    EXPECT_EQ(folders.load, dir.path());
    EXPECT_EQ(settings.getString(kProject, "LoadDir", ""), dir.path());
}

TEST_F(SkinListCommands, CloseKeepsTheIndexOrFallsBackToTheLast) {
    addSkin("a", false, 1);
    addSkin("b", false, 2);
    addSkin("c", false, 3);
    skins.makeCurrent(1);
    closeSkin(ctx);
    EXPECT_EQ(names(skins), (Strings{"a", "c"}));
    EXPECT_EQ(skins.currentIndex(), 1);
    EXPECT_EQ(calls(), (Strings{"refreshAll", "paintRemap", "shadeRamps"}));

    closeSkin(ctx);  // the last one: the new last becomes current
    EXPECT_EQ(skins.currentIndex(), 0);
    closeSkin(ctx);
    EXPECT_EQ(skins.currentIndex(), -1);
    EXPECT_EQ(skins.current(), nullptr);
    calls();
    closeSkin(ctx);  // nothing left: nothing happens
    EXPECT_TRUE(calls().empty());
}

TEST_F(SkinListCommands, MovesSwapWithinTheListAndTheRefreshPutsLinkedFirst) {
    addSkin("L1", false, 1);
    addSkin("L2", false, 2);
    addSkin("E1", true, 3);
    addSkin("E2", true, 4);
    skins.makeCurrent(2);
    moveSkinUp(ctx);  // E1 above L2
    EXPECT_EQ(names(skins), (Strings{"L1", "E1", "L2", "E2"}));
    EXPECT_EQ(skins.currentIndex(), 1);
    EXPECT_EQ(calls(), (Strings{"refreshAll", "paintRemap"}));

    // The next refill puts it back behind the linked Skins; it stays current.
    auto entries = refillSkinEntries(skins);
    EXPECT_EQ(names(skins), (Strings{"L1", "L2", "E1", "E2"}));
    EXPECT_EQ(skins.currentIndex(), 2);
    EXPECT_EQ(entries[2].image, 1);
    EXPECT_EQ(entries[0].image, 0);

    skins.makeCurrent(3);
    moveSkinDown(ctx);  // already last
    skins.makeCurrent(0);
    moveSkinUp(ctx);  // already first
    EXPECT_TRUE(calls().empty());
    moveSkinDown(ctx);
    EXPECT_EQ(names(skins), (Strings{"L2", "L1", "E1", "E2"}));
    EXPECT_EQ(skins.currentIndex(), 1);
}

TEST_F(SkinListCommands, OrderSkinsFollowsItsSwapRule) {
    // E1 E2 L1 L2 E3: the first linked Skin after each misplaced external one.
    addSkin("E1", true, 1);
    addSkin("E2", true, 2);
    addSkin("L1", false, 3);
    addSkin("L2", false, 4);
    addSkin("E3", true, 5);
    skins.makeCurrent(3);
    OrderSkins(skins);
    EXPECT_EQ(names(skins), (Strings{"L1", "L2", "E1", "E2", "E3"}));
    EXPECT_EQ(skins.at(skins.currentIndex())->name, "L2");
}

TEST_F(SkinListCommands, RefillShowsForwardSlashesAndKeepsNativeNames) {
    addSkin("models\\a\\skin.pcx", false, 1);
    auto entries = refillSkinEntries(skins);
    EXPECT_EQ(entries[0].text, "models/a/skin.pcx");
    EXPECT_EQ(skins.at(0)->name, toNative("models/a/skin.pcx"));
}

TEST_F(SkinListCommands, UnlinkRevertStoreAndChoosing) {
    Skin& s = addSkin("models\\s.pcx", false, 3);
    s.hasFile = true;
    unlinkSkin(ctx);
    EXPECT_TRUE(s.external);
    EXPECT_EQ(s.name, s.filePath);
    EXPECT_EQ(calls(), Strings{"refreshAll"});
    unlinkSkin(ctx);  // already external
    EXPECT_TRUE(calls().empty());

    const auto painted = s.pixels;
    revertSkin(ctx);
    EXPECT_NE(s.pixels, painted);
    EXPECT_EQ(calls(), Strings{"refresh 0 43"});
    s.pixels = painted;
    storeSkin(ctx);
    EXPECT_EQ(s.backup, painted);
    EXPECT_TRUE(calls().empty());

    addSkin("t", false, 4);
    selectSkin(ctx, 1);
    EXPECT_EQ(skins.currentIndex(), 1);
    EXPECT_EQ(calls(), (Strings{"paintRemap", "shadeRamps", "refresh 0 43"}));
}

TEST_F(SkinListCommands, BaseFolderIsStoredForTheNextStartOnlyAndACancelSaysNothing) {
    ui.folder(std::nullopt).folder(dir.file("nope")).folder(dir.path());
    chooseBaseFolder(ctx);
    chooseBaseFolder(ctx);
    chooseBaseFolder(ctx);
    EXPECT_EQ(ui.shown, (Strings{std::string("folder: ") + kBaseFolderTitle,
                                 std::string("folder: ") + kBaseFolderTitle,
                                 std::string("message: ") + kMsgFolderNotValid,
                                 std::string("folder: ") + kBaseFolderTitle,
                                 std::string("message: ") + kMsgRestartForBase}));
    EXPECT_EQ(settings.getString(kProject, "BaseDir", ""), dir.path());
    EXPECT_EQ(folders.base, base);
}

TEST_F(SkinListCommands, ScanAddsMatchingPcxThenBmpAsExternalSkins) {
    const std::string scan = dir.file("scan");
    std::filesystem::create_directories(scan);
    writeImage(joinPath(scan, "other.pcx"), kW, kH + 1, 1);
    ui.folder(scan);
    scanSkinFolder(ctx);
    EXPECT_EQ(ui.messages(), Strings{kMsgNoMatchingSkins});
    EXPECT_EQ(calls(), Strings{"refreshAll"});  // the PCX pass matched a file
    EXPECT_EQ(skins.count(), 0);

    addSkin("current", false, 9);
    writeImage(joinPath(scan, "A.BMP"), kW, kH, 2, true);
    writeImage(joinPath(scan, "b.PCX"), kW, kH, 3);
    ui.folder(scan);
    scanSkinFolder(ctx);
    EXPECT_EQ(names(skins), (Strings{"current", joinPath(scan, "b.PCX"), joinPath(scan, "A.BMP")}));
    EXPECT_TRUE(skins.at(1)->external);
    EXPECT_EQ(skins.currentIndex(), 0);
    EXPECT_EQ(calls(), (Strings{"refreshAll", "refreshAll"}));
    EXPECT_EQ(ui.messages().size(), 1u);

    ui.folder(dir.file("no-such"));
    scanSkinFolder(ctx);
    EXPECT_EQ(ui.messages().back(), kMsgFolderNotValid);
}

}  // namespace
}  // namespace tarn::test
