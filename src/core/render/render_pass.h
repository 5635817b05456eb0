#pragma once
// The steps every render mode shares, in pipeline order: set up the frame
// (palette, planes, rasterizer), transform the current Frame and the shown
// Companions into camera space, reject what cannot be filled and find the
// depth range. A mode then lights and fills what the pass leaves visible.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "raster/fixed.h"
#include "raster/rasterizer.h"
#include "render/camera.h"
#include "render/render_scene.h"
#include "render/render_target.h"

namespace tarn {

// Fill depths run over 0 .. 2^30: depth-plane values 0 .. 16384.
inline constexpr double kDepthSpan = 1 << 30;

// A corner ready for the fills: pixel position and 16.16 depth.
struct PixelCorner {
    ScreenPoint p;
    Fixed16 z = 0;
};

class RenderPass {
public:
    RenderPass(RenderTarget& target, RenderScene& scene);

    // Fills `palette` from the current Skin (a grey ramp without one) and
    // points the rasterizer at the target. False when there is nothing to
    // draw into. The planes are cleared by clear() or, band by band, by
    // clearBand().
    bool setUpFrame(Palette& palette, std::uint8_t background);
    // Colour to the background, depth to far, pick to nothing.
    void clear();
    // The same pass drawing through `raster` into rows first .. first + rows - 1
    // of the target only, getting exactly the pixels those rows get when the
    // whole target is drawn. Sets `raster`'s target; sources are bound apart.
    RenderPass band(Rasterizer& raster, int first, int rows) const;
    // Clears the rows of this band (the whole target when it is none).
    void clearBand();
    // Points the rasterizer at the whole target again.
    void aimAtWhole() { raster().SetTarget(rasterTarget(0, 0)); }
    // Whether there is a Frame to draw (and a camera that can see it).
    bool hasModel() const;
    // Camera-space positions of the current Frame and of the shown Companions.
    void transform();
    // Collects the Triangles that can be filled (not hidden, every corner at
    // least kNearestFilledZ away, facing the viewer) and the depth range of
    // their corners.
    void reject();

    RenderScene& scene() { return scene_; }
    RenderTarget& target() { return target_; }
    Rasterizer& raster() { return *raster_; }
    Mesh& mesh() { return *scene_.mesh; }
    const CameraTransform& camera() const { return camera_; }
    const ColorSlots& slots() const { return scene_.paint->colorSlots; }
    bool mappingMode() const { return scene_.mappingMode; }

    // Mesh Triangles that passed reject(), in Triangle order.
    std::span<const std::int16_t> visibleTriangles() const { return visible_; }
    // Mesh Triangles whose corners name existing vertices, in Triangle order.
    std::span<const std::int16_t> drawableTriangles() const { return drawable_; }
    // Companions shown at the Mesh's current frame, in list order, with their
    // positions in the Companion list.
    struct ShownCompanion {
        Companion* companion;
        int listIndex;
    };
    std::span<const ShownCompanion> shownCompanions() const { return shown_; }

    PixelCorner corner(const Vec3f& camera) const;
    // The three pixel corners of Mesh Triangle `index`.
    std::array<PixelCorner, 3> meshCorners(int index) const;
    std::array<PixelCorner, 3> companionCorners(const Companion& c, int triangle) const;
    // Fill depth of a camera-space z: 16.16, integer part 0 .. 16384.
    Fixed16 fillDepth(float z) const;

    // Draws one camera-space edge clipped to the near plane and the target;
    // with a key only over pixels whose pick value is that key.
    void drawEdge(const Vec3f& a, const Vec3f& b, std::uint8_t colour,
                  std::optional<std::int32_t> key = std::nullopt);
    // The three edges of a triangle, corner 0 to 1, 1 to 2, 2 to 0.
    void drawTriangleEdges(const Vec3f* positions, const std::array<std::int16_t, 3>& vertex,
                           std::uint8_t colour, std::optional<std::int32_t> key = std::nullopt);
    // The edge from vertex a to vertex b of `positions` (the Mesh's camera
    // positions or a Companion's). It gives the same pixels drawn from b to a.
    void drawVertexEdge(const Vec3f* positions, std::size_t a, std::size_t b, std::uint8_t colour,
                        std::optional<std::int32_t> key = std::nullopt);

private:
    // A mesh vertex projected once per frame for the edges: most vertices end
    // six edges. `direct` when an edge may use `p` as it is (finite and at or
    // beyond the near plane, so no near clip moves it).
    struct ProjectedVertex {
        ScreenPoint p;
        bool direct = false;
    };

    bool visibleCorners(const Vec3f& p0, const Vec3f& p1, const Vec3f& p2);
    const std::vector<ProjectedVertex>& projectedMesh();
    void drawSegment(Segment2D segment, std::uint8_t colour, std::optional<std::int32_t> key);

    RasterTarget rasterTarget(int first, int rows) const;

    RenderTarget& target_;
    RenderScene& scene_;
    Rasterizer* raster_;
    std::uint8_t background_ = 0;
    int bandFirst_ = 0;
    int bandRows_ = 0;  // 0: the whole target
    CameraTransform camera_;
    Projection projection_;
    std::vector<std::int16_t> drawable_;
    std::vector<std::int16_t> visible_;
    std::vector<ShownCompanion> shown_;
    std::size_t meshVertices_ = 0;  // transformed by transform()
    std::vector<ProjectedVertex> projected_;
    bool projectedReady_ = false;
    double zMin_ = 9999999999.0;
    double zMax_ = -9999999999.0;
    double depthScale_ = 0.0;
};

// A fill triangle from three corners, corner 0 repeated at the end;
// make(corner, k) builds the record of corner k.
template <class V, class Make>
FillTriangle<V> fillTriangle(const std::array<PixelCorner, 3>& c, Make make) {
    return {make(c[0], 0), make(c[1], 1), make(c[2], 2), make(c[0], 0)};
}

inline FillTriangle<FlatVertex> flatFill(const std::array<PixelCorner, 3>& c) {
    return fillTriangle<FlatVertex>(
        c, [](const PixelCorner& p, int) { return FlatVertex{p.p.x, p.p.y, p.z}; });
}

}  // namespace tarn
