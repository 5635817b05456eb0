#pragma once
// Loading and saving the Mesh as an .md2, and the Open, Save and Save As
// commands of the main window. Everything the user sees goes through the Ui;
// folders and the current file go through the settings store.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "image/history.h"
#include "image/skin_list.h"
#include "model/companion.h"
#include "model/mesh.h"
#include "platform/dialogs.h"
#include "platform/fs.h"
#include "platform/refresh.h"
#include "platform/settings.h"
#include "platform/ui.h"

namespace tarn {

// What the model file commands work on: the application's model state and
// the main window's file-level state.
struct MeshFileContext {
    Ui& ui;
    SettingsStore& settings;
    RefreshSink& refresh;
    Mesh& mesh;
    SkinList& skins;
    Bytes& sourceImage;        // the bytes of the last .md2 loaded
    std::string& currentFile;  // the .md2 Save writes to
    Folders& folders;
    // Companions get their face normals recomputed with the Mesh's.
    std::vector<std::unique_ptr<Companion>>* companions = nullptr;
    // Cleared when a load replaces the model.
    History* history = nullptr;
    // Told each time the Mesh was loaded from or saved to a file, so that the
    // mapping in memory matches the file's.
    std::function<void()> matchesFile = nullptr;
    // The PAK the current file was read from while it has no loose file:
    // saving it then creates that loose file. Empty for a loose model.
    std::string* sourcePak = nullptr;
};

inline constexpr const char* kMd2OpenFilter = "Quake2 Model (*.md2)|*.md2|All Files (*.*)|*.*||";
inline constexpr const char* kMd2SaveFilter = "Quake2 MD2 (*.md2)|*.md2|All Files (*.*)|*.*||";
inline constexpr const char* kMd2InitialName = "*.md2";
inline constexpr const char* kMd2Extension = ".md2";
inline constexpr const char* kCurFileKey = "CurFile";
inline constexpr const char* kDirScanPromptKey = "DirScan_Prompt";

inline constexpr const char* kMsgLoadError = "There was an error loading the specified file!";
inline constexpr const char* kMsgSkinWrongSize = "Skin is of the wrong size....creating temporary skin.";
inline constexpr const char* kMsgSkinMissing = "External Skin does not exist....creating temporary skin.";
inline constexpr const char* kAskNoSkinsScan =
    "This MD2 has no internal skins, would you like to load from it's base folder?";
inline constexpr const char* kAskSaveMesh = "Save changes to the current Mesh?";
inline constexpr const char* kMsgSaveFailedSmiley = "An error occured while trying to save =[";
inline constexpr const char* kMsgSaveAsFailed = "An error occured while attempting to save!";
inline constexpr const char* kMsgModelOutsideBase =
    "The model itself is outside the base folder, so the skin cannot be copied below it; "
    "its name is left out of the model.";
// Asked when the Mesh is saved with a linked skin outside the base folder.
std::string outsideSkinQuestion(const std::string& name);

// The checkerboard a temporary skin shows: 4 x 4 cells, the top-left one 63.
inline constexpr std::uint8_t kTempSkinCellA = 63;
inline constexpr std::uint8_t kTempSkinCellB = 191;
inline constexpr int kTempSkinCell = 4;

// Reads the .md2 at `path` (relative paths from the base folder) into the
// Mesh, the SkinList and the source image. A path with no file behind it is
// looked up in the PAK files of the nearest folder above it that has any. The whole file is checked before
// anything changes: a file that cannot be read or is refused leaves every
// piece of state as it was after a message. Returns true on success.
bool LoadMesh(MeshFileContext& c, const std::string& path);

// Writes the Mesh to `path` through an atomic replace, so a failed save keeps
// the file that was there. Reports every failure; returns true on success.
// Saving a model read out of a PAK to its own path creates the loose file
// and its folders and says where it went.
bool SaveMesh(MeshFileContext& c, const std::string& path);

// The 63/191 checkerboard of a temporary skin of this size.
PixelBuffer temporarySkinPixels(int width, int height);

// A temporary linked Skin for `name` that could not be used: the default
// palette and the 63/191 checkerboard, with no file behind it. A checkerboard
// of the right size passed in is shared rather than built again: the
// temporary skins of one load hold one image until one of them is painted.
std::unique_ptr<Skin> makeTemporarySkin(const SettingsStore& settings, const std::string& baseFolder,
                                        const std::string& name, int width, int height,
                                        PixelBuffer checkerboard = {});

// The names written into the .md2: the linked Skins, in list order.
std::vector<std::string> linkedSkinNames(const SkinList& skins);

// "Save changes to the current Mesh?" (Yes/No/Cancel); Yes saves to the
// current file. True when the caller may go on: No, or Yes and the save worked.
bool offerMeshSave(MeshFileContext& c);

// Open (Ctrl+O), Save (Ctrl+S) and Save As (Ctrl+A).
// Open returns whether a model was loaded.
bool openMesh(MeshFileContext& c);
// What Open does once a path is chosen: offers to save the current Mesh,
// loads `path` and makes it the current file. True when it was loaded.
bool openMeshAt(MeshFileContext& c, const std::string& path);
bool saveMeshCommand(MeshFileContext& c);
bool saveMeshAs(MeshFileContext& c);

}  // namespace tarn
