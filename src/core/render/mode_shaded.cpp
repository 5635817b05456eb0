#include "render/mode_shaded.h"

#include "raster/frame_buffer.h"
#include "render/shading.h"

namespace tarn {

namespace {

// Light bytes 0..255 pick one of the 64 entries of a ramp.
constexpr int kLightPerRampStep = 4;

std::uint8_t rampIndex(int base, std::uint8_t light) {
    return static_cast<std::uint8_t>(base + light / kLightPerRampStep);
}

FillTriangle<GouraudVertex> gouraudFill(const std::array<PixelCorner, 3>& c, int base,
                                        const std::array<std::uint8_t, 3>& light) {
    return fillTriangle<GouraudVertex>(c, [&](const PixelCorner& p, int k) {
        return GouraudVertex{p.p.x, p.p.y, toFixed16(rampIndex(base, light[std::size_t(k)])), p.z};
    });
}

}  // namespace

void FlatShadedMode::light(RenderPass& pass) {
    ComputeLighting(LightingKind::Flat, pass.scene(), pass.camera());
}

void FlatShadedMode::drawMesh(RenderPass& pass) {
    for (const std::int16_t i : pass.visibleTriangles()) {
        const Triangle& t = pass.mesh().triangles[std::size_t(i)];
        const int base = shadeRampBase(t.flags, pass.mappingMode());
        pass.raster().FillFlatPick(flatFill(pass.meshCorners(i)), rampIndex(base, t.scratch.light[0]),
                                   i);
    }
}

void FlatShadedMode::drawCompanions(RenderPass& pass) {
    for (const auto& shown : pass.shownCompanions()) {
        const Companion& c = *shown.companion;
        for (const std::int16_t j : c.visible)
            pass.raster().FillFlatPick(flatFill(pass.companionCorners(c, j)),
                                       rampIndex(kRampBase[0], c.triangles[std::size_t(j)].scratch.light[0]),
                                       kPickCompanion);
    }
}

void GouraudShadedMode::light(RenderPass& pass) {
    ComputeLighting(LightingKind::Smooth, pass.scene(), pass.camera());
}

void GouraudShadedMode::drawMesh(RenderPass& pass) {
    for (const std::int16_t i : pass.visibleTriangles()) {
        const Triangle& t = pass.mesh().triangles[std::size_t(i)];
        const int base = shadeRampBase(t.flags, pass.mappingMode());
        pass.raster().FillGouraudPick(gouraudFill(pass.meshCorners(i), base, t.scratch.light), i);
    }
}

void GouraudShadedMode::drawCompanions(RenderPass& pass) {
    for (const auto& shown : pass.shownCompanions()) {
        const Companion& c = *shown.companion;
        for (const std::int16_t j : c.visible)
            pass.raster().FillGouraudPick(gouraudFill(pass.companionCorners(c, j), kRampBase[0],
                                                      c.triangles[std::size_t(j)].scratch.light),
                                          kPickCompanion);
    }
}

}  // namespace tarn
