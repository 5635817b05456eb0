#pragma once
// A Mesh with its skins and file state standing on its own, for tools that
// have no main window (tarn-cli) and for tests. Redraw requests are recorded
// and otherwise ignored.
#include <string>

#include "model/md2_commands.h"

namespace tarn {

struct MeshSession {
    MeshSession(Ui& ui, SettingsStore& settings, const std::string& baseFolder)
        : folders{baseFolder, baseFolder, baseFolder},
          context{ui, settings, refresh, mesh, skins, sourceImage, currentFile, folders} {}
    MeshSession(const MeshSession&) = delete;
    MeshSession& operator=(const MeshSession&) = delete;

    RecordingRefresh refresh;
    Mesh mesh;
    SkinList skins;
    Bytes sourceImage;
    std::string currentFile;
    Folders folders;
    MeshFileContext context;
};

}  // namespace tarn
