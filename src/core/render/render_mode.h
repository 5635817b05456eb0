#pragma once
// One way of drawing the model into a 3D pane's planes. Every mode follows the
// pipeline of RenderPass; each adds only its palette, clear colour and fills.
#include "image/palette.h"
#include "render/render_scene.h"
#include "render/render_target.h"

namespace tarn {

// Positions in the mode list, which is also the order of the list box.
enum RenderModeIndex : int {
    kModeWireframe = 0,
    kModeWireframeSolid = 1,
    kModeFlat = 2,
    kModeGouraud = 3,
    kModePhong = 4,
    kModeTextured = 5,
    kModeEnvironment = 6,
    kModeTexturedGShade = 7,
    kModeTexturedPShade = 8,
    kRenderModeCount = 9,
};

class RenderMode {
public:
    virtual ~RenderMode() = default;
    // Renders the scene into the target's planes and fills `palette`.
    virtual void Draw(RenderTarget& target, RenderScene& scene) = 0;
    // The text of the mode list.
    virtual const char* GetName() const = 0;

    // The colours in which the colour plane is to be shown; rewritten by every draw.
    Palette palette{};
};

}  // namespace tarn
