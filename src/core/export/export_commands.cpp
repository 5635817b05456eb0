#include "export/export_commands.h"

#include "export/dh2_mesh.h"
#include "export/ssm_object.h"

namespace tarn {

int SaveSsmObject(const Mesh& mesh, const std::string& path) {
    return writeFileAtomic(path, encodeSsmObject(buildSsmObject(mesh)));
}

int SaveDh2Mesh(const Mesh& mesh, const std::string& path) {
    return writeFileAtomic(path, encodeDh2Mesh(mesh));
}

void ExportSsmObject(ExportContext& c) {
    if (!c.mesh.loaded) return;
    FileDialogRequest request;
    request.filter = kSsmFilter;
    request.initialName = kSsmInitialName;
    auto chosen = askSavePath(c.ui, c.settings, c.folders, request);
    if (!chosen) return;
    // The user chose this file: a write that fails must not pass in silence.
    const std::string path = appendExtensionIfNone(chosen->path, ".ssm");
    if (const int error = SaveSsmObject(c.mesh, path); error != 0) c.ui.message(errorSavingMessage(error, path));
}

void ExportDh2Mesh(ExportContext& c) {
    if (!c.mesh.loaded) return;
    FileDialogRequest request;
    request.filter = kDh2Filter;
    request.initialName = "*.d2m";
    auto chosen = c.ui.saveFile(request);
    if (!chosen) return;
    if (SaveDh2Mesh(c.mesh, appendExtensionIfNone(chosen->path, ".d2m")) != 0) c.ui.message(kMsgDh2CannotCreate);
}

}  // namespace tarn
