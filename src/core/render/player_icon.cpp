#include "render/player_icon.h"

#include "render/model_probe.h"

namespace tarn {

SnapshotPicture renderPlayerIcon(RenderMode& textured, RenderScene scene, const RenderTarget& view) {
    // The menu shows the model alone, filling its square, on nothing.
    PaintState paint = scene.paint ? *scene.paint : PaintState{};
    paint.colorSlots[kSlotBackground] = kIconTransparent;
    scene.paint = &paint;
    scene.companions = nullptr;
    RenderTarget camera;
    camera.eye = view.eye;
    camera.lookAt = view.lookAt;
    camera.fieldOfView = view.fieldOfView;
    if (scene.mesh != nullptr) frameModel(*scene.mesh, camera);
    return renderSnapshot(textured, scene, camera, kIconSide, kIconSide, SnapshotQuality{});
}

bool makeIconCommand(Ui& ui, SettingsStore& settings, Folders& folders, const std::string& skinPath,
                     const std::function<SnapshotPicture()>& draw) {
    FileDialogRequest request;
    request.filter = kIconFilter;
    request.initialName = "*.pcx";
    proposeFile(request, skinPath.empty() ? std::string() : iconPathFor(skinPath));
    request.title = "Save the player icon as";
    const auto chosen = askSavePath(ui, settings, folders, request);
    if (!chosen) return false;
    const std::string path = appendExtensionIfNone(chosen->path, ".pcx");
    if (const int error = saveSnapshot(draw(), path); error != 0) {
        ui.message(errorSavingMessage(error, path));
        return false;
    }
    return true;
}

std::string iconPathFor(const std::string& skinPath) { return withExtension(skinPath, "_i.pcx"); }

}  // namespace tarn
