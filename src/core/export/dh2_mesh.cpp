#include "export/dh2_mesh.h"

#include <algorithm>

#include "image/byte_view.h"

namespace tarn {

namespace {
constexpr const char* kDh2Magic = "D2MS";
}  // namespace

Bytes encodeDh2Mesh(const Mesh& mesh) {
    const Vec3f* positions = mesh.currentPositions();
    const std::size_t held = positions ? mesh.frames[std::size_t(mesh.currentFrame)].positions.size() : 0;
    const int vertices = static_cast<int>(std::min<std::size_t>(std::size_t(std::max<int>(mesh.vertexCount, 0)), held));
    const int triangles = std::clamp<int>(mesh.triangleCount, 0, static_cast<int>(mesh.triangles.size()));
    const float width = mesh.skinWidth > 0 ? static_cast<float>(mesh.skinWidth) : 1.0f;

    Bytes out(kDh2Magic, kDh2Magic + 4);
    out.reserve(kDh2HeaderSize + kDh2VertexSize * std::size_t(vertices) + kDh2TriangleSize * std::size_t(triangles));
    putI32(out, vertices);
    putI32(out, triangles);
    for (int v = 0; v < vertices; ++v) {
        const Vec3f& p = positions[v];
        putF32(out, p.x);
        putF32(out, p.y);
        putF32(out, p.z);
    }
    for (int i = 0; i < triangles; ++i) {
        const Triangle& t = mesh.triangles[static_cast<std::size_t>(i)];
        for (std::int16_t v : t.vertex) putI16(out, v);
        putU16(out, 0);  // padding
        for (std::int16_t m : t.mapping) {
            const MappingVert& mv =
                mesh.mappingVerts[static_cast<std::size_t>(std::clamp<int>(m, 0, kMaxMappingVerts - 1))];
            putF32(out, static_cast<float>(mv.s) / width);
            putF32(out, static_cast<float>(mv.t) / width);
        }
    }
    return out;
}

}  // namespace tarn
