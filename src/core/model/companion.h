#pragma once
// A Companion: a second MD2 model (a weapon, say) shown beside the Mesh so the
// skin can be judged in context. Companions are only displayed, never edited
// or saved; each follows the Mesh's current frame index with its own frames.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/mesh.h"
#include "platform/fs.h"

namespace tarn {

class Ui;

// Capacities of the record: more triangles or skin rows are refused at load.
inline constexpr int kMaxCompanionTriangles = 4096;
inline constexpr int kMaxCompanionSkinRows = 480;

struct CompanionTriangle {
    std::array<std::int16_t, 3> vertex{};
    std::array<MappingVert, 3> corner{};  // each corner's skin coordinates
    Vec3f normal{};                       // unit face normal of the frame drawn
    TriangleScratch scratch{};            // written by the render pipeline
};

struct Companion {
    std::int16_t skinWidth = 0;
    std::int16_t skinHeight = 0;
    std::int16_t vertexCount = 0;
    std::int16_t triangleCount = 0;
    std::int16_t skinCoordCount = 0;
    std::int16_t frameCount = 0;
    bool hidden = false;
    // Subtracted from the model x, y and z when drawn.
    float zOffset = 0.0f;
    float xOffset = 0.0f;
    float yOffset = 0.0f;

    std::string name;  // full path of the companion file
    // Palette indices, skinWidth x skinHeight, shown with the current Skin's palette.
    std::vector<std::uint8_t> skinPixels;
    std::vector<std::int32_t> rowTable;  // entry r = r * skinWidth
    // The loose file the skin was read from, which another editor may
    // rewrite; empty for a skin out of a PAK and for the checkerboard.
    std::string skinFile;

    // Frame f, vertex i is positions[f * vertexCount + i], decoded model units.
    std::vector<Vec3f> positions;
    std::vector<CompanionTriangle> triangles;

    // Written by the render pipeline in each draw.
    std::vector<Vec3f> cameraPositions;  // one per vertex of the frame drawn
    std::vector<std::int16_t> visible;   // indices into triangles

    bool hasSkin() const { return !skinPixels.empty(); }
    // Shown: not hidden and with a frame of the Mesh's current index.
    bool shownAt(int frameIndex) const { return !hidden && frameCount > frameIndex; }
    const Vec3f* framePositions(int frameIndex) const;
    void buildRowTable();
    // Takes `pixels` as the skin when they have the companion's skin size.
    bool takeSkin(std::vector<std::uint8_t> pixels, int width, int height);
    // The 4 x 4 checkerboard of 64 and 192 given when no fitting skin exists.
    void giveCheckerboard();
    // Face normals of frame `frameIndex`; nothing for a frame it does not have.
    void computeFaceNormals(int frameIndex);
};

// Reasons LoadCompanion gives nothing back.
inline constexpr const char* kMsgCompanionNotMd2 = "This companion is not an MD2!";
inline constexpr const char* kMsgCompanionDamaged =
    "This companion is damaged or too large to show!";

// Reads a companion from the bytes of its file. The first skin it names, read
// relative to `baseFolder`, becomes its skin when it has the right size. A
// file that is not an MD2, or whose counts or offsets do not fit the file or
// the capacities, gives nothing after a message.
std::unique_ptr<Companion> LoadCompanion(const Bytes& file, const std::string& path,
                                         const std::string& baseFolder, Ui& ui);

}  // namespace tarn
