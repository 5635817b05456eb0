#include "app/about.h"

#include "edit/pack_charts.h"

namespace tarn {

int WastedSpace(const Mesh& mesh) {
    return UncoveredPercent(mesh, mesh.mappingVerts, mesh.skinWidth, mesh.skinHeight);
}

std::vector<StatisticsRow> aboutRows(const Mesh& mesh, const SkinList& skins) {
    const int linked = skins.linkedCount();
    const int external = skins.count() - linked;
    auto n = [](int v) { return std::to_string(v); };
    return {
        {"Vertices", n(mesh.vertexCount), "2048"},
        {"Mapping Verts", n(mesh.mappingVertCount), "2048"},
        {"Triangles", n(mesh.triangleCount), "4096"},
        {"Frames", n(static_cast<int>(mesh.frames.size())), "512"},
        {"Linked Skins", n(linked), "32"},
        {"External Skins", n(external), "Unlimited"},
        {"Skin Width", n(mesh.skinWidth), "640"},
        {"Skin Height", n(mesh.skinHeight), "480"},
        {"Wasted Space", n(WastedSpace(mesh)) + "%", "Undecided"},
    };
}

}  // namespace tarn
