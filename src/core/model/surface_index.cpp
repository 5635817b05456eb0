#include "model/surface_index.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarn {
namespace {

// Grid dimensions stay below this per axis, so a degenerate extent cannot
// ask for a huge grid.
constexpr int kMaxCellsPerAxis = 64;
// Large, overlapping Triangles would each fill thousands of cells: the grid
// coarsens until the cells hold at most this many entries per Triangle.
constexpr std::uint64_t kMembershipsPerTriangle = 16;
constexpr float kCoarsening = 1.25f;
// A query tries at most this many Triangles, nearest cells first. On real
// models a query tries a few dozen; where huge Triangles overlap everywhere
// the answer is the nearest of the first ones tried.
constexpr int kMaxTries = 256;

float component(const Vec3f& p, int axis) { return axis == 0 ? p.x : axis == 1 ? p.y : p.z; }

float length(const Vec3f& v) { return std::sqrt(dot(v, v)); }

Vec3f blend(const Vec3f& a, const Vec3f& b, const Vec3f& c, const std::array<float, 3>& w) {
    return a * w[0] + b * w[1] + c * w[2];
}

int triangleCount(const Mesh& mesh) {
    return std::clamp<int>(mesh.triangleCount, 0, static_cast<int>(mesh.triangles.size()));
}

}  // namespace

// The regions of the triangle's Voronoi diagram, tested in order.
std::array<float, 3> closestWeights(const Vec3f& p, const Vec3f& a, const Vec3f& b, const Vec3f& c) {
    const Vec3f ab = b - a, ac = c - a, ap = p - a;
    const float d1 = dot(ab, ap), d2 = dot(ac, ap);
    if (d1 <= 0.0f && d2 <= 0.0f) return {1.0f, 0.0f, 0.0f};
    const Vec3f bp = p - b;
    const float d3 = dot(ab, bp), d4 = dot(ac, bp);
    if (d3 >= 0.0f && d4 <= d3) return {0.0f, 1.0f, 0.0f};
    const float vc = d1 * d4 - d3 * d2;
    if (vc <= 0.0f && d1 >= 0.0f && d3 <= 0.0f) {
        const float v = d1 / (d1 - d3);
        return {1.0f - v, v, 0.0f};
    }
    const Vec3f cp = p - c;
    const float d5 = dot(ab, cp), d6 = dot(ac, cp);
    if (d6 >= 0.0f && d5 <= d6) return {0.0f, 0.0f, 1.0f};
    const float vb = d5 * d2 - d1 * d6;
    if (vb <= 0.0f && d2 >= 0.0f && d6 <= 0.0f) {
        const float w = d2 / (d2 - d6);
        return {1.0f - w, 0.0f, w};
    }
    const float va = d3 * d6 - d5 * d4;
    if (va <= 0.0f && (d4 - d3) >= 0.0f && (d5 - d6) >= 0.0f) {
        const float w = (d4 - d3) / ((d4 - d3) + (d5 - d6));
        return {0.0f, 1.0f - w, w};
    }
    const float sum = va + vb + vc;
    if (!(sum > 0.0f)) return {1.0f, 0.0f, 0.0f};  // a degenerate triangle: its first corner
    const float v = vb / sum, w = vc / sum;
    return {1.0f - v - w, v, w};
}

bool triangleCorners(const Mesh& mesh, const std::vector<Vec3f>& positions, int t, Vec3f out[3]) {
    if (t < 0 || t >= triangleCount(mesh)) return false;
    const Triangle& tri = mesh.triangles[std::size_t(t)];
    const int count = std::min<int>(mesh.vertexCount, static_cast<int>(positions.size()));
    for (int k = 0; k < 3; ++k) {
        const int v = tri.vertex[std::size_t(k)];
        if (v < 0 || v >= count) return false;
        out[k] = positions[std::size_t(v)];
    }
    return true;
}

bool surfacePosition(const Mesh& mesh, const std::vector<Vec3f>& positions, const SurfacePoint& p, Vec3f& out) {
    Vec3f c[3];
    if (!triangleCorners(mesh, positions, p.triangle, c)) return false;
    out = blend(c[0], c[1], c[2], p.weight);
    return true;
}

Bounds boundsOf(const std::vector<Vec3f>& positions, int count) {
    count = std::clamp(count, 0, static_cast<int>(positions.size()));
    if (count == 0) return {};
    Bounds b{positions[0], positions[0]};
    for (int i = 1; i < count; ++i) {
        const Vec3f& p = positions[std::size_t(i)];
        b.lo = {std::min(b.lo.x, p.x), std::min(b.lo.y, p.y), std::min(b.lo.z, p.z)};
        b.hi = {std::max(b.hi.x, p.x), std::max(b.hi.y, p.y), std::max(b.hi.z, p.z)};
    }
    return b;
}

float Bounds::diagonal() const { return length(hi - lo); }

SurfaceIndex::SurfaceIndex(const Mesh& mesh, const std::vector<Vec3f>& positions, float cellSize) {
    const Bounds bounds = boundsOf(positions, mesh.vertexCount);
    const Vec3f lo = bounds.lo, hi = bounds.hi;
    lo_ = lo;
    size_ = bounds.diagonal();
    for (int t = 0; t < triangleCount(mesh); ++t) {
        Vec3f c[3];
        if (!triangleCorners(mesh, positions, t, c)) continue;
        const Vec3f tlo{std::min({c[0].x, c[1].x, c[2].x}), std::min({c[0].y, c[1].y, c[2].y}),
                        std::min({c[0].z, c[1].z, c[2].z})};
        const Vec3f thi{std::max({c[0].x, c[1].x, c[2].x}), std::max({c[0].y, c[1].y, c[2].y}),
                        std::max({c[0].z, c[1].z, c[2].z})};
        entries_.push_back({c[0], c[1], c[2], tlo, thi, t});
    }
    // About one Triangle per cell by volume, never finer than the extent allows.
    const Vec3f extent = hi - lo;
    const float volume = std::max(extent.x, size_ * 0.01f) * std::max(extent.y, size_ * 0.01f) *
                         std::max(extent.z, size_ * 0.01f);
    float cell = cellSize > 0.0f ? cellSize : std::cbrt(volume / float(std::max<std::size_t>(entries_.size(), 1)));
    setGrid(std::max({cell, size_ / float(kMaxCellsPerAxis), 1e-6f}), extent);
    const std::uint64_t most = kMembershipsPerTriangle * std::max<std::uint64_t>(entries_.size(), 1);
    while (memberships() > most && dims_ != std::array<int, 3>{1, 1, 1})
        setGrid(cell_ * kCoarsening, extent);

    // Each Triangle goes into every cell its bounding box touches.
    const std::size_t cells = std::size_t(dims_[0]) * std::size_t(dims_[1]) * std::size_t(dims_[2]);
    std::vector<std::uint32_t> counts(cells + 1, 0);
    auto forCells = [&](const Entry& e, auto&& visit) {
        const auto a = cellOf(e.lo), b = cellOf(e.hi);
        for (int z = a[2]; z <= b[2]; ++z)
            for (int y = a[1]; y <= b[1]; ++y)
                for (int x = a[0]; x <= b[0]; ++x) visit(cellIndex(x, y, z));
    };
    for (const Entry& e : entries_) forCells(e, [&](std::size_t i) { ++counts[i + 1]; });
    for (std::size_t i = 0; i < cells; ++i) counts[i + 1] += counts[i];
    start_ = counts;
    members_.resize(counts[cells]);
    for (std::size_t e = 0; e < entries_.size(); ++e)
        forCells(entries_[e], [&](std::size_t i) { members_[counts[i]++] = std::int32_t(e); });
    seen_.assign(entries_.size(), 0);
    work_ += members_.size();
}

void SurfaceIndex::setGrid(float cell, const Vec3f& extent) {
    cell_ = cell;
    for (int a = 0; a < 3; ++a)
        dims_[std::size_t(a)] = std::clamp(int(component(extent, a) / cell) + 1, 1, kMaxCellsPerAxis);
}

std::uint64_t SurfaceIndex::memberships() const {
    std::uint64_t sum = 0;
    for (const Entry& e : entries_) {
        const auto a = cellOf(e.lo), b = cellOf(e.hi);
        sum += std::uint64_t(b[0] - a[0] + 1) * std::uint64_t(b[1] - a[1] + 1) * std::uint64_t(b[2] - a[2] + 1);
    }
    work_ += entries_.size();
    return sum;
}

std::array<int, 3> SurfaceIndex::cellOf(const Vec3f& p) const {
    std::array<int, 3> c{};
    for (int a = 0; a < 3; ++a) {
        const float f = (component(p, a) - component(lo_, a)) / cell_;
        c[std::size_t(a)] = std::clamp(int(std::floor(std::clamp(f, -1.0f, float(kMaxCellsPerAxis + 1)))), 0,
                                       dims_[std::size_t(a)] - 1);
    }
    return c;
}

std::optional<SurfaceIndex::Hit> SurfaceIndex::nearest(const Vec3f& p, float maxDistance,
                                                       const std::function<bool(int)>& accept) const {
    if (entries_.empty() || !(maxDistance >= 0.0f)) return std::nullopt;
    if (++query_ == 0) {
        std::fill(seen_.begin(), seen_.end(), 0);
        query_ = 1;
    }
    float best2 = maxDistance * maxDistance;
    std::optional<Hit> hit;
    int tries = 0;
    auto tryCell = [&](int x, int y, int z) {
        const std::size_t i = cellIndex(x, y, z);
        for (std::uint32_t m = start_[i]; m < start_[i + 1] && tries < kMaxTries; ++m) {
            const std::size_t id = std::size_t(members_[m]);
            if (seen_[id] == query_) continue;
            seen_[id] = query_;
            ++work_;
            ++tries;
            const Entry& e = entries_[id];
            if (accept && !accept(e.triangle)) continue;
            // The box's distance first: most Triangles end there.
            const float bx = std::max({e.lo.x - p.x, 0.0f, p.x - e.hi.x});
            const float by = std::max({e.lo.y - p.y, 0.0f, p.y - e.hi.y});
            const float bz = std::max({e.lo.z - p.z, 0.0f, p.z - e.hi.z});
            if (bx * bx + by * by + bz * bz > best2) continue;
            const auto w = closestWeights(p, e.a, e.b, e.c);
            const Vec3f d = blend(e.a, e.b, e.c, w) - p;
            const float d2 = dot(d, d);
            if (d2 <= best2 && (!hit || d2 < hit->distance)) {
                best2 = d2;
                hit = Hit{SurfacePoint{e.triangle, w}, d2};
            }
        }
    };
    // Rings of cells around the point's own, nearest first: the search ends
    // once the hit lies nearer than anything outside the rings searched.
    const auto own = cellOf(p);
    float wall = std::numeric_limits<float>::max();
    for (int a = 0; a < 3; ++a) {
        const float lo = component(lo_, a) + float(own[std::size_t(a)]) * cell_;
        const float v = component(p, a);
        wall = std::min({wall, std::max(v - lo, 0.0f), std::max(lo + cell_ - v, 0.0f)});
    }
    const int rings = std::min(int(maxDistance / cell_) + 1, kMaxCellsPerAxis);
    for (int r = 0; r <= rings; ++r) {
        const int z0 = std::max(own[2] - r, 0), z1 = std::min(own[2] + r, dims_[2] - 1);
        const int y0 = std::max(own[1] - r, 0), y1 = std::min(own[1] + r, dims_[1] - 1);
        const int x0 = std::max(own[0] - r, 0), x1 = std::min(own[0] + r, dims_[0] - 1);
        for (int z = z0; z <= z1; ++z)
            for (int y = y0; y <= y1; ++y)
                for (int x = x0; x <= x1; ++x)
                    if (std::max({std::abs(x - own[0]), std::abs(y - own[1]), std::abs(z - own[2])}) == r)
                        tryCell(x, y, z);
        const float reach = wall + float(r) * cell_;
        if (best2 <= reach * reach || tries >= kMaxTries) break;
    }
    if (hit) hit->distance = std::sqrt(hit->distance);
    return hit;
}

}  // namespace tarn
