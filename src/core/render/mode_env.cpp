#include "render/mode_env.h"

#include "render/mode_phong.h"
#include "render/shading.h"

namespace tarn {

void EnvironmentMappedMode::preparePalette(const RenderScene& scene) {
    if (scene.envMap.pixels != nullptr && scene.envMap.palette != nullptr)
        palette = *scene.envMap.palette;
}

bool EnvironmentMappedMode::bindSource(RenderPass& pass) {
    return bindLightingMap(pass, pass.scene().envMap);
}

void EnvironmentMappedMode::light(RenderPass& pass) {
    ComputeLighting(LightingKind::Map, pass.scene(), pass.camera());
}

void EnvironmentMappedMode::drawMesh(RenderPass& pass) {
    for (const std::int16_t i : pass.visibleTriangles())
        pass.raster().FillMap(
            mapFill(pass.meshCorners(i), pass.mesh().triangles[std::size_t(i)].scratch));
}

void EnvironmentMappedMode::drawCompanions(RenderPass& pass) {
    for (const auto& shown : pass.shownCompanions()) {
        const Companion& c = *shown.companion;
        for (const std::int16_t j : c.visible)
            pass.raster().FillMap(
                mapFill(pass.companionCorners(c, j), c.triangles[std::size_t(j)].scratch));
    }
}

}  // namespace tarn
