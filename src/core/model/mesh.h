#pragma once
// The one model the tool works on: vertex positions per animation Frame, the
// Triangles and the MappingVerts that place each triangle corner on the skin.
// A plain record: render, edit and the app read and write its fields directly,
// always within the counts. The tables are sized once to their capacities.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/vec3.h"

namespace tarn {

inline constexpr int kMaxTriangles = 4096;
inline constexpr int kMaxMappingVerts = 12288;
inline constexpr int kMaxFrameVertices = 4096;
// The current frame index is 16-bit, so more frames could not be chosen.
inline constexpr int kMaxFrames = 32767;
// Frames x vertices: 2048 frames of the most vertices, 96 MB of positions.
inline constexpr int kMaxFramePositions = 2048 * kMaxFrameVertices;

// Triangle flag bits.
enum TriangleFlag : std::uint32_t {
    kTriSelected = 1,
    kTriDragMark = 2,  // set only while a mapping drag is under way
    kTriHidden = 4,
};

// A skin coordinate in whole skin pixels: s to the right, t down.
struct MappingVert {
    std::int16_t s = 0;
    std::int16_t t = 0;
    friend bool operator==(const MappingVert&, const MappingVert&) = default;
};

// Written and read by the render pipeline during each draw; nothing else uses it.
struct TriangleScratch {
    float viewNormalX = 0.0f;  // face normal turned into camera space
    float viewNormalY = 0.0f;
    std::array<std::uint8_t, 3> light{};      // per-corner light level (flat uses [0])
    std::array<std::uint8_t, 3> mapU{};       // per-corner phong/environment map u
    std::array<std::uint8_t, 3> mapV{};       // per-corner phong/environment map v
};

struct Triangle {
    std::uint32_t flags = 0;
    std::array<std::int16_t, 3> vertex{};         // into the Frame's positions
    std::array<std::int16_t, 3> mapping{};        // into the MappingVert table
    std::array<std::int16_t, 3> backupMapping{};  // taken by StoreMapping
    // Each corner's MappingVert as it stood when MergeMappingVerts last ran.
    std::array<MappingVert, 3> corner{};
    Vec3f normal{};  // unit face normal in the current Frame
    TriangleScratch scratch{};
};

struct Frame {
    std::string name;               // at most 16 characters
    std::vector<Vec3f> positions;   // one per vertex, decoded model units
};

struct Mesh {
    Mesh();

    std::int16_t vertexCount = 0;
    std::int16_t mappingVertCount = 0;
    std::int16_t triangleCount = 0;
    std::int16_t skinWidth = 0;
    std::int16_t skinHeight = 0;

    std::vector<MappingVert> mappingVerts;      // kMaxMappingVerts entries
    std::vector<MappingVert> mappingBackup;     // kMaxMappingVerts entries
    std::int16_t mappingBackupCount = 0;
    std::vector<std::uint8_t> mappingSelection; // one flag per MappingVert
    std::vector<Triangle> triangles;            // kMaxTriangles entries

    std::vector<Frame> frames;
    std::int16_t currentFrame = 0;
    bool loaded = false;  // never cleared once a load succeeded

    bool hasCurrentFrame() const;
    // The current Frame's positions, or nullptr while there are no Frames.
    Vec3f* currentPositions();
    const Vec3f* currentPositions() const;
};

// Everything but the Frames, which can run to a hundred megabytes: what work
// on the mapping alone reads, away from the window.
Mesh CopyWithoutFrames(const Mesh& mesh);

// The mapping merge, then the mapping backup.
void StoreMapping(Mesh& mesh);
// The mapping backup alone: the MappingVert count and table, and every
// Triangle's MappingVert indices.
void TakeMappingBackup(Mesh& mesh);
// The mapping merge alone: refreshes each Triangle's corner coordinates from its
// MappingVerts, then renumbers the MappingVerts in order of first use, welding
// equal coordinates and dropping unused ones.
void MergeMappingVerts(Mesh& mesh);
// The second half of the merge alone: rebuilds the MappingVert table from the
// Triangles' corner coordinates (used by imports that write the corners).
void RebuildMappingVerts(Mesh& mesh);

// Unit normal of (p1 - p0) x (p2 - p1); a degenerate triangle leaves `normal`
// as it was, so it keeps the value it held before.
void ComputeTriangleNormal(const Vec3f& p0, const Vec3f& p1, const Vec3f& p2, Vec3f& normal);
// Face normals of every Triangle in the current Frame; nothing without Frames.
void ComputeFaceNormals(Mesh& mesh);
// Makes Frame `index` current and recomputes the face normals. Returns false,
// changing nothing, for an index outside the Frames.
bool SelectFrame(Mesh& mesh, int index);

}  // namespace tarn
