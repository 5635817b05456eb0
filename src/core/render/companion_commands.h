#pragma once
// The Companion menu: Open, Close, Load Skin, Hide/Show and Offset, and the
// Companions list box entries.
#include <memory>
#include <string>
#include <vector>

#include "model/companion.h"
#include "model/mesh.h"
#include "platform/dialogs.h"

namespace tarn {

class RefreshSink;
class SettingsStore;
class Ui;

inline constexpr int kCmdCompanionOpen = 32809;
inline constexpr int kCmdCompanionClose = 32810;
inline constexpr int kCmdCompanionHide = 32811;
inline constexpr int kCmdCompanionLoadSkin = 32813;
inline constexpr int kCmdCompanionOffset = 32814;

inline constexpr const char* kCompanionModelFilter = "Quake2 Model (*.md2)|*.md2|All Files (*.*)|*.*||";
inline constexpr const char* kCompanionSkinFilter = "Mesh Skin (*.pcx)|*.pcx|All Files (*.*)|*.*||";
inline constexpr const char* kMsgCompanionLoadError = "There was an error loading the specified file!";
inline constexpr const char* kMsgCompanionSkinMisfit = "This skin does not fit this model!";
inline constexpr const char* kHideText = "&Hide\tH";
inline constexpr const char* kShowText = "&Show\tH";

struct CompanionContext {
    Ui& ui;
    SettingsStore& settings;
    RefreshSink& refresh;
    Folders& folders;
    Mesh& mesh;
    std::vector<std::unique_ptr<Companion>>& companions;
    int& current;  // -1 when the list is empty

    Companion* currentCompanion() const;
};

void openCompanion(CompanionContext& c);
// Opens the model at `path` (loose, or inside the PAKs of the folder above it)
// as a companion. One that names no skin it can load gets one asked for when
// `askSkin`, or a checkerboard. False when nothing was added.
bool openCompanionAt(CompanionContext& c, const std::string& path, bool askSkin);
void closeCompanion(CompanionContext& c);
void loadCompanionSkin(CompanionContext& c);
void toggleCompanionHidden(CompanionContext& c);
void offsetCompanion(CompanionContext& c);

// Close, Load Skin, Hide and Offset need a current Companion.
inline bool companionCommandsEnabled(const CompanionContext& c) {
    return c.currentCompanion() != nullptr;
}
// The Hide item's text: it reads Show while the current Companion is hidden.
const char* companionHideText(const CompanionContext& c);
// "* name" for a Companion with skin pixels, "  name" otherwise.
std::vector<std::string> companionListEntries(const std::vector<std::unique_ptr<Companion>>& list);

// A value as the dialog shows it and reads it back: 6 significant digits.
float roundToDialogPrecision(float value);

}  // namespace tarn
