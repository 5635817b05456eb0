#pragma once
// A MeshSession answered by a BatchUi into its own log, as tarn-cli runs one:
// loading real files without any dialog to script.
#include <sstream>
#include <string>

#include "model/mesh_session.h"
#include "platform/batch_ui.h"
#include "platform/settings.h"

namespace tarn::test {

struct BatchMeshSession {
    std::ostringstream log;
    BatchUi ui{log};
    MemorySettings settings;
    MeshSession session;
    Mesh& mesh = session.mesh;
    SkinList& skins = session.skins;
    Bytes& source = session.sourceImage;
    MeshFileContext& c = session.context;

    explicit BatchMeshSession(const std::string& base) : session(ui, settings, base) {}
};

}  // namespace tarn::test
