#pragma once
// The camera transform and the projection shared by every render mode.
#include <cstdint>

#include "model/vec3.h"

namespace tarn {

// Nothing nearer than this (camera-space z) is filled; such triangles are
// dropped whole rather than clipped.
inline constexpr float kNearestFilledZ = 1.0f;

// Rotation that puts the look-at point on the +z axis at distance `dist`,
// +x to the viewer's right and +y up.
struct CameraTransform {
    CameraTransform(const Vec3f& eye, const Vec3f& lookAt);

    // Camera-space position of model point p; `offset` moves companions.
    Vec3f apply(const Vec3f& p, const Vec3f& offset = {}) const;
    // The model point whose camera-space position is `c`: apply's inverse.
    Vec3f unapply(const Vec3f& c) const;
    // A direction turned by the rotation alone (x and y are all the maps need).
    float normalX(const Vec3f& n) const { return s1 * n.x + c1 * n.y; }
    float normalY(const Vec3f& n) const { return c2 * n.z + s2 * (c1 * n.x - s1 * n.y); }

    Vec3f lookAt;
    float dist = 0, c1 = 1, s1 = 0, c2 = 1, s2 = 0;
};

struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;  // rows from the bottom of the pane
};

class Projection {
public:
    // Projects into a `width` x `height` picture.
    Projection(int width, int height, float dist, float fieldOfView);
    ScreenPoint project(const Vec3f& camera) const;
    float scale() const { return scale_; }

private:
    int halfW_;
    int halfH_;
    float dist_;
    float scale_;
};

}  // namespace tarn
