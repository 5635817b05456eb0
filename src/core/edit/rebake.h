#pragma once
// Re-baking a skin onto another mapping: every texel a Triangle covers at its
// new place takes the old skin's texel at the same point of the surface. The
// texel's centre, in barycentric coordinates of the new corners, names a
// point of the old Triangle, and the old texel containing that point is taken
// (nearest: skins are palette indices, so nothing may be blended). Worked in
// whole numbers, so an unchanged mapping gives back every texel, and moves by
// whole texels, quarter turns and whole scales move texels exactly.
//
// Which texels a Triangle covers is the 2D fills' rule (the rasterizer's edge
// walk), so a re-bake covers exactly what a fill of the same corners would.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "edit/row_runs.h"
#include "model/mesh.h"
#include "raster/fill_cover.h"
#include "raster/rasterizer.h"

namespace tarn {

class Rebake {
public:
    // Texels are written into `target` (width x height, rows of width) and
    // read from `source` (sourceWidth x sourceHeight). False, and nothing will
    // be drawn, when either is empty or smaller than its size says.
    bool setImages(std::span<std::uint8_t> target, int width, int height, std::span<const std::uint8_t> source,
                   int sourceWidth, int sourceHeight);
    // Marks every texel a later triangle() writes with a non-zero byte; null
    // stops marking. The mask must hold width x height bytes.
    void markCovered(std::uint8_t* mask) { covered_ = mask; }
    // From now on a texel already written keeps its texel: each is written
    // once, so piled-up Triangles cost no more than the skin. Callers whose
    // last Triangle should win draw in reverse.
    void writeEachTexelOnce() { written_.emplace(height_); }

    // Fills the Triangle whose corners are now at `to` with the source as it
    // lay under the corners `from`. A point of the old Triangle outside the
    // source takes the nearest border texel.
    void triangle(const std::array<MappingVert, 3>& to, const std::array<MappingVert, 3>& from);

private:
    std::uint8_t* target_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    const std::uint8_t* source_ = nullptr;
    int sourceWidth_ = 0;
    int sourceHeight_ = 0;
    std::uint8_t* covered_ = nullptr;
    Rasterizer raster_;
    std::vector<RowSpan> rows_;
    std::optional<RowRuns> written_;  // none while texels may be written again
};

// The corners of `tri` at `table`'s MappingVerts; false when an index lies
// outside the first `count` entries.
bool cornersIn(const Triangle& tri, std::span<const MappingVert> table, int count, std::array<MappingVert, 3>& out);

}  // namespace tarn
