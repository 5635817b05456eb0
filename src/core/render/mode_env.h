#pragma once
// "Environment Mapped": the current EnvMap reflected by the camera-space
// normal, shown in the EnvMap's own palette. Nothing goes into the pick plane
// and Triangle flags do not change colours.
#include "render/pipeline_mode.h"

namespace tarn {

class EnvironmentMappedMode final : public PipelineMode {
public:
    const char* GetName() const override { return "Environment Mapped"; }

protected:
    std::uint8_t background(const RenderScene& scene) const override { return backgroundSlot(scene); }
    void preparePalette(const RenderScene& scene) override;
    bool bindSource(RenderPass& pass) override;
    void light(RenderPass& pass) override;
    void drawMesh(RenderPass& pass) override;
    void drawCompanions(RenderPass& pass) override;
};

}  // namespace tarn
