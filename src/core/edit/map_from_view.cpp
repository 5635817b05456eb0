#include "edit/map_from_view.h"

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "platform/refresh.h"
#include "platform/ui.h"

namespace tarn {

namespace {

// Nearer than this in front of the eye a point cannot be divided by its
// depth; it lands on the pane's centre instead.
constexpr double kNearestProjectedZ = 0.1;
constexpr double kDegreesPerHalfTurn = 180.0;

// The camera frame of the 3D pane: a turn about the vertical axis, then a
// tilt, with no roll. Positions come out as lateral X (positive to the
// viewer's left), vertical Y (up) and depth Z (distance from the eye along
// the view), as the renderer has them.
struct CameraFrame {
    CameraFrame(const Vec3f& eye, const Vec3f& at) : target(at) {
        dx = double(at.x) - eye.x;
        dy = double(at.y) - eye.y;
        dz = double(at.z) - eye.z;
        h = std::sqrt(dx * dx + dy * dy);
        f = std::sqrt(h * h + dz * dz);
        // Looking straight up or down leaves no horizontal direction: the turn
        // is then none, as atan2(0, 0) gives.
        ux = h > 0.0 ? dx / h : 1.0;
        uy = h > 0.0 ? dy / h : 0.0;
    }
    bool usable() const { return f > 0.0 && std::isfinite(f); }

    void apply(const Vec3f& p, double& x, double& y, double& z) const {
        const double ax = double(p.x) - target.x;
        const double ay = double(p.y) - target.y;
        const double az = double(p.z) - target.z;
        const double n = ax * ux + ay * uy;
        x = -ax * uy + ay * ux;
        y = (az * h - dz * n) / f;
        z = f + (h * n + dz * az) / f;
    }

    Vec3f target;
    double dx = 0, dy = 0, dz = 0, h = 0, f = 0, ux = 1, uy = 0;
};

struct Projected {
    double x = 0;
    double y = 0;
};

// Facing the camera exactly when the renderer would draw the Triangle: the
// triple product P2 . (P1 x P0) of its camera-space corners is negative.
bool facesCamera(const double (&p)[3][3]) {
    const double cx = p[1][1] * p[0][2] - p[1][2] * p[0][1];
    const double cy = p[1][2] * p[0][0] - p[1][0] * p[0][2];
    const double cz = p[1][0] * p[0][1] - p[1][1] * p[0][0];
    return p[2][0] * cx + p[2][1] * cy + p[2][2] * cz < 0.0;
}

std::int16_t skinCoordinate(double value) {
    if (!(value >= std::numeric_limits<std::int16_t>::min())) return std::numeric_limits<std::int16_t>::min();
    if (value > std::numeric_limits<std::int16_t>::max()) return std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(value);  // truncates toward zero
}

}  // namespace

void MapFromView(Mesh& mesh, const ViewCamera& camera, MapRect& rect, const MapFromViewOptions& options) {
    // Corners are refreshed from the table first, so the rebuild below never
    // brings back coordinates older than the MappingVerts.
    MergeMappingVerts(mesh);
    rect.normalise();
    const CameraFrame frame(camera.eye, camera.target);
    const Vec3f* positions = mesh.currentPositions();
    const int vertices = positions ? std::min<int>(mesh.vertexCount,
                                                   int(mesh.frames[std::size_t(mesh.currentFrame)].positions.size()))
                                   : 0;
    if (!frame.usable() || vertices <= 0) {
        RebuildMappingVerts(mesh);
        return;
    }

    // Camera space of every vertex a chosen Triangle uses.
    const auto count = static_cast<std::size_t>(vertices);
    std::vector<std::array<double, 3>> view(count);
    std::vector<bool> marked(count, false);
    std::vector<int> chosen;
    for (int i = 0; i < mesh.triangleCount; ++i) {
        const Triangle& tri = mesh.triangles[std::size_t(i)];
        if (!(tri.flags & kTriSelected)) continue;
        double p[3][3];
        bool inside = true;
        for (std::size_t k = 0; k < 3 && inside; ++k) {
            const int v = tri.vertex[k];
            inside = v >= 0 && v < vertices;
            if (inside) frame.apply(positions[v], p[k][0], p[k][1], p[k][2]);
        }
        if (!inside || (options.noBackfaces && !facesCamera(p))) continue;
        chosen.push_back(i);
        for (std::size_t k = 0; k < 3; ++k) {
            const auto v = std::size_t(tri.vertex[k]);
            marked[v] = true;
            view[v] = {p[k][0], p[k][1], p[k][2]};
        }
    }

    const double cx = camera.width / 2;
    const double cy = camera.height / 2;
    const double halfFov = camera.fieldOfView * 0.5 * std::numbers::pi / kDegreesPerHalfTurn;
    const double g = std::min(camera.width, camera.height) / (2.0 * frame.f * std::tan(halfFov));
    const double sx = options.mirror ? 1.0 : -1.0;
    const double sy = options.flip ? 1.0 : -1.0;
    std::vector<Projected> screen(count);
    double minX = std::numeric_limits<double>::infinity(), maxX = -minX, minY = minX, maxY = -minX;
    for (std::size_t v = 0; v < screen.size(); ++v) {
        if (!marked[v]) continue;
        const auto& [x, y, z] = view[v];
        Projected& s = screen[v];
        if (options.parallel) {
            s = {x * sx * g + cx, y * sy * g + cy};
        } else if (z > kNearestProjectedZ) {
            s = {x * frame.f / z * sx * g + cx, y * frame.f / z * sy * g + cy};
        } else {
            s = {cx, cy};
        }
        if (!std::isfinite(s.x) || !std::isfinite(s.y)) s = {cx, cy};
        minX = std::min(minX, s.x);
        maxX = std::max(maxX, s.x);
        minY = std::min(minY, s.y);
        maxY = std::max(maxY, s.y);
    }

    // Both axes scale on their own, so the projection fills the rectangle;
    // a flat range lands on the left (or top) edge.
    const double spanX = maxX > minX ? maxX - minX : 0.0;
    const double spanY = maxY > minY ? maxY - minY : 0.0;
    auto place = [](double value, double low, double span, int from, int to) {
        return span > 0.0 ? skinCoordinate((value - low) * double(to - from) / span + from) : skinCoordinate(from);
    };
    for (int i : chosen) {
        Triangle& tri = mesh.triangles[std::size_t(i)];
        for (std::size_t k = 0; k < 3; ++k) {
            const Projected& s = screen[std::size_t(tri.vertex[k])];
            tri.corner[k] = {place(s.x, minX, spanX, rect.left, rect.right),
                             place(s.y, minY, spanY, rect.top, rect.bottom)};
        }
    }
    RebuildMappingVerts(mesh);
}

void mapFromViewCommand(MapFromViewContext& c) {
    if (!requireSelection(c.ui, c.mesh)) return;
    const std::optional<MapFromViewOptions> options = c.ui.mapFromView(MapFromViewOptions{});
    if (!options) return;
    c.editor.run(c.mesh, kStepMapFromView, [&] { MapFromView(c.mesh, c.camera, c.rect, *options); });
    c.refresh.refreshAll();
}

}  // namespace tarn
