#pragma once
// The colour sources of the fills: what colour a pixel gets from its running
// attributes (and, for texture sources, which texel that was), whether the
// source is there at all, and how corner coordinates are kept inside it. The
// engine (fill_engine.h) does the rest. Internal to the raster folder.
#include <algorithm>
#include <cstdint>

#include "raster/fill_engine.h"
#include "raster/wide_span.h"

namespace tarn {

// Largest 16.16 coordinate addressing one of `count` cells, less `margin`.
inline std::int32_t lastFixedBelow(int count, std::int32_t margin) { return toFixed16(count) - 1 - margin; }

#if TARN_WIDE_SPANS
// The largest whole part attribute `index` reaches in a fill whose corners
// are `corners`, the span steps' rounding `margin` included: interpolation
// never leaves the corners' range by more than that.
template <class Points>
std::size_t wholeMax(const Points& corners, int index, std::int32_t margin) {
    std::int64_t top = 0;
    for (const auto& p : corners) top = std::max<std::int64_t>(top, std::int64_t{p[kFirstAttribute + index]} + margin);
    return static_cast<std::size_t>(top >> kFixed16Shift);
}
// Whether the wide spans may read a whole word at every index up to `last`
// of a table of `bytes` bytes (gatherBytes' direct reads).
inline bool wordsFit(std::size_t last, std::size_t bytes) { return last + kWideSourceBytes <= bytes; }
#endif

// Sources that read nothing: always ready, no coordinates to keep in range.
struct ReadsNothing {
    bool ready() const { return true; }
    template <class Points> void limit(Points&, std::int32_t) const {}
};

// One colour for every pixel.
struct FlatSource : ReadsNothing {
    static constexpr int kLinear = 0;
    std::uint8_t value;
    template <class Values> std::uint8_t colour(const Values&, std::int32_t&) const { return value; }
#if TARN_WIDE_SPANS
    static constexpr bool kWide = true;  // coloured by wideColour in wide_lanes.inc
#endif
};

// As FlatSource, for fills without depth: the span is written as whole words.
struct SolidSource : FlatSource {
    static constexpr bool kSolid = true;
};

// The integer part of c is the palette index.
struct ShadeSource : ReadsNothing {
    static constexpr int kLinear = 1;
    template <class Values> std::uint8_t colour(const Values& a, std::int32_t&) const {
        return static_cast<std::uint8_t>(a.whole(0));
    }
#if TARN_WIDE_SPANS
    static constexpr bool kWide = true;  // coloured by wideColour in wide_lanes.inc
#endif
};

// The texel at (u, v), attributes 0 and 1 of every textured record; its offset
// is what the Texel variants pick.
struct TexelLookup {
    static constexpr int kCoordinatePairs = 1;  // (u, v) are clamped into the texture
    const std::uint8_t* texture;
    const std::int32_t* rowOffsets;
    int width;
    int height;
    // When the rows lie evenly spaced (as a Skin's do), row r starts at
    // firstRow + r x rowPitch, which the wide spans compute instead of
    // gathering; otherwise rowPitch is -1.
    std::int32_t firstRow;
    std::int32_t rowPitch;
    std::size_t bytes;  // of `texture`
    bool directTexels = false;  // set per fill by planWideReads

    bool ready() const { return texture != nullptr; }
    template <class Points> void limit(Points& corners, std::int32_t margin) const {
        clampAttribute(corners, 0, 0, lastFixedBelow(width, margin));
        clampAttribute(corners, 1, 0, lastFixedBelow(height, margin));
    }
    // Row offsets are checked to lie inside the texels, so the offset is never
    // negative: indexing with it unsigned spares a sign extension per pixel.
    template <class Values> std::uint8_t texel(const Values& a, std::int32_t& offset) const {
        const std::uint32_t at = static_cast<std::uint32_t>(rowOffsets[a.whole(1)]) + a.whole(0);
        offset = static_cast<std::int32_t>(at);
        return texture[at];
    }
#if TARN_WIDE_SPANS
    bool wideReady() const { return bytes >= kWideSourceBytes; }
    // The texels a fill reaches end before its corners' largest (u, v).
    template <class Points> void planWideReads(const Points& corners, std::int32_t margin) {
        directTexels = rowPitch >= 0 &&
                       wordsFit(static_cast<std::size_t>(firstRow) + wholeMax(corners, 1, margin) *
                                    static_cast<std::size_t>(rowPitch) + wholeMax(corners, 0, margin),
                                bytes);
    }
#endif
};

struct TextureSource : TexelLookup {
    static constexpr int kLinear = 2;
    template <class Values> std::uint8_t colour(const Values& a, std::int32_t& offset) const {
        return texel(a, offset);
    }
#if TARN_WIDE_SPANS
    static constexpr bool kWide = true;  // coloured by wideColour in wide_lanes.inc
#endif
};

// Texel shaded through colormap row s (attribute 2).
struct TexGSource : TexelLookup {
    static constexpr int kLinear = 3;
    const std::uint8_t* shade;
    int shadeRows;
    bool directShade = false;  // set per fill by planWideReads

    bool ready() const { return TexelLookup::ready() && shade != nullptr && shadeRows > 0; }
    template <class Points> void limit(Points& corners, std::int32_t margin) const {
        TexelLookup::limit(corners, margin);
        clampAttribute(corners, 2, 0, lastFixedBelow(shadeRows, 0));
    }
    template <class Values> std::uint8_t colour(const Values& a, std::int32_t& offset) const {
        const std::uint32_t t = texel(a, offset);
        return shade[a.whole(2) * kShadeRowBytes + t];
    }
#if TARN_WIDE_SPANS
    static constexpr bool kWide = true;  // coloured by wideColour in wide_lanes.inc
    template <class Points> void planWideReads(const Points& corners, std::int32_t margin) {
        TexelLookup::planWideReads(corners, margin);
        directShade = wordsFit(wholeMax(corners, 2, margin) * kShadeRowBytes + kShadeRowBytes - 1,
                               static_cast<std::size_t>(shadeRows) * kShadeRowBytes);
    }
#endif
};

// Texel shaded through the colormap row that the map holds at (mx, my),
// attributes 2 and 3. The map's bytes are not known in advance, so each
// byte's row comes capped to the rows the table has (Rasterizer::SetShadeTable).
struct TexPSource : TexelLookup {
    static constexpr int kLinear = 4;
    static constexpr int kCoordinatePairs = 2;  // (mx, my) are clamped into the map as well
    const std::uint8_t* const* shadeRowOf;  // by map byte; null entries when there is no table
    const std::uint8_t* map;
    const std::uint8_t* shade;  // the table those rows are in
    int shadeRows;
    bool directMap = false;  // set per fill by planWideReads
    bool directShade = false;

    bool ready() const { return TexelLookup::ready() && shadeRowOf[0] != nullptr && map != nullptr; }
    template <class Points> void limit(Points& corners, std::int32_t margin) const {
        TexelLookup::limit(corners, margin);
        clampAttribute(corners, 2, 0, lastFixedBelow(kMapSide, 0));
        clampAttribute(corners, 3, 0, lastFixedBelow(kMapSide, 0));
    }
    template <class Values> std::uint8_t colour(const Values& a, std::int32_t& offset) const {
        const std::uint32_t t = texel(a, offset);
        return shadeRowOf[map[a.whole(3) * kMapSide + a.whole(2)]][t];
    }
#if TARN_WIDE_SPANS
    static constexpr bool kWide = true;  // coloured by wideColour in wide_lanes.inc
    template <class Points> void planWideReads(const Points& corners, std::int32_t margin) {
        TexelLookup::planWideReads(corners, margin);
        directMap = wordsFit(wholeMax(corners, 3, margin) * kMapSide + wholeMax(corners, 2, margin),
                             std::size_t{kMapSide} * kMapSide);
    }
#endif
};

// Map texel at (u, v) added to a ramp base.
struct MapSource {
    static constexpr int kLinear = 2;
    static constexpr int kCoordinatePairs = 1;  // (u, v) are clamped into the map
    const std::uint8_t* map;
    std::uint8_t base;
    bool directMap = false;  // set per fill by planWideReads

    bool ready() const { return map != nullptr; }
    template <class Points> void limit(Points& corners, std::int32_t) const {
        clampAttribute(corners, 0, 0, lastFixedBelow(kMapSide, 0));
        clampAttribute(corners, 1, 0, lastFixedBelow(kMapSide, 0));
    }
    template <class Values> std::uint8_t colour(const Values& a, std::int32_t&) const {
        return static_cast<std::uint8_t>(base + map[a.whole(1) * kMapSide + a.whole(0)]);
    }
#if TARN_WIDE_SPANS
    static constexpr bool kWide = true;  // coloured by wideColour in wide_lanes.inc
    template <class Points> void planWideReads(const Points& corners, std::int32_t margin) {
        directMap = wordsFit(wholeMax(corners, 1, margin) * kMapSide + wholeMax(corners, 0, margin),
                             std::size_t{kMapSide} * kMapSide);
    }
#endif
};

}  // namespace tarn

// The wide spans of these sources, once per lane set.
#include "raster/wide_lanes_avx512.h"
#include "raster/wide_lanes_avx2.h"
#include "raster/wide_lanes_avx2_pairs.h"
