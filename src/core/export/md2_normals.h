#pragma once
// The normals an MD2 frame stores: each packed vertex names one of the
// format's 162 unit vectors by its index. The Mesh keeps decoded positions
// only, so the indices are read again from the bytes of the loaded file.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/mesh.h"
#include "platform/fs.h"

namespace tarn {

inline constexpr int kMd2NormalCount = 162;
using Md2NormalTable = std::array<Vec3f, kMd2NormalCount>;

// The format's table of vertex normals, in the model's own axes. Taken once
// from the MD2 reader of the interchange library (assimp), which decodes a
// generated model whose vertex i names normal i; nullptr when that fails.
const Md2NormalTable* md2NormalTable();

// Every frame's normal indices, frame by frame and vertex by vertex, read
// from `file` (the loaded .md2). Nothing when the file does not hold
// `mesh`'s frames and vertices; an index outside the table is kept and is
// for the caller to refuse.
std::optional<std::vector<std::vector<std::uint8_t>>> md2NormalIndices(const Bytes& file, const Mesh& mesh);

// Per-vertex unit normals of `positions`: the normalised sum of the face
// normals around each vertex, for frames whose file normals are not there.
std::vector<Vec3f> smoothNormals(const Mesh& mesh, const std::vector<Vec3f>& positions);

}  // namespace tarn
