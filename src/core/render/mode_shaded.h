#pragma once
// "Flat Shaded" and "Gouraud Shaded": the Mesh lit by the light vector through
// the three shading ramps, so plain, selected and marked Triangles keep their
// colours while shaded; Triangle indices go into the pick plane.
#include "render/pipeline_mode.h"

namespace tarn {

class ShadedMode : public PipelineMode {
protected:
    std::uint8_t background(const RenderScene&) const override { return kShadedBackground; }
    void preparePalette(const RenderScene& scene) override { applyShadedPalette(palette, scene); }
};

class FlatShadedMode final : public ShadedMode {
public:
    const char* GetName() const override { return "Flat Shaded"; }

protected:
    void light(RenderPass& pass) override;
    void drawMesh(RenderPass& pass) override;
    void drawCompanions(RenderPass& pass) override;
};

class GouraudShadedMode final : public ShadedMode {
public:
    const char* GetName() const override { return "Gouraud Shaded"; }

protected:
    void light(RenderPass& pass) override;
    void drawMesh(RenderPass& pass) override;
    void drawCompanions(RenderPass& pass) override;
};

}  // namespace tarn
