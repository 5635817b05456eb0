#include "app/about.h"

#include <algorithm>

#include "raster/rasterizer.h"

namespace tarn {

namespace {
constexpr std::uint8_t kCovered = 255;
constexpr int kPercent = 100;
}  // namespace

int WastedSpace(const Mesh& mesh) {
    const int width = mesh.skinWidth, height = mesh.skinHeight;
    if (width <= 0 || height <= 0) return 0;
    std::vector<std::uint8_t> coverage(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    RasterTarget target;
    target.colour = coverage.data();
    target.width = width;
    target.height = height;
    Rasterizer rasterizer;
    if (!rasterizer.SetTarget(target)) return 0;

    const int verts = std::min<int>(mesh.mappingVertCount, static_cast<int>(mesh.mappingVerts.size()));
    const int triangles = std::min<int>(mesh.triangleCount, static_cast<int>(mesh.triangles.size()));
    for (int i = 0; i < triangles; ++i) {
        const Triangle& tri = mesh.triangles[static_cast<std::size_t>(i)];
        FillTriangle<Vertex2D> fill{};
        bool valid = true;
        for (int k = 0; k < 3; ++k) {
            int m = tri.mapping[static_cast<std::size_t>(k)];
            if (m < 0 || m >= verts) {
                valid = false;
                break;
            }
            const MappingVert& v = mesh.mappingVerts[static_cast<std::size_t>(m)];
            fill[static_cast<std::size_t>(k)] = {v.s, v.t};
        }
        if (!valid) continue;
        fill[3] = fill[0];
        rasterizer.FillSolid2D(fill, kCovered);
    }
    const auto unused = std::count(coverage.begin(), coverage.end(), std::uint8_t{0});
    return static_cast<int>(unused * kPercent / static_cast<std::ptrdiff_t>(coverage.size()));
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
