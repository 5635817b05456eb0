#pragma once
// Camera moves of today's 3D programs: towards the point under the pointer,
// and to a view from one side of the model.
#include "model/mesh.h"
#include "render/camera_drag.h"
#include "render/render_target.h"

namespace tarn {

// The model point under pane pixel (x, row) (row 0 at the bottom): on the
// nearest visible Triangle there, or on the plane through the look-at point
// that faces the eye where no Triangle is.
Vec3f pointUnder(const Mesh& mesh, const Vec3f* positions, int count, const RenderTarget& target, int x,
                 int row);

// Moves the eye and the look-at point together towards `point` by whole
// wheel notches (a positive delta nears it), so `point` stays under the
// pointer. Stops short of passing it.
void dollyTowards(CameraPose& pose, const Vec3f& point, int delta);

// The sides of the model a view can look from. MD2 models face +x with +z up.
enum class ViewSide { Front, Back, Left, Right, Top, Bottom };

// Looks at the current frame from `side`, framed as Frame Model frames it.
void viewFromSide(const Mesh& mesh, RenderTarget& target, ViewSide side);

}  // namespace tarn
