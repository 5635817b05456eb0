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

    // A picture larger than one set of planes is drawn piece by piece: the
    // size of the whole picture and where this plane's bottom-left pixel lies
    // in it. A picture width of 0 makes the plane the whole picture.
    int pictureWidth = 0;
    int pictureHeight = 0;
    int pictureX = 0;
    int pictureY = 0;

    // Camera-space position of each Mesh vertex of the frame drawn.
    std::vector<Vec3f> transformed = std::vector<Vec3f>(kMaxFrameVertices);

    std::size_t pixelCount() const {
        return width > 0 && height > 0 ? std::size_t(width) * std::size_t(height) : 0;
    }
};

}  // namespace tarn
