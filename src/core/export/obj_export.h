#pragma once
// Wavefront OBJ: the positions of one Frame, the mapping as texture
// coordinates (texel centres over the skin size, t counted up from the
// bottom as OBJ has it), the faces, and an MTL beside it naming the skin,
// which is written beside them as an indexed PNG.
#include <string>

#include "image/skin.h"
#include "model/mesh.h"

namespace tarn {

inline constexpr const char* kObjFilter = "Wavefront OBJ (*.obj)|*.obj|All Files (*.*)|*.*||";
inline constexpr const char* kObjInitialName = "*.obj";

struct ObjText {
    std::string obj;
    std::string mtl;  // empty without a skin
};

// `baseName` is the file name without extension that the .mtl and .png take.
ObjText encodeObj(const Mesh& mesh, int frame, const Skin* skin, const std::string& baseName);

// Writes OUT.obj, and with a skin OUT.mtl and OUT.png beside it, each through
// a temporary file. Empty, or the message of the failure.
std::string SaveObj(const Mesh& mesh, int frame, const Skin* skin, const std::string& path);

}  // namespace tarn
