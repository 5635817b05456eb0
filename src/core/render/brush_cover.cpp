#include "render/brush_cover.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "paint/texel_cover.h"
#include "render/camera.h"
#include "render/mode_textured.h"

namespace tarn {

namespace {

// A texel centre a hair behind the nearest surface at its pixel is still on
// it: the surface there may be a neighbouring Triangle of the same face.
constexpr float kDepthTolerance = 1e-3f;

struct Screen {
    float x, row, z;  // pane position and camera depth
};

// The pane position of camera point `c`, as Projection places it but unrounded.
Screen project(const Vec3f& c, float halfW, float halfH, float scale, float dist) {
    const float depth = c.z / dist;
    return {halfW - scale * c.x / depth, scale * c.y / depth + halfH, c.z};
}

// The depth of the nearest front surface at each pane pixel of a window
// around the brush: the brush tests each texel centre against it.
class DepthWindow {
public:
    DepthWindow(int x0, int r0, int x1, int r1)
        : x0_(x0), r0_(r0), w_(std::max(x1 - x0 + 1, 0)), h_(std::max(r1 - r0 + 1, 0)),
          z_(std::size_t(w_) * std::size_t(h_), std::numeric_limits<float>::infinity()) {}

    void cover(const Screen& a, const Screen& b, const Screen& c) {
        const float area = (b.x - a.x) * (c.row - a.row) - (c.x - a.x) * (b.row - a.row);
        if (area == 0.0f) return;
        const int xl = std::max(x0_, int(std::floor(std::min({a.x, b.x, c.x}))));
        const int xr = std::min(x0_ + w_ - 1, int(std::ceil(std::max({a.x, b.x, c.x}))));
        const int rl = std::max(r0_, int(std::floor(std::min({a.row, b.row, c.row}))));
        const int rr = std::min(r0_ + h_ - 1, int(std::ceil(std::max({a.row, b.row, c.row}))));
        for (int r = rl; r <= rr; ++r)
            for (int x = xl; x <= xr; ++x) {
                const float w1 = ((float(x) - a.x) * (c.row - a.row) - (c.x - a.x) * (float(r) - a.row)) / area;
                const float w2 = ((b.x - a.x) * (float(r) - a.row) - (float(x) - a.x) * (b.row - a.row)) / area;
                const float w0 = 1.0f - w1 - w2;
                if (w0 < 0.0f || w1 < 0.0f || w2 < 0.0f) continue;
                // Depth is not linear across the screen; its inverse is.
                const float z = 1.0f / (w0 / a.z + w1 / b.z + w2 / c.z);
                float& at = z_[std::size_t(r - r0_) * std::size_t(w_) + std::size_t(x - x0_)];
                at = std::min(at, z);
            }
    }
    // The nearest depth at the pixel holding (x, row); infinity off the window.
    float nearest(float x, float row) const {
        const int px = int(std::lround(x)) - x0_, pr = int(std::lround(row)) - r0_;
        if (px < 0 || pr < 0 || px >= w_ || pr >= h_) return std::numeric_limits<float>::infinity();
        return z_[std::size_t(pr) * std::size_t(w_) + std::size_t(px)];
    }

private:
    int x0_, r0_, w_, h_;
    std::vector<float> z_;
};

}  // namespace

void visitTexelsUnder(const Mesh& mesh, const Vec3f* positions, int count, const RenderTarget& target,
                      const BrushSpot& spot, int skinWidth, int skinHeight,
                      const std::function<void(std::int32_t)>& visit) {
    if (positions == nullptr || skinWidth <= 0 || skinHeight <= 0 || target.width <= 0 || target.height <= 0) return;
    const CameraTransform camera(target.eye, target.lookAt);
    if (!(camera.dist > 0.0f) || !std::isfinite(camera.dist)) return;
    const Projection projection(target.width, target.height, camera.dist, target.fieldOfView);
    const float halfW = float(target.width / 2), halfH = float(target.height / 2);
    const float reach = 0.5f * spot.size + 1.0f;
    DepthWindow depth(int(std::floor(spot.x - reach)) - 1, int(std::floor(spot.row - reach)) - 1,
                      int(std::ceil(spot.x + reach)) + 1, int(std::ceil(spot.row + reach)) + 1);
    BrushTip tip;
    tip.shape = spot.shape;

    struct Candidate {
        int triangle;
        std::array<Vec3f, 3> cam;
    };
    std::vector<Candidate> near;
    const int triangles = std::min<int>(mesh.triangleCount, int(mesh.triangles.size()));
    for (int t = 0; t < triangles; ++t) {
        const Triangle& tri = mesh.triangles[std::size_t(t)];
        if (tri.flags & kTriHidden) continue;
        std::array<Vec3f, 3> cam{};
        std::array<Screen, 3> s{};
        bool usable = true;
        for (std::size_t k = 0; k < 3 && usable; ++k) {
            const int v = tri.vertex[k];
            usable = v >= 0 && v < count;
            if (!usable) break;
            cam[k] = camera.apply(positions[v]);
            usable = cam[k].z >= kNearestFilledZ;
            s[k] = project(cam[k], halfW, halfH, projection.scale(), camera.dist);
        }
        // Only front faces are drawn: the same test the pipeline makes.
        if (!usable || !(dot(cam[2], cross(cam[1], cam[0])) < 0.0f)) continue;
        if (std::max({s[0].x, s[1].x, s[2].x}) < spot.x - reach || std::min({s[0].x, s[1].x, s[2].x}) > spot.x + reach ||
            std::max({s[0].row, s[1].row, s[2].row}) < spot.row - reach ||
            std::min({s[0].row, s[1].row, s[2].row}) > spot.row + reach)
            continue;
        depth.cover(s[0], s[1], s[2]);
        near.push_back({t, cam});
    }

    for (const Candidate& c : near) {
        std::array<MappingVert, 3> uv{};
        for (int k = 0; k < 3; ++k) uv[std::size_t(k)] = TexturedMode::meshCornerTexel(mesh, c.triangle, k);
        forEachCoveredTexel(uv, skinWidth, skinHeight, [&](int ss, int tt, float w0, float w1, float w2) {
            // The texel centre's place on the Triangle, by its mapping.
            const Vec3f p = c.cam[0] * w0 + c.cam[1] * w1 + c.cam[2] * w2;
            const Screen at = project(p, halfW, halfH, projection.scale(), camera.dist);
            if (!tip.contains((at.x - spot.x) / spot.size, (at.row - spot.row) / spot.size)) return;
            if (at.z > depth.nearest(at.x, at.row) * (1.0f + kDepthTolerance) + kDepthTolerance) return;
            visit(std::int32_t(tt) * skinWidth + ss);
        });
    }
}

}  // namespace tarn
