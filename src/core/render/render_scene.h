#pragma once
// The application state every draw reads (and the scratch it writes): the
// Mesh, the current Skin, the Companions, the paint state and the light.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "image/palette.h"
#include "image/skin.h"
#include "model/companion.h"
#include "model/mesh.h"
#include "paint/paint_state.h"

namespace tarn {

class Rasterizer;

inline constexpr int kRampCount = 3;
inline constexpr int kRampLength = 64;
// Palette entries of the shaded modes: ramp r at r * 64, background last.
inline constexpr int kRampBase[kRampCount] = {0, 64, 128};
inline constexpr int kShadedBackground = 255;

using ShadeRamp = std::array<std::array<std::uint8_t, 3>, kRampLength>;
using ShadeRamps = std::array<ShadeRamp, kRampCount>;

// The light of the shaded modes; the 3D pane's light drag turns it.
struct Lighting {
    // Each component is the float32 0xBF13CD39, the program's own value near
    // -1/sqrt(3); lighting results depend on its exact bits.
    static constexpr float kStartComponent = -0.57735020f;
    Vec3f lightVector{kStartComponent, kStartComponent, kStartComponent};
    ShadeRamps shadeRamps{};
};

// A 256 x 256 map of the lit modes with, for environment maps, its palette.
struct RenderMap {
    const std::uint8_t* pixels = nullptr;  // 65536 bytes
    const Palette* palette = nullptr;
};

struct RenderScene {
    Mesh* mesh = nullptr;         // nullptr or no frames: only the cleared planes
    // Positions drawn instead of the current Frame's (the animation preview's
    // in-between frame); null draws the Frame itself.
    const std::vector<Vec3f>* framePositions = nullptr;
    const Skin* skin = nullptr;   // the current Skin, or none
    std::vector<std::unique_ptr<Companion>>* companions = nullptr;
    bool mappingMode = false;
    const PaintState* paint = nullptr;
    Lighting* lighting = nullptr;
    Rasterizer* rasterizer = nullptr;

    // Inputs of the lit and colormap-shaded modes.
    RenderMap phongMap;                           // prepared texels 0..63
    const std::uint8_t* phongShadeTable = nullptr;  // 65536 bytes
    RenderMap envMap;
    const std::uint8_t* colormap = nullptr;       // rows of 256 bytes, at least 64
};

}  // namespace tarn
