#pragma once
// Mirror symmetry of an animated Mesh. An MD2 has no rest pose, and mirrored
// quads are often split along different diagonals, so mirroring works on
// surface points rather than on vertex or Triangle partners: a point's mirror
// image is looked for on the surface in several frames, and the surface point
// found that stays nearest the image over all frames is its mirror.
#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "model/mesh.h"
#include "model/surface_index.h"

namespace tarn {

// Mirror tolerance and the cap of the symmetry measure, as shares of the
// frame's size (its bounding-box diagonal).
inline constexpr float kMirrorTolerance = 0.02f;
inline constexpr float kMeasureCap = 0.05f;

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
    // Per axis, the frames the search found most symmetric, best first.
    std::array<std::vector<int>, 3> ranked;
};

// The plane through the median of the frame's coordinates along `axis`: a
// weapon held out to one side moves the bounding box, not the median.
MirrorPlane medianPlane(const std::vector<Vec3f>& positions, int vertexCount, int axis);
SymmetryMeasure measureSymmetry(const Mesh& mesh, int frame, int axis);
// The frame and axis of the lowest mean distance, the first on ties. The
// search has a fixed budget of work: a sample of each frame's vertices ranks
// the frames (spread evenly over the animation, coarse to fine, until the
// budget is spent), and a larger sample measures the best few. Frame -1 when
// the Mesh has no frame with Triangles.
SymmetryMeasure bestSymmetry(const Mesh& mesh);

// Mirror queries across the symmetry axis. An animated model is seldom
// symmetric in most of its frames (a player holds a weapon), and in any one
// frame a limb's mirror image may touch another part, so a mirror is decided
// by the frames where the whole model is most symmetric, by agreement among
// them, with one frame (the chosen symmetry frame) as the reference.
class Mirror {
public:
    // `ranked`: the frames most symmetric across `axis`, best first, as the
    // search found them (the first few are used); when empty they are
    // ranked here.
    Mirror(const Mesh& mesh, int frame, int axis, std::vector<int> ranked = {});
    explicit Mirror(const Mesh& mesh) : Mirror(mesh, bestSymmetry(mesh)) {}
    Mirror(const Mesh& mesh, const SymmetryMeasure& choice)
        : Mirror(mesh, choice.frame, choice.plane.axis,
                 choice.frame >= 0 ? choice.ranked[std::size_t(choice.plane.axis)] : std::vector<int>{}) {}

    bool valid() const { return frame_ >= 0; }
    int frame() const { return frame_; }
    int axis() const { return plane_.axis; }
    // The mirror of `p`: in the reference frame and the most symmetric
    // others, the surface point nearest p's mirror image (within the
    // tolerance) is a candidate; the candidate nearest p's mirror image summed
    // over the most symmetric frames (each mirrored across its own median
    // plane) is the answer. Nothing where no frame has surface near the
    // image. A mirror that lies on a vertex (as near as the file's precision
    // allows) is that vertex exactly.
    std::optional<SurfacePoint> of(const SurfacePoint& p) const;
    // The mirror of vertex `v`, worked out once.
    const std::optional<SurfacePoint>& ofVertex(int v) const;
    // The point of a Triangle `accept` takes that lies nearest `p` itself
    // over all frames, chosen in the same way; nothing where none lies within
    // the tolerance in any of the candidates' frames.
    std::optional<SurfacePoint> nearestAccepted(const SurfacePoint& p, const std::function<bool(int)>& accept) const;

private:
    struct Proposer {
        int frame;
        MirrorPlane plane;
        SurfaceIndex index;
    };
    // Where the point lies in frame f; false where that frame cannot place it.
    using PointIn = std::function<bool(int frame, Vec3f& out)>;
    std::optional<SurfacePoint> settle(const PointIn& at, bool mirrored, const std::function<bool(int)>& accept) const;
    void snapToCorner(SurfacePoint& p) const;

    const Mesh& mesh_;
    int frame_ = -1;
    MirrorPlane plane_;
    std::vector<Proposer> proposers_;  // the reference frame first
    std::vector<int> agreeing_;        // the frames the candidates are scored over
    std::vector<MirrorPlane> planes_;  // per agreeing frame
    std::vector<float> sizes_;         // per agreeing frame
    mutable std::vector<std::optional<SurfacePoint>> vertexMirrors_;
    mutable std::vector<bool> vertexDone_;
    mutable std::uint64_t spent_ = 0;  // the proposers' query work
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
// axis (frame -1 until a model chose them), the frames ranked most symmetric
// per axis, and the skin pane's mirror line once Ctrl+click set it (else the
// mapping's own line is used).
struct SymmetrySetting {
    int frame = -1;
    int axis = 0;
    std::array<std::vector<int>, 3> ranked;
    std::optional<SkinMirrorLine> skinLine;
};

// The Mirror a setting describes.
inline Mirror mirrorOf(const Mesh& mesh, const SymmetrySetting& setting) {
    return Mirror(mesh, setting.frame, setting.axis, setting.ranked[std::size_t(std::clamp(setting.axis, 0, 2))]);
}

}  // namespace tarn
