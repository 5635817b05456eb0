#include "export/export_commands.h"


#include "export/dh2_mesh.h"
#include "export/gltf_export.h"
#include "export/obj_export.h"
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

namespace {

// A save dialog by the folder rule ("SaveDir"), the filter's extension added
// to a name without one; nullopt when cancelled.
std::optional<std::string> askExportPath(ExportContext& c, const char* filter, const char* initialName,
                                         const std::vector<std::string>& extensions) {
    FileDialogRequest request;
    request.filter = filter;
    request.initialName = initialName;
    if (!c.modelPath.empty()) proposeFile(request, withExtension(c.modelPath, extensions[0]));
    const auto chosen = askSavePath(c.ui, c.settings, c.folders, request);
    if (!chosen) return std::nullopt;
    // "All Files" takes the first filter's extension.
    const int index = chosen->filterIndex;
    const bool listed = index >= 1 && std::size_t(index) <= extensions.size();
    return appendExtensionIfNone(chosen->path, extensions[listed ? std::size_t(index - 1) : 0]);
}

}  // namespace

void ExportGltf(ExportContext& c) {
    if (!c.mesh.loaded || c.skins == nullptr || c.sourceImage == nullptr) return;
    const auto path = askExportPath(c, kGltfFilter, kGltfInitialName, {".glb", ".gltf"});
    if (!path) return;
    GltfOptions options;
    options.skin = std::max(c.skins->currentIndex(), 0);
    options.framesPerSecond = c.framesPerSecond;
    options.step = c.step;
    if (const std::string failure = SaveGltf(c.mesh, *c.skins, *c.sourceImage, options, *path); !failure.empty())
        c.ui.message(failure);
}

void ExportObj(ExportContext& c) {
    if (!c.mesh.loaded || c.skins == nullptr) return;
    const auto path = askExportPath(c, kObjFilter, kObjInitialName, {".obj"});
    if (!path) return;
    if (const std::string failure = SaveObj(c.mesh, c.mesh.currentFrame, c.skins->current(), *path); !failure.empty())
        c.ui.message(failure);
}

}  // namespace tarn
