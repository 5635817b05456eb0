#pragma once
// Where the mapping lies in the skin pane: MappingVerts at their pixel centres
// in client coordinates (as floats, before any truncation), the pick rule of
// the vert drag and the even-odd test of the selection clicks.
#include <array>

#include "edit/skin_view.h"
#include "model/mesh.h"

namespace tarn {

struct ScreenPoint {
    float x = 0.0f;
    float y = 0.0f;
};

// Client point of the centre of skin pixel (s, t) in `view`.
ScreenPoint screenOf(const SkinView& view, MappingVert m);

// The corners of a Triangle on the screen; false when one of its MappingVert
// indices lies outside the table.
bool screenTriangle(const SkinView& view, const Mesh& mesh, const Triangle& tri, std::array<ScreenPoint, 3>& out);

// Even-odd crossing test: each edge whose x range (left end open) holds px
// and which passes below the point toggles the answer.
bool pointInTriangle(float px, float py, const std::array<ScreenPoint, 3>& corners);

// Within this many view pixels a MappingVert can be picked.
inline constexpr int kPickRadius = 6;

// The MappingVert nearest to client point (x, y) by the truncated offsets of
// its pixel centre, strictly within kPickRadius; the lowest index on ties.
// -1 when none is that close.
int pickMappingVert(const SkinView& view, const Mesh& mesh, int x, int y);

}  // namespace tarn
