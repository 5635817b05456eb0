#pragma once
// Builds small MD2 files in memory for the model tests, laid out in the
// standard block order, so a test can state exactly what a file holds and
// then damage one field of it.
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "model/md2_format.h"
#include "platform/fs.h"

namespace tarn::test {

struct TestFrame {
    std::string name;
    std::array<float, 3> scale{1, 1, 1};
    std::array<float, 3> translate{0, 0, 0};
    std::vector<std::array<std::uint8_t, 4>> vertices;  // x, y, z, normal index
};

struct TestMd2 {
    std::int32_t version = 8;
    std::int32_t skinWidth = 64;
    std::int32_t skinHeight = 32;
    std::vector<std::string> skins;
    std::vector<MappingVert> skinCoords;
    std::vector<Md2Triangle> triangles;
    std::vector<TestFrame> frames;
    std::vector<std::int32_t> glCommands{0};
    // Bytes of 0xEE after each frame's vertices, counted in the frame size.
    std::int32_t framePadding = 0;

    Bytes build() const;
};

// Writes a little-endian 32-bit value at `offset` of `file`.
void patchI32(Bytes& file, std::size_t offset, std::int32_t value);
std::int32_t readI32(const Bytes& file, std::size_t offset);

// A quad of two triangles sharing an edge, 4 vertices, 3 frames whose vertex
// bytes differ, one skin name, five skin coordinates of which one duplicates
// another and one is unused.
TestMd2 quadModel();

}  // namespace tarn::test
