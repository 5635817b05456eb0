#pragma once
// The Preferences command: reads the preferences into the dialog, runs its
// browse buttons and stores what OK confirms.
#include <functional>
#include <optional>
#include <string>

#include "platform/settings.h"
#include "platform/ui.h"

namespace tarn {

inline constexpr const char* kPhongFolderTitle = "Select the folder to be scanned for Phong Maps";
inline constexpr const char* kEnvFolderTitle = "Select the folder to be scanned for Environment Maps";
inline constexpr const char* kMsgNextRun = "This setting will take affect the next time you run TARN.";
inline constexpr const char* kMsgPrefFolderNotValid = "That folder is not valid";
inline constexpr const char* kPalettePathFilter =
    "Mesh Skin (*.pcx)|*.pcx|Bitmap (*.bmp)|*.bmp|Photoshop ACT (*.act)|*.act|All Files (*.*)|*.*||";
inline constexpr const char* kWavFilter = "WAV Audio (*.wav)|*.wav|All Files (*.*)|*.*||";

inline constexpr int kIntroRandom = 8;
inline constexpr int kIntroCustom = 9;

// Where the dialog's defaults point when nothing is stored: TARN's own data
// folder (its bundled colormap and map folders).
struct PreferenceDefaults {
    std::string palettePath;
    std::string phongPath;
    std::string envPath;
    static PreferenceDefaults inFolder(const std::string& dataFolder);
};

// The settings as TARN sees them when it ships its own content: while the
// user has stored no colormap or map folder, the preferences name that
// content, so every render mode works on a fresh start. Everything else
// passes through to the stored settings.
class ContentDefaults final : public SettingsStore {
public:
    ContentDefaults(SettingsStore& stored, PreferenceDefaults content)
        : stored_(stored), content_(std::move(content)) {}
    int getInt(const std::string& section, const std::string& key, int def) const override {
        return stored_.getInt(section, key, def);
    }
    std::string getString(const std::string& section, const std::string& key,
                          const std::string& def) const override;
    void setInt(const std::string& section, const std::string& key, int value) override {
        stored_.setInt(section, key, value);
    }
    void setString(const std::string& section, const std::string& key, const std::string& value) override {
        stored_.setString(section, key, value);
    }

private:
    SettingsStore& stored_;
    PreferenceDefaults content_;
};

inline constexpr const char* kClassicKeysKey = "Classic keys";
inline constexpr const char* kOfferWeaponKey = "Offer a player's weapon as a companion";
inline constexpr const char* kPressureStrengthKey = "Pen pressure sets the paint strength";
bool classicKeysEnabled(const SettingsStore& settings);
bool offerWeaponEnabled(const SettingsStore& settings);

// The dialog's starting values. A custom intro whose file cannot be read
// starts as Random.
PreferencesValues readPreferences(const SettingsStore& settings, const PreferenceDefaults& defaults);
// What OK stores (the map folders are stored by their browse buttons).
void storePreferences(SettingsStore& settings, const PreferencesValues& values);

// The browse buttons.
std::optional<std::string> browsePalettePath(Ui& ui, const SettingsStore& settings);
std::optional<std::string> browseMapFolder(Ui& ui, SettingsStore& settings, bool phong);
std::optional<std::string> browseIntroWav(Ui& ui, const SettingsStore& settings);

// The whole command; `applyPalOnTop` lays the panes out after OK.
void runPreferences(Ui& ui, SettingsStore& settings, const PreferenceDefaults& defaults,
                    const std::function<void(bool palOnTop)>& applyPalOnTop);

}  // namespace tarn
