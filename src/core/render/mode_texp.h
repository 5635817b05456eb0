#pragma once
// "Textured, P-Shade": the textured picture shaded per pixel through the
// Colormap, the row taken from the current PhongMap's PhongShadeTable at the
// camera-space normal interpolated across each Triangle.
#include "render/mode_texg.h"

namespace tarn {

class TexturedPShadeMode final : public ColormapShadedMode {
public:
    const char* GetName() const override { return "Textured, P-Shade"; }

protected:
    // Also needs the current PhongMap's table.
    bool bindSource(RenderPass& pass) override;
    void light(RenderPass& pass) override;
    void fillMesh(RenderPass& pass, int triangle, bool pick) override;
    void fillCompanion(RenderPass& pass, const Companion& c, int triangle) override;
};

}  // namespace tarn
