#pragma once
// The shared Draw of every render mode: set up the frame, transform, reject,
// bind the skin or map, light, fill. A mode supplies only the steps that are
// its own.
#include "render/render_mode.h"
#include "render/render_pass.h"

namespace tarn {

// How many bands of rows a draw into `target` is split into, each filled on
// a core of its own: one per core for panes of 1280 x 960 and more, else one.
int renderBands(const RenderTarget& target);
// Every draw in `bands` bands from now on (tests compare the planes drawn in
// any number of bands); 0 goes back to choosing by size and cores.
void setRenderBands(int bands);

class PipelineMode : public RenderMode {
public:
    void Draw(RenderTarget& target, RenderScene& scene) final;

protected:
    // The colour-plane clear.
    virtual std::uint8_t background(const RenderScene& scene) const = 0;
    // Adjusts `palette` after the skin (or grey) palette was copied in.
    virtual void preparePalette(const RenderScene&) {}
    // Whether the pass rejects hidden, too near and back-facing Triangles.
    virtual bool rejects() const { return true; }
    // Points the rasterizer at the texture or map; false draws nothing more.
    virtual bool bindSource(RenderPass&) { return true; }
    virtual void light(RenderPass&) {}
    virtual void drawMesh(RenderPass& pass) = 0;
    virtual void drawCompanions(RenderPass&) {}

private:
    void fill(RenderPass& pass);
    void drawInBands(RenderPass& whole, int bands);
};

// The background slot's index: the clear of the unshaded modes.
std::uint8_t backgroundSlot(const RenderScene& scene);

// Palette of the shaded modes: ramps at 0..191 and the background colour at 255.
void applyShadedPalette(Palette& palette, const RenderScene& scene);

}  // namespace tarn
