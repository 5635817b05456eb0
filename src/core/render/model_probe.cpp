#include "render/model_probe.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "render/camera.h"
#include "render/mode_textured.h"

namespace tarn {

namespace {

// The framed sphere fills this share of the pane's shorter side.
constexpr float kFrameFill = 0.9f;
constexpr double kDegreesToRadians = 3.14159265358979 / 180.0;
// The eye never comes nearer than this outside the sphere: the fills drop
// triangles closer than the near limit.
constexpr float kFrameClearance = 2.0f * kNearestFilledZ;

struct Corner {
    double x, y;  // screen, rows from the bottom
    double z;     // camera depth
};

}  // namespace

ModelHit probeModel(const Mesh& mesh, const Vec3f* positions, int count, const RenderTarget& target, int x,
                    int row) {
    ModelHit hit;
    if (positions == nullptr || target.width <= 0 || target.height <= 0) return hit;
    const CameraTransform camera(target.eye, target.lookAt);
    if (!(camera.dist > 0.0f) || !std::isfinite(camera.dist)) return hit;
    const Projection projection(target.width, target.height, camera.dist, target.fieldOfView);
    const int triangles = std::min<int>(mesh.triangleCount, static_cast<int>(mesh.triangles.size()));
    double nearest = std::numeric_limits<double>::infinity();
    for (int t = 0; t < triangles; ++t) {
        const Triangle& tri = mesh.triangles[std::size_t(t)];
        if (tri.flags & kTriHidden) continue;
        Vec3f cam[3];
        Corner c[3];
        bool usable = true;
        for (int k = 0; k < 3; ++k) {
            const int v = tri.vertex[std::size_t(k)];
            if (v < 0 || v >= count) usable = false;
            if (!usable) break;
            cam[k] = camera.apply(positions[v]);
            if (cam[k].z < kNearestFilledZ) usable = false;
            const ScreenPoint s = projection.project(cam[k]);
            c[k] = {double(s.x), double(s.y), double(cam[k].z)};
        }
        // Only front faces are drawn: the same test the pipeline makes.
        if (!usable || !(dot(cam[2], cross(cam[1], cam[0])) < 0.0f)) continue;
        const double area = (c[1].x - c[0].x) * (c[2].y - c[0].y) - (c[2].x - c[0].x) * (c[1].y - c[0].y);
        if (area == 0.0) continue;
        const double w1 = ((x - c[0].x) * (c[2].y - c[0].y) - (c[2].x - c[0].x) * (row - c[0].y)) / area;
        const double w2 = ((c[1].x - c[0].x) * (row - c[0].y) - (x - c[0].x) * (c[1].y - c[0].y)) / area;
        const double w0 = 1.0 - w1 - w2;
        if (w0 < 0.0 || w1 < 0.0 || w2 < 0.0) continue;
        // Perspective-correct weights: screen weights over depth, renormalised.
        const double p0 = w0 / c[0].z, p1 = w1 / c[1].z, p2 = w2 / c[2].z;
        const double sum = p0 + p1 + p2;
        const double depth = 1.0 / sum;
        if (depth >= nearest) continue;
        nearest = depth;
        hit.triangle = t;
        hit.depth = depth;
        // The skin coordinates as the textured fills read them.
        const MappingVert m0 = TexturedMode::meshCornerTexel(mesh, t, 0);
        const MappingVert m1 = TexturedMode::meshCornerTexel(mesh, t, 1);
        const MappingVert m2 = TexturedMode::meshCornerTexel(mesh, t, 2);
        const double s = (p0 * m0.s + p1 * m1.s + p2 * m2.s) / sum;
        const double u = (p0 * m0.t + p1 * m1.t + p2 * m2.t) / sum;
        hit.texelX = std::clamp(static_cast<int>(std::floor(s)), 0, std::max(mesh.skinWidth - 1, 0));
        hit.texelY = std::clamp(static_cast<int>(std::floor(u)), 0, std::max(mesh.skinHeight - 1, 0));
    }
    return hit;
}

BoundingSphere boundingSphere(const Mesh& mesh) {
    Vec3f lo{std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
             std::numeric_limits<float>::max()};
    Vec3f hi{-lo.x, -lo.y, -lo.z};
    bool any = false;
    // The frame shown: all frames together make a running or dying model a
    // speck in the middle of a sphere as wide as its whole path.
    const bool shown = mesh.currentFrame >= 0 && mesh.currentFrame < static_cast<int>(mesh.frames.size());
    const auto first = shown ? mesh.frames.begin() + mesh.currentFrame : mesh.frames.begin();
    const auto last = shown ? first + 1 : mesh.frames.end();
    for (auto frame = first; frame != last; ++frame) {
        for (const Vec3f& p : frame->positions) {
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
            any = true;
        }
    }
    if (!any) return {};
    BoundingSphere sphere;
    sphere.centre = (lo + hi) * 0.5f;
    for (auto frame = first; frame != last; ++frame)
        for (const Vec3f& p : frame->positions) {
            const Vec3f d = p - sphere.centre;
            sphere.radius = std::max(sphere.radius, std::sqrt(dot(d, d)));
        }
    return sphere;
}

void frameModel(const Mesh& mesh, RenderTarget& target) {
    const BoundingSphere sphere = boundingSphere(mesh);
    if (mesh.frames.empty() || !std::isfinite(sphere.radius)) return;
    Vec3f direction = target.eye - target.lookAt;
    float length = std::sqrt(dot(direction, direction));
    if (!(length > 0.0f) || !std::isfinite(length)) {
        direction = {1.0f, 0.0f, 0.0f};
        length = 1.0f;
    }
    const double half = std::clamp(double(target.fieldOfView), 1.0, 120.0) * 0.5 * kDegreesToRadians;
    // The sphere's outline seen from distance D spans asin(r / D) off the axis.
    const float distance = std::max(static_cast<float>(sphere.radius / (kFrameFill * std::sin(half))),
                                    sphere.radius + kFrameClearance);
    target.lookAt = sphere.centre;
    target.eye = sphere.centre + direction * (distance / length);
}

}  // namespace tarn
