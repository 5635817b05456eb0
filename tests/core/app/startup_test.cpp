#include <gtest/gtest.h>

#include <filesystem>
#include <algorithm>
#include <map>
#include <set>

#include "app/preferences.h"
#include "app/startup.h"
#include "image/palette_file.h"
#include "model/md2_commands.h"
#include "pak_builder.h"
#include "platform/refresh.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

using test::ScriptedUi;
using test::TempDir;

// Records what start-up asked of the model; loads succeed for listed paths.
class FakeModel : public StartupModel {
public:
    std::set<std::string> loadable;
    std::map<std::string, SkinResult> skins;
    std::vector<std::string> calls;
    std::vector<std::string> modified;
    bool loaded = false;

    bool meshLoaded() const override { return loaded; }
    bool loadMesh(const std::string& path) override {
        calls.push_back("mesh " + path);
        if (loadable.count(path)) loaded = true;
        return loadable.count(path) != 0;
    }
    SkinResult addExternalSkin(const std::string& path) override {
        calls.push_back("skin " + path);
        auto it = skins.find(path);
        return it == skins.end() ? SkinResult::Unreadable : it->second;
    }
    void scanPhongMaps(const std::string& folder) override { calls.push_back("phong " + folder); }
    void scanEnvMaps(const std::string& folder) override { calls.push_back("env " + folder); }
    std::vector<std::string> modifiedSkins() const override { return modified; }
    std::string unsavedModel() const override { return unsavedMesh; }
    bool saveAll() override {
        calls.push_back("save all");
        return saves;
    }
    std::string unsavedMesh;
    bool saves = true;
};

struct Startup : ::testing::Test {
    TempDir dir;
    std::string base = dir.path();
    MemorySettings settings;
    ScriptedUi ui;
    FakeModel model;
    RecordingRefresh refresh;
    Folders folders;

    StartupResult start(StartupRequest request = {}) {
        return runStartup(request, model, ui, settings, refresh, folders);
    }
};

TEST_F(Startup, AsksForTheBaseFolderUntilAUsableOneIsChosenThenStoresTheFolders) {
    std::string model1 = dir.file("m.md2");
    model.loadable.insert(model1);
    settings.setString(kProject, "CurFile", model1);
    settings.setString(kProject, "LoadDir", dir.file("gone"));
    ui.folder(std::nullopt).folder(dir.file("missing")).folder(base);

    auto r = start();

    EXPECT_EQ(ui.shown, (std::vector<std::string>{
                            std::string("folder: ") + kLocateBaseTitle,
                            std::string("message: ") + kMustSpecifyFolder,
                            std::string("folder: ") + kLocateBaseTitle,
                            std::string("message: ") + kFolderNotValidChooseAnother,
                            std::string("folder: ") + kLocateBaseTitle}));
    EXPECT_TRUE(r.keepRunning);
    EXPECT_EQ(r.currentFile, model1);
    EXPECT_EQ(settings.getString(kProject, "BaseDir", ""), base);
    EXPECT_EQ(settings.getString(kProject, "LoadDir", ""), base);
    EXPECT_EQ(settings.getString(kProject, "SaveDir", ""), base);
    EXPECT_DOUBLE_EQ(r.splitterFraction, 0.65);
    EXPECT_EQ(refresh.calls.back(), "refreshAll");
}

TEST_F(Startup, ForcedBaseFolderIsUsedWithoutAskingAndNotStoredAsTheUsersChoice) {
    settings.setString(kProject, "CurFile", dir.file("m.md2"));
    model.loadable.insert(dir.file("m.md2"));
    EXPECT_TRUE(start({false, "", "", base}).keepRunning);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(folders.base, base);
    EXPECT_FALSE(settings.contains(kProject, "BaseDir"));
    EXPECT_EQ(settings.getString(kProject, "LoadDir", ""), base);
}

TEST_F(Startup, CommandLineLoadsTheModelAndItsSkinsRelativeToTheWorkingFolder) {
    settings.setString(kProject, "BaseDir", base);
    std::string md2 = dir.file("a b.md2");
    model.loadable.insert(md2);
    model.skins[dir.file("skin.pcx")] = StartupModel::SkinResult::Added;
    settings.setInt(kPreferences, "Splitter", 5000);
    settings.setString(kPreferences, "Phong Path", "/p");

    auto r = start({false, "tarn -md2 \"a b.md2\" skin.pcx", base, std::nullopt});

    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(r.currentFile, md2);
    EXPECT_EQ(settings.getString(kProject, "CurFile", ""), md2);
    EXPECT_EQ(model.calls, (std::vector<std::string>{"mesh " + md2, "skin " + dir.file("skin.pcx"),
                                                     "phong /p"}));
    EXPECT_DOUBLE_EQ(r.splitterFraction, 0.5);
}

TEST_F(Startup, CommandLineFailuresStopTheLineAndFallBackToTheStoredFile) {
    settings.setString(kProject, "BaseDir", base);
    std::string stored = dir.file("stored.md2");
    model.loadable.insert(stored);
    settings.setString(kProject, "CurFile", stored);

    auto r = start({false, "tarn -md2 /nope.md2 /s.pcx", "", std::nullopt});
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{kCommandLineModelError}));
    EXPECT_EQ(r.currentFile, stored);
    EXPECT_EQ(model.calls, (std::vector<std::string>{"mesh /nope.md2", "mesh " + stored}));
}

TEST_F(Startup, SkinErrorsOnTheCommandLineReportAndIgnoreTheRest) {
    settings.setString(kProject, "BaseDir", base);
    model.loadable.insert("/m.md2");
    model.skins["/big.pcx"] = StartupModel::SkinResult::WrongSize;
    start({false, "-md2 /m.md2 /big.pcx /never.pcx", "", std::nullopt});
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{kSkinWrongDimensions}));
    EXPECT_EQ(model.calls.size(), 2u);

    FakeModel other;
    other.loadable.insert("/m.md2");
    ScriptedUi ui2;
    runStartup({false, "-md2 /m.md2 /bad.pcx /never.pcx", "", std::nullopt}, other, ui2, settings, refresh, folders);
    EXPECT_EQ(ui2.messages(), (std::vector<std::string>{kCommandLineSkinError}));
    EXPECT_EQ(other.calls.size(), 2u);
}

TEST_F(Startup, CtrlSkipsCommandLineAndReloadAndOffersOpenWhoseCancelEndsTheRun) {
    settings.setString(kProject, "BaseDir", base);
    settings.setString(kProject, "CurFile", "/stored.md2");
    model.loadable = {"/stored.md2", "/cmd.md2"};
    ui.openFile(std::nullopt);

    auto r = start({true, "-md2 /cmd.md2", "", std::nullopt});

    EXPECT_FALSE(r.keepRunning);
    EXPECT_TRUE(model.calls.empty());
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].filter, kMd2OpenFilter);
    EXPECT_EQ(ui.fileRequests[0].initialName, "*.md2");
    EXPECT_TRUE(ui.fileRequests[0].mustExist);
    EXPECT_EQ(ui.fileRequests[0].startFolder, base);
    EXPECT_EQ(std::count(refresh.calls.begin(), refresh.calls.end(), "refreshAll"), 0);
}

TEST_F(Startup, OpenDialogAddsTheExtensionStoresTheFileAndAFailedLoadEnds) {
    settings.setString(kProject, "BaseDir", base);
    std::string chosen = dir.file("model");
    model.loadable.insert(chosen + ".md2");
    ui.openFile(chosen);
    auto r = start();
    EXPECT_TRUE(r.keepRunning);
    EXPECT_EQ(settings.getString(kProject, "CurFile", ""), chosen + ".md2");
    EXPECT_EQ(settings.getString(kProject, "LoadDir", ""), base);

    FakeModel failing;
    ScriptedUi ui2;
    ui2.openFile(dir.file("broken.md2"));
    EXPECT_FALSE(runStartup({}, failing, ui2, settings, refresh, folders).keepRunning);
}

// A game as installed keeps its models in PAK files: start-up offers them
// first, then the Open dialog; only cancelling both ends the run.
TEST_F(Startup, ABaseFolderOfPaksOffersTheirModelsBeforeTheOpenDialog) {
    settings.setString(kProject, "BaseDir", base);
    test::writePak(dir.file("pak0.pak"), {{"players/male/tris.md2", test::textBytes("model")}});
    const std::string packed = joinPath(base, toNative("players/male/tris.md2"));
    model.loadable = {packed};
    ui.custom("chooseFromList", std::string("players/male/tris.md2"));
    auto r = start();
    EXPECT_TRUE(r.keepRunning);
    EXPECT_EQ(ui.listOffered, std::vector<std::string>{"players/male/tris.md2"});
    EXPECT_EQ(r.currentFile, packed);
    EXPECT_EQ(settings.getString(kProject, "CurFile", ""), packed);
    EXPECT_TRUE(ui.fileRequests.empty());

    FakeModel other;
    ScriptedUi ui2;
    ui2.custom("chooseFromList", std::optional<std::string>()).openFile(std::nullopt);
    EXPECT_FALSE(runStartup({true, "", "", std::nullopt}, other, ui2, settings, refresh, folders).keepRunning);
    EXPECT_EQ(ui2.fileRequests.size(), 1u);
    EXPECT_TRUE(ui2.allConsumed());
}

TEST(CommandLine, SplitsAtSpacesOutsideQuotes) {
    using V = std::vector<std::string>;
    EXPECT_EQ(commandLineTokens("tarn -md2 a.md2  b.pcx"), (V{"a.md2", "b.pcx"}));
    EXPECT_EQ(commandLineTokens("tarn -md2 \"x y/a.md2\" \"s p.pcx\""), (V{"x y/a.md2", "s p.pcx"}));
    EXPECT_EQ(commandLineTokens("tarn a.md2"), V{});
    EXPECT_EQ(commandLineTokens("tarn -md2"), V{});
    EXPECT_EQ(commandLineTokens("tarn -md2 "), V{});
}

struct Close : ::testing::Test {
    MemorySettings settings;
    ScriptedUi ui;
    FakeModel model;
    ColorSlots slots;
};

// Nothing unsaved closes at once; otherwise the question names every unsaved
// skin and the model, and Save All closes only when everything was saved.
TEST_F(Close, NamesWhatIsUnsavedAndOffersSaveAllDiscardAndCancel) {
    slots[0] = 7;
    EXPECT_TRUE(confirmClose(ui, settings, 0.57, slots, model));
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(settings.getInt(kPreferences, "Splitter", 0), 5700);
    EXPECT_EQ(settings.getInt(kColors, "Color-0", 0), 7);

    struct Case {
        Answer answer;
        bool saves;
        bool closes;
        bool saveAll;
    };
    for (const Case c : {Case{Answer::Yes, true, true, true}, Case{Answer::Yes, false, false, true},
                         Case{Answer::No, true, true, false}, Case{Answer::Cancel, true, false, false}}) {
        ScriptedUi asked;
        FakeModel unsaved;
        unsaved.modified = {"players/male/grunt.pcx"};
        unsaved.unsavedMesh = "players/male/tris.md2";
        unsaved.saves = c.saves;
        asked.answer(c.answer);
        EXPECT_EQ(confirmClose(asked, settings, 0.57, slots, unsaved), c.closes);
        ASSERT_EQ(asked.shown.size(), 1u);
        EXPECT_NE(asked.shown[0].find("grunt.pcx"), std::string::npos);
        EXPECT_NE(asked.shown[0].find("players/male/tris.md2"), std::string::npos);
        EXPECT_EQ(!unsaved.calls.empty(), c.saveAll);
    }
}

TEST_F(Close, QuickExitClosesWithoutQuestionUnlessSkinsWouldBeLost) {
    settings.setInt(kPreferences, "Quick Exit", 1);
    EXPECT_TRUE(confirmClose(ui, settings, 0.65, slots, model));
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(settings.getInt(kPreferences, "Splitter", 0), 6500);

    model.modified = {"models/m/skin.pcx"};
    ui.answer(Answer::No);
    EXPECT_FALSE(confirmClose(ui, settings, 0.65, slots, model));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_NE(ui.shown[0].find("models/m/skin.pcx"), std::string::npos);
}

}  // namespace
}  // namespace tarn

namespace tarn {
namespace {

// A fresh store over TARN's own content: start-up scans its map folders and
// the colormap-shaded modes find its colormap; what the user stored wins.
TEST(ContentDefaults, FreshStartUsesTheContentUntilTheUserChoosesOthers) {
    TempDir dir;
    const PreferenceDefaults content = PreferenceDefaults::inFolder(dir.path());
    MemorySettings stored;
    ContentDefaults settings(stored, content);
    ScriptedUi ui;
    FakeModel model;
    model.loadable = {dir.file("m.md2")};
    RecordingRefresh refresh;
    Folders folders;
    StartupRequest request;
    request.baseFolder = dir.path();
    request.commandLine = "tarn -md2 " + dir.file("m.md2");
    ASSERT_TRUE(runStartup(request, model, ui, settings, refresh, folders).keepRunning);
    EXPECT_NE(std::find(model.calls.begin(), model.calls.end(), "phong " + content.phongPath), model.calls.end());
    EXPECT_NE(std::find(model.calls.begin(), model.calls.end(), "env " + content.envPath), model.calls.end());
    EXPECT_EQ(settings.getString(kPreferences, kPalettePathKey, ""), content.palettePath);

    settings.setString(kPreferences, "Phong Path", "/mine");
    EXPECT_EQ(settings.getString(kPreferences, "Phong Path", kUnknown), "/mine");
    EXPECT_EQ(stored.getString(kPreferences, "Env Path", kUnknown), kUnknown);
    // Without content everything passes through.
    ContentDefaults none(stored, {});
    EXPECT_EQ(none.getString(kPreferences, "Env Path", kUnknown), kUnknown);
}

}  // namespace
}  // namespace tarn
