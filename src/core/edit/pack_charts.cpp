#include "edit/pack_charts.h"

#include <algorithm>
#include <limits>
#include <numeric>

#include "edit/rebake.h"
#include "raster/fill_cover.h"

namespace tarn {

namespace {

// Covers larger than this on a side are clipped when charts are found: a
// skin never comes near it, only coordinates gone wild in a file would.
constexpr int kMaxCanvasSide = 4096;
constexpr std::int16_t kNoOwner = -1;  // Triangle indices fit 16 bits

class UnionFind {
public:
    explicit UnionFind(std::size_t n) : parent_(n) { std::iota(parent_.begin(), parent_.end(), 0); }
    int find(int i) {
        while (parent_[std::size_t(i)] != i) {
            parent_[std::size_t(i)] = parent_[std::size_t(parent_[std::size_t(i)])];
            i = parent_[std::size_t(i)];
        }
        return i;
    }
    void join(int a, int b) {
        a = find(a);
        b = find(b);
        if (a != b) parent_[std::size_t(std::max(a, b))] = std::min(a, b);
    }

private:
    std::vector<int> parent_;
};

// The rows of a fill of `corners` on a width x height target.
class Coverer {
public:
    bool setSize(int width, int height) {
        return raster_.SetTarget(RasterTarget{nullptr, nullptr, nullptr, nullptr, width, height});
    }
    const std::vector<RowSpan>& cover(const Corners& corners, int dx, int dy) {
        FillTriangle<Vertex2D> fill{};
        for (std::size_t k = 0; k < 3; ++k) fill[k] = {corners[k].s + dx, corners[k].t + dy};
        fill[3] = fill[0];
        CoverTriangle2D(raster_, fill, rows_);
        return rows_;
    }

private:
    Rasterizer raster_;
    std::vector<RowSpan> rows_;
};

bool usable(const Mesh& mesh, int i, std::span<const MappingVert> verts, Corners& out) {
    return cornersIn(mesh.triangles[std::size_t(i)], verts, mesh.mappingVertCount, out);
}

int triangleCount(const Mesh& mesh) {
    return std::clamp<int>(mesh.triangleCount, 0, static_cast<int>(mesh.triangles.size()));
}

// Sets out[g] for every g within `margin` of a set in[i], over n cells
// `stride` apart.
void growLine(const std::uint8_t* in, std::uint8_t* out, int n, std::ptrdiff_t stride, int margin) {
    int reach = -1;  // out is set up to here
    for (int i = 0; i < n; ++i) {
        if (in[i * stride] == 0) continue;
        const int last = std::min(n - 1, i + margin);
        for (int g = std::max(reach + 1, i - margin); g <= last; ++g) out[g * stride] = 1;
        reach = std::max(reach, last);
    }
}

// Grows `cells` (width x height) by `margin` eight-neighbour steps: a square
// of side 2 margin + 1 around every set cell, rows first, then columns.
void grow(std::vector<std::uint8_t>& cells, int width, int height, int margin) {
    if (margin <= 0) return;
    std::vector<std::uint8_t> rows(cells.size(), 0);
    for (int y = 0; y < height; ++y) {
        const std::ptrdiff_t at = std::ptrdiff_t(y) * width;
        growLine(cells.data() + at, rows.data() + at, width, 1, margin);
    }
    std::fill(cells.begin(), cells.end(), std::uint8_t{0});
    for (int x = 0; x < width; ++x) growLine(rows.data() + x, cells.data() + x, height, width, margin);
}

}  // namespace

std::vector<Chart> FindCharts(const Mesh& mesh) {
    const int triangles = triangleCount(mesh);
    std::vector<Corners> corners(static_cast<std::size_t>(triangles));
    std::vector<bool> valid(static_cast<std::size_t>(triangles), false);
    int minS = std::numeric_limits<int>::max(), minT = minS;
    int maxS = std::numeric_limits<int>::min(), maxT = maxS;
    for (int i = 0; i < triangles; ++i) {
        if (!usable(mesh, i, mesh.mappingVerts, corners[std::size_t(i)])) continue;
        valid[std::size_t(i)] = true;
        for (const MappingVert& v : corners[std::size_t(i)]) {
            minS = std::min<int>(minS, v.s);
            maxS = std::max<int>(maxS, v.s);
            minT = std::min<int>(minT, v.t);
            maxT = std::max<int>(maxT, v.t);
        }
    }
    UnionFind sets(std::size_t(std::max(triangles, 0)));
    std::vector<int> firstUser(mesh.mappingVerts.size(), -1);
    for (int i = 0; i < triangles; ++i) {
        if (!valid[std::size_t(i)]) continue;
        for (const std::int16_t m : mesh.triangles[std::size_t(i)].mapping) {
            int& first = firstUser[std::size_t(m)];
            if (first < 0)
                first = i;
            else
                sets.join(first, i);
        }
    }
    // Texels covered twice join their Triangles.
    if (minS <= maxS) {
        const int width = std::min(maxS - minS + 2, kMaxCanvasSide);
        const int height = std::min(maxT - minT + 2, kMaxCanvasSide);
        Coverer coverer;
        if (coverer.setSize(width, height)) {
            std::vector<std::int16_t> owner(std::size_t(width) * std::size_t(height), kNoOwner);
            for (int i = 0; i < triangles; ++i) {
                if (!valid[std::size_t(i)]) continue;
                for (const RowSpan& span : coverer.cover(corners[std::size_t(i)], -minS, -minT))
                    for (int x = span.left; x <= span.right; ++x) {
                        std::int16_t& o = owner[std::size_t(span.row) * std::size_t(width) + std::size_t(x)];
                        if (o != kNoOwner) sets.join(o, i);
                        o = static_cast<std::int16_t>(i);
                    }
            }
        }
    }

    std::vector<Chart> charts;
    std::vector<int> chartOf(std::size_t(triangles), -1);
    for (int i = 0; i < triangles; ++i) {
        if (!valid[std::size_t(i)]) continue;
        const int root = sets.find(i);
        if (chartOf[std::size_t(root)] < 0) {
            chartOf[std::size_t(root)] = static_cast<int>(charts.size());
            Chart chart;
            chart.left = chart.top = std::numeric_limits<int>::max();
            chart.right = chart.bottom = std::numeric_limits<int>::min();
            charts.push_back(chart);
        }
        Chart& chart = charts[std::size_t(chartOf[std::size_t(root)])];
        chart.triangles.push_back(i);
        chart.selected = chart.selected || (mesh.triangles[std::size_t(i)].flags & kTriSelected) != 0;
        for (const std::int16_t m : mesh.triangles[std::size_t(i)].mapping) chart.verts.push_back(m);
    }
    for (Chart& chart : charts) {
        std::sort(chart.verts.begin(), chart.verts.end());
        chart.verts.erase(std::unique(chart.verts.begin(), chart.verts.end()), chart.verts.end());
        for (const int m : chart.verts) {
            const MappingVert& v = mesh.mappingVerts[std::size_t(m)];
            chart.left = std::min<int>(chart.left, v.s);
            chart.right = std::max<int>(chart.right, v.s);
            chart.top = std::min<int>(chart.top, v.t);
            chart.bottom = std::max<int>(chart.bottom, v.t);
        }
    }
    return charts;
}

std::vector<Corners> ChartCorners(const Mesh& mesh, const Chart& chart, std::span<const MappingVert> verts) {
    std::vector<Corners> out;
    out.reserve(chart.triangles.size());
    for (const int i : chart.triangles) {
        Corners c{};
        if (usable(mesh, i, verts, c)) out.push_back(c);
    }
    return out;
}

Shape FootprintOf(std::span<const Corners> triangles, int margin) {
    Shape shape;
    int maxS = 0, maxT = 0;
    for (const Corners& c : triangles)
        for (const MappingVert& v : c) {
            maxS = std::max<int>(maxS, v.s);
            maxT = std::max<int>(maxT, v.t);
        }
    margin = std::max(margin, 0);
    // A fill reaches the column and row of its corners, never past them.
    shape.width = maxS + 1 + 2 * margin;
    shape.height = maxT + 1 + 2 * margin;
    Coverer coverer;
    if (triangles.empty() || !coverer.setSize(shape.width, shape.height)) return Shape{};
    std::vector<std::uint8_t> cells(std::size_t(shape.width) * std::size_t(shape.height), 0);
    for (const Corners& c : triangles)
        for (const RowSpan& span : coverer.cover(c, margin, margin))
            std::fill_n(cells.begin() + std::ptrdiff_t(span.row) * shape.width + span.left,
                        span.right - span.left + 1, std::uint8_t{1});
    grow(cells, shape.width, shape.height, margin);
    shape.rows.resize(std::size_t(shape.height));
    for (int y = 0; y < shape.height; ++y) {
        const std::uint8_t* row = cells.data() + std::size_t(y) * std::size_t(shape.width);
        for (int x = 0; x < shape.width; ++x) {
            if (row[x] == 0) continue;
            int end = x;
            while (end + 1 < shape.width && row[end + 1] != 0) ++end;
            shape.rows[std::size_t(y)].push_back({x, end});
            shape.area += end - x + 1;
            x = end;
        }
    }
    return shape;
}

int UncoveredPercent(const Mesh& mesh, std::span<const MappingVert> verts, int width, int height) {
    Coverer coverer;
    if (width <= 0 || height <= 0 || !coverer.setSize(width, height)) return 0;
    std::vector<std::uint8_t> covered(std::size_t(width) * std::size_t(height), 0);
    const int triangles = triangleCount(mesh);
    for (int i = 0; i < triangles; ++i) {
        Corners c{};
        if (!usable(mesh, i, verts, c)) continue;
        for (const RowSpan& span : coverer.cover(c, 0, 0))
            std::fill_n(covered.begin() + std::ptrdiff_t(span.row) * width + span.left, span.right - span.left + 1,
                        std::uint8_t{1});
    }
    const auto unused = std::count(covered.begin(), covered.end(), std::uint8_t{0});
    return static_cast<int>(unused * 100 / static_cast<std::ptrdiff_t>(covered.size()));
}

}  // namespace tarn
