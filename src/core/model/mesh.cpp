#include "model/mesh.h"

#include <cmath>
#include <cstddef>
#include <unordered_map>

namespace tarn {

Mesh::Mesh()
    : mappingVerts(kMaxMappingVerts),
      mappingBackup(kMaxMappingVerts),
      mappingSelection(kMaxMappingVerts),
      triangles(kMaxTriangles) {}

Mesh CopyWithoutFrames(const Mesh& mesh) {
    Mesh copy;
    copy.vertexCount = mesh.vertexCount;
    copy.mappingVertCount = mesh.mappingVertCount;
    copy.triangleCount = mesh.triangleCount;
    copy.skinWidth = mesh.skinWidth;
    copy.skinHeight = mesh.skinHeight;
    copy.mappingVerts = mesh.mappingVerts;
    copy.mappingBackup = mesh.mappingBackup;
    copy.mappingBackupCount = mesh.mappingBackupCount;
    copy.mappingSelection = mesh.mappingSelection;
    copy.triangles = mesh.triangles;
    copy.currentFrame = mesh.currentFrame;
    copy.loaded = mesh.loaded;
    return copy;
}

bool Mesh::hasCurrentFrame() const {
    return currentFrame >= 0 && static_cast<std::size_t>(currentFrame) < frames.size();
}

Vec3f* Mesh::currentPositions() {
    return hasCurrentFrame() ? frames[static_cast<std::size_t>(currentFrame)].positions.data() : nullptr;
}

const Vec3f* Mesh::currentPositions() const {
    return hasCurrentFrame() ? frames[static_cast<std::size_t>(currentFrame)].positions.data() : nullptr;
}

void MergeMappingVerts(Mesh& mesh) {
    const int triangles = mesh.triangleCount;
    for (int i = 0; i < triangles; ++i) {
        Triangle& tri = mesh.triangles[static_cast<std::size_t>(i)];
        for (int c = 0; c < 3; ++c)
            tri.corner[static_cast<std::size_t>(c)] =
                mesh.mappingVerts[static_cast<std::size_t>(tri.mapping[static_cast<std::size_t>(c)])];
    }
    RebuildMappingVerts(mesh);
}

void RebuildMappingVerts(Mesh& mesh) {
    const int triangles = mesh.triangleCount;

    // Renumber in order of first use. The rebuilt table never holds a pair
    // twice, so a lookup by coordinates finds the same entry a search from
    // index 0 would, without the quadratic cost on large meshes.
    std::unordered_map<std::uint32_t, std::int16_t> indexOf;
    indexOf.reserve(static_cast<std::size_t>(triangles) * 3);
    int count = 0;
    for (int i = 0; i < triangles; ++i) {
        Triangle& tri = mesh.triangles[static_cast<std::size_t>(i)];
        for (std::size_t c = 0; c < 3; ++c) {
            const MappingVert& want = tri.corner[c];
            const std::uint32_t key = (static_cast<std::uint32_t>(static_cast<std::uint16_t>(want.s)) << 16) |
                                      static_cast<std::uint16_t>(want.t);
            auto [it, added] = indexOf.try_emplace(key, static_cast<std::int16_t>(count));
            if (added) mesh.mappingVerts[static_cast<std::size_t>(count++)] = want;
            tri.mapping[c] = it->second;
        }
    }
    mesh.mappingVertCount = static_cast<std::int16_t>(count);
}

void StoreMapping(Mesh& mesh) {
    MergeMappingVerts(mesh);
    TakeMappingBackup(mesh);
}

void TakeMappingBackup(Mesh& mesh) {
    mesh.mappingBackupCount = mesh.mappingVertCount;
    mesh.mappingBackup = mesh.mappingVerts;
    for (int i = 0; i < mesh.triangleCount; ++i) {
        Triangle& tri = mesh.triangles[static_cast<std::size_t>(i)];
        tri.backupMapping = tri.mapping;
    }
}

void ComputeTriangleNormal(const Vec3f& p0, const Vec3f& p1, const Vec3f& p2, Vec3f& normal) {
    const Vec3f n = cross(p1 - p0, p2 - p1);
    const float length = std::sqrt(dot(n, n));
    if (length != 0.0f) normal = {n.x / length, n.y / length, n.z / length};
}

void ComputeFaceNormals(Mesh& mesh) {
    const Vec3f* positions = mesh.currentPositions();
    if (!positions) return;
    for (int i = 0; i < mesh.triangleCount; ++i) {
        Triangle& tri = mesh.triangles[static_cast<std::size_t>(i)];
        ComputeTriangleNormal(positions[tri.vertex[0]], positions[tri.vertex[1]],
                              positions[tri.vertex[2]], tri.normal);
    }
}

bool SelectFrame(Mesh& mesh, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= mesh.frames.size()) return false;
    mesh.currentFrame = static_cast<std::int16_t>(index);
    ComputeFaceNormals(mesh);
    return true;
}

}  // namespace tarn
