#pragma once
// The Skin-menu commands, Base Folder and Scan Folder of the File menu, the
// Skins list choice, Re-Palette and the default-palette button. Each talks to
// the user through the Ui, keeps folders and settings through the dialog
// rules, and asks for redraws through the RefreshSink.
#include "image/history.h"
#include "image/image_codec.h"
#include "image/skin_list.h"
#include "platform/dialogs.h"
#include "platform/refresh.h"
#include "platform/settings.h"
#include "platform/ui.h"

namespace tarn {

// What every skin command works on. The skin size is the Mesh's.
struct SkinContext {
    Ui& ui;
    SettingsStore& settings;
    Folders& folders;
    SkinList& skins;
    RefreshSink& refresh;
    int skinWidth = 0;
    int skinHeight = 0;
    // Where the commands record their steps; none records nothing.
    History* history = nullptr;
    // The index transparent pixels of a true-colour image take (ColorSlots[7]).
    std::uint8_t transparentIndex = 0;
};

// Filters of the skin dialogs. Save offers PNG too, written indexed with the
// skin's palette, so that a name ending in .png never holds other bytes.
inline constexpr const char* kSkinFilter =
    "Mesh Skin (*.pcx)|*.pcx|Bitmap (*.bmp)|*.bmp|PNG Image (*.png)|*.png|All Files (*.*)|*.*||";
inline constexpr const char* kSkinOpenFilter =
    "Mesh Skin (*.pcx)|*.pcx|Bitmap (*.bmp)|*.bmp|PNG Image (*.png)|*.png|All Files (*.*)|*.*||";
inline constexpr const char* kLinkFilter = "Mesh Skin (*.pcx)|*.pcx|All Files (*.*)|*.*||";
inline constexpr const char* kPaletteFilter =
    "Mesh Skin (*.pcx)|*.pcx|Bitmap (*.bmp)|*.bmp|Photoshop ACT (*.act)|*.act|"
    "All Files (*.*)|*.*||";
inline constexpr const char* kSkinInitialName = "*.pcx";

// Texts of the skin commands.
inline constexpr const char* kMsgSaveFailed = "An error occured while attempting to save!";
inline constexpr const char* kMsgWrongDimensions = "Error loading skin: Incorrect dimensions!";
// Asked, after the file's path, before Save writes over a file another
// program changed since TARN last read or wrote it.
inline constexpr const char* kAskWriteOverChanged =
    "\nwas changed outside TARN since TARN last read or wrote it.\n\n"
    "Write TARN's skin over it? (No leaves the file as it is.)";
inline constexpr const char* kMsgFolderNotValid = "That folder is not valid";
inline constexpr const char* kMsgRestartForBase =
    "You must restart TARN before the change will take effect.";
inline constexpr const char* kBaseFolderTitle = "Please locate the 'baseq2' folder under Quake2";
inline constexpr const char* kScanFolderTitle = "Select the folder you wish to browse...";
inline constexpr const char* kMsgNoPalette =
    "There was an error loading the specified file,\nit does no appear to contain a palette";
inline constexpr const char* kBaseDirKey = "BaseDir";
inline constexpr const char* kAskPngPalette =
    "This image holds true colours.\nMatch them to the current skin's palette?\n(No matches them to the default palette.)";
inline constexpr const char* kAskPngDither =
    "Dither the colours (Floyd-Steinberg)?\n(No takes each pixel's nearest colour.)";

// The questions that choose how a true-colour image is matched to a palette:
// the current Skin's palette or the default one (no question without a
// current Skin), then dithering or the nearest colour. Cancel on either
// cancels the load.
ColourMatcher askColourMatch(Ui& ui, const SettingsStore& settings, const Skin* current,
                             std::uint8_t transparentIndex);

// The skin image picked in the open dialog of `request` (a name without an
// extension gets the chosen type's, ".pcx" for all files), read with the
// questions of askColourMatch for a true-colour PNG. nullptr when the dialog
// or a question was cancelled, or the file could not be used (said why).
std::unique_ptr<Skin> askSkinImage(Ui& ui, SettingsStore& settings, Folders& folders,
                                   const FileDialogRequest& request, const Skin* current,
                                   std::uint8_t transparentIndex);

// Rebuilds what depends on the current Skin and its palette: PaintRemap and
// ShadeRamps.
void rebuildSkinTables(RefreshSink& refresh);

// Skin menu.
void revertSkin(SkinContext& c);   // Ctrl+Z
void storeSkin(SkinContext& c);    // Shift+Z
bool saveSkin(SkinContext& c);     // false when nothing was saved
bool saveSkinAs(SkinContext& c);   // false when nothing was saved
void openSkin(SkinContext& c);     // Shift+O
void closeSkin(SkinContext& c);    // Shift+D
void moveSkinUp(SkinContext& c);   // Ctrl+Up
void moveSkinDown(SkinContext& c); // Ctrl+Down
void unlinkSkin(SkinContext& c);   // Ctrl+L
bool linkSkin(SkinContext& c);     // Shift+L; false when the Skin stayed external

// File menu.
void chooseBaseFolder(SkinContext& c);
void scanSkinFolder(SkinContext& c);

// A choice in the Skins list.
void selectSkin(SkinContext& c, int index);

// "Re-&Palette" and the default-palette button (command 32864): replace the
// current Skin's palette, keeping its pixel indices.
void rePalette(SkinContext& c);
void defaultPalette(SkinContext& c);

}  // namespace tarn
