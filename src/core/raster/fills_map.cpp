// The map fills of the phong and environment-mapped modes.
#include "raster/fill_sources.h"

namespace tarn {

void Rasterizer::FillMap(const FillTriangle<MapVertex>& tri) {
    FillEngine::run(*this, tri, FillRule<MapSource, PickWrite::None, true>{{map_, 0}});
}

void Rasterizer::FillMapPick(const FillTriangle<MapVertex>& tri, std::int32_t key) {
    FillEngine::run(*this, tri, FillRule<MapSource, PickWrite::Key, true>{{map_, 0}, key});
}

void Rasterizer::FillMapRamp(const FillTriangle<MapVertex>& tri, std::uint8_t rampBase) {
    FillEngine::run(*this, tri, FillRule<MapSource, PickWrite::None, true>{{map_, rampBase}});
}

void Rasterizer::FillMapRampPick(const FillTriangle<MapVertex>& tri, std::uint8_t rampBase, std::int32_t key) {
    FillEngine::run(*this, tri, FillRule<MapSource, PickWrite::Key, true>{{map_, rampBase}, key});
}

}  // namespace tarn
