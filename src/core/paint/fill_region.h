#pragma once
// The texels a fill reaches. In the skin pane: the 4-connected texels holding
// the clicked index, or every texel of it. On the model: the texels of that
// index connected across the model's surface, through the seams where two
// Triangles share an edge of the mesh but not of the mapping, so one click
// fills a sleeve whose front and back lie in different islands.
#include <array>
#include <cstdint>
#include <vector>

#include "image/skin.h"
#include "model/mesh.h"

namespace tarn {

// Texel offsets (row * width + column), `start` first; empty for a start
// outside the skin.
std::vector<std::int32_t> fillRegion(const Skin& skin, std::int32_t start, bool everyTexelOfIndex);

// One byte per texel of a `width` x `height` skin, set where a Triangle's
// mapping covers the texel's centre: of every visible Triangle, or of the
// selected ones only (hidden or not).
std::vector<std::uint8_t> coveredTexels(const Mesh& mesh, int width, int height, bool selectedOnly);

// As fillRegion, but only texels a visible Triangle covers (centre inside its
// mapping) take part, and they are neighbours across seams too.
std::vector<std::int32_t> fillRegionOnSurface(const Mesh& mesh, const Skin& skin, std::int32_t start);

// fillRegionOnSurface for repeated fills. The covered texels and the seams
// follow from the Triangles and their mapping alone, so they are kept from
// one fill to the next and worked out again only when a Triangle's vertices,
// mapping or visibility, or the skin's size, changed since.
class SurfaceFill {
public:
    std::vector<std::int32_t> region(const Mesh& mesh, const Skin& skin, std::int32_t start);

private:
    // What the kept texels were worked out from, per Triangle.
    struct Source {
        bool taken = false;  // visible, with its corners in the mapping table
        std::array<std::int16_t, 3> vertex{};
        std::array<MappingVert, 3> uv{};
        friend bool operator==(const Source&, const Source&) = default;
    };
    // Whether the kept texels still hold; if not, `sources_` becomes the mesh's.
    bool current(const Mesh& mesh, int width, int height);

    std::vector<Source> sources_;
    std::vector<Source> scratch_;
    int width_ = -1;
    int height_ = -1;
    std::vector<std::uint8_t> covered_;
    // The texels across a seam from texel t: links_[linkStart_[t] .. linkStart_[t + 1]).
    std::vector<std::int32_t> linkStart_;
    std::vector<std::int32_t> links_;
};

}  // namespace tarn
