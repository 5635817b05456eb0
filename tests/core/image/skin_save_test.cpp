// Save, Save As and Link: where the Skin goes, what it is called afterwards,
// and that a failed write leaves it as it was.
#include <sys/stat.h>

#include <filesystem>

#include "skin_fixture.h"

namespace tarn::test {
namespace {

using Strings = std::vector<std::string>;

class SkinSave : public SkinFixture {};

TEST_F(SkinSave, SaveAsBelowBaseNamesTheSkinRelativeToIt) {
    Skin& skin = addSkin("old.pcx", false, 7);
    const std::string target = joinPath(base, toNative("models/m/skin.pcx"));
    std::filesystem::create_directories(folderOf(target));
    ui.saveFile(target, 1);

    EXPECT_TRUE(saveSkinAs(ctx));
    EXPECT_EQ(ui.shown, Strings{std::string("save: ") + kSkinFilter});
    EXPECT_EQ(ui.fileRequests[0].initialName, "old.pcx");
    EXPECT_EQ(ui.fileRequests[0].startFolder, base);
    EXPECT_EQ(skin.name, toNative("models/m/skin.pcx"));
    EXPECT_EQ(skin.filePath, target);
    EXPECT_TRUE(skin.hasFile);
    EXPECT_EQ(skin.backup, skin.pixels);
    EXPECT_EQ(skin.fileType, SkinFileType::Pcx);
    EXPECT_EQ(calls(), Strings{"refillLists"});
    EXPECT_EQ(settings.getString(kProject, "SaveDir", ""), folderOf(target));
    DecodedImage d = readBack(target);
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.image.pixels, skin.pixels);

    // A typed "lnk/.." climbs from where the link leads, and the name follows.
    std::filesystem::create_symlink(folderOf(target), joinPath(base, "lnk"));
    ui.saveFile(joinPath(base, toNative("lnk/../other.pcx")), 1);
    EXPECT_TRUE(saveSkinAs(ctx));
    EXPECT_EQ(skin.name, toNative("models/other.pcx"));
    EXPECT_TRUE(readBack(joinPath(base, toNative("models/other.pcx"))).ok());
}

TEST_F(SkinSave, SaveAsOutsideBaseAsksAndNoWritesNothing) {
    Skin& skin = addSkin("a.pcx", false, 7);
    // A sibling whose name merely begins with the base folder's is not below it.
    const std::string sibling = base + "x";
    std::filesystem::create_directories(sibling);
    const std::string target = joinPath(sibling, "a");
    ui.saveFile(target, 2).answer(Answer::No);
    EXPECT_FALSE(saveSkinAs(ctx));
    EXPECT_EQ(ui.shown.back(), std::string("question: ") + kBelowBaseQuestion);
    EXPECT_FALSE(isRegularFile(target + ".bmp"));
    EXPECT_EQ(skin.name, "a.pcx");
    EXPECT_TRUE(calls().empty());

    // Yes writes a BMP (second filter, extension added) and names it by full path.
    ui.saveFile(target, 2).answer(Answer::Yes);
    EXPECT_TRUE(saveSkinAs(ctx));
    EXPECT_EQ(skin.name, target + ".bmp");
    EXPECT_EQ(skin.fileType, SkinFileType::Bmp);
    EXPECT_EQ(readBack(target + ".bmp").image.type, SkinFileType::Bmp);
}

// The bytes always match the name: a typed .pcx, .bmp or .png wins over the
// filter; a name without one takes the filter's; All Files keeps the skin's
// own format. An external skin asks nothing.
TEST_F(SkinSave, SaveAsWritesTheFormatItsNameOrFilterNames) {
    struct Case {
        const char* typed;
        int filter;  // 1 PCX, 2 BMP, 3 PNG, 4 All Files
        const char* written;
        SkinFileType type;
    };
    const Case cases[] = {
        {"a", 1, "a.pcx", SkinFileType::Pcx},          {"b", 2, "b.bmp", SkinFileType::Bmp},
        {"c", 3, "c.png", SkinFileType::Png},          {"mine.png", 1, "mine.png", SkinFileType::Png},
        {"d.BMP", 3, "d.BMP", SkinFileType::Bmp},      {"out.img", 4, "out.img", SkinFileType::Bmp},
        {"e", 4, "e.bmp", SkinFileType::Bmp},
    };
    Skin& skin = addSkin("/elsewhere/e.bmp", true, 9);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        skin.fileType = SkinFileType::Bmp;
        ui.saveFile(dir.file(c.typed), c.filter);
        EXPECT_TRUE(saveSkinAs(ctx));
        EXPECT_EQ(skin.filePath, dir.file(c.written));
        const DecodedImage back = readBack(dir.file(c.written));
        EXPECT_EQ(back.image.type, c.type);
        EXPECT_EQ(back.image.palette, skin.palette);
        EXPECT_EQ(skin.fileType, c.type);
    }
    EXPECT_TRUE(ui.allConsumed());
}

// A missing folder, or a pipe where the file would go: the save fails, says
// why, and the pipe is still a pipe.
TEST_F(SkinSave, FailedSaveAsReportsFailureAndLeavesTheSkinUnsaved) {
    const std::string fifo = joinPath(base, "pipe.pcx");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const auto& [target, says] : {std::pair{joinPath(base, toNative("missing/folder/x.pcx")), std::string("Error Saving: ")},
                                       std::pair{fifo, "Error Saving: " + fifo + " is not a regular file"}}) {
        SCOPED_TRACE(target);
        Skin& skin = addSkin("temp.pcx", false, 7);
        const auto backup = skin.backup;
        ui.saveFile(target, 1);
        EXPECT_FALSE(saveSkinAs(ctx));
        const auto messages = ui.messages();
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages[0].rfind(says, 0), 0u) << messages[0];
        EXPECT_EQ(messages[1], kMsgSaveFailed);
        EXPECT_FALSE(skin.hasFile);
        EXPECT_EQ(skin.name, "temp.pcx");
        EXPECT_EQ(skin.backup, backup);
        EXPECT_TRUE(calls().empty());
        ui.shown.clear();
    }
    EXPECT_EQ(std::filesystem::status(fifo).type(), std::filesystem::file_type::fifo);
}

TEST_F(SkinSave, SaveWritesTheOwnFileOrFallsBackToSaveAs) {
    // A temporary skin from a load has no file: Save offers Save As.
    Skin& temp = addSkin("temp.pcx", false, 1);
    ui.saveFile(std::nullopt);
    EXPECT_FALSE(saveSkin(ctx));
    EXPECT_EQ(ui.shown, Strings{std::string("save: ") + kSkinFilter});

    temp.hasFile = true;
    temp.fileType = SkinFileType::Bmp;
    temp.filePath = dir.file("own.bmp");
    EXPECT_TRUE(saveSkin(ctx));
    EXPECT_EQ(temp.backup, temp.pixels);
    EXPECT_EQ(readBack(temp.filePath).image.type, SkinFileType::Bmp);
    EXPECT_TRUE(calls().empty());  // nothing is redrawn

    // Read from a TGA or JPEG, which TARN does not write: Save asks where.
    temp.fileType = SkinFileType::None;
    ui.saveFile(std::nullopt);
    EXPECT_FALSE(saveSkin(ctx));
    EXPECT_EQ(ui.shown.back(), std::string("save: ") + kSkinFilter);

    temp.fileType = SkinFileType::Pcx;
    temp.filePath = joinPath(dir.file("gone"), "own.pcx");
    EXPECT_FALSE(saveSkin(ctx));
    const auto m = ui.messages();
    EXPECT_EQ(m[m.size() - 2].rfind("Error Saving: ", 0), 0u);
    EXPECT_EQ(m.back(), kMsgSaveFailed);
}

TEST_F(SkinSave, LinkSavesAsPcxBelowBaseAndLinksTheSkin) {
    addSkin("l.pcx", false, 1);
    addSkin(dir.file("ext.bmp"), true, 2);
    skins.makeCurrent(0);
    EXPECT_FALSE(linkSkin(ctx));  // already linked: nothing happens
    EXPECT_TRUE(ui.shown.empty());

    skins.makeCurrent(1);
    Skin& ext = *skins.current();
    ui.saveFile(joinPath(base, toNative("models/ext")), 1);
    EXPECT_TRUE(linkSkin(ctx));
    EXPECT_EQ(ext.name, toNative("models/ext.pcx"));
    EXPECT_FALSE(ext.external);
    EXPECT_TRUE(ext.hasFile);
    EXPECT_EQ(ext.backup, ext.pixels);
    EXPECT_EQ(calls(), Strings{"refreshAll"});
    EXPECT_EQ(readBack(ext.filePath).image.type, SkinFileType::Pcx);
}

TEST_F(SkinSave, LinkOutsideBaseAsksAndAFailedLinkChangesNothing) {
    Skin& ext = addSkin(dir.file("ext.pcx"), true, 2);
    ui.saveFile(dir.file("outside.pcx"), 1).answer(Answer::No);
    EXPECT_FALSE(linkSkin(ctx));
    EXPECT_TRUE(ext.external);
    EXPECT_FALSE(isRegularFile(dir.file("outside.pcx")));

    ui.saveFile(joinPath(base, toNative("nowhere/x.pcx")), 1);
    EXPECT_FALSE(linkSkin(ctx));
    EXPECT_EQ(ui.messages().back(), kMsgSaveFailed);
    EXPECT_TRUE(ext.external);
    EXPECT_FALSE(ext.hasFile);
    EXPECT_EQ(ext.name, dir.file("ext.pcx"));
}

}  // namespace
}  // namespace tarn::test
