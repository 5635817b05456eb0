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

    // A picture taller than one set of planes is drawn band by band, each
    // band exactly as those rows of one drawing of the whole: the whole
    // picture's height (as wide as the planes), and the picture row of the
    // planes' bottom row. A picture height of 0 makes the planes the whole
    // picture.
    int pictureHeight = 0;
    int pictureY = 0;

    // Camera-space position of each Mesh vertex of the frame drawn.
    std::vector<Vec3f> transformed = std::vector<Vec3f>(kMaxFrameVertices);

    std::size_t pixelCount() const {
        return width > 0 && height > 0 ? std::size_t(width) * std::size_t(height) : 0;
    }
};

}  // namespace tarn
