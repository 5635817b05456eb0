#include "edit/rebake.h"

#include <algorithm>

namespace tarn {

namespace {

using Wide = std::int64_t;

Wide floorDiv(Wide n, Wide d) {  // d > 0
    const Wide q = n / d;
    return (n % d != 0 && n < 0) ? q - 1 : q;
}

Wide cross(Wide ax, Wide ay, Wide bx, Wide by) { return ax * by - ay * bx; }

// One source coordinate as a function of the target texel (x, y):
// floor((a x + b y + c) / m) with m > 0. Along a row it is stepped by
// quotient and remainder, so no texel needs a division.
struct Axis {
    Wide a = 0, b = 0, c = 0, m = 1;
};

class AxisWalk {
public:
    AxisWalk(const Axis& axis, int x, int y) : m_(axis.m) {
        const Wide n = axis.a * x + axis.b * y + axis.c;
        q_ = floorDiv(n, m_);
        r_ = n - q_ * m_;
        qStep_ = floorDiv(axis.a, m_);
        rStep_ = axis.a - qStep_ * m_;
    }
    Wide value() const { return q_; }
    void next() {
        q_ += qStep_;
        r_ += rStep_;
        if (r_ >= m_) {
            r_ -= m_;
            ++q_;
        }
    }

private:
    Wide m_, q_ = 0, r_ = 0, qStep_ = 0, rStep_ = 0;
};

struct SourceMap {
    Axis x, y;
};

// The source texel of target texel p. With corners P_k (target) and Q_k
// (source), the barycentric weights of p are w_k / D, where w_k is twice the
// signed area p makes with the edge opposite corner k and D their sum. Texel
// centres lie half a texel into their texels, so the source point is
// sum(w_k Q_k) / D + 1/2 and its texel floor((2 sum(w_k Q_k) + D) / 2D).
SourceMap barycentricMap(const std::array<MappingVert, 3>& to, const std::array<MappingVert, 3>& from, Wide area) {
    const Wide sign = area > 0 ? 1 : -1;
    SourceMap map;
    map.x.m = map.y.m = 2 * area * sign;
    for (std::size_t k = 0; k < 3; ++k) {
        const MappingVert& p1 = to[(k + 1) % 3];
        const MappingVert& p2 = to[(k + 2) % 3];
        // w_k = cross(p1, p2) + cross(p2 - p1, p)
        const Wide a = Wide{p1.t} - p2.t;
        const Wide b = Wide{p2.s} - p1.s;
        const Wide c = cross(p1.s, p1.t, p2.s, p2.t);
        map.x.a += 2 * sign * a * from[k].s;
        map.x.b += 2 * sign * b * from[k].s;
        map.x.c += 2 * sign * c * from[k].s;
        map.y.a += 2 * sign * a * from[k].t;
        map.y.b += 2 * sign * b * from[k].t;
        map.y.c += 2 * sign * c * from[k].t;
    }
    map.x.c += area * sign;
    map.y.c += area * sign;
    return map;
}

// A Triangle flat on its target (all corners on one line) has no barycentric
// coordinates, yet the fills still cover a line of texels. Its longest edge
// then carries the texels by the turn and scale that take it onto the same
// edge of the source (complex multiplication by (b' - a') / (b - a)), and a
// Triangle shrunk to a point by the move of its first corner. Both are exact
// for unchanged mappings, whole-texel moves and quarter turns.
SourceMap flatMap(const std::array<MappingVert, 3>& to, const std::array<MappingVert, 3>& from) {
    std::size_t edge = 0;
    Wide length = -1;
    for (std::size_t k = 0; k < 3; ++k) {
        const Wide dx = Wide{to[(k + 1) % 3].s} - to[k].s;
        const Wide dy = Wide{to[(k + 1) % 3].t} - to[k].t;
        if (dx * dx + dy * dy > length) {
            length = dx * dx + dy * dy;
            edge = k;
        }
    }
    const MappingVert a = to[edge];
    const MappingVert a2 = from[edge];
    SourceMap map;
    if (length == 0) {
        map.x = {1, 0, Wide{a2.s} - a.s, 1};
        map.y = {0, 1, Wide{a2.t} - a.t, 1};
        return map;
    }
    const MappingVert b = to[(edge + 1) % 3];
    const MappingVert b2 = from[(edge + 1) % 3];
    const Wide fx = Wide{b.s} - a.s, fy = Wide{b.t} - a.t;
    const Wide ex = Wide{b2.s} - a2.s, ey = Wide{b2.t} - a2.t;
    const Wide re = ex * fx + ey * fy;  // (e * conj(f)), over |f|^2
    const Wide im = ey * fx - ex * fy;
    // source = a' + (p - a) (re + i im) / L, plus the half texel.
    map.x = {2 * re, -2 * im, 2 * (Wide{a2.s} * length - re * a.s + im * a.t) + length, 2 * length};
    map.y = {2 * im, 2 * re, 2 * (Wide{a2.t} * length - im * a.s - re * a.t) + length, 2 * length};
    return map;
}

}  // namespace

bool cornersIn(const Triangle& tri, std::span<const MappingVert> table, int count, std::array<MappingVert, 3>& out) {
    const int usable = std::min<int>(count, static_cast<int>(table.size()));
    for (std::size_t k = 0; k < 3; ++k) {
        const int m = tri.mapping[k];
        if (m < 0 || m >= usable) return false;
        out[k] = table[static_cast<std::size_t>(m)];
    }
    return true;
}

bool Rebake::setImages(std::span<std::uint8_t> target, int width, int height, std::span<const std::uint8_t> source,
                       int sourceWidth, int sourceHeight) {
    target_ = nullptr;
    source_ = nullptr;
    const auto fits = [](std::size_t bytes, int w, int h) {
        return w > 0 && h > 0 && bytes >= static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    };
    if (!fits(target.size(), width, height) || !fits(source.size(), sourceWidth, sourceHeight) ||
        !raster_.SetTarget(RasterTarget{target.data(), nullptr, nullptr, nullptr, width, height}))
        return false;
    target_ = target.data();
    width_ = width;
    height_ = height;
    source_ = source.data();
    sourceWidth_ = sourceWidth;
    sourceHeight_ = sourceHeight;
    return true;
}

void Rebake::triangle(const std::array<MappingVert, 3>& to, const std::array<MappingVert, 3>& from) {
    if (target_ == nullptr) return;
    FillTriangle<Vertex2D> corners{};
    for (std::size_t k = 0; k < 3; ++k) corners[k] = {to[k].s, to[k].t};
    corners[3] = corners[0];
    CoverTriangle2D(raster_, corners, rows_);
    if (rows_.empty()) return;

    const Wide area = cross(Wide{to[1].s} - to[0].s, Wide{to[1].t} - to[0].t, Wide{to[2].s} - to[0].s,
                            Wide{to[2].t} - to[0].t);
    const SourceMap map = area != 0 ? barycentricMap(to, from, area) : flatMap(to, from);
    const Wide lastX = sourceWidth_ - 1;
    const Wide lastY = sourceHeight_ - 1;
    const auto draw = [&](std::int32_t row, std::int32_t left, std::int32_t right) {
        AxisWalk sx(map.x, left, row);
        AxisWalk sy(map.y, left, row);
        const std::size_t start = static_cast<std::size_t>(row) * static_cast<std::size_t>(width_);
        std::uint8_t* out = target_ + start;
        for (std::int32_t x = left; x <= right; ++x) {
            const Wide u = std::clamp<Wide>(sx.value(), 0, lastX);
            const Wide v = std::clamp<Wide>(sy.value(), 0, lastY);
            out[x] = source_[static_cast<std::size_t>(v * sourceWidth_ + u)];
            sx.next();
            sy.next();
        }
        if (covered_ != nullptr) std::fill(covered_ + start + left, covered_ + start + right + 1, std::uint8_t{1});
    };
    for (const RowSpan& span : rows_) {
        if (written_)
            written_->take(span.row, span.left, span.right, 0,
                           [&](std::int32_t left, std::int32_t right) { draw(span.row, left, right); }, [](std::int32_t) {});
        else
            draw(span.row, span.left, span.right);
    }
}

}  // namespace tarn
