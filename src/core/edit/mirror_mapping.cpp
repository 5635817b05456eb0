#include "edit/mirror_mapping.h"

#include <algorithm>
#include <cmath>

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

SurfacePoint cornerPoint(int t, int k) {
    SurfacePoint p{t, {0.0f, 0.0f, 0.0f}};
    p.weight[std::size_t(k)] = 1.0f;
    return p;
}

double median(std::vector<double> v) {
    const auto mid = v.begin() + std::ptrdiff_t(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    return *mid;
}

}  // namespace

SkinMirrorLine skinMirrorLine(const Mesh& mesh, const Mirror& mirror) {
    std::vector<double> midS, midT, ds, dt;
    for (int t = 0; t < triangleCount(mesh); ++t)
        for (int k = 0; k < 3; ++k) {
            const auto m = mirror.of(cornerPoint(t, k));
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
    auto selected = [&](int t) { return (mesh.triangles[std::size_t(t)].flags & kTriSelected) != 0; };
    std::vector<std::array<MappingVert, 3>> next;
    std::vector<int> targets;
    for (int t = 0; t < triangles; ++t) {
        if (selected(t)) continue;
        std::array<MappingVert, 3> corners{};
        int landed = 0;
        for (int k = 0; k < 3; ++k) {
            const auto m = mirror.of(cornerPoint(t, k), selected);
            if (!m) continue;
            ++landed;
            double s = 0.0, u = 0.0;
            mappingAt(mesh, *m, s, u);
            if (!share) (line.vertical ? s : u) = line.flip(line.vertical ? s : u);
            corners[std::size_t(k)].s = std::int16_t(std::clamp<long>(std::lround(s), 0, std::max(mesh.skinWidth - 1, 0)));
            corners[std::size_t(k)].t = std::int16_t(std::clamp<long>(std::lround(u), 0, std::max(mesh.skinHeight - 1, 0)));
        }
        if (landed == 3) {
            targets.push_back(t);
            next.push_back(corners);
        } else if (landed > 0) {
            result.partlyOutside.push_back(t);
        }
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

MirrorMappingResult mirrorMappingCommand(Ui& ui, const MappingEditor& editor, Mesh& mesh, const Mirror& mirror,
                                         bool share, const std::optional<SkinMirrorLine>& line) {
    if (!requireSelection(ui, mesh)) return {};
    const SkinMirrorLine across = line ? *line : skinMirrorLine(mesh, mirror);
    MirrorMappingResult result;
    editor.run(mesh, kStepMirrorMapping, [&] { result = mirrorMapping(mesh, mirror, across, share); });
    if (result.mapped == 0 && result.partlyOutside.empty()) ui.message(kMsgNoMirrorLanded);
    else if (!result.partlyOutside.empty()) ui.message(partlyOutsideMessage(result.partlyOutside));
    return result;
}

}  // namespace tarn
