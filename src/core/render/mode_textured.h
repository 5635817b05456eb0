#pragma once
// "Textured": the current Skin mapped onto every visible Triangle. In Paint
// Mode the pick plane maps each Mesh pixel to the skin texel it shows; in
// Mapping Mode it holds Triangle indices and the mapping edges are drawn over
// the visible parts of their Triangles. Companions show their own skins.
#include <vector>

#include "render/pipeline_mode.h"

namespace tarn {

class TexturedMode : public PipelineMode {
public:
    // Skin coordinates of corner k of Mesh Triangle i; a MappingVert index
    // outside the table reads as (0, 0).
    static MappingVert meshCornerTexel(const Mesh& mesh, int triangle, int k);

    const char* GetName() const override { return "Textured"; }

protected:
    std::uint8_t background(const RenderScene& scene) const override { return backgroundSlot(scene); }
    bool bindSource(RenderPass& pass) override;
    void drawMesh(RenderPass& pass) override;
    void drawCompanions(RenderPass& pass) override;

    // Points the rasterizer at the current Skin; false without one.
    bool bindSkin(RenderPass& pass);
    // Points the rasterizer at a Companion's skin; false when it has none.
    static bool bindCompanionSkin(RenderPass& pass, const Companion& c);
    // The mapping edges of Mapping Mode: plain, then selected, then marked
    // Triangles, each edge only over its own Triangle's pixels.
    static void drawMappingEdges(RenderPass& pass);

private:
    std::vector<std::int32_t> rowOffsets_;
};

// A textured fill record: the corner's pixel, depth and skin coordinates.
TexVertex texturedCorner(const PixelCorner& p, const MappingVert& st);

}  // namespace tarn
