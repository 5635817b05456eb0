#pragma once
// Rules every file dialog shares: the filter strings, the folder rule with its
// store-back, the missing-extension rule and the below-base test.
#include <optional>
#include <string>
#include <vector>

#include "platform/settings.h"
#include "platform/ui.h"

namespace tarn {

struct FilterEntry {
    std::string description;  // "Mesh Skin (*.pcx)"
    std::string pattern;      // "*.pcx", or several joined by ';'
};

// Splits "desc|pattern|desc|pattern||" into its pairs; a trailing lone
// description without pattern is dropped.
std::vector<FilterEntry> parseFilter(const std::string& filter);

// One Qt name filter per pair: "desc (patterns)" with ';' turned into spaces and
// "*.*" into "*", so that "All Files" also matches names without a dot. A
// description that already ends in its patterns is kept as it is.
std::vector<std::string> toQtNameFilters(const std::string& filter);

// The extension of the first pattern of the filter at 1-based `index` (".pcx"),
// or empty for a wildcard extension or an index out of range.
std::string filterExtension(const std::string& filter, int index);

// True when the file name part of `path` holds no '.'. Only the name counts:
// folders such as "~/.local" must not stop the extension being added.
bool hasNoExtension(const std::string& path);
std::string appendExtensionIfNone(const std::string& path, const std::string& extension);
// `path` with the extension of its file name (if any) replaced by `extension`,
// which may be empty: the model's own name for what is written beside it.
std::string withExtension(const std::string& path, const std::string& extension);

// The folders the main window keeps for the dialogs.
struct Folders {
    std::string base;
    std::string load;
    std::string save;
};

// The folder rule: the chosen path's folder when usable, else the folder
// stored under `key` ("LoadDir"/"SaveDir", section "Project") when it is not
// "Unknown" and usable, else the base folder. The result is stored back
// under the key and returned.
std::string applyFolderRule(const std::string& chosenPath, const std::string& key,
                            SettingsStore& settings, const std::string& baseFolder);

// Shows an open (or save) dialog starting in the request's folder, or else
// the load (or save) folder, and, on OK, applies the folder rule and keeps
// the result in `folders`.
std::optional<FileDialogResult> askOpenPath(Ui& ui, SettingsStore& settings, Folders& folders,
                                            FileDialogRequest request);
std::optional<FileDialogResult> askSavePath(Ui& ui, SettingsStore& settings, Folders& folders,
                                            FileDialogRequest request);

// Below-base test: the path begins with the base folder followed by a separator
// (exact, case-sensitive).
bool isBelowBase(const std::string& path, const std::string& base);
// The part of `path` after the base folder and its separator, or the whole
// path when it is not below the base folder.
std::string relativeToBase(const std::string& path, const std::string& base);

inline constexpr const char* kBelowBaseQuestion =
    "You are not saving below your base folder,\nare you sure you want to continue??";

// Asks the below-base question when `path` is not below the base folder.
// Returns false when the user answered No.
bool confirmBelowBase(Ui& ui, const std::string& path, const std::string& base);

// Proposes `path` in a save dialog: its folder to start in and its name.
// Nothing changes for an empty path.
void proposeFile(FileDialogRequest& request, const std::string& path);

}  // namespace tarn
