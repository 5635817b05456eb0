// The 3D pane's wide brush: stamps of the tip along a segment, each reaching
// the texels whose centres project inside it.
#include <algorithm>
#include <cmath>

#include "image/skin.h"
#include "paint/fill_region.h"
#include "paint/paint_state.h"
#include "platform/refresh.h"
#include "render/brush_cover.h"
#include "render/iso_view.h"

namespace tarn {

bool IsoView::paintWideLine(int ax, int ay, int bx, int by) {
    Skin* skin = paintableSkin();
    const Mesh& mesh = context_.mesh;
    const Vec3f* positions = mesh.currentPositions();
    if (skin == nullptr || positions == nullptr) return false;
    // The size counts the pointer's pixels; the pane draws at device pixels.
    const float size = float(context_.paint.pressedTip().size) * pointerScale_;
    // Stamps a quarter of the tip apart leave no gap between them.
    const float length = std::hypot(float(bx - ax), float(by - ay));
    const int steps = std::max(1, int(std::ceil(length / std::max(1.0f, 0.25f * size))));
    for (int i = 0; i <= steps; ++i) {
        const float f = float(i) / float(steps);
        BrushSpot spot;
        spot.x = float(ax) + f * float(bx - ax);
        spot.row = float(clientHeight_ - 1) - (float(ay) + f * float(by - ay));
        spot.size = size;
        spot.shape = context_.paint.tip.shape;
        visitTexelsUnder(mesh, positions, mesh.vertexCount, target_, spot, skin->width, skin->height,
                         [&](std::int32_t texel) { stroke_.paintTexel(skin, texel, context_.paint); });
        if (ax == bx && ay == by) break;
    }
    context_.refresh.refresh(kRedrawFromSkin, kPanesSkinIso16);
    return true;
}

bool IsoView::fillOnSurface(int x, int y) {
    Skin* skin = paintableSkin();
    if (skin == nullptr || !stroke_.takeFill()) return false;
    for (const std::int32_t texel : surfaceFill_.region(context_.mesh, *skin, pickAt(x, y)))
        stroke_.paintTexel(skin, texel, context_.paint);
    context_.refresh.refresh(kRedrawFromSkin, kPanesSkinIso16);
    return true;
}

}  // namespace tarn
