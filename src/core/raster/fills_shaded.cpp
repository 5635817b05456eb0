// Flat, Gouraud and the untextured 2D fills.
#include "raster/fill_sources.h"

namespace tarn {

void Rasterizer::FillFlat(const FillTriangle<FlatVertex>& tri, std::uint8_t colour) {
    FillEngine::run(*this, tri, FillRule<FlatSource, PickWrite::None, true>{{{}, colour}});
}

void Rasterizer::FillFlatPick(const FillTriangle<FlatVertex>& tri, std::uint8_t colour, std::int32_t key) {
    FillEngine::run(*this, tri, FillRule<FlatSource, PickWrite::Key, true>{{{}, colour}, key});
}

void Rasterizer::FillGouraud(const FillTriangle<GouraudVertex>& tri) {
    FillEngine::run(*this, tri, FillRule<ShadeSource, PickWrite::None, true>{});
}

void Rasterizer::FillGouraudPick(const FillTriangle<GouraudVertex>& tri, std::int32_t key) {
    FillEngine::run(*this, tri, FillRule<ShadeSource, PickWrite::Key, true>{{}, key});
}

void Rasterizer::FillSolid2D(const FillTriangle<Vertex2D>& tri, std::uint8_t colour) {
    FillEngine::run(*this, tri, FillRule<SolidSource, PickWrite::None, false>{{{{}, colour}}});
}

void Rasterizer::FillShade2D(const FillTriangle<ShadeVertex2D>& tri) {
    FillEngine::run(*this, tri, FillRule<ShadeSource, PickWrite::None, false>{});
}

}  // namespace tarn
