#include "render/mode_phong.h"

#include "raster/frame_buffer.h"
#include "render/shading.h"

namespace tarn {

namespace {
constexpr std::size_t kMapBytes = std::size_t(kMapSide) * kMapSide;
}  // namespace

FillTriangle<MapVertex> mapFill(const std::array<PixelCorner, 3>& corners,
                                const TriangleScratch& scratch) {
    return fillTriangle<MapVertex>(corners, [&](const PixelCorner& p, int k) {
        return MapVertex{p.p.x, p.p.y, toFixed16(scratch.mapU[std::size_t(k)]),
                         toFixed16(scratch.mapV[std::size_t(k)]), p.z};
    });
}

bool bindLightingMap(RenderPass& pass, const RenderMap& map) {
    if (map.pixels == nullptr) return false;
    pass.raster().SetMap({map.pixels, kMapBytes});
    return true;
}

bool PhongShadedMode::bindSource(RenderPass& pass) {
    return bindLightingMap(pass, pass.scene().phongMap);
}

void PhongShadedMode::light(RenderPass& pass) {
    ComputeLighting(LightingKind::Map, pass.scene(), pass.camera());
}

void PhongShadedMode::drawMesh(RenderPass& pass) {
    for (const std::int16_t i : pass.visibleTriangles()) {
        const Triangle& t = pass.mesh().triangles[std::size_t(i)];
        const auto base = static_cast<std::uint8_t>(shadeRampBase(t.flags, pass.mappingMode()));
        pass.raster().FillMapRampPick(mapFill(pass.meshCorners(i), t.scratch), base, i);
    }
}

void PhongShadedMode::drawCompanions(RenderPass& pass) {
    for (const auto& shown : pass.shownCompanions()) {
        const Companion& c = *shown.companion;
        for (const std::int16_t j : c.visible)
            pass.raster().FillMapPick(
                mapFill(pass.companionCorners(c, j), c.triangles[std::size_t(j)].scratch),
                kPickCompanion);
    }
}

}  // namespace tarn
