#include "export/md2_normals.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <cmath>
#include <mutex>

#include "image/byte_view.h"
#include "model/md2_format.h"

namespace tarn {

namespace {

// A one-frame model whose vertex i sits at x = i and names normal i, in
// triangles (0, 1, 2), (3, 4, 5), ... so the reader keeps the vertex order.
Bytes normalProbeModel() {
    constexpr int kTriangles = kMd2NormalCount / 3;
    const int frameSize = static_cast<int>(md2FrameBytes(kMd2NormalCount));
    const int ofsTriangles = static_cast<int>(kMd2HeaderSize + kMd2SkinCoordSize);
    const int ofsFrames = ofsTriangles + kTriangles * static_cast<int>(kMd2TriangleSize);
    const int ofsGl = ofsFrames + frameSize;
    Bytes out(kMd2Magic, kMd2Magic + 4);
    for (const int v : {8, 8, 8, frameSize, 0, kMd2NormalCount, 1, kTriangles, 1, 1,
                        static_cast<int>(kMd2HeaderSize), static_cast<int>(kMd2HeaderSize), ofsTriangles, ofsFrames,
                        ofsGl, ofsGl + 4})
        putI32(out, v);
    putI32(out, 0);  // the one skin coordinate
    for (int t = 0; t < kTriangles; ++t) {
        for (int k = 0; k < 3; ++k) putI16(out, static_cast<std::int16_t>(3 * t + k));
        for (int k = 0; k < 3; ++k) putI16(out, 0);
    }
    for (const float f : {1.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f}) putF32(out, f);
    out.resize(out.size() + kMd2FrameNameSize, 0);
    for (int i = 0; i < kMd2NormalCount; ++i)
        for (const int b : {i, 0, 0, i}) out.push_back(static_cast<std::uint8_t>(b));
    putI32(out, 0);  // the end of the GL commands
    return out;
}

std::optional<Md2NormalTable> readNormalTable() {
    const Bytes probe = normalProbeModel();
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFileFromMemory(probe.data(), probe.size(), 0, "md2");
    if (scene == nullptr || scene->mNumMeshes != 1) return std::nullopt;
    const aiMesh* mesh = scene->mMeshes[0];
    if (mesh->mNumVertices != kMd2NormalCount || mesh->mNormals == nullptr) return std::nullopt;
    Md2NormalTable table{};
    for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
        // The reader swaps y and z of the positions, yet its normals come out
        // in the format's own axes (checked against the faces of real models
        // in the tests), so they are taken as they are.
        const aiVector3D& p = mesh->mVertices[i];
        const aiVector3D& n = mesh->mNormals[i];
        if (p.x != static_cast<float>(i)) return std::nullopt;
        table[i] = Vec3f{n.x, n.y, n.z};
        if (std::fabs(dot(table[i], table[i]) - 1.0f) > 1e-3f) return std::nullopt;
    }
    return table;
}

}  // namespace

const Md2NormalTable* md2NormalTable() {
    static std::once_flag once;
    static std::optional<Md2NormalTable> table;
    std::call_once(once, [] { table = readNormalTable(); });
    return table ? &*table : nullptr;
}

std::optional<std::vector<std::vector<std::uint8_t>>> md2NormalIndices(const Bytes& file, const Mesh& mesh) {
    if (file.size() < kMd2HeaderSize) return std::nullopt;
    const Md2Header h = readMd2Header(file);
    const std::size_t frames = mesh.frames.size();
    const int vertices = mesh.vertexCount;
    if (h.numVertices != vertices || h.numFrames < 0 || std::size_t(h.numFrames) != frames || vertices < 0 ||
        h.offsetFrames < 0 || h.frameSize < 0 || std::size_t(h.frameSize) < md2FrameBytes(vertices))
        return std::nullopt;
    const std::uint64_t end = std::uint64_t(h.offsetFrames) + std::uint64_t(h.frameSize) * frames;
    if (end > file.size()) return std::nullopt;
    std::vector<std::vector<std::uint8_t>> out(frames, std::vector<std::uint8_t>(std::size_t(vertices)));
    for (std::size_t f = 0; f < frames; ++f) {
        const std::size_t base = std::size_t(h.offsetFrames) + f * std::size_t(h.frameSize) + kMd2FrameHeaderSize;
        for (int v = 0; v < vertices; ++v) out[f][std::size_t(v)] = file[base + kMd2PackedVertexSize * std::size_t(v) + 3];
    }
    return out;
}

std::vector<Vec3f> smoothNormals(const Mesh& mesh, const std::vector<Vec3f>& positions) {
    std::vector<Vec3f> sum(positions.size());
    for (int i = 0; i < mesh.triangleCount; ++i) {
        const Triangle& t = mesh.triangles[std::size_t(i)];
        bool inside = true;
        for (const std::int16_t v : t.vertex) inside = inside && v >= 0 && std::size_t(v) < positions.size();
        if (!inside) continue;
        const Vec3f& p0 = positions[std::size_t(t.vertex[0])];
        const Vec3f& p1 = positions[std::size_t(t.vertex[1])];
        const Vec3f& p2 = positions[std::size_t(t.vertex[2])];
        // Area-weighted; the format winds its faces clockwise seen from outside.
        const Vec3f n = cross(p2 - p0, p1 - p0);
        for (const std::int16_t v : t.vertex) sum[std::size_t(v)] = sum[std::size_t(v)] + n;
    }
    for (Vec3f& n : sum) {
        const float length = std::sqrt(dot(n, n));
        n = length > 0.0f ? n * (1.0f / length) : Vec3f{0.0f, 0.0f, 1.0f};
    }
    return sum;
}

}  // namespace tarn
