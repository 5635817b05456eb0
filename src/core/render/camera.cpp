#include "render/camera.h"

#include <algorithm>
#include <cmath>

namespace tarn {

namespace {
// The program's own value of pi for the field of view.
constexpr double kFovPi = 3.141592;
constexpr double kDegreesPerHalfTurn = 180.0;
// Far outside the pane positions only need to stay outside it: keep them
// within what the fills' 32-bit edge arithmetic can take.
constexpr float kLimit = 1 << 24;
}  // namespace

CameraTransform::CameraTransform(const Vec3f& eye, const Vec3f& at) : lookAt(at) {
    const Vec3f d = at - eye;
    dist = std::sqrt(dot(d, d));
    // The angles in double precision, so that a view along an axis gets
    // sines that vanish in single precision instead of leaving a residue.
    const double yaw = -std::atan2(double(d.y), double(d.x));
    c1 = static_cast<float>(std::cos(yaw));
    s1 = static_cast<float>(std::sin(yaw));
    const double pitch = -std::atan2(double(d.z), double(c1 * d.x - s1 * d.y));
    c2 = static_cast<float>(std::cos(pitch));
    s2 = static_cast<float>(std::sin(pitch));
}

Vec3f CameraTransform::apply(const Vec3f& p, const Vec3f& offset) const {
    const Vec3f a = p - lookAt - offset;
    const float m = c1 * a.x - s1 * a.y;
    return {s1 * a.x + c1 * a.y, c2 * a.z + s2 * m, c2 * m - s2 * a.z + dist};
}

Vec3f CameraTransform::unapply(const Vec3f& c) const {
    // The rotation is orthonormal: its transpose turns it back.
    const float w = c.z - dist;
    const float m = c2 * w + s2 * c.y;
    const float z = c2 * c.y - s2 * w;
    return Vec3f{s1 * c.x + c1 * m, c1 * c.x - s1 * m, z} + lookAt;
}

Projection::Projection(int width, int height, float dist, float fieldOfView)
    : halfW_(width / 2), halfH_(height / 2), dist_(dist) {
    const double half = fieldOfView * 0.5 * kFovPi / kDegreesPerHalfTurn;
    scale_ = static_cast<float>(std::min(width, height) / (2.0 * dist * std::tan(half)));
}

ScreenPoint Projection::project(const Vec3f& c) const {
    const float depth = c.z / dist_;
    const float sx = halfW_ - scale_ * c.x / depth;
    const float sy = scale_ * c.y / depth + halfH_;
    auto bounded = [](float v) {
        return static_cast<std::int32_t>(std::isfinite(v) ? std::clamp(v, -kLimit, kLimit) : kLimit);
    };
    return {bounded(sx), bounded(sy)};
}

}  // namespace tarn
