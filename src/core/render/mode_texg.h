#pragma once
// "Textured, G-Shade": the textured picture darkened and brightened through
// the Colormap by a per-vertex light level interpolated across each Triangle.
// The skin's palette is kept, so the picture stays within its 256 colours.
#include "render/mode_textured.h"

namespace tarn {

// What the two colormap-shaded modes share: the textured passes with the
// Colormap bound as the shade table.
class ColormapShadedMode : public TexturedMode {
protected:
    // The skin and the Colormap; false (only the cleared planes) without either.
    bool bindSource(RenderPass& pass) override;
    void drawMesh(RenderPass& pass) override;
    void drawCompanions(RenderPass& pass) override;

    // One Mesh Triangle in Paint Mode (texel offsets) or with a pick key.
    virtual void fillMesh(RenderPass& pass, int triangle, bool pick) = 0;
    virtual void fillCompanion(RenderPass& pass, const Companion& c, int triangle) = 0;

    static std::array<MappingVert, 3> meshTexels(const Mesh& mesh, int triangle);
};

class TexturedGShadeMode final : public ColormapShadedMode {
public:
    const char* GetName() const override { return "Textured, G-Shade"; }

protected:
    void light(RenderPass& pass) override;
    void fillMesh(RenderPass& pass, int triangle, bool pick) override;
    void fillCompanion(RenderPass& pass, const Companion& c, int triangle) override;
};

// The Colormap row of a corner's light byte: 255 lights fully (row 0), 0 is
// the darkest row (63); the row changes every 4 light steps.
std::uint8_t colormapRow(std::uint8_t light);

}  // namespace tarn
