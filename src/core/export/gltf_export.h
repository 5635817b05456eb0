#pragma once
// Animated glTF 2.0 (.glb or .gltf with everything embedded): one mesh whose
// vertices are split by MappingVert, Frame 0 as the base positions and every
// other Frame as a morph target, one animation per animation name of the
// Frames ("stand", "run", ...), normals from the file's normal table, and
// the chosen skin as an indexed PNG sampled nearest, so texels stay texels.
#include <string>

#include "image/skin_list.h"
#include "model/mesh.h"
#include "platform/fs.h"

namespace tarn {

inline constexpr const char* kGltfFilter =
    "glTF Binary (*.glb)|*.glb|glTF (*.gltf)|*.gltf|All Files (*.*)|*.*||";
inline constexpr const char* kGltfInitialName = "*.glb";

struct GltfOptions {
    int skin = 0;             // into the SkinList; no texture when there is none
    double framesPerSecond = 10.0;
    bool step = false;        // STEP weights; LINEAR blends Frame to Frame as the game does
    bool binary = true;       // .glb; .gltf when false
};

struct GltfEncode {
    Bytes bytes;
    std::string error;  // empty when `bytes` is the file
    bool ok() const { return error.empty(); }
};

// `sourceImage` is the loaded .md2, where the Frames' normal indices are; a
// Frame whose indices are not there takes normals from its faces.
GltfEncode encodeGltf(const Mesh& mesh, const SkinList& skins, const Bytes& sourceImage, const GltfOptions& options);

// The animations, as the Frames form them: name, first Frame, Frame count.
struct FrameGroup {
    std::string name;
    int first = 0;
    int count = 0;
};
std::vector<FrameGroup> frameGroups(const Mesh& mesh);

// Binary or text by the extension of `path` (".gltf" is text); written
// through a temporary file. Empty, or the message of the failure.
std::string SaveGltf(const Mesh& mesh, const SkinList& skins, const Bytes& sourceImage, GltfOptions options,
                     const std::string& path);

}  // namespace tarn
