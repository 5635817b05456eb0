#include <gtest/gtest.h>

#include "app/preferences.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

using test::ScriptedUi;
using Script = ScriptedUi::PreferencesScript;

const PreferenceDefaults kDefaults = PreferenceDefaults::inFolder("/usr/share/tarn");

TEST(Preferences, ShowsDefaultsAndOkStoresTheFieldsAndMovesThePalette) {
    MemorySettings settings;
    ScriptedUi ui;
    PreferencesValues shown;
    ui.custom("preferences", Script([&](const PreferencesValues& v, const PreferencesBrowsers&) {
        shown = v;
        PreferencesValues edited = v;
        edited.palOnTop = true;
        edited.quickExit = true;
        return std::optional<PreferencesValues>(edited);
    }));
    std::optional<bool> applied;
    runPreferences(ui, settings, kDefaults, [&](bool onTop) { applied = onTop; });

    EXPECT_EQ(shown.palettePath, "/usr/share/tarn/colormap.pcx");
    EXPECT_EQ(shown.phongPath, "/usr/share/tarn/phongs");
    EXPECT_EQ(shown.dirScanPrompt, 2);
    EXPECT_EQ(shown.introNumber, kIntroRandom);
    EXPECT_EQ(settings.getString(kPreferences, "Palette Path", ""), "/usr/share/tarn/colormap.pcx");
    EXPECT_EQ(settings.getInt(kPreferences, "Quick Exit", 0), 1);
    EXPECT_EQ(settings.getInt(kPreferences, "Pal On Top", 0), 1);
    EXPECT_EQ(applied, std::optional<bool>(true));
    // The map folders belong to their browse buttons, not to OK.
    EXPECT_FALSE(settings.contains(kPreferences, "Phong Path"));
}

TEST(Preferences, AFolderChosenThenCancelStaysStoredAndBadFoldersAreRefused) {
    test::TempDir dir;
    MemorySettings settings;
    ScriptedUi ui;
    ui.custom("preferences", Script([&](const PreferencesValues&, const PreferencesBrowsers& b) {
        EXPECT_EQ(b.phongFolder(), std::optional<std::string>(dir.path()));
        EXPECT_EQ(b.envFolder(), std::nullopt);
        EXPECT_EQ(b.envFolder(), std::nullopt);
        return std::optional<PreferencesValues>();
    }));
    ui.folder(dir.path()).folder(std::nullopt).folder(dir.file("missing"));
    bool applied = false;
    runPreferences(ui, settings, kDefaults, [&](bool) { applied = true; });

    EXPECT_EQ(settings.getString(kPreferences, "Phong Path", ""), dir.path());
    EXPECT_FALSE(settings.contains(kPreferences, "Env Path"));
    EXPECT_FALSE(applied);
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{kMsgNextRun, kMsgPrefFolderNotValid,
                                                       kMsgPrefFolderNotValid}));
    EXPECT_FALSE(settings.contains(kPreferences, "Palette Path"));
}

TEST(Preferences, FileBrowsersStartInTheLoadFolderAndAddTheFiltersExtension) {
    MemorySettings settings;
    settings.setString(kProject, "LoadDir", "/q/baseq2");
    ScriptedUi ui;
    ui.openFile("/q/pal", 3).openFile("/q/intro");
    EXPECT_EQ(browsePalettePath(ui, settings), std::optional<std::string>("/q/pal.act"));
    EXPECT_EQ(browseIntroWav(ui, settings), std::optional<std::string>("/q/intro.wav"));
    EXPECT_EQ(ui.fileRequests.at(0).startFolder, "/q/baseq2");
    EXPECT_EQ(ui.fileRequests.at(1).filter, kWavFilter);
    EXPECT_EQ(settings.getString(kProject, "LoadDir", ""), "/q/baseq2");
}

TEST(Preferences, ACustomIntroWhoseFileIsMissingStartsAsRandom) {
    test::TempDir dir;
    MemorySettings settings;
    settings.setInt(kPreferences, "Intro Number", kIntroCustom);
    settings.setString(kPreferences, "Intro WAV", dir.file("gone.wav"));
    EXPECT_EQ(readPreferences(settings, kDefaults).introNumber, kIntroRandom);
    settings.setString(kPreferences, "Palette Path", "");
    EXPECT_EQ(readPreferences(settings, kDefaults).palettePath, "");
}

}  // namespace
}  // namespace tarn
