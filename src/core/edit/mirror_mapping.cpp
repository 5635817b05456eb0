#include "edit/mirror_mapping.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "edit/mapping_edit.h"
#include "platform/ui.h"

namespace tarn {
namespace {

int triangleCount(const Mesh& mesh) {
    return std::clamp<int>(mesh.triangleCount, 0, static_cast<int>(mesh.triangles.size()));
}

MappingVert cornerTexel(const Mesh& mesh, int t, int k) {
    const std::int16_t i = mesh.triangles[std::size_t(t)].mapping[std::size_t(k)];
    if (i < 0 || i >= mesh.mappingVertCount || std::size_t(i) >= mesh.mappingVerts.size()) return {};
    return mesh.mappingVerts[std::size_t(i)];
}

double median(std::vector<double> v) {
    const auto mid = v.begin() + std::ptrdiff_t(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    return *mid;
}

bool validVertex(const Mesh& mesh, int v) { return v >= 0 && v < mesh.vertexCount; }

// The selected Triangles in charts: two share a chart when they share a
// corner, the same vertex at the same MappingVert. -1 for the others.
std::vector<int> selectionCharts(const Mesh& mesh) {
    const int triangles = triangleCount(mesh);
    std::vector<int> chart(std::size_t(triangles), -1);
    std::map<std::pair<int, int>, std::vector<int>> atCorner;
    for (int t = 0; t < triangles; ++t) {
        const Triangle& tri = mesh.triangles[std::size_t(t)];
        if (!(tri.flags & kTriSelected)) continue;
        for (int k = 0; k < 3; ++k) atCorner[{tri.vertex[std::size_t(k)], tri.mapping[std::size_t(k)]}].push_back(t);
    }
    int charts = 0;
    std::vector<int> stack;
    for (int t = 0; t < triangles; ++t) {
        if (!(mesh.triangles[std::size_t(t)].flags & kTriSelected) || chart[std::size_t(t)] >= 0) continue;
        chart[std::size_t(t)] = charts;
        stack.assign(1, t);
        while (!stack.empty()) {
            const Triangle& tri = mesh.triangles[std::size_t(stack.back())];
            stack.pop_back();
            for (int k = 0; k < 3; ++k)
                for (int n : atCorner[{tri.vertex[std::size_t(k)], tri.mapping[std::size_t(k)]}])
                    if (chart[std::size_t(n)] < 0) {
                        chart[std::size_t(n)] = charts;
                        stack.push_back(n);
                    }
        }
        ++charts;
    }
    return chart;
}

// Where a mirror point lands on the selection: the selected Triangles that
// hold it, the point put into each one's own corners. A point on a vertex or
// an edge lies on every Triangle sharing that vertex or edge.
class Landings {
public:
    explicit Landings(const Mesh& mesh) : mesh_(mesh), around_(std::size_t(std::max<int>(mesh.vertexCount, 0))) {
        for (int t = 0; t < triangleCount(mesh); ++t) {
            const Triangle& tri = mesh.triangles[std::size_t(t)];
            if (!(tri.flags & kTriSelected)) continue;
            for (std::int16_t v : tri.vertex)
                if (validVertex(mesh, v) && (around_[std::size_t(v)].empty() || around_[std::size_t(v)].back() != t))
                    around_[std::size_t(v)].push_back(t);
        }
    }

    std::vector<SurfacePoint> of(const SurfacePoint& m) const {
        std::vector<SurfacePoint> out;
        const Triangle& tri = mesh_.triangles[std::size_t(m.triangle)];
        if (tri.flags & kTriSelected) out.push_back(m);
        int first = -1;
        for (int k = 0; k < 3; ++k)
            if (m.weight[std::size_t(k)] > 0.0f) {
                first = k;
                break;
            }
        if (first < 0 || !validVertex(mesh_, tri.vertex[std::size_t(first)])) return out;
        for (int s : around_[std::size_t(tri.vertex[std::size_t(first)])]) {
            if (s == m.triangle) continue;
            const Triangle& other = mesh_.triangles[std::size_t(s)];
            SurfacePoint moved{s, {0.0f, 0.0f, 0.0f}};
            bool holds = true;
            for (int k = 0; k < 3 && holds; ++k) {
                if (!(m.weight[std::size_t(k)] > 0.0f)) continue;
                const auto at = std::find(other.vertex.begin(), other.vertex.end(), tri.vertex[std::size_t(k)]);
                holds = at != other.vertex.end();
                if (holds) moved.weight[std::size_t(at - other.vertex.begin())] += m.weight[std::size_t(k)];
            }
            if (holds) out.push_back(moved);
        }
        return out;
    }

private:
    const Mesh& mesh_;
    std::vector<std::vector<int>> around_;  // per vertex, the selected Triangles using it
};

// The skin coordinates of a point of a selected Triangle: a point on a
// corner takes that corner's MappingVert exactly.
void texelOf(const Mesh& mesh, const SurfacePoint& p, double& s, double& t) {
    for (int k = 0; k < 3; ++k)
        if (p.weight[std::size_t(k)] == 1.0f) {
            const MappingVert m = cornerTexel(mesh, p.triangle, k);
            s = m.s;
            t = m.t;
            return;
        }
    mappingAt(mesh, p, s, t);
}

std::int16_t toCoordinate(double v) {
    return std::int16_t(std::clamp<long>(std::lround(v), std::numeric_limits<std::int16_t>::min(),
                                         std::numeric_limits<std::int16_t>::max()));
}

// The one chart a Triangle's corners are looked up in, and the point of each
// corner's mirror there; false when some corner's mirror has no place in it.
bool lookUpInOneChart(const Mirror& mirror, const std::vector<int>& chart,
                      const std::array<std::optional<SurfacePoint>, 3>& mirrors,
                      const std::array<std::vector<SurfacePoint>, 3>& landings, std::array<SurfacePoint, 3>& out) {
    // A selected Triangle that holds all three mirrors.
    for (const SurfacePoint& a : landings[0])
        for (const SurfacePoint& b : landings[1])
            for (const SurfacePoint& c : landings[2])
                if (a.triangle == b.triangle && b.triangle == c.triangle) {
                    out = {a, b, c};
                    return true;
                }
    // Else the chart that holds the most of them; the others are taken from
    // that chart's nearest point.
    std::map<int, int> holding;
    for (const auto& list : landings) {
        std::vector<int> seen;
        for (const SurfacePoint& p : list)
            if (std::find(seen.begin(), seen.end(), chart[std::size_t(p.triangle)]) == seen.end())
                seen.push_back(chart[std::size_t(p.triangle)]);
        for (int c : seen) ++holding[c];
    }
    if (holding.empty()) return false;
    const int best = std::max_element(holding.begin(), holding.end(), [](const auto& a, const auto& b) {
                         return a.second < b.second;
                     })->first;
    for (int k = 0; k < 3; ++k) {
        const auto in = std::find_if(landings[std::size_t(k)].begin(), landings[std::size_t(k)].end(),
                                     [&](const SurfacePoint& p) { return chart[std::size_t(p.triangle)] == best; });
        if (in != landings[std::size_t(k)].end()) {
            out[std::size_t(k)] = *in;
            continue;
        }
        if (!mirrors[std::size_t(k)]) return false;
        const auto near = mirror.nearestAccepted(*mirrors[std::size_t(k)], [&](int t) { return chart[std::size_t(t)] == best; });
        if (!near) return false;
        out[std::size_t(k)] = *near;
    }
    return true;
}

}  // namespace

SkinMirrorLine skinMirrorLine(const Mesh& mesh, const Mirror& mirror) {
    std::vector<double> midS, midT, ds, dt;
    for (int t = 0; t < triangleCount(mesh); ++t)
        for (int k = 0; k < 3; ++k) {
            const auto& m = mirror.ofVertex(mesh.triangles[std::size_t(t)].vertex[std::size_t(k)]);
            if (!m) continue;
            const MappingVert a = cornerTexel(mesh, t, k);
            double s = 0.0, u = 0.0;
            mappingAt(mesh, *m, s, u);
            // A corner whose mirror shares its texels says nothing of the line.
            if (std::abs(s - a.s) < 1.0 && std::abs(u - a.t) < 1.0) continue;
            midS.push_back((s + a.s) * 0.5);
            midT.push_back((u + a.t) * 0.5);
            ds.push_back(std::abs(u - a.t));
            dt.push_back(std::abs(s - a.s));
        }
    if (midS.empty()) return {true, mesh.skinWidth * 0.5};
    // A vertical line keeps t: the pairs' t differences and the spread of
    // their s midpoints measure how well it fits; the horizontal line likewise.
    const SkinMirrorLine vertical{true, median(midS)}, horizontal{false, median(midT)};
    double costV = 0.0, costH = 0.0;
    for (std::size_t i = 0; i < midS.size(); ++i) {
        costV += ds[i] + std::abs(midS[i] - vertical.position);
        costH += dt[i] + std::abs(midT[i] - horizontal.position);
    }
    return costV <= costH ? vertical : horizontal;
}

MirrorMappingResult mirrorMapping(Mesh& mesh, const Mirror& mirror, const SkinMirrorLine& line, bool share) {
    MirrorMappingResult result;
    MergeMappingVerts(mesh);  // corners as the MappingVerts have them now
    const int triangles = triangleCount(mesh);
    const std::vector<int> chart = selectionCharts(mesh);
    const Landings landingsOf(mesh);
    const auto selected = [&](int t) { return chart[std::size_t(t)] >= 0; };
    std::vector<std::array<MappingVert, 3>> next;
    std::vector<int> targets;
    for (int t = 0; t < triangles; ++t) {
        if (selected(t)) continue;
        std::array<std::optional<SurfacePoint>, 3> mirrors;
        std::array<std::vector<SurfacePoint>, 3> landings;
        int landed = 0;
        for (int k = 0; k < 3; ++k) {
            mirrors[std::size_t(k)] = mirror.ofVertex(mesh.triangles[std::size_t(t)].vertex[std::size_t(k)]);
            if (!mirrors[std::size_t(k)]) continue;
            auto& list = landings[std::size_t(k)];
            list = landingsOf.of(*mirrors[std::size_t(k)]);
            // A mirror just off the selection lands on the selected surface nearest it.
            if (list.empty())
                if (const auto near = mirror.nearestAccepted(*mirrors[std::size_t(k)], selected)) list = landingsOf.of(*near);
            landed += !list.empty();
        }
        if (landed == 0) continue;
        std::array<SurfacePoint, 3> points;
        if (!lookUpInOneChart(mirror, chart, mirrors, landings, points)) {
            result.partlyOutside.push_back(t);
            continue;
        }
        std::array<MappingVert, 3> corners{};
        bool offSkin = false;
        for (int k = 0; k < 3; ++k) {
            double s = 0.0, u = 0.0;
            texelOf(mesh, points[std::size_t(k)], s, u);
            if (!share) (line.vertical ? s : u) = line.flip(line.vertical ? s : u);
            corners[std::size_t(k)] = {toCoordinate(s), toCoordinate(u)};
            // A corner may lie on the skin's far edge, not beyond it.
            offSkin = offSkin || s < 0.0 || u < 0.0 || s > mesh.skinWidth || u > mesh.skinHeight;
        }
        result.offSkin += offSkin;
        targets.push_back(t);
        next.push_back(corners);
    }
    for (std::size_t i = 0; i < targets.size(); ++i) mesh.triangles[std::size_t(targets[i])].corner = next[i];
    if (!targets.empty()) RebuildMappingVerts(mesh);
    result.mapped = static_cast<int>(targets.size());
    return result;
}

std::string partlyOutsideMessage(const std::vector<int>& triangles) {
    if (triangles.empty()) return {};
    std::string list;
    for (int t : triangles) list += (list.empty() ? "" : ", ") + std::to_string(t);
    return std::to_string(triangles.size()) +
           (triangles.size() == 1 ? " Triangle lands" : " Triangles land") +
           " partly outside the selection and kept " + std::string(triangles.size() == 1 ? "its" : "their") + " mapping: " + list + ".";
}

std::string offSkinMessage(int triangles) {
    if (triangles <= 0) return {};
    return std::to_string(triangles) + (triangles == 1 ? " mirrored Triangle has" : " mirrored Triangles have") +
           " corners off the skin; they were left there.";
}

MirrorMappingResult mirrorMappingCommand(Ui& ui, const MappingEditor& editor, Mesh& mesh, const Mirror& mirror,
                                         bool share, const std::optional<SkinMirrorLine>& line) {
    if (!requireSelection(ui, mesh)) return {};
    const SkinMirrorLine across = line ? *line : skinMirrorLine(mesh, mirror);
    MirrorMappingResult result;
    editor.run(mesh, kStepMirrorMapping, [&] { result = mirrorMapping(mesh, mirror, across, share); });
    if (result.mapped == 0 && result.partlyOutside.empty()) {
        ui.message(kMsgNoMirrorLanded);
        return result;
    }
    std::string said = partlyOutsideMessage(result.partlyOutside);
    if (const std::string off = offSkinMessage(result.offSkin); !off.empty()) said += (said.empty() ? "" : "\n") + off;
    if (!said.empty()) ui.message(said);
    return result;
}

}  // namespace tarn
