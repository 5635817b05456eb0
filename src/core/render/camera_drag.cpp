#include "render/camera_drag.h"

#include <algorithm>
#include <cmath>

namespace tarn {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegToRad = kPi / 180.0;
constexpr double kOrbitDegreesPerPixel = 0.2;
constexpr double kLookDegreesPerPixel = 0.02;
constexpr double kFovDegreesPerPixel = 0.1;
constexpr double kLightRadiansPerPixel = 0.04;
// Zoom and dolly factors per pixel; each pair is not quite reciprocal, as users know it.
constexpr double kZoomInPerPixel = 0.998004;
constexpr double kZoomOutPerPixel = 1.002;
constexpr float kDollyOutPerPixel = 0.99900097f;
constexpr double kDollyInPerPixel = 1.001;
constexpr int kWheelNotch = 120;
// 11.25 degrees times pi, so that one notch turns by exactly 11.25 degrees.
constexpr double kWheelStep = 35.34291;

// Into [0, 360).
double wrapDegrees(double a) {
    a = std::fmod(a, 360.0);
    return a < 0.0 ? a + 360.0 : a;
}

double length(const Vec3f& d) {
    return std::sqrt(static_cast<double>(d.x) * d.x + static_cast<double>(d.y) * d.y +
                     static_cast<double>(d.z) * d.z);
}

Vec3f scaled(const Vec3f& d, double s) {
    return {static_cast<float>(d.x * s), static_cast<float>(d.y * s), static_cast<float>(d.z * s)};
}

// The unit direction of (yaw, pitch) in degrees; pitch grows downwards.
Vec3f direction(double yaw, double pitch) {
    const double y = yaw * kDegToRad;
    const double p = pitch * kDegToRad;
    return {static_cast<float>(std::cos(p) * std::cos(y)), static_cast<float>(std::cos(p) * std::sin(y)),
            static_cast<float>(-std::sin(p))};
}

// Multiplies d once per pixel of vertical motion: `up` per pixel upwards, `down` per pixel downwards.
Vec3f stepLength(Vec3f d, int dy, double up, double down) {
    const double f = dy < 0 ? up : down;
    for (int i = 0, n = std::abs(dy); i < n; ++i) d = scaled(d, f);
    return d;
}

}  // namespace

void CameraDrag::begin(CameraDragKind kind, const CameraPose& pose) {
    kind_ = kind;
    upSign_ = 1;
    if (kind == CameraDragKind::FieldOfView) return;
    const Vec3f d = kind == CameraDragKind::OrbitZoom ? (pose.eye - pose.lookAt) : (pose.lookAt - pose.eye);
    double yaw = std::atan2(d.y, d.x) / kDegToRad;
    if (yaw < 0.0) yaw += 360.0;
    if (yaw > 360.0) yaw -= 360.0;
    const double h = d.x * std::cos(-yaw * kDegToRad) - d.y * std::sin(-yaw * kDegToRad);
    double pitch = -std::atan2(d.z, h) / kDegToRad;
    if (yaw > 90.0 && yaw < 270.0) {
        // Seen from behind: keep the screen directions of the drag the same.
        upSign_ = -1;
        yaw -= 180.0;
        if (pitch < 0.0) pitch += 360.0;
        if (pitch > 360.0) pitch -= 360.0;
        if (pitch < 90.0) pitch = 180.0 - pitch;
        else if (pitch > 270.0) pitch = 540.0 - pitch;
    }
    yaw_ = static_cast<float>(yaw);
    pitch_ = static_cast<float>(pitch);
}

void CameraDrag::move(int dx, int dy, bool otherButton, CameraPose& pose, Vec3f& light) {
    switch (kind_) {
    case CameraDragKind::OrbitZoom:
        if (otherButton) {
            pose.eye = pose.lookAt + stepLength(pose.eye - pose.lookAt, dy, kZoomInPerPixel, kZoomOutPerPixel);
        } else {
            yaw_ = static_cast<float>(wrapDegrees(yaw_ - dx * kOrbitDegreesPerPixel));
            pitch_ = static_cast<float>(wrapDegrees(pitch_ - upSign_ * dy * kOrbitDegreesPerPixel));
            const double dist = length(pose.eye - pose.lookAt);
            pose.eye = pose.lookAt + scaled(direction(yaw_, pitch_), dist);
        }
        break;
    case CameraDragKind::LookAroundDolly:
        if (otherButton) {
            pose.lookAt =
                pose.eye + stepLength(pose.lookAt - pose.eye, dy, kDollyInPerPixel, kDollyOutPerPixel);
        } else {
            pitch_ = static_cast<float>(wrapDegrees(pitch_ - upSign_ * dy * kLookDegreesPerPixel));
            yaw_ = static_cast<float>(wrapDegrees(yaw_ + dx * kLookDegreesPerPixel));
            const double dist = length(pose.lookAt - pose.eye);
            pose.lookAt = pose.eye + scaled(direction(yaw_, pitch_), dist);
        }
        break;
    case CameraDragKind::FieldOfView:
        pose.fieldOfView = std::clamp(static_cast<float>(pose.fieldOfView + dx * kFovDegreesPerPixel),
                                      kMinFieldOfView, kMaxFieldOfView);
        break;
    case CameraDragKind::Light: {
        const double a = dx * kLightRadiansPerPixel;
        const double b = dy * kLightRadiansPerPixel;
        const double x = light.x * std::cos(a) - light.y * std::sin(a);
        const double t = light.x * std::sin(a) + light.y * std::cos(a);
        const double y = t * std::cos(b) - light.z * std::sin(b);
        const double z = t * std::sin(b) + light.z * std::cos(b);
        light = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
        break;
    }
    }
}

void rotateByWheel(CameraPose& pose, int delta) {
    const double a = (delta / kWheelNotch) * kWheelStep / 180.0;
    const Vec3f d = pose.eye - pose.lookAt;
    const Vec3f turned{static_cast<float>(d.x * std::cos(a) - d.y * std::sin(a)),
                        static_cast<float>(d.x * std::sin(a) + d.y * std::cos(a)), d.z};
    pose.eye = pose.lookAt + turned;
}

}  // namespace tarn
