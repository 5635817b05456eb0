#include "model/md2_commands.h"
#include "model/mesh_session.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "image/image_codec.h"
#include "md2_test_file.h"
#include "model/md2_format.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

// A game folder with the quad model and the state a main window holds.
struct World {
    test::TempDir dir;
    std::string base = joinPath(dir.path(), "baseq2");
    std::string modelPath = joinPath(base, "models/quad/tris.md2");
    test::ScriptedUi ui;
    MemorySettings settings;
    MeshSession session{ui, settings, base};
    RecordingRefresh& refresh = session.refresh;
    Mesh& mesh = session.mesh;
    SkinList& skins = session.skins;
    Bytes& source = session.sourceImage;
    std::string& currentFile = session.currentFile;
    Folders& folders = session.folders;
    MeshFileContext& c = session.context;

    World() {
        fs::create_directories(folderOf(modelPath));
        write(modelPath, test::quadModel().build());
        writeSkin("models/quad/skin.pcx", 64, 32);
    }
    static void write(const std::string& path, const Bytes& bytes) {
        ASSERT_EQ(writeFileAtomic(path, bytes), 0) << path;
    }
    void writeSkin(const std::string& relative, int width, int height) {
        Palette palette{};
        palette[3] = 200;
        Bytes pixels(static_cast<std::size_t>(width * height), 7);
        write(joinPath(base, relative), encodePcx(width, height, pixels.data(), palette));
    }
    std::string writeModel(const std::string& relative, const test::TestMd2& m) {
        const std::string path = joinPath(base, relative);
        fs::create_directories(folderOf(path));
        write(path, m.build());
        return path;
    }
};

TEST(LoadMesh, ReadsModelSkinsAndSourceImage) {
    World w;
    ASSERT_TRUE(LoadMesh(w.c, w.modelPath));
    EXPECT_TRUE(w.ui.shown.empty());
    EXPECT_TRUE(w.mesh.loaded);
    EXPECT_EQ(w.mesh.mappingVertCount, 4);
    ASSERT_EQ(w.skins.count(), 1);
    EXPECT_EQ(w.skins.currentIndex(), 0);
    const Skin* skin = w.skins.at(0);
    EXPECT_EQ(skin->name, "models/quad/skin.pcx");
    EXPECT_FALSE(skin->external);
    EXPECT_EQ(skin->palette[3], 200);
    EXPECT_EQ(w.source, test::quadModel().build());
    EXPECT_EQ(w.refresh.calls, (std::vector<std::string>{"paintRemap", "shadeRamps"}));
}

TEST(LoadMesh, RelativePathsAreTakenFromTheBaseFolder) {
    World w;
    EXPECT_TRUE(LoadMesh(w.c, "models/quad/tris.md2"));
}

TEST(LoadMesh, MissingAndMisSizedSkinsBecomeCheckerboards) {
    World w;
    test::TestMd2 m = test::quadModel();
    m.skins = {"models/quad/skin.pcx", "models/quad/none.pcx", "models/quad/small.pcx",
               "models/quad/text.pcx"};
    w.writeSkin("models/quad/small.pcx", 32, 32);
    World::write(joinPath(w.base, "models/quad/text.pcx"), Bytes(100, 'x'));
    w.settings.setString(kPreferences, "Palette Path", "/nowhere/colormap.pcx");
    const std::string path = w.writeModel("models/quad/four.md2", m);

    ASSERT_TRUE(LoadMesh(w.c, path));
    EXPECT_EQ(w.ui.messages(),
              (std::vector<std::string>{"This file does not appear to be a valid skin\n" +
                                            joinPath(w.base, "models/quad/text.pcx"),
                                        std::string(kMsgSkinMissing) + "\nmodels/quad/none.pcx\nmodels/quad/text.pcx",
                                        std::string(kMsgSkinWrongSize) + "\nmodels/quad/small.pcx"}));
    ASSERT_EQ(w.skins.count(), 4);
    const Skin* temp = w.skins.at(1);
    EXPECT_EQ(temp->name, "models/quad/none.pcx");
    EXPECT_EQ(temp->filePath, joinPath(w.base, toNative("models/quad/none.pcx")));
    EXPECT_FALSE(temp->hasFile);
    EXPECT_FALSE(temp->external);
    EXPECT_EQ(temp->width, 64);
    EXPECT_EQ(temp->height, 32);
    EXPECT_EQ(temp->pixels[0], 63);
    EXPECT_EQ(temp->pixels[4], 191);
    EXPECT_EQ(temp->pixels[64 * 4], 191);
    EXPECT_EQ(temp->pixels[64 * 4 + 4], 63);
    EXPECT_EQ(temp->backup, temp->pixels);
    EXPECT_EQ(temp->palette[3 * 100], 100);  // grey ramp without a palette file
}

// Other engines name 24-bit skins: one loads matched to the default palette,
// with no question in the middle of the load.
TEST(LoadMesh, TrueColourSkinsTakeTheDefaultPalette) {
    World w;
    test::TestMd2 m = test::quadModel();
    m.skins = {"models/quad/skin24.bmp"};
    const Bytes rgb(64 * 32 * 3, 200);
    World::write(joinPath(w.base, "models/quad/skin24.bmp"), encodeBmp24(64, 32, rgb.data()));
    ASSERT_TRUE(LoadMesh(w.c, w.writeModel("models/quad/rgb.md2", m)));
    EXPECT_TRUE(w.ui.shown.empty());
    ASSERT_EQ(w.skins.count(), 1);
    const Skin* skin = w.skins.at(0);
    EXPECT_TRUE(skin->hasFile);
    EXPECT_EQ(skin->fileType, SkinFileType::Bmp);
    EXPECT_EQ(skin->pixels[0], 200);  // the grey ramp's entry for (200, 200, 200)
    EXPECT_EQ(skin->palette[3 * 200], 200);
}

TEST(LoadMesh, RefusedFileChangesNothing) {
    World w;
    ASSERT_TRUE(LoadMesh(w.c, w.modelPath));
    w.mesh.triangles[0].flags = kTriSelected;
    const Bytes sourceBefore = w.source;
    const Skin* skinBefore = w.skins.at(0);
    w.refresh.calls.clear();

    test::TestMd2 bad = test::quadModel();
    bad.triangles[1].vertex[2] = 9;
    const std::string badPath = w.writeModel("models/quad/bad.md2", bad);
    EXPECT_FALSE(LoadMesh(w.c, badPath));
    EXPECT_FALSE(LoadMesh(w.c, joinPath(w.base, "missing.md2")));
    World::write(joinPath(w.base, "notmd2.md2"), Bytes{'I', 'D', 'P', '3', 0, 0});
    EXPECT_FALSE(LoadMesh(w.c, joinPath(w.base, "notmd2.md2")));

    const auto messages = w.ui.messages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_NE(messages[0].find("triangle 1 names vertex 9 of 4"), std::string::npos) << messages[0];
    EXPECT_EQ(messages[1], kMsgLoadError);
    EXPECT_EQ(messages[2], kMsgNotMd2);
    EXPECT_EQ(w.source, sourceBefore);
    EXPECT_EQ(w.skins.count(), 1);
    EXPECT_EQ(w.skins.at(0), skinBefore);
    EXPECT_EQ(w.mesh.triangles[0].flags, kTriSelected);
    EXPECT_EQ(w.mesh.frames.size(), 3u);
    EXPECT_TRUE(w.refresh.calls.empty());
}

TEST(LoadMesh, NoNamedSkinsFollowsTheDirScanPreference) {
    test::TestMd2 m = test::quadModel();
    m.skins.clear();
    {
        World w;
        w.settings.setInt(kPreferences, kDirScanPromptKey, 1);
        ASSERT_TRUE(LoadMesh(w.c, w.writeModel("models/quad/bare.md2", m)));
        EXPECT_TRUE(w.ui.shown.empty());
        EXPECT_TRUE(w.skins.empty());
        EXPECT_EQ(w.skins.currentIndex(), -1);
    }
    {
        World w;  // asks by default; Yes scans the model's folder
        w.ui.answer(Answer::Yes);
        ASSERT_TRUE(LoadMesh(w.c, w.writeModel("models/quad/bare.md2", m)));
        EXPECT_EQ(w.ui.shown.front(), std::string("question: ") + kAskNoSkinsScan);
        ASSERT_EQ(w.skins.count(), 1);
        EXPECT_TRUE(w.skins.at(0)->external);
        EXPECT_EQ(w.skins.currentIndex(), 0);
    }
    {
        World w;  // any other value scans without asking
        w.settings.setInt(kPreferences, kDirScanPromptKey, 7);
        ASSERT_TRUE(LoadMesh(w.c, w.writeModel("models/quad/bare.md2", m)));
        EXPECT_EQ(w.skins.count(), 1);
    }
}

TEST(SaveMesh, FailedSaveReportsAndKeepsTheOldFile) {
    World w;
    ASSERT_TRUE(LoadMesh(w.c, w.modelPath));
    const std::string out = joinPath(w.base, "out.md2");
    ASSERT_TRUE(SaveMesh(w.c, out));
    const Bytes first = readFile(out).bytes;
    EXPECT_TRUE(parseMd2(first).ok());

    w.skins.at(0)->name = std::string(70, 'n');
    EXPECT_FALSE(SaveMesh(w.c, out));
    EXPECT_EQ(readFile(out).bytes, first);
    w.skins.at(0)->name = "models/quad/skin.pcx";

    fs::create_directories(joinPath(w.base, "adir"));
    EXPECT_FALSE(SaveMesh(w.c, joinPath(w.base, "adir")));
    const auto messages = w.ui.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[0].find("longer than 63"), std::string::npos);
    EXPECT_EQ(messages[1].rfind("Error Saving: ", 0), 0u) << messages[1];
}

TEST(SaveMesh, OnlyLinkedSkinsAreWrittenWithForwardSlashes) {
    World w;
    ASSERT_TRUE(LoadMesh(w.c, w.modelPath));
    w.skins.at(0)->name = "models\\quad\\skin.pcx";
    auto external = makeBlankSkin(64, 32);
    external->external = true;
    external->name = "/elsewhere/x.pcx";
    w.skins.append(std::move(external));
    const std::string out = joinPath(w.base, "out.md2");
    ASSERT_TRUE(SaveMesh(w.c, out));
    const Md2Parse again = parseMd2(readFile(out).bytes);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.contents.skinNames, (std::vector<std::string>{"models/quad/skin.pcx"}));
}

// A linked skin saved outside the base folder is never written as an
// absolute name: Yes copies it beside the model under a relative name, No
// leaves it out and keeps it open as an external skin, Cancel saves nothing.
TEST(SaveMesh, ASkinOutsideTheBaseIsCopiedBesideTheModelOrLeftOut) {
    for (const Answer answer : {Answer::Yes, Answer::No, Answer::Cancel}) {
        World w;
        ASSERT_TRUE(LoadMesh(w.c, w.modelPath));
        const std::string outside = w.dir.file("elsewhere/paint.pcx");
        fs::create_directories(folderOf(outside));
        fs::copy_file(joinPath(w.base, "models/quad/skin.pcx"), outside);
        Skin& skin = *w.skins.at(0);
        skin.filePath = outside;
        skin.name = outside;
        w.ui.answer(answer);
        const bool saved = SaveMesh(w.c, w.modelPath);
        ASSERT_EQ(saved, answer != Answer::Cancel);
        ASSERT_EQ(w.ui.shown.size(), 1u);
        EXPECT_EQ(w.ui.shown[0], "question: " + outsideSkinQuestion(outside));
        if (!saved) continue;
        const Md2Parse again = parseMd2(readFile(w.modelPath).bytes);
        ASSERT_TRUE(again.ok());
        if (answer == Answer::Yes) {
            EXPECT_EQ(again.contents.skinNames, (std::vector<std::string>{"models/quad/paint.pcx"}));
            EXPECT_EQ(readFile(joinPath(w.base, "models/quad/paint.pcx")).bytes, readFile(outside).bytes);
            EXPECT_FALSE(skin.external);
        } else {
            EXPECT_TRUE(again.contents.skinNames.empty());
            EXPECT_TRUE(skin.external);
        }
    }
}

TEST(OpenCommand, CancelledDialogOnlyRefreshes) {
    World w;
    w.ui.openFile(std::nullopt);
    openMesh(w.c);
    EXPECT_EQ(w.refresh.calls, (std::vector<std::string>{"refreshAll"}));
    EXPECT_EQ(w.ui.fileRequests[0].filter, kMd2OpenFilter);
    EXPECT_EQ(w.ui.fileRequests[0].initialName, "*.md2");
    EXPECT_TRUE(w.ui.fileRequests[0].mustExist);
    EXPECT_FALSE(w.mesh.loaded);
}

TEST(OpenCommand, LoadsStoresFoldersAndAddsTheExtension) {
    World w;
    w.folders.load = joinPath(w.base, "models");
    w.ui.openFile(joinPath(w.base, "models/quad/tris"));
    openMesh(w.c);
    EXPECT_TRUE(w.mesh.loaded);
    EXPECT_EQ(w.ui.fileRequests[0].startFolder, joinPath(w.base, "models"));
    EXPECT_EQ(w.currentFile, w.modelPath);
    EXPECT_EQ(w.settings.getString(kProject, kCurFileKey, ""), w.modelPath);
    EXPECT_EQ(w.settings.getString(kProject, "LoadDir", ""), folderOf(w.modelPath));
    EXPECT_EQ(w.refresh.calls.back(), "refreshAll");
}

TEST(OpenCommand, AsksToSaveAndStopsWhenThatSaveFails) {
    World w;
    ASSERT_TRUE(LoadMesh(w.c, w.modelPath));
    w.currentFile = joinPath(w.base, "no/such/folder/tris.md2");
    test::TestMd2 other = test::quadModel();
    other.frames.pop_back();
    const std::string otherPath = w.writeModel("models/quad/other.md2", other);

    w.ui.openFile(otherPath).answer(Answer::Yes);
    openMesh(w.c);
    ASSERT_EQ(w.ui.questionKinds.size(), 1u);
    EXPECT_EQ(w.ui.questionKinds[0], QuestionKind::YesNoCancelIcon);
    ASSERT_EQ(w.ui.shown.size(), 4u);
    EXPECT_EQ(w.ui.shown[0], std::string("open: ") + kMd2OpenFilter);
    EXPECT_EQ(w.ui.shown[1], std::string("question: ") + kAskSaveMesh);
    EXPECT_EQ(w.ui.shown[2].rfind("message: Error Saving: ", 0), 0u);
    EXPECT_EQ(w.ui.shown[3], std::string("message: ") + kMsgSaveFailedSmiley);
    EXPECT_EQ(w.mesh.frames.size(), 3u);  // the unsaved Mesh is still there
    EXPECT_EQ(w.refresh.calls.back(), "refreshAll");

    w.ui.openFile(otherPath).answer(Answer::Cancel);
    openMesh(w.c);
    EXPECT_EQ(w.mesh.frames.size(), 3u);

    w.ui.openFile(otherPath).answer(Answer::No);
    openMesh(w.c);
    EXPECT_EQ(w.mesh.frames.size(), 2u);
    EXPECT_EQ(w.currentFile, otherPath);
}

TEST(OpenCommand, SaveYesWritesTheCurrentFileFirst) {
    World w;
    ASSERT_TRUE(LoadMesh(w.c, w.modelPath));
    w.currentFile = joinPath(w.base, "saved.md2");
    w.ui.openFile(w.modelPath).answer(Answer::Yes);
    openMesh(w.c);
    EXPECT_TRUE(w.ui.messages().empty());
    EXPECT_TRUE(parseMd2(readFile(joinPath(w.base, "saved.md2")).bytes).ok());
    EXPECT_EQ(w.currentFile, w.modelPath);
}

TEST(SaveCommands, SaveReportsFailureAndSaveAsAsksOutsideTheBase) {
    World w;
    ASSERT_TRUE(LoadMesh(w.c, w.modelPath));
    w.currentFile = joinPath(w.base, "no/such/tris.md2");
    EXPECT_FALSE(saveMeshCommand(w.c));
    EXPECT_EQ(w.ui.messages().back(), kMsgSaveFailedSmiley);

    // Below the base folder: no question; the extension is added.
    w.ui.saveFile(joinPath(w.base, "models/quad/copy"));
    EXPECT_TRUE(saveMeshAs(w.c));
    EXPECT_EQ(w.ui.fileRequests.back().filter, kMd2SaveFilter);
    EXPECT_EQ(w.currentFile, joinPath(w.base, "models/quad/copy.md2"));
    EXPECT_EQ(w.settings.getString(kProject, kCurFileKey, ""), w.currentFile);
    EXPECT_TRUE(isRegularFile(w.currentFile));

    // Outside it: No writes nothing and keeps the current file.
    const std::string outside = joinPath(w.dir.path(), "outside.md2");
    w.ui.saveFile(outside).answer(Answer::No);
    EXPECT_FALSE(saveMeshAs(w.c));
    EXPECT_FALSE(isRegularFile(outside));
    EXPECT_EQ(w.currentFile, joinPath(w.base, "models/quad/copy.md2"));

    w.ui.saveFile(outside).answer(Answer::Yes);
    EXPECT_TRUE(saveMeshAs(w.c));
    EXPECT_TRUE(isRegularFile(outside));

    // A failed Save As still makes the path current.
    const std::string bad = joinPath(w.base, "no/such/x.md2");
    w.ui.saveFile(bad);
    EXPECT_FALSE(saveMeshAs(w.c));
    EXPECT_EQ(w.ui.messages().back(), kMsgSaveAsFailed);
    EXPECT_EQ(w.currentFile, bad);
}

}  // namespace
}  // namespace tarn
