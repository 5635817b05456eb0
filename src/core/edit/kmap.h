#pragma once
// The mapping file: a model's skin mapping kept apart from the model. A
// 12-byte header ("KMAP", Triangle count, MappingVert count, skin width and
// height) and one 24-byte record per Triangle: its three corner coordinates,
// its three MappingVert indices and its three vertex indices.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/mesh.h"
#include "platform/fs.h"

namespace tarn {

inline constexpr std::size_t kKmapHeaderBytes = 12;
inline constexpr std::size_t kKmapRecordBytes = 24;

inline constexpr const char* kKmapFilter = "TARN Mapping (*.kmp)|*.kmp|All Files (*.*)|*.*||";
inline constexpr const char* kKmapInitialName = "*.kmp";
inline constexpr const char* kKmapExtension = ".kmp";

inline constexpr const char* kMsgKmapInvalid = "This isn't a valid KMAP file!";
inline constexpr const char* kMsgKmapTriangleCount =
    "This file doesn't have the same triangle count at the current MD2!";

struct KmapRecord {
    std::array<MappingVert, 3> corner{};
    std::array<std::int16_t, 3> mapping{};
    std::array<std::int16_t, 3> vertex{};
};

struct KmapFile {
    std::int16_t mappingVertCount = 0;
    std::int16_t width = 0;   // the skin size the coordinates refer to
    std::int16_t height = 0;
    std::vector<KmapRecord> records;  // one per Triangle
};

enum class KmapRefusal {
    None,
    Invalid,        // not a mapping file, or one that lies about its contents
    TriangleCount,  // a sound file written for another model
};

struct KmapParse {
    KmapFile file;
    KmapRefusal refusal = KmapRefusal::None;
    bool ok() const { return refusal == KmapRefusal::None; }
};

// Whether the reader takes the file's MappingVert count: only the whole
// Import does, and a count outside the table is then a broken file. Import to
// Selected and Retro-Map never use it, so they accept any.
enum class KmapVertCount { Used, Ignored };

// Reads a whole mapping file meant for a model of `triangleCount` Triangles.
// Everything is checked before the caller applies anything: the magic, the
// count, that all records are there, a usable skin size and (when used) a
// MappingVert count within the table. The indices are checked by the import
// that uses them.
KmapParse ParseKmap(std::span<const std::uint8_t> bytes, int triangleCount,
                    KmapVertCount vertCount = KmapVertCount::Used);

// The file image of the mesh's mapping. The corner coordinates must equal the
// MappingVerts the indices name: run the mapping merge first.
Bytes EncodeKmap(const Mesh& mesh);

// A coordinate written for a skin `from` pixels across, for a skin `to`
// pixels across: trunc(value x to / from) in single precision, kept within
// the 16-bit range of the tables. Equal sizes leave it as it is.
std::int16_t RescaleCoordinate(std::int16_t value, int from, int to);
MappingVert RescaleVert(MappingVert v, int fromWidth, int fromHeight, int toWidth, int toHeight);

}  // namespace tarn
