#pragma once
// The MD2 file (magic "IDP2") on bytes in memory. The parser checks every
// count, offset and index against the file and the Mesh capacities before it
// hands anything back, so a caller can refuse a bad file without having
// changed a thing.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/mesh.h"
#include "platform/fs.h"

namespace tarn {

inline constexpr std::size_t kMd2HeaderSize = 68;
inline constexpr std::size_t kMd2SkinNameSize = 64;
inline constexpr std::size_t kMd2MaxSkinNameLength = kMd2SkinNameSize - 1;
inline constexpr std::size_t kMd2SkinCoordSize = 4;
inline constexpr std::size_t kMd2TriangleSize = 12;
inline constexpr std::size_t kMd2FrameHeaderSize = 40;  // scale, translate, name
inline constexpr std::size_t kMd2FrameNameSize = 16;
inline constexpr std::size_t kMd2PackedVertexSize = 4;
// The format's own limit on skin names; a header asking for more is refused.
inline constexpr int kMd2MaxSkins = 32;
inline constexpr const char kMd2Magic[4] = {'I', 'D', 'P', '2'};
// Frame scales and translations are refused beyond this magnitude: game
// worlds span a few thousand units.
inline constexpr float kMd2MaxPlacement = 1.0e6f;

// Byte offsets of the header fields.
enum Md2HeaderOffset : std::size_t {
    kMd2OfsVersion = 4,
    kMd2OfsSkinWidth = 8,
    kMd2OfsSkinHeight = 12,
    kMd2OfsFrameSize = 16,
    kMd2OfsNumSkins = 20,
    kMd2OfsNumVertices = 24,
    kMd2OfsNumSkinCoords = 28,
    kMd2OfsNumTriangles = 32,
    kMd2OfsNumGlCommands = 36,
    kMd2OfsNumFrames = 40,
    kMd2OfsOffsetSkins = 44,
    kMd2OfsOffsetSkinCoords = 48,
    kMd2OfsOffsetTriangles = 52,
    kMd2OfsOffsetFrames = 56,
    kMd2OfsOffsetGlCommands = 60,
    kMd2OfsOffsetEnd = 64,
};

struct Md2Header {
    std::int32_t version = 0;
    std::int32_t skinWidth = 0;
    std::int32_t skinHeight = 0;
    std::int32_t frameSize = 0;
    std::int32_t numSkins = 0;
    std::int32_t numVertices = 0;
    std::int32_t numSkinCoords = 0;
    std::int32_t numTriangles = 0;
    std::int32_t numGlCommands = 0;
    std::int32_t numFrames = 0;
    std::int32_t offsetSkins = 0;
    std::int32_t offsetSkinCoords = 0;
    std::int32_t offsetTriangles = 0;
    std::int32_t offsetFrames = 0;
    std::int32_t offsetGlCommands = 0;
    std::int32_t offsetEnd = 0;
};

struct Md2Triangle {
    std::array<std::int16_t, 3> vertex{};
    std::array<std::int16_t, 3> skinCoord{};
};

// Everything a load needs, taken from a file that passed every check.
struct Md2Contents {
    Md2Header header;
    std::vector<std::string> skinNames;  // as stored, up to the terminator
    std::vector<MappingVert> skinCoords;
    std::vector<Md2Triangle> triangles;
    std::vector<Frame> frames;
};

struct Md2Parse {
    Md2Contents contents;
    std::string error;  // the text to show; empty when the file is usable
    bool ok() const { return error.empty(); }
};

inline constexpr const char* kMsgNotMd2 = "This is not an MD2!";

// Bytes a frame record takes for a given vertex count, at the least: the
// header's frame size may be larger (padded frames), never smaller.
std::size_t md2FrameBytes(int vertexCount);

// Reads the header fields; the caller has checked that 68 bytes are there.
Md2Header readMd2Header(const Bytes& file);

// Checks the magic, the header, every block and index; decodes the frames.
Md2Parse parseMd2(const Bytes& file);

// Fills the Mesh from parsed contents: counts, Triangles (flags clear), the
// merged MappingVerts with their backup, the Frames with Frame 0 current and
// its face normals, the loaded flag. The MappingVert selection is cleared
// because the renumbering gives its indices other meanings.
void applyMd2ToMesh(Md2Contents contents, Mesh& mesh);

struct Md2Encode {
    Bytes bytes;
    std::string error;  // the text to show; empty when `bytes` is the file
    bool ok() const { return error.empty(); }
};

// Builds the file the Mesh is saved as: the magic and version of the loaded
// file, a header laid out in the standard block order, the given skin names
// with '\\' written as '/', the MappingVerts, the Triangles, the frame records
// copied byte for byte from `sourceImage`, and freshly built GL commands.
// Fails with a message, building nothing, when `sourceImage` does not hold the
// Mesh's frames or a skin name does not fit its 64-byte record.
Md2Encode encodeMd2(const Mesh& mesh, const std::vector<std::string>& skinNames,
                    const Bytes& sourceImage);

}  // namespace tarn
