#include "platform/dialogs.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/fs.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

const char* kSkinFilter = "Mesh Skin (*.pcx)|*.pcx|Bitmap (*.bmp)|*.bmp|All Files (*.*)|*.*||";

TEST(Filter, ParsesPairsAndConvertsForQt) {
    auto entries = parseFilter(kSkinFilter);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1].description, "Bitmap (*.bmp)");
    EXPECT_EQ(entries[1].pattern, "*.bmp");

    auto qt = toQtNameFilters("Images|*.pcx;*.bmp|All Files (*.*)|*.*||");
    ASSERT_EQ(qt.size(), 2u);
    EXPECT_EQ(qt[0], "Images (*.pcx *.bmp)");
    EXPECT_EQ(qt[1], "All Files (*)");  // "*.*" would hide names without a dot

    EXPECT_EQ(filterExtension(kSkinFilter, 1), ".pcx");
    EXPECT_EQ(filterExtension(kSkinFilter, 2), ".bmp");
    EXPECT_EQ(filterExtension(kSkinFilter, 3), "");
    EXPECT_EQ(filterExtension(kSkinFilter, 9), "");
}

TEST(Filter, ExtensionIsAddedOnlyWhenTheNameHasNoDot) {
    EXPECT_EQ(appendExtensionIfNone("/q/baseq2/skin", ".pcx"), "/q/baseq2/skin.pcx");
    EXPECT_EQ(appendExtensionIfNone("/q/baseq2/skin.bmp", ".pcx"), "/q/baseq2/skin.bmp");
    // A dot in a folder name does not count as an extension.
    EXPECT_EQ(appendExtensionIfNone("/home/u/.local/skin", ".pcx"), "/home/u/.local/skin.pcx");
}

TEST(Paths, FolderOfKeepsRoots) {
    EXPECT_EQ(folderOf("/q/baseq2/a.pcx"), "/q/baseq2");
    EXPECT_EQ(folderOf("/a.pcx"), "/");
    EXPECT_EQ(folderOf("C:\\a.pcx"), "C:\\");
    EXPECT_EQ(folderOf("C:\\Q\\a.pcx"), "C:\\Q");
    EXPECT_EQ(folderOf("a.pcx"), "");
}

TEST(BelowBase, NeedsTheSeparatorAfterTheBase) {
    std::string base = std::string("/q") + kSep + "baseq2";
    std::string inside = base + kSep + "models" + kSep + "m" + kSep + "skin.pcx";
    EXPECT_TRUE(isBelowBase(inside, base));
    EXPECT_EQ(relativeToBase(inside, base), std::string("models") + kSep + "m" + kSep + "skin.pcx");
    EXPECT_FALSE(isBelowBase(std::string("/q") + kSep + "baseq2x" + kSep + "a.pcx", base));
    EXPECT_FALSE(isBelowBase(base, base));
    EXPECT_FALSE(isBelowBase("/Q/BASEQ2/a.pcx", "/q/baseq2"));  // case-sensitive
}

TEST(BelowBase, QuestionOnlyOutsideTheBase) {
    test::ScriptedUi ui;
    EXPECT_TRUE(confirmBelowBase(ui, "/q/baseq2/a.pcx", "/q/baseq2"));
    EXPECT_TRUE(ui.shown.empty());
    ui.answer(Answer::No).answer(Answer::Yes);
    EXPECT_FALSE(confirmBelowBase(ui, "/q/baseq2x/a.pcx", "/q/baseq2"));
    EXPECT_TRUE(confirmBelowBase(ui, "/elsewhere/a.pcx", "/q/baseq2"));
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[0], std::string("question: ") + kBelowBaseQuestion);
    EXPECT_EQ(ui.questionKinds[0], QuestionKind::YesNo);
}

// The whole folder rule as a save dialog drives it: the chosen folder, then the
// stored key, then the base folder, each result stored back.
TEST(FolderRule, FallsBackToStoredKeyThenBaseAndStoresBack) {
    test::TempDir tmp;
    std::string base = tmp.file("baseq2");
    std::string stored = tmp.file("skins");
    std::filesystem::create_directories(base);
    std::filesystem::create_directories(stored);

    MemorySettings settings;
    Folders folders{base, base, base};
    test::ScriptedUi ui;
    FileDialogRequest req;
    req.filter = kSkinFilter;
    req.initialName = "*.pcx";

    // 1. The chosen folder exists: it becomes the save folder.
    ui.saveFile(joinPath(stored, "a.pcx"), 1);
    auto r = askSavePath(ui, settings, folders, req);
    ASSERT_TRUE(r);
    EXPECT_EQ(folders.save, stored);
    EXPECT_EQ(settings.getString(kProject, "SaveDir", kUnknown), stored);
    EXPECT_EQ(ui.fileRequests.back().startFolder, base);

    // 2. The chosen folder is gone: the stored key is used.
    ui.saveFile(joinPath(tmp.file("missing"), "b.pcx"), 2);
    r = askSavePath(ui, settings, folders, req);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->filterIndex, 2);
    EXPECT_EQ(folders.save, stored);
    EXPECT_EQ(ui.fileRequests.back().startFolder, stored);

    // 3. The stored key is unusable too: the base folder, stored back.
    settings.setString(kProject, "SaveDir", tmp.file("gone"));
    ui.saveFile(joinPath(tmp.file("missing"), "c.pcx"), 1);
    askSavePath(ui, settings, folders, req);
    EXPECT_EQ(folders.save, base);
    EXPECT_EQ(settings.getString(kProject, "SaveDir", kUnknown), base);

    // "Unknown" counts as unusable even if a folder of that name existed.
    settings.setString(kProject, "LoadDir", kUnknown);
    ui.openFile(joinPath(tmp.file("missing"), "d.pcx"), 1);
    askOpenPath(ui, settings, folders, req);
    EXPECT_EQ(folders.load, base);
    EXPECT_EQ(settings.getString(kProject, "LoadDir", ""), base);

    // Cancel changes nothing.
    ui.openFile(std::nullopt);
    settings.setString(kProject, "LoadDir", "sentinel");
    EXPECT_FALSE(askOpenPath(ui, settings, folders, req));
    EXPECT_EQ(settings.getString(kProject, "LoadDir", ""), "sentinel");
}

TEST(Files, AtomicWriteKeepsOldFileOnFailureAndReplacesOnSuccess) {
    test::TempDir tmp;
    std::string path = tmp.file("a.bin");
    ASSERT_EQ(writeFileAtomic(path, Bytes{1, 2, 3}), 0);
    ASSERT_EQ(writeFileAtomic(path, Bytes{4, 5}), 0);
    EXPECT_EQ(readFile(path).bytes, (Bytes{4, 5}));
    // Writing into a folder that does not exist fails and leaves nothing behind.
    EXPECT_NE(writeFileAtomic(tmp.file("no/such/x.bin"), Bytes{1}), 0);
    // A directory in the way is refused rather than replaced.
    std::filesystem::create_directories(tmp.file("dir"));
    EXPECT_NE(writeFileAtomic(tmp.file("dir"), Bytes{1}), 0);
    EXPECT_TRUE(isUsableFolder(tmp.file("dir")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp.path()), {}), 2);
    EXPECT_FALSE(readFile(tmp.file("nope")).ok());
    EXPECT_NE(errorSavingMessage(13).find("Error Saving: 13"), std::string::npos);
}

TEST(Files, CaseInsensitiveFallbackPerComponent) {
    test::TempDir tmp;
    std::filesystem::create_directories(tmp.file("Models/Ogro"));
    std::string real = tmp.file("Models/Ogro/Skin.PCX");
    ASSERT_EQ(writeFileAtomic(real, Bytes{1}), 0);
    EXPECT_EQ(resolveCaseInsensitive(tmp.path(), "models/ogro/skin.pcx"), real);
    EXPECT_EQ(resolveCaseInsensitive(tmp.path(), "models\\ogro\\skin.pcx"), real);
    EXPECT_EQ(resolveCaseInsensitive(tmp.path(), "Models/Ogro/Skin.PCX"), real);
    std::string missing = resolveCaseInsensitive(tmp.path(), "models/none.pcx");
    EXPECT_FALSE(isRegularFile(missing));
    EXPECT_EQ(listFiles(tmp.file("Models/Ogro"), ".pcx").size(), 1u);
}

}  // namespace
}  // namespace tarn
