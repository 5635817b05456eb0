#include "model/symmetry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarn {
namespace {

// Grid dimensions stay below this per axis, so a degenerate extent cannot
// ask for a huge grid.
constexpr int kMaxCellsPerAxis = 64;

float component(const Vec3f& p, int axis) { return axis == 0 ? p.x : axis == 1 ? p.y : p.z; }

float length(const Vec3f& v) { return std::sqrt(dot(v, v)); }

// The point of triangle (a, b, c) nearest p, as corner weights (the regions
// of the triangle's Voronoi diagram, tested in order).
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

Vec3f blend(const Vec3f& a, const Vec3f& b, const Vec3f& c, const std::array<float, 3>& w) {
    return a * w[0] + b * w[1] + c * w[2];
}

bool corners(const Mesh& mesh, const std::vector<Vec3f>& positions, int t, Vec3f out[3]) {
    const Triangle& tri = mesh.triangles[std::size_t(t)];
    const int count = std::min<int>(mesh.vertexCount, static_cast<int>(positions.size()));
    for (int k = 0; k < 3; ++k) {
        const int v = tri.vertex[std::size_t(k)];
        if (v < 0 || v >= count) return false;
        out[k] = positions[std::size_t(v)];
    }
    return true;
}

int triangleCount(const Mesh& mesh) {
    return std::clamp<int>(mesh.triangleCount, 0, static_cast<int>(mesh.triangles.size()));
}

}  // namespace

SurfaceIndex::SurfaceIndex(const Mesh& mesh, const std::vector<Vec3f>& positions, float cellSize)
    : mesh_(mesh), positions_(positions) {
    const int count = std::min<int>(mesh.vertexCount, static_cast<int>(positions.size()));
    const float inf = std::numeric_limits<float>::max();
    Vec3f lo{inf, inf, inf}, hi{-inf, -inf, -inf};
    for (int i = 0; i < count; ++i) {
        const Vec3f& p = positions[std::size_t(i)];
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
    if (count == 0) lo = hi = {};
    lo_ = lo;
    size_ = length(hi - lo);
    for (int t = 0; t < triangleCount(mesh); ++t) {
        Vec3f c[3];
        if (corners(mesh, positions, t, c)) usable_.push_back(t);
    }
    // About one Triangle per cell by volume, never finer than the extent allows.
    const Vec3f extent = hi - lo;
    const float volume = std::max(extent.x, size_ * 0.01f) * std::max(extent.y, size_ * 0.01f) *
                         std::max(extent.z, size_ * 0.01f);
    float cell = cellSize > 0.0f ? cellSize : std::cbrt(volume / float(std::max<std::size_t>(usable_.size(), 1)));
    cell = std::max({cell, size_ / float(kMaxCellsPerAxis), 1e-6f});
    cell_ = cell;
    for (int a = 0; a < 3; ++a)
        dims_[std::size_t(a)] = std::clamp(int(component(extent, a) / cell) + 1, 1, kMaxCellsPerAxis);

    // Each Triangle goes into every cell its bounding box touches.
    const std::size_t cells = std::size_t(dims_[0]) * std::size_t(dims_[1]) * std::size_t(dims_[2]);
    std::vector<std::uint32_t> counts(cells + 1, 0);
    auto forCells = [&](int t, auto&& visit) {
        Vec3f c[3];
        corners(mesh, positions, t, c);
        const Vec3f tlo{std::min({c[0].x, c[1].x, c[2].x}), std::min({c[0].y, c[1].y, c[2].y}),
                        std::min({c[0].z, c[1].z, c[2].z})};
        const Vec3f thi{std::max({c[0].x, c[1].x, c[2].x}), std::max({c[0].y, c[1].y, c[2].y}),
                        std::max({c[0].z, c[1].z, c[2].z})};
        const auto a = cellOf(tlo), b = cellOf(thi);
        for (int z = a[2]; z <= b[2]; ++z)
            for (int y = a[1]; y <= b[1]; ++y)
                for (int x = a[0]; x <= b[0]; ++x)
                    visit((std::size_t(z) * std::size_t(dims_[1]) + std::size_t(y)) * std::size_t(dims_[0]) +
                          std::size_t(x));
    };
    for (int t : usable_) forCells(t, [&](std::size_t i) { ++counts[i + 1]; });
    for (std::size_t i = 0; i < cells; ++i) counts[i + 1] += counts[i];
    start_ = counts;
    members_.resize(counts[cells]);
    for (int t : usable_) forCells(t, [&](std::size_t i) { members_[counts[i]++] = t; });
    seen_.assign(std::size_t(triangleCount(mesh)), 0);
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

std::optional<SurfaceIndex::Hit> SurfaceIndex::nearest(const Vec3f& p, float maxDistance) const {
    if (usable_.empty() || !(maxDistance >= 0.0f)) return std::nullopt;
    if (++query_ == 0) {
        std::fill(seen_.begin(), seen_.end(), 0);
        query_ = 1;
    }
    float best = maxDistance;
    std::optional<Hit> hit;
    auto tryCell = [&](int x, int y, int z) {
        const std::size_t i =
            (std::size_t(z) * std::size_t(dims_[1]) + std::size_t(y)) * std::size_t(dims_[0]) + std::size_t(x);
        for (std::uint32_t m = start_[i]; m < start_[i + 1]; ++m) {
            const int t = members_[m];
            if (seen_[std::size_t(t)] == query_) continue;
            seen_[std::size_t(t)] = query_;
            Vec3f c[3];
            corners(mesh_, positions_, t, c);
            const auto w = closestWeights(p, c[0], c[1], c[2]);
            const float d = length(blend(c[0], c[1], c[2], w) - p);
            if (d <= best && (!hit || d < hit->distance)) {
                best = d;
                hit = Hit{SurfacePoint{t, w}, d};
            }
        }
    };
    // The point's own cell first: a point on the surface is usually settled
    // there, when the hit lies nearer than any other cell can.
    const auto own = cellOf(p);
    tryCell(own[0], own[1], own[2]);
    float wall = std::numeric_limits<float>::max();
    for (int a = 0; a < 3; ++a) {
        const float lo = component(lo_, a) + float(own[std::size_t(a)]) * cell_;
        const float v = component(p, a);
        wall = std::min({wall, std::max(v - lo, 0.0f), std::max(lo + cell_ - v, 0.0f)});
    }
    if (hit && hit->distance <= wall) return hit;
    const auto a = cellOf(p - Vec3f{best, best, best}), b = cellOf(p + Vec3f{best, best, best});
    for (int z = a[2]; z <= b[2]; ++z)
        for (int y = a[1]; y <= b[1]; ++y)
            for (int x = a[0]; x <= b[0]; ++x)
                if (x != own[0] || y != own[1] || z != own[2]) tryCell(x, y, z);
    return hit;
}

MirrorPlane medianPlane(const std::vector<Vec3f>& positions, int vertexCount, int axis) {
    const int count = std::min<int>(vertexCount, static_cast<int>(positions.size()));
    std::vector<float> values;
    values.reserve(std::size_t(std::max(count, 0)));
    for (int i = 0; i < count; ++i) values.push_back(component(positions[std::size_t(i)], axis));
    if (values.empty()) return {axis, 0.0f};
    const auto mid = values.begin() + std::ptrdiff_t(values.size() / 2);
    std::nth_element(values.begin(), mid, values.end());
    return {axis, *mid};
}

namespace {

// Measures every axis of one frame over one index.
void measureFrame(const Mesh& mesh, int frame, const SurfaceIndex& index, int axis, SymmetryMeasure& out) {
    const std::vector<Vec3f>& positions = mesh.frames[std::size_t(frame)].positions;
    const int count = std::min<int>(mesh.vertexCount, static_cast<int>(positions.size()));
    out.frame = frame;
    out.plane = medianPlane(positions, mesh.vertexCount, axis);
    out.meanDistance = 1.0;
    out.landedShare = 0.0;
    const float size = index.size();
    if (count == 0 || !(size > 0.0f)) return;
    const float cap = size * kMeasureCap, tolerance = size * kMirrorTolerance;
    double sum = 0.0;
    int landed = 0;
    for (int i = 0; i < count; ++i) {
        const auto hit = index.nearest(out.plane.apply(positions[std::size_t(i)]), cap);
        const float d = hit ? hit->distance : cap;
        sum += d;
        if (d <= tolerance) ++landed;
    }
    out.meanDistance = sum / count / size;
    out.landedShare = double(landed) / count;
}

bool hasFrame(const Mesh& mesh, int frame) {
    return frame >= 0 && frame < static_cast<int>(mesh.frames.size()) && triangleCount(mesh) > 0;
}

}  // namespace

SymmetryMeasure measureSymmetry(const Mesh& mesh, int frame, int axis) {
    SymmetryMeasure m;
    if (!hasFrame(mesh, frame) || axis < 0 || axis > 2) return m;
    const SurfaceIndex index(mesh, mesh.frames[std::size_t(frame)].positions);
    measureFrame(mesh, frame, index, axis, m);
    return m;
}

SymmetryMeasure bestSymmetry(const Mesh& mesh) {
    SymmetryMeasure best;
    best.meanDistance = std::numeric_limits<double>::infinity();
    for (int f = 0; hasFrame(mesh, f); ++f) {
        const SurfaceIndex index(mesh, mesh.frames[std::size_t(f)].positions);
        for (int axis = 0; axis < 3; ++axis) {
            SymmetryMeasure m;
            measureFrame(mesh, f, index, axis, m);
            if (m.meanDistance < best.meanDistance) best = m;
        }
    }
    if (best.frame < 0) best.meanDistance = 1.0;
    return best;
}

bool surfacePosition(const Mesh& mesh, const std::vector<Vec3f>& positions, const SurfacePoint& p, Vec3f& out) {
    if (p.triangle < 0 || p.triangle >= triangleCount(mesh)) return false;
    Vec3f c[3];
    if (!corners(mesh, positions, p.triangle, c)) return false;
    out = blend(c[0], c[1], c[2], p.weight);
    return true;
}

Mirror::Mirror(const Mesh& mesh, int frame, int axis) : mesh_(mesh), frame_(frame) {
    if (!hasFrame(mesh, frame) || axis < 0 || axis > 2) {
        frame_ = -1;
        return;
    }
    const std::vector<Vec3f>& positions = mesh.frames[std::size_t(frame)].positions;
    plane_ = medianPlane(positions, mesh.vertexCount, axis);
    index_.emplace(mesh, positions);
}

std::optional<SurfacePoint> Mirror::of(const SurfacePoint& p) const {
    if (!index_) return std::nullopt;
    Vec3f at;
    if (!surfacePosition(mesh_, mesh_.frames[std::size_t(frame_)].positions, p, at)) return std::nullopt;
    const auto hit = index_->nearest(plane_.apply(at), index_->size() * kMirrorTolerance);
    if (!hit) return std::nullopt;
    return hit->point;
}

}  // namespace tarn
