#include "edit/mapping_geometry.h"

#include <algorithm>
#include <cmath>

namespace tarn {

ScreenPoint screenOf(const SkinView& view, MappingVert m) {
    const float hw = static_cast<float>(view.viewWidth() / 2);
    const float hh = static_cast<float>(view.viewHeight() / 2);
    return {hw + (m.s - view.panX() + 0.5f) * view.zoom(), hh + (m.t - view.panY() + 0.5f) * view.zoom()};
}

bool screenTriangle(const SkinView& view, const Mesh& mesh, const Triangle& tri, std::array<ScreenPoint, 3>& out) {
    const int count = std::clamp<int>(mesh.mappingVertCount, 0, static_cast<int>(mesh.mappingVerts.size()));
    for (std::size_t k = 0; k < 3; ++k) {
        const int m = tri.mapping[k];
        if (m < 0 || m >= count) return false;
        out[k] = screenOf(view, mesh.mappingVerts[static_cast<std::size_t>(m)]);
    }
    return true;
}

bool pointInTriangle(float px, float py, const std::array<ScreenPoint, 3>& corners) {
    bool inside = false;
    for (std::size_t k = 0; k < 3; ++k) {
        ScreenPoint a = corners[k];
        ScreenPoint b = corners[(k + 1) % 3];
        if (b.x < a.x) std::swap(a, b);
        if (a.x < px && px <= b.x && (b.y - a.y) * (px - a.x) > (b.x - a.x) * (py - a.y)) inside = !inside;
    }
    return inside;
}

int pickMappingVert(const SkinView& view, const Mesh& mesh, int x, int y) {
    const int count = std::clamp<int>(mesh.mappingVertCount, 0, static_cast<int>(mesh.mappingVerts.size()));
    const float px = static_cast<float>(x);
    const float py = static_cast<float>(y);
    constexpr int kLimit = kPickRadius * kPickRadius;
    int best = -1;
    int bestDistance = kLimit;
    for (int i = 0; i < count; ++i) {
        const ScreenPoint c = screenOf(view, mesh.mappingVerts[static_cast<std::size_t>(i)]);
        const float fx = px - c.x;
        const float fy = py - c.y;
        // An offset of a whole radius on one axis alone is already too far; leaving
        // those out first also keeps far offsets from overflowing.
        if (std::fabs(fx) >= kPickRadius || std::fabs(fy) >= kPickRadius) continue;
        const int dx = static_cast<int>(fx);
        const int dy = static_cast<int>(fy);
        const int d = dx * dx + dy * dy;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

}  // namespace tarn
