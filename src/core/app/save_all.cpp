// What the quit question's Save All does, and what it names.
#include "app/application.h"

#include "image/skin_commands.h"
#include "model/md2_commands.h"
#include "platform/dialogs.h"

namespace tarn {

std::string Application::unsavedModel() const {
    if (!mesh.loaded || !mappingChanged()) return {};
    return currentFile.empty() ? std::string("the model") : relativeToBase(currentFile, folders.base);
}

bool Application::saveAll() {
    const int current = skins.currentIndex();
    for (int i = 0; i < skins.count(); ++i) {
        if (!skins.at(i)->modified()) continue;
        skins.makeCurrent(i);
        SkinContext c = skinContext();
        // Save goes on to Save As for a skin that has no file yet.
        if (!saveSkin(c)) {
            refresh_.refreshAll();
            return false;
        }
    }
    if (current >= 0 && current < skins.count()) skins.makeCurrent(current);
    if (!unsavedModel().empty()) {
        MeshFileContext c = meshContext();
        if (currentFile.empty() ? !saveMeshAs(c) : !saveMeshCommand(c)) return false;
    }
    return true;
}

}  // namespace tarn
