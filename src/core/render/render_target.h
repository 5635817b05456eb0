#pragma once
// What one 3D pane hands to a render mode: its planes and its camera. The
// pane owns the planes; the target only points at them.
#include <cstdint>
#include <vector>

#include "model/mesh.h"

namespace tarn {

struct RenderTarget {
    std::uint8_t* colour = nullptr;
    std::uint16_t* depth = nullptr;
    std::int32_t* pick = nullptr;
    int width = 0;   // also the row pitch of every plane
    int height = 0;  // row 0 is the bottom row of the pane

    Vec3f eye{100.0f, 0.0f, 0.0f};
    Vec3f lookAt{0.0f, 0.0f, 0.0f};
    float fieldOfView = 33.0f;  // degrees

    // Camera-space position of each Mesh vertex of the frame drawn.
    std::vector<Vec3f> transformed = std::vector<Vec3f>(kMaxFrameVertices);

    std::size_t pixelCount() const {
        return width > 0 && height > 0 ? std::size_t(width) * std::size_t(height) : 0;
    }
};

}  // namespace tarn
