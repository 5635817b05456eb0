#include "render/pipeline_mode.h"

namespace tarn {

void PipelineMode::Draw(RenderTarget& target, RenderScene& scene) {
    RenderPass pass(target, scene);
    if (!pass.setUpFrame(palette, background(scene))) return;
    preparePalette(scene);
    if (!pass.hasModel() || !bindSource(pass)) return;
    pass.transform();
    if (rejects()) pass.reject();
    light(pass);
    drawMesh(pass);
    drawCompanions(pass);
}

std::uint8_t backgroundSlot(const RenderScene& scene) {
    return scene.paint ? scene.paint->colorSlots[kSlotBackground] : 0;
}

void applyShadedPalette(Palette& palette, const RenderScene& scene) {
    if (scene.lighting != nullptr) {
        for (int r = 0; r < kRampCount; ++r)
            for (int k = 0; k < kRampLength; ++k)
                for (int ch = 0; ch < 3; ++ch)
                    palette[std::size_t((kRampBase[r] + k) * 3 + ch)] =
                        scene.lighting->shadeRamps[std::size_t(r)][std::size_t(k)][std::size_t(ch)];
    }
    if (scene.skin != nullptr && scene.paint != nullptr) {
        const auto from = std::size_t(scene.paint->colorSlots[kSlotBackground]) * 3;
        for (std::size_t ch = 0; ch < 3; ++ch)
            palette[std::size_t(kShadedBackground) * 3 + ch] = scene.skin->palette[from + ch];
    }
}

}  // namespace tarn
