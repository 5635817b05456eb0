#pragma once
// Formats that give each vertex one texture coordinate need the model's
// vertices split wherever one vertex meets the skin at several MappingVerts.
#include <cstdint>
#include <vector>

#include "model/mesh.h"

namespace tarn {

struct SplitVertex {
    std::int16_t vertex = 0;   // into the Frames' positions
    std::int16_t mapping = 0;  // into the MappingVert table
    friend bool operator==(const SplitVertex&, const SplitVertex&) = default;
};

struct VertexSplit {
    std::vector<SplitVertex> vertices;  // in order of first use
    std::vector<std::uint16_t> corners; // three per Triangle, into `vertices`
};

// One vertex per distinct (vertex, MappingVert) pair the Triangles use.
// Triangles with an index outside the tables are left out.
VertexSplit splitByMapping(const Mesh& mesh);

}  // namespace tarn
