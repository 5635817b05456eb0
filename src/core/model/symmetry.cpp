#include "model/symmetry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarn {
namespace {

// The ranking sample: every kSampleStride-th vertex, but at least kMinSample
// and at most kRankedVertices vertices; the kWholeMeasured best frames and
// axes are then measured on up to kMeasuredVertices.
constexpr int kSampleStride = 8;
constexpr int kMinSample = 24;
constexpr int kRankedVertices = 128;
constexpr int kMeasuredVertices = 1024;
constexpr std::size_t kWholeMeasured = 8;
// The search's budgets, in Triangles binned and tried (SurfaceIndex::work):
// the ranking stops taking further frames, and the measuring further
// candidates, once its budget is spent. A real player model ranks every
// frame within a tenth of the first.
constexpr std::uint64_t kRankingWork = 12'000'000;
constexpr std::uint64_t kMeasuringWork = 8'000'000;
// A mirror's candidates come from the reference frame and the most
// symmetric others, kProposingFrames in all; they are scored over the same
// frames. On the male player (198 frames, holding a weapon in all of them)
// scoring over every frame alike lets the torso, which a hanging arm's mirror
// image grazes in most poses, outvote the other arm, and so does the single
// most symmetric frame: of the texels of one arm, 2,442 had their mirror on
// the other arm and 1,398 elsewhere with that frame alone, 3,283 and 944
// with the eight most symmetric, 2,747 and 1,411 with the 24 most symmetric.
constexpr std::size_t kProposingFrames = 8;
constexpr std::size_t kAgreeingFrames = 8;
// Once a Mirror's queries have done this much work (huge overlapping
// Triangles make every query try most of them), candidates come from the
// reference frame alone.
constexpr std::uint64_t kMirrorWork = 30'000'000;
// A mirror this near a corner (as a share of the frame's size, and never
// beyond a quarter of the corner's shorter edge) is the corner: the file
// keeps each coordinate to 1/255 of the frame's extent.
constexpr float kVertexSnap = 0.006f;
// A frame thinner than this share of its size along an axis has no mirror
// worth the name across it.
constexpr float kMinDepth = 0.02f;

float component(const Vec3f& p, int axis) { return axis == 0 ? p.x : axis == 1 ? p.y : p.z; }

float length(const Vec3f& v) { return std::sqrt(dot(v, v)); }

int triangleCount(const Mesh& mesh) {
    return std::clamp<int>(mesh.triangleCount, 0, static_cast<int>(mesh.triangles.size()));
}

bool hasFrame(const Mesh& mesh, int frame) {
    return frame >= 0 && frame < static_cast<int>(mesh.frames.size()) && triangleCount(mesh) > 0;
}

// Frames 0..count-1 coarse to fine: every frame once, each prefix spread
// over the whole animation.
std::vector<int> coarseToFine(int count) {
    std::vector<int> order;
    std::vector<bool> taken(std::size_t(std::max(count, 0)), false);
    int stride = 1;
    while (stride * 2 <= count) stride *= 2;
    for (; stride >= 1; stride /= 2)
        for (int f = 0; f < count; f += stride)
            if (!taken[std::size_t(f)]) {
                taken[std::size_t(f)] = true;
                order.push_back(f);
            }
    return order;
}

int strideFor(int vertices, int most) { return std::max(1, (vertices + most - 1) / most); }


// Measures one axis of one frame over its index, on every stride-th vertex.
// Stops as soon as the mean can no longer come below `bound` (a frame and
// axis that lose early cost little); the measure then stays above the bound.
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

struct Ranked {
    double mean;
    int frame, axis;
};

// Every frame's sampled measure across axes first..last, frames taken coarse
// to fine until the budget is spent; the most symmetric first, then by frame
// and axis.
std::vector<Ranked> rankFrames(const Mesh& mesh, int first, int last) {
    std::vector<Ranked> ranked;
    const int stride = std::max({1, std::min<int>(kSampleStride, mesh.vertexCount / kMinSample),
                                 strideFor(mesh.vertexCount, kRankedVertices)});
    std::uint64_t work = 0;
    const int frames = hasFrame(mesh, 0) ? static_cast<int>(mesh.frames.size()) : 0;
    for (int f : coarseToFine(frames)) {
        if (work > kRankingWork) break;
        const SurfaceIndex index(mesh, mesh.frames[std::size_t(f)].positions);
        for (int axis = first; axis <= last; ++axis) {
            SymmetryMeasure m;
            measureFrame(mesh, f, index, axis, m, std::numeric_limits<double>::infinity(), stride);
            ranked.push_back({m.meanDistance, f, axis});
        }
        work += index.work();
    }
    std::sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
        return a.mean < b.mean || (a.mean == b.mean && (a.frame < b.frame || (a.frame == b.frame && a.axis < b.axis)));
    });
    return ranked;
}

// The most symmetric frames of one axis, best first, up to kAgreeingFrames.
std::vector<int> mostSymmetric(const std::vector<Ranked>& ranked, int axis) {
    std::vector<int> frames;
    for (const Ranked& r : ranked)
        if (r.axis == axis && std::isfinite(r.mean) && frames.size() < kAgreeingFrames) frames.push_back(r.frame);
    return frames;
}

}  // namespace

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

SymmetryMeasure measureSymmetry(const Mesh& mesh, int frame, int axis) {
    SymmetryMeasure m;
    if (!hasFrame(mesh, frame) || axis < 0 || axis > 2) return m;
    const SurfaceIndex index(mesh, mesh.frames[std::size_t(frame)].positions);
    measureFrame(mesh, frame, index, axis, m);
    return m;
}

SymmetryMeasure bestSymmetry(const Mesh& mesh) {
    std::vector<Ranked> ranked = rankFrames(mesh, 0, 2);
    std::array<std::vector<int>, 3> most;
    for (int axis = 0; axis < 3; ++axis) most[std::size_t(axis)] = mostSymmetric(ranked, axis);
    // The best few are measured on a larger sample, in frame order so that
    // ties go to the first frame.
    ranked.resize(std::min(ranked.size(), kWholeMeasured));
    std::sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
        return a.frame < b.frame || (a.frame == b.frame && a.axis < b.axis);
    });
    SymmetryMeasure best;
    best.meanDistance = std::numeric_limits<double>::infinity();
    std::uint64_t work = 0;
    for (const Ranked& c : ranked) {
        if (work > kMeasuringWork) break;
        const SurfaceIndex index(mesh, mesh.frames[std::size_t(c.frame)].positions);
        SymmetryMeasure m;
        measureFrame(mesh, c.frame, index, c.axis, m, best.meanDistance, strideFor(mesh.vertexCount, kMeasuredVertices));
        if (m.meanDistance < best.meanDistance) best = m;
        work += index.work();
    }
    if (best.frame < 0) best.meanDistance = 1.0;
    best.ranked = std::move(most);
    return best;
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

Mirror::Mirror(const Mesh& mesh, int frame, int axis, std::vector<int> ranked) : mesh_(mesh), frame_(frame) {
    plane_.axis = std::clamp(axis, 0, 2);
    if (!hasFrame(mesh, frame) || axis < 0 || axis > 2) {
        frame_ = -1;
        return;
    }
    if (ranked.empty()) ranked = mostSymmetric(rankFrames(mesh, axis, axis), axis);
    const auto usable = [&](int f) {
        return f >= 0 && f < static_cast<int>(mesh.frames.size()) &&
               static_cast<int>(mesh.frames[std::size_t(f)].positions.size()) >= mesh.vertexCount;
    };
    // The reference frame first, then the most symmetric, each once.
    std::vector<int> frames{frame};
    for (int f : ranked)
        if (usable(f) && std::find(frames.begin(), frames.end(), f) == frames.end()) frames.push_back(f);
    plane_ = medianPlane(mesh.frames[std::size_t(frame)].positions, mesh.vertexCount, axis);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const std::vector<Vec3f>& positions = mesh.frames[std::size_t(frames[i])].positions;
        const MirrorPlane plane = medianPlane(positions, mesh.vertexCount, axis);
        if (i < kProposingFrames) proposers_.push_back({frames[i], plane, SurfaceIndex(mesh, positions)});
        if (i > kAgreeingFrames) continue;
        agreeing_.push_back(frames[i]);
        planes_.push_back(plane);
        sizes_.push_back(std::max(boundsOf(positions, mesh.vertexCount).diagonal(), std::numeric_limits<float>::min()));
    }
    vertexMirrors_.assign(std::size_t(std::max<int>(mesh.vertexCount, 0)), std::nullopt);
    vertexDone_.assign(vertexMirrors_.size(), false);
}

std::optional<SurfacePoint> Mirror::settle(const PointIn& at, bool mirrored,
                                           const std::function<bool(int)>& accept) const {
    // The candidates: the surface nearest the image in each proposing frame.
    std::vector<SurfacePoint> candidates;
    for (const Proposer& proposer : proposers_) {
        if (&proposer != &proposers_.front() && spent_ > kMirrorWork) break;
        Vec3f p;
        if (!at(proposer.frame, p)) continue;
        const Vec3f image = mirrored ? proposer.plane.apply(p) : p;
        const std::uint64_t work = proposer.index.work();
        const auto hit = proposer.index.nearest(image, proposer.index.size() * kMirrorTolerance, accept);
        spent_ += proposer.index.work() - work;
        if (!hit) continue;
        const bool known = std::any_of(candidates.begin(), candidates.end(), [&](const SurfacePoint& c) {
            return c.triangle == hit->point.triangle && std::abs(c.weight[0] - hit->point.weight[0]) < 1e-4f &&
                   std::abs(c.weight[1] - hit->point.weight[1]) < 1e-4f;
        });
        if (!known) candidates.push_back(hit->point);
    }
    if (candidates.empty()) return std::nullopt;
    if (candidates.size() > 1) {
        // Each candidate's distance from the image in each agreeing frame,
        // capped so that a frame where nothing fits weighs no more than a miss.
        std::vector<double> score(candidates.size(), 0.0);
        for (std::size_t i = 0; i < agreeing_.size(); ++i) {
            Vec3f p;
            if (!at(agreeing_[i], p)) continue;
            const Vec3f image = mirrored ? planes_[i].apply(p) : p;
            const std::vector<Vec3f>& positions = mesh_.frames[std::size_t(agreeing_[i])].positions;
            for (std::size_t c = 0; c < candidates.size(); ++c) {
                Vec3f q;
                const float d = surfacePosition(mesh_, positions, candidates[c], q) ? length(q - image) / sizes_[i]
                                                                                    : kMeasureCap;
                score[c] += std::min(d, kMeasureCap);
            }
        }
        // Ties go to the first candidate: the reference frame's.
        const std::size_t best = std::size_t(std::min_element(score.begin(), score.end()) - score.begin());
        candidates.front() = candidates[best];
    }
    SurfacePoint chosen = candidates.front();
    snapToCorner(chosen);
    return chosen;
}

void Mirror::snapToCorner(SurfacePoint& p) const {
    Vec3f c[3];
    if (!triangleCorners(mesh_, mesh_.frames[std::size_t(frame_)].positions, p.triangle, c)) return;
    const Vec3f at = c[0] * p.weight[0] + c[1] * p.weight[1] + c[2] * p.weight[2];
    const float reach = proposers_.front().index.size() * kVertexSnap;
    int corner = -1;
    float nearest = std::numeric_limits<float>::max();
    for (int k = 0; k < 3; ++k) {
        const float edge = std::min(length(c[(k + 1) % 3] - c[k]), length(c[(k + 2) % 3] - c[k]));
        const float d = length(at - c[k]);
        if (d <= std::min(reach, 0.25f * edge) && d < nearest) {
            nearest = d;
            corner = k;
        }
    }
    if (corner < 0) return;
    p.weight = {0.0f, 0.0f, 0.0f};
    p.weight[std::size_t(corner)] = 1.0f;
}

std::optional<SurfacePoint> Mirror::of(const SurfacePoint& p) const {
    if (!valid()) return std::nullopt;
    return settle([&](int f, Vec3f& out) { return surfacePosition(mesh_, mesh_.frames[std::size_t(f)].positions, p, out); },
                  true, {});
}

const std::optional<SurfacePoint>& Mirror::ofVertex(int v) const {
    static const std::optional<SurfacePoint> none;
    if (!valid() || v < 0 || std::size_t(v) >= vertexMirrors_.size()) return none;
    if (!vertexDone_[std::size_t(v)]) {
        vertexDone_[std::size_t(v)] = true;
        vertexMirrors_[std::size_t(v)] = settle(
            [&](int f, Vec3f& out) {
                const std::vector<Vec3f>& positions = mesh_.frames[std::size_t(f)].positions;
                if (std::size_t(v) >= positions.size()) return false;
                out = positions[std::size_t(v)];
                return true;
            },
            true, {});
    }
    return vertexMirrors_[std::size_t(v)];
}

std::optional<SurfacePoint> Mirror::nearestAccepted(const SurfacePoint& p, const std::function<bool(int)>& accept) const {
    if (!valid()) return std::nullopt;
    return settle([&](int f, Vec3f& out) { return surfacePosition(mesh_, mesh_.frames[std::size_t(f)].positions, p, out); },
                  false, accept);
}

}  // namespace tarn
