// The Help menu besides About: the keys of every command and the user guide.
#include "app/application.h"

#include <algorithm>

#include "app/command_ids.h"
#include "app/command_table.h"
#include "app/preferences.h"
#include "platform/fs.h"

namespace tarn {

namespace {

constexpr const char* kAxisNames[] = {"X", "Y", "Z"};

}  // namespace

std::string Application::symmetryText() const {
    if (symmetry.frame < 0 || symmetry.frame >= static_cast<int>(mesh.frames.size()))
        return "Symmetry: the model has no frame to mirror in";
    return "Symmetry: frame " + std::to_string(symmetry.frame) + " " +
           mesh.frames[std::size_t(symmetry.frame)].name + ", axis " + kAxisNames[std::clamp(symmetry.axis, 0, 2)];
}

void Application::bindReports() {
    for (int id : {cmd::kSymmetryBest, cmd::kSymmetryCurrentFrame, cmd::kSymmetryAxisX, cmd::kSymmetryAxisY,
                   cmd::kSymmetryAxisZ})
        commands_.report(id, [this] { return symmetryText(); });
    commands_.report(cmd::kRectSaveState, [] { return std::string("Save State: the rectangle stays as drawn"); });
    commands_.report(cmd::kSkinStore, [this] {
        const Skin* skin = skins.current();
        return skin ? "Stored " + displayName(*skin) + ": Revert returns to this state" : std::string();
    });
    commands_.report(cmd::kMappingStore, [] { return std::string("Mapping stored: Revert returns to it"); });
    commands_.report(cmd::kSkinSave, [this] {
        const Skin* skin = skins.current();
        return skin && !skin->modified() ? "Saved " + skin->filePath : std::string();
    });
    commands_.report(cmd::kSave, [this] { return mappingChanged() ? std::string() : "Saved " + currentFile; });
}

void Application::bindHelpCommands() {
    bindReports();
    // Made from the command table each time, so the list shows the keys bound now.
    commands_.bind(cmd::kKeyboardShortcuts,
                   [this] { ui_->showTable(kShortcutsTitle, shortcutRows(classicKeysEnabled(settings_))); });
    commands_.bind(cmd::kUserGuide, [this] {
        if (guidePath.empty() || !isRegularFile(guidePath) || !ui_->openDocument(guidePath))
            ui_->message(std::string(kMsgNoGuide) + (guidePath.empty() ? std::string() : "\n" + guidePath));
    });
}

}  // namespace tarn
