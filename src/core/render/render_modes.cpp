#include "render/render_modes.h"

#include "platform/refresh.h"
#include "platform/ui.h"
#include "render/mode_env.h"
#include "render/mode_phong.h"
#include "render/mode_shaded.h"
#include "render/mode_texg.h"
#include "render/mode_texp.h"
#include "render/mode_textured.h"
#include "render/mode_wireframe.h"

namespace tarn {

RenderModes::RenderModes() {
    modes_[kModeWireframe] = std::make_unique<WireframeMode>();
    modes_[kModeWireframeSolid] = std::make_unique<WireframeSolidMode>();
    modes_[kModeFlat] = std::make_unique<FlatShadedMode>();
    modes_[kModeGouraud] = std::make_unique<GouraudShadedMode>();
    modes_[kModePhong] = std::make_unique<PhongShadedMode>();
    modes_[kModeTextured] = std::make_unique<TexturedMode>();
    modes_[kModeEnvironment] = std::make_unique<EnvironmentMappedMode>();
    modes_[kModeTexturedGShade] = std::make_unique<TexturedGShadeMode>();
    modes_[kModeTexturedPShade] = std::make_unique<TexturedPShadeMode>();
}

std::vector<std::string> RenderModes::names() const {
    std::vector<std::string> out;
    for (const auto& m : modes_) out.emplace_back(m->GetName());
    return out;
}

int RenderModes::indexOf(const std::string& name) const {
    for (int i = 0; i < kRenderModeCount; ++i)
        if (name == modes_[std::size_t(i)]->GetName()) return i;
    return -1;
}

std::optional<std::string> modeRefusal(int index, const ModeResources& r) {
    switch (index) {
        case kModePhong:
            if (!r.phongMapLoaded) return kMsgNoPhongMaps;
            break;
        case kModeTextured:
            if (!r.skinLoaded) return kMsgTexturedNoSkins;
            break;
        case kModeEnvironment:
            if (!r.envMapLoaded) return kMsgNoEnvMaps;
            break;
        case kModeTexturedGShade:
            if (!r.skinLoaded) return kMsgTexGNoSkins;
            if (!r.colormapReadable()) return kMsgTexGNoColormap;
            if (auto problem = r.colormapProblem()) return problem;
            break;
        case kModeTexturedPShade:
            if (!r.skinLoaded) return kMsgTexPNoSkins;
            if (!r.phongMapLoaded) return kMsgTexPNoPhongMaps;
            if (!r.colormapReadable()) return kMsgTexPNoColormap;
            if (auto problem = r.colormapProblem()) return problem;
            break;
        default:
            break;
    }
    return std::nullopt;
}

bool SelectRenderMode(RenderModes& modes, int index, const ModeResources& resources, Ui& ui,
                      RefreshSink& refresh) {
    if (index == modes.current_ || index < 0 || index >= kRenderModeCount) return false;
    if (const auto refusal = modeRefusal(index, resources)) {
        ui.message(*refusal);
        return false;
    }
    const int from = modes.current_;
    modes.current_ = index;
    resources.switched(from, index);
    refresh.rebuildLightTable();
    refresh.rebuildPhongShadeTable();
    refresh.rebuildPaintRemap();
    refresh.refresh(kRedrawFull, kPanesAll);
    return true;
}

}  // namespace tarn
