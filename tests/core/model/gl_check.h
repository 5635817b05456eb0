#pragma once
// Decodes GL command words back into triangles so tests can check that a
// command list covers a Mesh's triangles exactly once, winding included.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/mesh.h"

namespace tarn::test {

// One corner as the commands carry it: vertex index and the bits of s', t'.
using GlVertex = std::array<std::int32_t, 3>;
using GlTriangle = std::array<GlVertex, 3>;

// The triangles the runs draw; `error` describes the first malformed word.
std::vector<GlTriangle> decodeGlTriangles(std::span<const std::int32_t> words, std::string& error);

// Empty when the words draw every Triangle of `mesh` exactly once with its
// winding and skin coordinates, end in one 0 and use only valid vertices;
// otherwise what is wrong.
std::string checkGlCover(const Mesh& mesh, std::span<const std::int32_t> words);

}  // namespace tarn::test
