#include "render/mode_texp.h"

#include "raster/frame_buffer.h"
#include "render/shading.h"

namespace tarn {

namespace {

constexpr std::size_t kShadeTableBytes = std::size_t(kMapSide) * kMapSide;

FillTriangle<TexPVertex> texPFill(const std::array<PixelCorner, 3>& corners,
                                  const std::array<MappingVert, 3>& texels,
                                  const TriangleScratch& scratch) {
    return fillTriangle<TexPVertex>(corners, [&](const PixelCorner& p, int k) {
        const auto at = std::size_t(k);
        const TexVertex t = texturedCorner(p, texels[at]);
        return TexPVertex{t.x, t.y, t.u, t.v, toFixed16(scratch.mapU[at]),
                          toFixed16(scratch.mapV[at]), t.z};
    });
}

}  // namespace

bool TexturedPShadeMode::bindSource(RenderPass& pass) {
    const std::uint8_t* table = pass.scene().phongShadeTable;
    if (table == nullptr || !ColormapShadedMode::bindSource(pass)) return false;
    pass.raster().SetMap({table, kShadeTableBytes});
    return true;
}

void TexturedPShadeMode::light(RenderPass& pass) {
    ComputeLighting(LightingKind::Map, pass.scene(), pass.camera());
}

void TexturedPShadeMode::fillMesh(RenderPass& pass, int triangle, bool pick) {
    const Mesh& mesh = pass.mesh();
    const auto texels = meshTexels(mesh, triangle);
    const auto fill = texPFill(pass.meshCorners(triangle), texels,
                               mesh.triangles[std::size_t(triangle)].scratch);
    if (pick)
        pass.raster().FillTexPPick(fill, triangle);
    else
        pass.raster().FillTexPTexel(fill);
}

void TexturedPShadeMode::fillCompanion(RenderPass& pass, const Companion& c, int triangle) {
    const CompanionTriangle& t = c.triangles[std::size_t(triangle)];
    pass.raster().FillTexPPick(texPFill(pass.companionCorners(c, triangle), t.corner, t.scratch),
                               kPickCompanion);
}

}  // namespace tarn
