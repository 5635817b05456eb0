#include "model/symmetry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarn {
namespace {

// Grid dimensions stay below this per axis, so a degenerate extent cannot
// ask for a huge grid.
constexpr int kMaxCellsPerAxis = 64;
// The ranking sample: every kSampleStride-th vertex, but at least kMinSample
// vertices; the kWholeMeasured best frames and axes are then measured whole.
constexpr int kSampleStride = 8;
constexpr int kMinSample = 24;
constexpr std::size_t kWholeMeasured = 8;
// How much further than the nearest Triangle another may lie and still count
// as touching the same point, as a share of the frame's size.
constexpr float kSharedPointSlack = 1e-4f;
// A frame thinner than this share of its size along an axis has no mirror
// worth the name across it.
constexpr float kMinDepth = 0.02f;

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

SurfaceIndex::SurfaceIndex(const Mesh& mesh, const std::vector<Vec3f>& positions, float cellSize) {
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
        if (!corners(mesh, positions, t, c)) continue;
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
    cell = std::max({cell, size_ / float(kMaxCellsPerAxis), 1e-6f});
    cell_ = cell;
    for (int a = 0; a < 3; ++a)
        dims_[std::size_t(a)] = std::clamp(int(component(extent, a) / cell) + 1, 1, kMaxCellsPerAxis);

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
    auto tryCell = [&](int x, int y, int z) {
        const std::size_t i = cellIndex(x, y, z);
        for (std::uint32_t m = start_[i]; m < start_[i + 1]; ++m) {
            const std::size_t id = std::size_t(members_[m]);
            if (seen_[id] == query_) continue;
            seen_[id] = query_;
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
    const int rings = int(maxDistance / cell_) + 1;
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
        if (best2 <= reach * reach) break;
    }
    if (hit) hit->distance = std::sqrt(hit->distance);
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
    if (values.size() % 2 != 0) return {axis, *mid};
    // An even count: halfway between the two middle values.
    return {axis, 0.5f * (*mid + *std::max_element(values.begin(), mid))};
}

namespace {

// Measures every axis of one frame over one index.
// Stops as soon as the mean can no longer come below `bound` (a frame and
// axis that lose early cost little); the measure then stays above the bound.
// With `stride` above 1 only every stride-th vertex is measured.
void measureFrame(const Mesh& mesh, int frame, const SurfaceIndex& index, int axis, SymmetryMeasure& out,
                  double bound = std::numeric_limits<double>::infinity(), int stride = 1) {
    const std::vector<Vec3f>& positions = mesh.frames[std::size_t(frame)].positions;
    const int count = std::min<int>(mesh.vertexCount, static_cast<int>(positions.size()));
    out.frame = frame;
    out.plane = medianPlane(positions, mesh.vertexCount, axis);
    out.meanDistance = std::numeric_limits<double>::infinity();
    out.landedShare = 0.0;
    const float size = index.size();
    float lo = std::numeric_limits<float>::max(), hi = -lo;
    for (int i = 0; i < count; ++i) {
        lo = std::min(lo, component(positions[std::size_t(i)], axis));
        hi = std::max(hi, component(positions[std::size_t(i)], axis));
    }
    // Across a side the frame has no depth on, the mirror is the identity.
    if (count == 0 || !(size > 0.0f) || hi - lo < size * kMinDepth) return;
    const double extent = hi - lo;
    const float cap = size * kMeasureCap, tolerance = size * kMirrorTolerance;
    const int measured = (count + stride - 1) / stride;
    const double budget = bound * measured * extent;
    double sum = 0.0;
    int landed = 0;
    for (int i = 0; i < count; i += stride) {
        const auto hit = index.nearest(out.plane.apply(positions[std::size_t(i)]), cap);
        const float d = hit ? hit->distance : cap;
        sum += d;
        if (sum > budget) return;
        if (d <= tolerance) ++landed;
    }
    out.meanDistance = sum / measured / extent;
    out.landedShare = double(landed) / measured;
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
    // A sample of the vertices ranks every frame and axis; the few best are
    // then measured whole. The whole search over all vertices of every frame
    // would take several times as long and rarely choose otherwise.
    struct Candidate {
        double mean;
        int frame, axis;
    };
    std::vector<Candidate> ranked;
    const int stride = std::max(1, std::min<int>(kSampleStride, mesh.vertexCount / kMinSample));
    for (int f = 0; hasFrame(mesh, f); ++f) {
        const SurfaceIndex index(mesh, mesh.frames[std::size_t(f)].positions);
        for (int axis = 0; axis < 3; ++axis) {
            SymmetryMeasure m;
            measureFrame(mesh, f, index, axis, m, std::numeric_limits<double>::infinity(), stride);
            ranked.push_back({m.meanDistance, f, axis});
        }
    }
    const std::size_t keep = std::min<std::size_t>(ranked.size(), kWholeMeasured);
    std::partial_sort(ranked.begin(), ranked.begin() + std::ptrdiff_t(keep), ranked.end(),
                      [](const Candidate& a, const Candidate& b) {
                          return a.mean < b.mean || (a.mean == b.mean && (a.frame < b.frame ||
                                                     (a.frame == b.frame && a.axis < b.axis)));
                      });
    ranked.resize(keep);
    std::sort(ranked.begin(), ranked.end(), [](const Candidate& a, const Candidate& b) {
        return a.frame < b.frame || (a.frame == b.frame && a.axis < b.axis);
    });
    SymmetryMeasure best;
    best.meanDistance = std::numeric_limits<double>::infinity();
    for (const Candidate& c : ranked) {
        const SurfaceIndex index(mesh, mesh.frames[std::size_t(c.frame)].positions);
        SymmetryMeasure m;
        measureFrame(mesh, c.frame, index, c.axis, m, best.meanDistance);
        if (m.meanDistance < best.meanDistance) best = m;
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

bool mappingAt(const Mesh& mesh, const SurfacePoint& p, double& s, double& t) {
    s = t = 0.0;
    if (p.triangle < 0 || p.triangle >= triangleCount(mesh)) return false;
    for (int k = 0; k < 3; ++k) {
        const std::int16_t i = mesh.triangles[std::size_t(p.triangle)].mapping[std::size_t(k)];
        if (i < 0 || i >= mesh.mappingVertCount || std::size_t(i) >= mesh.mappingVerts.size()) return false;
        s += double(p.weight[std::size_t(k)]) * mesh.mappingVerts[std::size_t(i)].s;
        t += double(p.weight[std::size_t(k)]) * mesh.mappingVerts[std::size_t(i)].t;
    }
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

std::optional<SurfacePoint> Mirror::of(const SurfacePoint& p, const std::function<bool(int)>& accept) const {
    if (!index_) return std::nullopt;
    Vec3f at;
    if (!surfacePosition(mesh_, mesh_.frames[std::size_t(frame_)].positions, p, at)) return std::nullopt;
    const Vec3f image = plane_.apply(at);
    const auto any = index_->nearest(image, index_->size() * kMirrorTolerance);
    if (!any) return std::nullopt;
    if (accept(any->point.triangle)) return any->point;
    const auto taken = index_->nearest(image, any->distance + index_->size() * kSharedPointSlack, accept);
    if (!taken) return std::nullopt;
    return taken->point;
}

}  // namespace tarn
