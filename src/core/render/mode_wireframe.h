#pragma once
// "Wireframe": every edge of every shown Triangle, no depth; and
// "Wireframe, Solid": a hidden-line view, each Triangle filled in its wire
// colour and outlined in the background colour over its own pixels only.
#include "render/pipeline_mode.h"

namespace tarn {

class WireframeMode final : public PipelineMode {
public:
    const char* GetName() const override { return "Wireframe"; }

protected:
    std::uint8_t background(const RenderScene& scene) const override { return backgroundSlot(scene); }
    bool rejects() const override { return false; }
    // Companions are drawn within the Mesh passes: in Mapping Mode the marked
    // edges come after them, so they lie on top.
    void drawMesh(RenderPass& pass) override;
};

class WireframeSolidMode final : public PipelineMode {
public:
    const char* GetName() const override { return "Wireframe, Solid"; }
    // The pick key of a Companion triangle: negative, below -1 and unique
    // across Companions, so each outline finds only its own triangle.
    static std::int32_t companionKey(int listIndex, int triangle);

protected:
    std::uint8_t background(const RenderScene& scene) const override { return backgroundSlot(scene); }
    void drawMesh(RenderPass& pass) override;
    void drawCompanions(RenderPass& pass) override;
};

}  // namespace tarn
