#include "raster/fill_cover.h"

#include "raster/fill_engine.h"

namespace tarn {

void CoverTriangle2D(Rasterizer& raster, const FillTriangle<Vertex2D>& tri, std::vector<RowSpan>& rows) {
    FillEngine::cover(raster, tri, rows);
}

}  // namespace tarn
