#pragma once
// The texels a fill reaches. In the skin pane: the 4-connected texels holding
// the clicked index, or every texel of it. On the model: the texels of that
// index connected across the model's surface, through the seams where two
// Triangles share an edge of the mesh but not of the mapping, so one click
// fills a sleeve whose front and back lie in different islands.
#include <cstdint>
#include <vector>

#include "image/skin.h"
#include "model/mesh.h"

namespace tarn {

// Texel offsets (row * width + column), `start` first; empty for a start
// outside the skin.
std::vector<std::int32_t> fillRegion(const Skin& skin, std::int32_t start, bool everyTexelOfIndex);

// One byte per texel of a `width` x `height` skin, set where a Triangle's
// mapping covers the texel's centre: of every visible Triangle, or of the
// selected ones only (hidden or not).
std::vector<std::uint8_t> coveredTexels(const Mesh& mesh, int width, int height, bool selectedOnly);

// As fillRegion, but only texels a visible Triangle covers (centre inside its
// mapping) take part, and they are neighbours across seams too.
std::vector<std::int32_t> fillRegionOnSurface(const Mesh& mesh, const Skin& skin, std::int32_t start);

}  // namespace tarn
