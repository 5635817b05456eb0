#pragma once
// Which pixels a 2D triangle fill covers, without filling: for samplers that
// colour each pixel their own way yet must cover exactly what the fills do.
#include <cstdint>
#include <vector>

#include "raster/rasterizer.h"

namespace tarn {

// The pixels left..right (both included) of one row of a fill.
struct RowSpan {
    std::int32_t row, left, right;
};

// The rows every 2D triangle fill of `tri` covers on `raster`'s target, top to
// bottom, into `rows` (emptied first): the fills' clip and edge walk, nothing
// drawn and no plane needed.
void CoverTriangle2D(Rasterizer& raster, const FillTriangle<Vertex2D>& tri, std::vector<RowSpan>& rows);

}  // namespace tarn
