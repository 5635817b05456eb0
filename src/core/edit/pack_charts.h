#pragma once
// The pieces Pack Islands moves: charts of Triangles that must travel
// together, and the exact texels each one needs on the skin.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "model/mesh.h"

namespace tarn {

// Triangles that move as one: joined through shared MappingVerts, and joined
// with every Triangle whose covered texels overlap theirs (mirrored halves
// painted once share their texels, so they must keep sharing them).
struct Chart {
    std::vector<int> triangles;
    std::vector<int> verts;  // the MappingVerts its Triangles use, each once
    bool selected = false;   // holds a selected Triangle
    // The box of its MappingVerts, both ends included.
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Every Triangle whose three MappingVerts exist, in charts ordered by their
// first Triangle; the rest belong to none and are left where they are.
std::vector<Chart> FindCharts(const Mesh& mesh);

// The texels left..right (both included) of one row.
struct Span {
    int left = 0;
    int right = 0;
};

// Sorts `spans` and joins those that overlap or touch.
void MergeSpans(std::vector<Span>& spans);

// A set of texels, as rows of spans below its box's top-left corner.
struct Shape {
    int width = 0;
    int height = 0;
    std::vector<std::vector<Span>> rows;  // `height` rows, spans sorted and apart
    long long area = 0;                   // texels in the set
};

using Corners = std::array<MappingVert, 3>;

// The texels the fills cover for `triangles`, grown by `margin` texels in
// every direction (eight-neighbour steps, as seam padding grows). Corners must
// lie at or right of / below (0, 0); texel (s, t) of the corners' space is
// cell (s + margin, t + margin) of the shape.
Shape FootprintOf(std::span<const Corners> triangles, int margin);

// The corners of every Triangle of `chart` at `verts`.
std::vector<Corners> ChartCorners(const Mesh& mesh, const Chart& chart, std::span<const MappingVert> verts);

// The percentage of a width x height skin that no Triangle covers at `verts`,
// truncated; 0 for an empty size.
int UncoveredPercent(const Mesh& mesh, std::span<const MappingVert> verts, int width, int height);

}  // namespace tarn
