// The textured fills: 2D skin-view fills and the depth-tested textured,
// colormap-Gouraud and colormap-phong families.
#include "raster/fill_sources.h"

namespace tarn {

TexelLookup Rasterizer::texels() const {
    const std::int32_t firstRow = rowOffsets_ != nullptr ? rowOffsets_[0] : 0;
    return {texture_, rowOffsets_, textureWidth_, textureHeight_, firstRow, textureRowPitch_, textureBytes_};
}

void Rasterizer::FillTexture2D(const FillQuad<TexVertex2D>& quad) {
    const TextureSource source{texels()};
    FillEngine::run(*this, quad, FillRule<TextureSource, PickWrite::None, false>{source});
}

void Rasterizer::FillTexture2DSmooth(const FillTriangle<TexVertex2D>& tri) {
    const TextureSource source{texels()};
    FillEngine::run(*this, tri, FillRule<TextureSource, PickWrite::None, false, true>{source});
}

void Rasterizer::FillTexture2DPick(const FillQuad<TexVertex2D>& quad) {
    const TextureSource source{texels()};
    FillEngine::run(*this, quad, FillRule<TextureSource, PickWrite::TexelOffset, false>{source});
}

void Rasterizer::TraceTexture2D(const FillQuad<TexVertex2D>& quad, std::vector<TextureSpan>& spans) {
    const TextureSource source{texels()};
    FillEngine::trace(*this, quad, FillRule<TextureSource, PickWrite::None, false>{source}, spans);
}

void Rasterizer::FillTexturedPick(const FillTriangle<TexVertex>& tri, std::int32_t key) {
    const TextureSource source{texels()};
    FillEngine::run(*this, tri, FillRule<TextureSource, PickWrite::Key, true>{source, key});
}

void Rasterizer::FillTexturedTexel(const FillTriangle<TexVertex>& tri) {
    const TextureSource source{texels()};
    FillEngine::run(*this, tri, FillRule<TextureSource, PickWrite::TexelOffset, true>{source});
}

void Rasterizer::FillTexGPick(const FillTriangle<TexGVertex>& tri, std::int32_t key) {
    const TexGSource source{texels(), shadeTable_, shadeRows_};
    FillEngine::run(*this, tri, FillRule<TexGSource, PickWrite::Key, true>{source, key});
}

void Rasterizer::FillTexGTexel(const FillTriangle<TexGVertex>& tri) {
    const TexGSource source{texels(), shadeTable_, shadeRows_};
    FillEngine::run(*this, tri, FillRule<TexGSource, PickWrite::TexelOffset, true>{source});
}

void Rasterizer::FillTexPPick(const FillTriangle<TexPVertex>& tri, std::int32_t key) {
    const TexPSource source{texels(), shadeRowOfMapByte_.data(), map_, shadeTable_, shadeRows_};
    FillEngine::run(*this, tri, FillRule<TexPSource, PickWrite::Key, true>{source, key});
}

void Rasterizer::FillTexPTexel(const FillTriangle<TexPVertex>& tri) {
    const TexPSource source{texels(), shadeRowOfMapByte_.data(), map_, shadeTable_, shadeRows_};
    FillEngine::run(*this, tri, FillRule<TexPSource, PickWrite::TexelOffset, true>{source});
}

}  // namespace tarn
