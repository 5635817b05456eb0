#include "export/vertex_split.h"

#include <unordered_map>

namespace tarn {

VertexSplit splitByMapping(const Mesh& mesh) {
    VertexSplit out;
    std::unordered_map<std::uint32_t, std::uint16_t> seen;
    for (int i = 0; i < mesh.triangleCount; ++i) {
        const Triangle& t = mesh.triangles[std::size_t(i)];
        bool inside = true;
        for (int k = 0; k < 3; ++k)
            inside = inside && t.vertex[k] >= 0 && t.vertex[k] < mesh.vertexCount && t.mapping[k] >= 0 &&
                     t.mapping[k] < mesh.mappingVertCount;
        if (!inside) continue;
        for (int k = 0; k < 3; ++k) {
            const std::uint32_t key = std::uint32_t(std::uint16_t(t.vertex[k])) << 16 | std::uint16_t(t.mapping[k]);
            const auto [it, added] = seen.try_emplace(key, static_cast<std::uint16_t>(out.vertices.size()));
            if (added) out.vertices.push_back({t.vertex[k], t.mapping[k]});
            out.corners.push_back(it->second);
        }
    }
    return out;
}

}  // namespace tarn
