#include "render/render_setup.h"

#include <algorithm>

namespace tarn {

std::string prepareRenderSession(RenderSession& session, const RenderRequest& r, Ui& ui) {
    if (r.width < 1 || r.height < 1 || r.width > kMaxRenderSide || r.height > kMaxRenderSide)
        return "the size must be between 1 and " + std::to_string(kMaxRenderSide) + " on each side";
    if (r.mode < 0 || r.mode >= kRenderModeCount) return "there is no render mode " + std::to_string(r.mode);
    if (!loadSessionModel(session, r.model, r.base, ui)) return "the model could not be loaded";
    Mesh& mesh = session.mesh;
    if (!SelectFrame(mesh, r.frame))
        return "frame " + std::to_string(r.frame) + " does not exist (the model has " +
               std::to_string(mesh.frames.size()) + ")";
    if (session.skins.count() > 0 || r.skin != 0) {
        if (r.skin < 0 || r.skin >= session.skins.count())
            return "skin " + std::to_string(r.skin + 1) + " does not exist (the model has " +
                   std::to_string(session.skins.count()) + ")";
        session.skins.makeCurrent(r.skin);
    }
    for (const int t : r.selected) {
        if (t < 0 || t >= mesh.triangleCount)
            return "triangle " + std::to_string(t) + " does not exist (the model has " +
                   std::to_string(mesh.triangleCount) + ")";
        mesh.triangles[std::size_t(t)].flags |= kTriSelected;
    }
    for (const std::string& path : r.companions)
        if (!addSessionCompanion(session, path, r.base, ui))
            return "the companion " + path + " could not be loaded";
    session.mappingMode = r.mappingMode;
    session.setSize(r.width, r.height);
    session.setCamera(r.eye, r.lookAt, r.fieldOfView);
    session.rebuildTables();
    return {};
}

std::string renderModeRefusal(const RenderSession& session, int mode) {
    const auto refusal = modeRefusal(mode, session.resources());
    return refusal ? *refusal : std::string();
}

std::vector<std::uint8_t> topDownColour(const RenderSession& session) {
    const FrameBuffer& f = session.frame;
    const int w = f.clientWidth();
    const int h = f.height();
    std::vector<std::uint8_t> out(std::size_t(w) * std::size_t(h));
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = f.colour() + std::size_t(h - 1 - y) * std::size_t(f.width());
        std::copy(row, row + w, out.begin() + std::ptrdiff_t(y) * w);
    }
    return out;
}

}  // namespace tarn
