#pragma once
// The DH2 mesh export: the current Frame as one static mesh ("D2MS"), its
// vertices in model units and each Triangle with skin coordinates divided by
// the skin width (t as well as s: the format's readers expect it so).
#include "model/mesh.h"
#include "platform/fs.h"

namespace tarn {

inline constexpr std::size_t kDh2HeaderSize = 12;
inline constexpr std::size_t kDh2VertexSize = 12;
inline constexpr std::size_t kDh2TriangleSize = 32;
inline constexpr const char* kDh2Filter = "DH2 Mesh (*.d2m)|*.d2m|All Files (*.*)|*.*||";
inline constexpr const char* kMsgDh2CannotCreate = "Unable to create the Dh2 Mesh File!";

// The file image for the current Frame; a Mesh without Frames gives the
// header and Triangles with no vertices.
Bytes encodeDh2Mesh(const Mesh& mesh);

}  // namespace tarn
