#pragma once
// The GL command list an MD2 carries: a greedy cover of the Triangles by
// triangle strips and fans, each vertex with its skin coordinates.
#include <cstdint>
#include <span>

#include "model/mesh.h"

namespace tarn {

// A run holds at most this many vertices, so at most 126 triangles.
inline constexpr int kGlRunCapacity = 128;
// Words the worst case needs: every triangle its own run of a count word and
// three vertices of three words, then the closing 0.
inline constexpr int kGlCommandCapacity = kMaxTriangles * (1 + 3 * 3) + 1;

// Fills `out` with the command words of the current Triangles and MappingVerts
// and returns how many were written, the closing 0 included. Each run starts
// with its vertex count (positive: strip, negative: fan), then per vertex
// s' = (s + 0.5) / skin width and t' = (t + 0.5) / skin height as float32 bits,
// then the vertex index. Runs that would not fit in `out` are left out; with
// kGlCommandCapacity words every triangle is covered exactly once.
int BuildGlCommands(const Mesh& mesh, std::span<std::int32_t> out);

}  // namespace tarn
