#pragma once
// The texels a brush of the 3D pane reaches: every texel of the visible
// surface whose centre projects inside the brush. Worked out from the camera
// and the Frame's positions, texel by texel, so a texel smaller than a pane
// pixel is reached as surely as a larger one, and one behind the surface never.
#include <cstdint>
#include <functional>
#include <vector>

#include "model/mesh.h"
#include "paint/brush_tip.h"
#include "render/render_target.h"

namespace tarn {

struct BrushSpot {
    float x = 0.0f;    // pane pixel, from the left
    float row = 0.0f;  // pane pixel, rows from the bottom, as in the planes
    float size = 1.0f; // across, in pane pixels
    BrushShape shape = BrushShape::Round;
};

// Calls `visit` with the offset of each texel (row * skinWidth + column) of a
// `skinWidth` x `skinHeight` skin that `spot` reaches on the Mesh drawn from
// `positions` with the camera of `target`. A texel on several Triangles may
// come more than once. Hidden Triangles and back faces are passed over.
void visitTexelsUnder(const Mesh& mesh, const Vec3f* positions, int count, const RenderTarget& target,
                      const BrushSpot& spot, int skinWidth, int skinHeight,
                      const std::function<void(std::int32_t)>& visit);

}  // namespace tarn
