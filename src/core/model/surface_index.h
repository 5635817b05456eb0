#pragma once
// Points of a Mesh's surface, and one frame's Triangles binned into a uniform
// grid for nearest-point queries.
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

class SurfaceIndex {
public:
    // `cellSize` of 0 picks one from the frame's size and Triangle count. The
    // grid never holds more than a few entries per Triangle, however large
    // and overlapping the Triangles are.
    SurfaceIndex(const Mesh& mesh, const std::vector<Vec3f>& positions, float cellSize = 0.0f);

    // The nearest surface point to `p` no further than `maxDistance`, with its
    // distance; nothing when every Triangle lies further.
    struct Hit {
        SurfacePoint point;
        float distance = 0.0f;
    };
    // With `accept`, only the Triangles it accepts count. A query tries a
    // bounded number of Triangles, nearest cells first.
    std::optional<Hit> nearest(const Vec3f& p, float maxDistance,
                               const std::function<bool(int)>& accept = {}) const;

    // The frame's bounding-box diagonal.
    float size() const { return size_; }
    // Work done so far, in Triangles binned and tried: what a search with a
    // budget counts, so that its choices do not depend on the machine.
    std::uint64_t work() const { return work_; }

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
    mutable std::uint64_t work_ = 0;

    std::array<int, 3> cellOf(const Vec3f& p) const;
    std::size_t cellIndex(int x, int y, int z) const {
        return (std::size_t(z) * std::size_t(dims_[1]) + std::size_t(y)) * std::size_t(dims_[0]) + std::size_t(x);
    }
    // Cells the entries' boxes touch, summed, on the grid as it is set.
    std::uint64_t memberships() const;
    void setGrid(float cell, const Vec3f& extent);
};

// The bounding box of the first `count` positions; all zero for none.
struct Bounds {
    Vec3f lo, hi;
    float diagonal() const;
};
Bounds boundsOf(const std::vector<Vec3f>& positions, int count);

// The point of triangle (a, b, c) nearest p, as corner weights.
std::array<float, 3> closestWeights(const Vec3f& p, const Vec3f& a, const Vec3f& b, const Vec3f& c);

// The corners of Triangle `t` in `positions`; false when they do not index them.
bool triangleCorners(const Mesh& mesh, const std::vector<Vec3f>& positions, int t, Vec3f out[3]);

// Where a surface point lies in `positions`; false for a Triangle whose
// corners do not index them.
bool surfacePosition(const Mesh& mesh, const std::vector<Vec3f>& positions, const SurfacePoint& p, Vec3f& out);

}  // namespace tarn
