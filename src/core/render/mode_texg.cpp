#include "render/mode_texg.h"

#include "raster/frame_buffer.h"
#include "render/phong_shade.h"
#include "render/shading.h"

namespace tarn {

namespace {

// Only rows 0..63 of the Colormap are ever read.
constexpr std::size_t kColormapBytesRead = std::size_t(kDarkestColormapRow + 1) * kShadeRowBytes;
constexpr int kLightStepsPerRow = 2;  // shift: four light levels per row

FillTriangle<TexGVertex> texGFill(const std::array<PixelCorner, 3>& corners,
                                  const std::array<MappingVert, 3>& texels,
                                  const std::array<std::uint8_t, 3>& light) {
    return fillTriangle<TexGVertex>(corners, [&](const PixelCorner& p, int k) {
        const auto at = std::size_t(k);
        const TexVertex t = texturedCorner(p, texels[at]);
        return TexGVertex{t.x, t.y, t.u, t.v, toFixed16(colormapRow(light[at])), t.z};
    });
}

}  // namespace

std::uint8_t colormapRow(std::uint8_t light) {
    return static_cast<std::uint8_t>(kDarkestColormapRow - (light >> kLightStepsPerRow));
}

bool ColormapShadedMode::bindSource(RenderPass& pass) {
    const std::uint8_t* colormap = pass.scene().colormap;
    if (colormap == nullptr || !bindSkin(pass)) return false;
    pass.raster().SetShadeTable({colormap, kColormapBytesRead});
    return true;
}

std::array<MappingVert, 3> ColormapShadedMode::meshTexels(const Mesh& mesh, int triangle) {
    return {meshCornerTexel(mesh, triangle, 0), meshCornerTexel(mesh, triangle, 1),
            meshCornerTexel(mesh, triangle, 2)};
}

void ColormapShadedMode::drawMesh(RenderPass& pass) {
    for (const std::int16_t i : pass.visibleTriangles()) fillMesh(pass, i, pass.mappingMode());
    if (pass.mappingMode()) drawMappingEdges(pass);
}

void ColormapShadedMode::drawCompanions(RenderPass& pass) {
    for (const auto& shown : pass.shownCompanions()) {
        const Companion& c = *shown.companion;
        if (!bindCompanionSkin(pass, c)) continue;
        for (const std::int16_t j : c.visible) fillCompanion(pass, c, j);
    }
}

void TexturedGShadeMode::light(RenderPass& pass) {
    ComputeLighting(LightingKind::Smooth, pass.scene(), pass.camera());
}

void TexturedGShadeMode::fillMesh(RenderPass& pass, int triangle, bool pick) {
    const Mesh& mesh = pass.mesh();
    const auto texels = meshTexels(mesh, triangle);
    const auto fill = texGFill(pass.meshCorners(triangle), texels,
                               mesh.triangles[std::size_t(triangle)].scratch.light);
    if (pick)
        pass.raster().FillTexGPick(fill, triangle);
    else
        pass.raster().FillTexGTexel(fill);
}

void TexturedGShadeMode::fillCompanion(RenderPass& pass, const Companion& c, int triangle) {
    const CompanionTriangle& t = c.triangles[std::size_t(triangle)];
    pass.raster().FillTexGPick(texGFill(pass.companionCorners(c, triangle), t.corner, t.scratch.light),
                               kPickCompanion);
}

}  // namespace tarn
