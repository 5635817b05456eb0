#include "app/preferences.h"

#include "app/live_reload.h"

#include "platform/dialogs.h"
#include "platform/fs.h"

namespace tarn {

namespace {

constexpr const char* kDirScan = "DirScan_Prompt";
constexpr const char* kSkipIntro = "Skip Intro";
constexpr const char* kQuickExit = "Quick Exit";
constexpr const char* kPalOnTop = "Pal On Top";
constexpr const char* kPalettePath = "Palette Path";
constexpr const char* kPhongPath = "Phong Path";
constexpr const char* kEnvPath = "Env Path";
constexpr const char* kIntroWav = "Intro WAV";
constexpr const char* kIntroNumber = "Intro Number";

// A browse dialog that starts in the load folder and does not move it.
std::optional<FileDialogResult> openInLoadFolder(Ui& ui, const SettingsStore& settings,
                                                 const char* filter, const char* initialName) {
    FileDialogRequest request;
    request.filter = filter;
    request.initialName = initialName;
    std::string load = settings.getString(kProject, "LoadDir", kUnknown);
    if (load != kUnknown) request.startFolder = load;
    return ui.openFile(request);
}

}  // namespace

PreferenceDefaults PreferenceDefaults::inFolder(const std::string& dataFolder) {
    return {joinPath(dataFolder, "colormap.pcx"), joinPath(dataFolder, "phongs"),
            joinPath(dataFolder, "enviros")};
}

std::string ContentDefaults::getString(const std::string& section, const std::string& key,
                                       const std::string& def) const {
    const std::string* content = nullptr;
    if (section == kPreferences) {
        if (key == kPalettePath) content = &content_.palettePath;
        if (key == kPhongPath) content = &content_.phongPath;
        if (key == kEnvPath) content = &content_.envPath;
    }
    if (content == nullptr || content->empty()) return stored_.getString(section, key, def);
    // No stored text can hold a NUL byte: this one marks a key never stored.
    const std::string absent(1, '\0');
    const std::string value = stored_.getString(section, key, absent);
    return value == absent ? *content : value;
}

bool classicKeysEnabled(const SettingsStore& settings) {
    return settings.getInt(kPreferences, kClassicKeysKey, 0) != 0;
}

bool offerWeaponEnabled(const SettingsStore& settings) {
    return settings.getInt(kPreferences, kOfferWeaponKey, 1) != 0;
}

PreferencesValues readPreferences(const SettingsStore& settings, const PreferenceDefaults& defaults) {
    PreferencesValues v;
    v.dirScanPrompt = settings.getInt(kPreferences, kDirScan, 2);
    v.skipIntro = settings.getInt(kPreferences, kSkipIntro, 0) != 0;
    v.quickExit = settings.getInt(kPreferences, kQuickExit, 0) != 0;
    v.palOnTop = settings.getInt(kPreferences, kPalOnTop, 0) != 0;
    v.reloadOutside = reloadOutsideEnabled(settings);
    v.classicKeys = classicKeysEnabled(settings);
    v.offerWeapon = offerWeaponEnabled(settings);
    v.pressureStrength = settings.getInt(kPreferences, kPressureStrengthKey, 0) != 0;
    v.palettePath = settings.getString(kPreferences, kPalettePath, defaults.palettePath);
    v.phongPath = settings.getString(kPreferences, kPhongPath, defaults.phongPath);
    v.envPath = settings.getString(kPreferences, kEnvPath, defaults.envPath);
    v.introWav = settings.getString(kPreferences, kIntroWav, "");
    v.introNumber = settings.getInt(kPreferences, kIntroNumber, kIntroRandom);
    if (v.introNumber < 0 || v.introNumber > kIntroCustom) v.introNumber = kIntroRandom;
    if (v.introNumber == kIntroCustom && !isRegularFile(v.introWav)) v.introNumber = kIntroRandom;
    return v;
}

void storePreferences(SettingsStore& settings, const PreferencesValues& v) {
    settings.setInt(kPreferences, kDirScan, v.dirScanPrompt);
    settings.setInt(kPreferences, kSkipIntro, v.skipIntro ? 1 : 0);
    settings.setInt(kPreferences, kQuickExit, v.quickExit ? 1 : 0);
    settings.setInt(kPreferences, kPalOnTop, v.palOnTop ? 1 : 0);
    settings.setInt(kPreferences, kReloadOutsideKey, v.reloadOutside ? 1 : 0);
    settings.setInt(kPreferences, kClassicKeysKey, v.classicKeys ? 1 : 0);
    settings.setInt(kPreferences, kOfferWeaponKey, v.offerWeapon ? 1 : 0);
    settings.setInt(kPreferences, kPressureStrengthKey, v.pressureStrength ? 1 : 0);
    settings.setInt(kPreferences, kIntroNumber, v.introNumber);
    settings.setString(kPreferences, kPalettePath, v.palettePath);
    settings.setString(kPreferences, kIntroWav, v.introWav);
}

std::optional<std::string> browsePalettePath(Ui& ui, const SettingsStore& settings) {
    auto chosen = openInLoadFolder(ui, settings, kPalettePathFilter, "*.pcx");
    if (!chosen) return std::nullopt;
    const char* ext = chosen->filterIndex == 2 ? ".bmp" : chosen->filterIndex == 3 ? ".act" : ".pcx";
    return appendExtensionIfNone(chosen->path, ext);
}

std::optional<std::string> browseMapFolder(Ui& ui, SettingsStore& settings, bool phong) {
    auto folder = ui.browseFolder(phong ? kPhongFolderTitle : kEnvFolderTitle);
    if (!folder || !isUsableFolder(*folder)) {
        ui.message(kMsgPrefFolderNotValid);
        return std::nullopt;
    }
    ui.message(kMsgNextRun);
    settings.setString(kPreferences, phong ? kPhongPath : kEnvPath, *folder);
    return folder;
}

std::optional<std::string> browseIntroWav(Ui& ui, const SettingsStore& settings) {
    auto chosen = openInLoadFolder(ui, settings, kWavFilter, "*.wav");
    if (!chosen) return std::nullopt;
    return appendExtensionIfNone(chosen->path, ".wav");
}

void runPreferences(Ui& ui, SettingsStore& settings, const PreferenceDefaults& defaults,
                    const std::function<void(bool palOnTop)>& applyPalOnTop) {
    PreferencesBrowsers browsers;
    browsers.palette = [&] { return browsePalettePath(ui, settings); };
    browsers.phongFolder = [&] { return browseMapFolder(ui, settings, true); };
    browsers.envFolder = [&] { return browseMapFolder(ui, settings, false); };
    browsers.introWav = [&] { return browseIntroWav(ui, settings); };
    auto edited = ui.editPreferences(readPreferences(settings, defaults), browsers);
    if (!edited) return;
    storePreferences(settings, *edited);
    if (applyPalOnTop) applyPalOnTop(edited->palOnTop);
}

}  // namespace tarn
