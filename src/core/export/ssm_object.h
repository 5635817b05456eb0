#pragma once
// The SSM object export: the whole animated Mesh as an "SSMO" object with
// every Frame, the Triangles with skin coordinates normalised to the skin
// size, one animation, one named list and one label.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/mesh.h"
#include "platform/fs.h"

namespace tarn {

struct SsmNamePair {
    std::uint8_t kind = 0;
    std::string first;
    std::string second;
};

struct SsmListEntry {
    std::string name;
    std::int16_t value = 0;
};

struct SsmNamedList {
    std::string name;
    std::vector<SsmListEntry> entries;
    std::vector<SsmNamePair> pairs;
};

struct SsmFrame {
    std::vector<std::uint8_t> flags;  // flags-per-frame bytes
    std::vector<Vec3f> positions;
};

struct SsmAnimation {
    std::string name;
    std::vector<std::int16_t> frames;
    std::vector<float> times;  // seconds per entry
};

struct SsmLabel {
    std::string name;
};

// One 36-byte triangle record.
struct SsmTriangle {
    std::array<std::int16_t, 3> vertex{};
    std::array<float, 6> uv{};  // u, v of corners 0, 1, 2
};

struct SsmObject {
    std::vector<SsmNamedList> namedLists;
    std::vector<SsmFrame> frames;
    std::vector<SsmAnimation> animations;
    std::vector<SsmLabel> labels;
    std::vector<SsmNamePair> trailing;
    std::vector<SsmTriangle> triangles;
    std::int16_t vertexCount = 0;
};

inline constexpr std::size_t kSsmTriangleRecordSize = 36;
inline constexpr const char* kSsmFilter = "SSM Object (*.ssm)|*.ssm|All Files (*.*)|*.*||";
inline constexpr const char* kSsmInitialName = "TempObject.ssm";

// The object the export writes for `mesh`.
SsmObject buildSsmObject(const Mesh& mesh);
// The file image of `object`, little-endian, strings as an int16 length and
// their characters.
Bytes encodeSsmObject(const SsmObject& object);

}  // namespace tarn
