#pragma once
// "Phong Shaded": each Triangle's shading ramp lit per pixel by the current
// PhongMap, looked up with the camera-space normal interpolated across it.
// Triangle indices go into the pick plane, -2 on Companions.
#include "render/mode_shaded.h"

namespace tarn {

class PhongShadedMode final : public ShadedMode {
public:
    const char* GetName() const override { return "Phong Shaded"; }

protected:
    bool bindSource(RenderPass& pass) override;
    void light(RenderPass& pass) override;
    void drawMesh(RenderPass& pass) override;
    void drawCompanions(RenderPass& pass) override;
};

// The map fill record of a corner: its pixel, depth and map coordinates.
FillTriangle<MapVertex> mapFill(const std::array<PixelCorner, 3>& corners,
                                const TriangleScratch& scratch);

// Points the rasterizer at a 256 x 256 map; false without one.
bool bindLightingMap(RenderPass& pass, const RenderMap& map);

}  // namespace tarn
