#pragma once
// The Open, Close and Scan Folder commands of the Options menu's "Phong Maps"
// and "Environment Maps" submenus.
#include <memory>
#include <string>

#include "image/maps.h"

namespace tarn {

class Ui;
class SettingsStore;
class RefreshSink;
struct Folders;

// What the map commands work with: the user, the stored settings, the dialog
// folders of the main window and the panes to refresh.
struct MapCommandContext {
    Ui& ui;
    SettingsStore& settings;
    Folders& folders;
    RefreshSink& refresh;
};

// Reads one map for a list of `kind`; shows why and returns null when the
// file cannot be read, is no image, or is not 256 x 256.
std::unique_ptr<LightingMap> LoadLightingMap(const std::string& path, MapKind kind, Ui& ui);

// Each returns true when the list changed.
bool OpenPhongMap(MapList& phongMaps, MapCommandContext& context);
bool ClosePhongMap(MapList& phongMaps, MapCommandContext& context);
bool ScanPhongMapFolder(MapList& phongMaps, MapCommandContext& context);

bool OpenEnvMap(MapList& envMaps, MapCommandContext& context);
bool CloseEnvMap(MapList& envMaps, MapCommandContext& context);
bool ScanEnvMapFolder(MapList& envMaps, MapCommandContext& context);

// Choosing entry `index` of the P-Maps list (id 132) or the E-Maps list (133).
bool ChoosePhongMap(MapList& phongMaps, int index, RefreshSink& refresh);
bool ChooseEnvMap(MapList& envMaps, int index, RefreshSink& refresh);

// Start-up: scans the folders named by "Phong Path" and "Env Path" (section
// "Preferences") unless they are "Unknown", then makes the first entry of a
// list current when the list holds maps but none is current.
void ScanMapFoldersAtStartup(const SettingsStore& settings, MapList& phongMaps,
                             MapList& envMaps, Ui& ui, RefreshSink& refresh);

inline constexpr int kCmdPhongMapOpen = 32858;
inline constexpr int kCmdPhongMapClose = 32859;
inline constexpr int kCmdEnvMapOpen = 32860;
inline constexpr int kCmdEnvMapClose = 32861;
inline constexpr int kCmdPhongMapScan = 32862;
inline constexpr int kCmdEnvMapScan = 32863;

inline constexpr const char* kPhongMapFilter =
    "Greyscale Bitmap (*.bmp)|*.bmp|Greyscale PCX (*.pcx)|*.pcx|All Files (*.*)|*.*||";
inline constexpr const char* kEnvMapFilter =
    "Bitmap (*.bmp)|*.bmp|ZSoft PCX (*.pcx)|*.pcx|All Files (*.*)|*.*||";
inline constexpr const char* kMsgPhongMapWrongSize =
    "Error loading Phong Map: Incorrect dimensions!\nPhong maps must be 256x256, and 8bit "
    "Greyscale";
inline constexpr const char* kMsgEnvMapWrongSize =
    "Error loading Environment Map: Incorrect dimensions!\nEnvironment maps must be 256x256, "
    "and 8bit";
inline constexpr const char* kMapFolderTitle = "Select the folder you wish to browse...";
inline constexpr const char* kMsgMapFolderNotValid = "That folder is not valid";

}  // namespace tarn
