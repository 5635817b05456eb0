// Clipping of segments: against the near plane in camera space and against
// the target rectangle in pixel space.
#include <cmath>
#include <cstdint>
#include <utility>

#include "raster/rasterizer.h"

namespace tarn {

bool Rasterizer::ClipNear(Segment3D& segment) {
    for (const Point3f& p : {segment.p0, segment.p1})
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return false;
    // N is the nearer endpoint (the first when both are equally near), F the other.
    const bool firstNearer = segment.p0.z <= segment.p1.z;
    Point3f& n = firstNearer ? segment.p0 : segment.p1;
    const Point3f& f = firstNearer ? segment.p1 : segment.p0;
    if (f.z < kNearPlane) return false;
    if (n.z >= kNearPlane) return true;
    const float t = (f.z - kNearPlane) / (f.z - n.z);
    n.y = f.y - (f.y - n.y) * t;
    n.x = f.x - (f.x - n.x) * t;
    n.z = kNearPlane;
    return true;
}

namespace {

struct Point64 {
    std::int64_t x, y;
};

// Cuts a.x up to `low` and b.x down to `high` (a.x <= b.x), moving the other
// coordinate along the segment in 16.16 steps; b's cut uses a as already cut.
// `x` and `y` select which members are the cut and the moved coordinate.
template <std::int64_t Point64::*x, std::int64_t Point64::*y>
bool clipAxis(Point64& a, Point64& b, std::int64_t high) {
    if (b.*x < a.*x) std::swap(a, b);
    if (b.*x < 0 || a.*x > high) return false;
    if (a.*x < 0) {
        const std::int64_t f = ((-(a.*x)) << kFixed16Shift) / (b.*x - a.*x);
        a.*y += (f * (b.*y - a.*y)) >> kFixed16Shift;
        a.*x = 0;
    }
    if (b.*x > high) {
        const std::int64_t f = ((b.*x - high) << kFixed16Shift) / (b.*x - a.*x);
        b.*y -= (f * (b.*y - a.*y)) >> kFixed16Shift;
        b.*x = high;
    }
    return true;
}

}  // namespace

bool Rasterizer::ClipLine(Segment2D& segment) const {
    if (width_ <= 0 || height_ <= 0) return false;
    Point64 a{segment.x0, segment.y0};
    Point64 b{segment.x1, segment.y1};
    if (!clipAxis<&Point64::x, &Point64::y>(a, b, xLimit_)) return false;
    if (!clipAxis<&Point64::y, &Point64::x>(a, b, yLimit_)) return false;
    // Every cut keeps the moved coordinate between the endpoints', so the
    // results are inside the target and fit 32 bits.
    segment = Segment2D{static_cast<std::int32_t>(a.x), static_cast<std::int32_t>(a.y), static_cast<std::int32_t>(b.x),
                        static_cast<std::int32_t>(b.y)};
    return true;
}

}  // namespace tarn
