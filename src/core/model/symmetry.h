#pragma once
// Mirror symmetry of an animated Mesh. An MD2 has no rest pose, and mirrored
// quads are often split along different diagonals, so mirroring works on
// surface points rather than on vertex or Triangle partners: a point is taken
// to the same Triangle and barycentric weights in the frame that is most
// symmetric, mirrored there, and snapped to the nearest point of that frame's
// surface.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "model/mesh.h"

namespace tarn {

// A point of the surface: a Triangle and the weights of its three corners.
struct SurfacePoint {
    int triangle = -1;
    std::array<float, 3> weight{};
};

// Mirror tolerance and the cap of the symmetry measure, as shares of the
// frame's size (its bounding-box diagonal).
inline constexpr float kMirrorTolerance = 0.02f;
inline constexpr float kMeasureCap = 0.05f;

// The Triangles of one frame binned into a uniform grid, for nearest-point
// queries.
class SurfaceIndex {
public:
    // `cellSize` of 0 picks one from the frame's size and Triangle count.
    SurfaceIndex(const Mesh& mesh, const std::vector<Vec3f>& positions, float cellSize = 0.0f);

    // The nearest surface point to `p` no further than `maxDistance`, with its
    // distance; nothing when every Triangle lies further.
    struct Hit {
        SurfacePoint point;
        float distance = 0.0f;
    };
    // With `accept`, only the Triangles it accepts count.
    std::optional<Hit> nearest(const Vec3f& p, float maxDistance,
                               const std::function<bool(int)>& accept = {}) const;

    // The frame's bounding-box diagonal.
    float size() const { return size_; }

private:
    // The Triangles whose corners index the frame, with their bounding boxes.
    struct Entry {
        Vec3f a, b, c, lo, hi;
        int triangle;
    };
    std::vector<Entry> entries_;
    Vec3f lo_{};
    float cell_ = 1.0f;
    std::array<int, 3> dims_{1, 1, 1};
    float size_ = 0.0f;
    std::vector<std::uint32_t> start_;  // per cell, into members_
    std::vector<std::int32_t> members_;        // into entries_
    mutable std::vector<std::uint32_t> seen_;  // per entry: the query that last tried it
    mutable std::uint32_t query_ = 0;

    std::array<int, 3> cellOf(const Vec3f& p) const;
    std::size_t cellIndex(int x, int y, int z) const {
        return (std::size_t(z) * std::size_t(dims_[1]) + std::size_t(y)) * std::size_t(dims_[0]) + std::size_t(x);
    }
};

// The mirror across the plane where coordinate `axis` (0 x, 1 y, 2 z) equals `centre`.
struct MirrorPlane {
    int axis = 0;
    float centre = 0.0f;
    Vec3f apply(Vec3f p) const {
        float* c = axis == 0 ? &p.x : axis == 1 ? &p.y : &p.z;
        *c = 2.0f * centre - *c;
        return p;
    }
};

// How symmetric a frame is about one axis: the mean distance from each
// mirrored vertex to the nearest point of the same frame's surface (distances
// beyond kMeasureCap of the frame's size count as the cap), over the frame's
// extent along that axis, so that a model lying flat does not look symmetric
// across its thin side; and the share of vertices whose mirror lies within
// kMirrorTolerance of the surface.
struct SymmetryMeasure {
    int frame = -1;
    MirrorPlane plane;
    double meanDistance = 1.0;
    double landedShare = 0.0;
};

// The plane through the median of the frame's coordinates along `axis`: a
// weapon held out to one side moves the bounding box, not the median.
MirrorPlane medianPlane(const std::vector<Vec3f>& positions, int vertexCount, int axis);
SymmetryMeasure measureSymmetry(const Mesh& mesh, int frame, int axis);
// Every frame and axis; the lowest mean distance wins, the first on ties.
// Frame -1 when the Mesh has no frame with Triangles.
SymmetryMeasure bestSymmetry(const Mesh& mesh);

// The chosen symmetry with its frame's index, ready for mirror queries.
class Mirror {
public:
    Mirror(const Mesh& mesh, int frame, int axis);
    explicit Mirror(const Mesh& mesh) : Mirror(mesh, bestSymmetry(mesh)) {}
    Mirror(const Mesh& mesh, const SymmetryMeasure& choice) : Mirror(mesh, choice.frame, choice.plane.axis) {}

    bool valid() const { return index_.has_value(); }
    int frame() const { return frame_; }
    int axis() const { return plane_.axis; }
    // The mirror of `p` (in any frame): nothing where no surface lies within
    // the tolerance, or for a Triangle the symmetry frame cannot place.
    std::optional<SurfacePoint> of(const SurfacePoint& p) const;
    // The same, preferring a Triangle `accept` takes where the mirror lies on
    // a vertex or edge it shares with others (as near as the nearest, give or
    // take a rounding error); nothing where the nearest lies on others only.
    std::optional<SurfacePoint> of(const SurfacePoint& p, const std::function<bool(int)>& accept) const;

private:
    const Mesh& mesh_;
    int frame_ = -1;
    MirrorPlane plane_;
    std::optional<SurfaceIndex> index_;
};

// A vertical (s = position) or horizontal (t = position) line of the skin, in
// skin pixels; a texel at s covers [s, s + 1).
struct SkinMirrorLine {
    bool vertical = true;
    double position = 0.0;
    double flip(double v) const { return 2.0 * position - v; }
};

// The skin coordinates the mapping puts at a surface point (the corners'
// MappingVerts interpolated by the weights); false for a Triangle whose
// corners have none.
bool mappingAt(const Mesh& mesh, const SurfacePoint& p, double& s, double& t);

// What painting and mapping in Mirror mode work with: the symmetry frame and
// axis (frame -1 until a model chose them) and the skin pane's mirror line
// once Ctrl+click set it (else the mapping's own line is used).
struct SymmetrySetting {
    int frame = -1;
    int axis = 0;
    std::optional<SkinMirrorLine> skinLine;
};

// Where a surface point lies in `positions`; false for a Triangle whose
// corners do not index them.
bool surfacePosition(const Mesh& mesh, const std::vector<Vec3f>& positions, const SurfacePoint& p, Vec3f& out);

}  // namespace tarn
