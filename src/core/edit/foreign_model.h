#pragma once
// Triangles of a model made by another tool (OBJ, glTF, FBX, COLLADA, ...),
// read through assimp with every node's placement applied, each with the
// texture coordinates of its corners. Only what the mapping import needs.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "model/vec3.h"

namespace tarn {

struct ForeignUv {
    float u = 0.0f;
    float v = 0.0f;  // up from the bottom, as OBJ and assimp count it
};

struct ForeignTriangle {
    std::array<Vec3f, 3> corner{};
    std::array<ForeignUv, 3> uv{};
};

struct ForeignModel {
    std::vector<ForeignTriangle> triangles;
    std::string error;  // the message to show; empty when the triangles are usable
    bool ok() const { return error.empty(); }
};

// More than the format could ever hold several times over; a file past this
// is refused before its triangles are gathered.
inline constexpr std::size_t kMaxForeignTriangles = std::size_t{1} << 20;

inline constexpr const char* kForeignModelFilter =
    "3D Models (*.obj;*.gltf;*.glb;*.fbx;*.dae)|*.obj;*.gltf;*.glb;*.fbx;*.dae|All Files (*.*)|*.*||";
inline constexpr const char* kMsgForeignUnreadable = "This file could not be read as a model:";
inline constexpr const char* kMsgForeignNoTriangles = "This file holds no triangles.";
inline constexpr const char* kMsgForeignNoUvs = "This file's triangles have no texture coordinates.";
inline constexpr const char* kMsgForeignNotANumber =
    "This file holds positions or texture coordinates that are not numbers (NaN or infinite).";
inline constexpr const char* kMsgForeignTooLarge = "This file holds more triangles than TARN reads.";

// Every triangle of every mesh the scene places; a mesh without texture
// coordinates, indices outside a mesh or values that are not numbers refuse
// the whole file, each with its message naming `path`.
ForeignModel ReadForeignModel(const std::string& path);

}  // namespace tarn
