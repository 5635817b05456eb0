#include "render/view_moves.h"

#include <cmath>

#include "render/camera.h"
#include "render/model_probe.h"

namespace tarn {

namespace {

constexpr int kWheelNotch = 120;
// Each notch nears the point by a fifth of the way, and a notch back undoes it.
constexpr float kNotchNearing = 0.8f;
// The eye never comes nearer the point than this: nearer, the fills drop
// what lies in front of the near limit.
constexpr float kClosest = 4.0f * kNearestFilledZ;

// A view straight down or up keeps the model's front at the bottom of the
// pane: the camera's yaw is undefined along the vertical.
constexpr float kOffVertical = 1e-3f;

}  // namespace

Vec3f pointUnder(const Mesh& mesh, const Vec3f* positions, int count, const RenderTarget& target, int x,
                 int row) {
    const CameraTransform camera(target.eye, target.lookAt);
    if (!(camera.dist > 0.0f) || !std::isfinite(camera.dist) || target.width <= 0 || target.height <= 0)
        return target.lookAt;
    const Projection projection(target.width, target.height, camera.dist, target.fieldOfView);
    // Where the pixel lies on the look-at plane, in camera space.
    const float fx = (float(target.width / 2) - float(x)) / projection.scale();
    const float fy = (float(row) - float(target.height / 2)) / projection.scale();
    const ModelHit hit = probeModel(mesh, positions, count, target, x, row);
    const float depth = hit.triangle >= 0 && hit.depth > 0.0 ? float(hit.depth) : camera.dist;
    const float along = depth / camera.dist;
    return camera.unapply({fx * along, fy * along, depth});
}

void dollyTowards(CameraPose& pose, const Vec3f& point, int delta) {
    const int notches = delta / kWheelNotch;
    if (notches == 0) return;
    float keep = 1.0f;
    for (int i = 0; i < notches; ++i) keep *= kNotchNearing;
    for (int i = 0; i < -notches; ++i) keep /= kNotchNearing;
    const Vec3f toEye = pose.eye - point;
    const float distance = std::sqrt(dot(toEye, toEye));
    if (!(distance > 0.0f) || !std::isfinite(distance)) return;
    if (distance * keep < kClosest) keep = kClosest / distance;
    if (keep >= 1.0f && notches > 0) return;
    pose.eye = point + toEye * keep;
    pose.lookAt = point + (pose.lookAt - point) * keep;
}

void viewFromSide(const Mesh& mesh, RenderTarget& target, ViewSide side) {
    Vec3f towardsEye{1.0f, 0.0f, 0.0f};
    switch (side) {
    case ViewSide::Front: towardsEye = {1.0f, 0.0f, 0.0f}; break;
    case ViewSide::Back: towardsEye = {-1.0f, 0.0f, 0.0f}; break;
    // The model's left is +y, as it faces +x.
    case ViewSide::Left: towardsEye = {0.0f, 1.0f, 0.0f}; break;
    case ViewSide::Right: towardsEye = {0.0f, -1.0f, 0.0f}; break;
    case ViewSide::Top: towardsEye = {kOffVertical, 0.0f, 1.0f}; break;
    case ViewSide::Bottom: towardsEye = {kOffVertical, 0.0f, -1.0f}; break;
    }
    target.eye = target.lookAt + towardsEye;
    frameModel(mesh, target);
}

}  // namespace tarn
