#include "render/mode_pending.h"

#include "render/render_pass.h"

namespace tarn {

void PendingMode::Draw(RenderTarget& target, RenderScene& scene) {
    RenderPass pass(target, scene);
    pass.setUpFrame(palette, scene.paint ? scene.paint->colorSlots[kSlotBackground] : 0);
}

}  // namespace tarn
