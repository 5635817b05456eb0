// A player model is painted with its weapon in hand: opening a player's
// tris.md2 offers the weapon.md2 beside it as a companion.
#include "app/application.h"

#include "app/preferences.h"
#include "platform/fs.h"
#include "platform/game_files.h"
#include "render/companion_commands.h"

namespace tarn {

std::string playerWeaponQuestion(const std::string& weapon) {
    return "Show the player's weapon\n" + weapon + "\nbeside the model as a companion?";
}

void Application::offerPlayerWeapon() {
    if (!mesh.loaded || !offerWeaponEnabled(settings_) || lowerCase(fileNameOf(currentFile)) != "tris.md2") return;
    const std::string weapon = joinPath(folderOf(currentFile), "weapon.md2");
    for (const auto& companion : companions)
        if (companion->name == weapon) return;
    if (!isRegularFile(weapon) && !readGamePath(*ui_, weapon).fromPak()) return;
    if (ui_->ask(playerWeaponQuestion(relativeToBase(weapon, folders.base)), QuestionKind::YesNo) != Answer::Yes)
        return;
    CompanionContext c{*ui_, settings_, refresh_, folders, mesh, companions, companionIndex};
    openCompanionAt(c, weapon, false);
}

}  // namespace tarn
