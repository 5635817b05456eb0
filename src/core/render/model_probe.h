#pragma once
// What the 3D pane shows at one of its pixels: the Mesh Triangle nearest the
// eye there and the skin texel its mapping puts there. Worked out from the
// camera and the Frame's positions alone, so it answers in every render mode,
// whatever the pick plane holds.
#include "model/mesh.h"
#include "render/render_target.h"

namespace tarn {

struct ModelHit {
    int triangle = -1;  // -1: no Triangle there
    int texelX = -1;
    int texelY = -1;
    double depth = 0.0;  // camera-space depth of the point hit
};

// The hit at pane pixel (x, row) (row 0 at the bottom, as in the planes) with
// the camera of `target`. `positions` are the vertex positions drawn (the
// current Frame's, or the preview's in-between ones), `count` of them.
ModelHit probeModel(const Mesh& mesh, const Vec3f* positions, int count, const RenderTarget& target, int x,
                    int row);

// The centre and radius of a sphere around every position of the current
// Frame (of every Frame when none is current).
struct BoundingSphere {
    Vec3f centre;
    float radius = 0.0f;
};
BoundingSphere boundingSphere(const Mesh& mesh);

// Puts the eye on its present line of sight from the sphere's centre, at the
// distance where the whole sphere fits the field of view with a margin, and
// looks at the centre. Nothing changes without Frames.
void frameModel(const Mesh& mesh, RenderTarget& target);

}  // namespace tarn
