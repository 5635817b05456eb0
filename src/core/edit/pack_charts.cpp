#include "edit/pack_charts.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <numeric>

#include "edit/rebake.h"
#include "edit/row_runs.h"
#include "raster/fill_cover.h"

namespace tarn {

namespace {

// Covers larger than this on a side are clipped when charts are found: a
// skin never comes near it, only coordinates gone wild in a file would.
constexpr int kMaxCanvasSide = 4096;

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

// The rows `triangles` cover on a width x height grid, texel (s, t) of the
// corners at cell (s + dx, t + dy); `owners` names each Triangle's spans.
RowRuns coverOf(std::span<const Corners> triangles, std::span<const int> owners, int width, int height, int dx,
                int dy, const std::function<void(std::int32_t, std::int32_t)>& met = {}) {
    Coverer coverer;
    if (triangles.empty() || !coverer.setSize(width, height)) return RowRuns(0);
    RowRuns runs(height);
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        const std::int32_t owner = owners.empty() ? 0 : owners[i];
        for (const RowSpan& span : coverer.cover(triangles[i], dx, dy))
            runs.take(span.row, span.left, span.right, owner, [](std::int32_t, std::int32_t) {},
                      [&](std::int32_t other) {
                          if (met) met(other, owner);
                      });
    }
    return runs;
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
        std::vector<Corners> used;
        std::vector<int> index;
        for (int i = 0; i < triangles; ++i)
            if (valid[std::size_t(i)]) {
                used.push_back(corners[std::size_t(i)]);
                index.push_back(i);
            }
        coverOf(used, index, std::min(maxS - minS + 2, kMaxCanvasSide), std::min(maxT - minT + 2, kMaxCanvasSide),
                -minS, -minT, [&](std::int32_t a, std::int32_t b) { sets.join(a, b); });
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

void MergeSpans(std::vector<Span>& spans) {
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.left < b.left; });
    std::size_t kept = 0;
    for (const Span& s : spans) {
        if (kept > 0 && s.left <= spans[kept - 1].right + 1)
            spans[kept - 1].right = std::max(spans[kept - 1].right, s.right);
        else
            spans[kept++] = s;
    }
    spans.resize(kept);
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
    const RowRuns cover = coverOf(triangles, {}, shape.width, shape.height, margin, margin);
    if (cover.rows() == 0) return Shape{};
    // Grown by `margin` eight-neighbour steps: each row's spans widened, then
    // each row takes the widened rows within `margin` of it.
    std::vector<std::vector<Span>> wide(std::size_t(shape.height));
    for (int y = 0; y < shape.height; ++y) {
        auto& row = wide[std::size_t(y)];
        for (const RowRuns::Run& r : cover.row(y))
            row.push_back({std::max(r.left - margin, 0), std::min(r.right + margin, shape.width - 1)});
        MergeSpans(row);
    }
    shape.rows.resize(std::size_t(shape.height));
    for (int y = 0; y < shape.height; ++y) {
        auto& row = shape.rows[std::size_t(y)];
        for (int from = std::max(y - margin, 0); from <= std::min(y + margin, shape.height - 1); ++from)
            row.insert(row.end(), wide[std::size_t(from)].begin(), wide[std::size_t(from)].end());
        MergeSpans(row);
        for (const Span& s : row) shape.area += s.right - s.left + 1;
    }
    return shape;
}

int UncoveredPercent(const Mesh& mesh, std::span<const MappingVert> verts, int width, int height) {
    if (width <= 0 || height <= 0 || width > kMaxTargetSide || height > kMaxTargetSide) return 0;
    std::vector<Corners> used;
    const int triangles = triangleCount(mesh);
    for (int i = 0; i < triangles; ++i) {
        Corners c{};
        if (usable(mesh, i, verts, c)) used.push_back(c);
    }
    const RowRuns cover = coverOf(used, {}, width, height, 0, 0);
    long long covered = 0;
    for (int y = 0; y < cover.rows(); ++y)
        for (const RowRuns::Run& r : cover.row(y)) covered += r.right - r.left + 1;
    const long long all = static_cast<long long>(width) * height;
    return static_cast<int>((all - covered) * 100 / all);
}

}  // namespace tarn
