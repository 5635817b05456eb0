#pragma once
// The software rasterizer every drawing routine works through: one target
// image at a time (colour, 16-bit colour, depth and pick planes), clipping,
// lines and the triangle fills of the render modes and the skin editor.
//
// Fills take their polygon as the corner records followed by the first corner
// again; the edges are the consecutive pairs. Coordinates are pixels (x to the
// right, y along the rows of the planes, row 0 first); attributes are 16.16
// (Fixed16). Every fill clips itself against the target, so any coordinates
// are safe. Texture, shade-table and map coordinates are clamped per corner
// into the source they address, so a fill never reads outside it: corners
// outside the source show its border texels.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "raster/fixed.h"

namespace tarn {

class FrameBuffer;
struct TexelLookup;

// Fill vertex records, all int32 in pixel space; z is a 16.16 depth whose
// integer part is the depth-plane value, c a 16.16 palette index, u and v the
// 16.16 column and row of the texture, s a 16.16 colormap row, mx and my the
// 16.16 column and row of the 256 x 256 map.
struct Vertex2D { std::int32_t x, y; };
struct ShadeVertex2D { std::int32_t x, y; Fixed16 c; };
struct TexVertex2D { std::int32_t x, y; Fixed16 u, v; };
struct FlatVertex { std::int32_t x, y; Fixed16 z; };
struct GouraudVertex { std::int32_t x, y; Fixed16 c, z; };
struct TexVertex { std::int32_t x, y; Fixed16 u, v, z; };  // textured and map fills
struct TexGVertex { std::int32_t x, y; Fixed16 u, v, s, z; };
struct TexPVertex { std::int32_t x, y; Fixed16 u, v, mx, my, z; };
using MapVertex = TexVertex;

// A triangle: corners 0, 1, 2, then corner 0 again. A quad: corners 0..3, then 0.
template <class V> using FillTriangle = std::array<V, 4>;
template <class V> using FillQuad = std::array<V, 5>;

struct Segment2D { std::int32_t x0, y0, x1, y1; };

// One row of a 2D texture fill as its span steps it: pixels left .. left +
// count - 1 of `row` read texture column u >> 16 and row v >> 16, u and v
// (16.16) starting as given and growing by their steps (32-bit adds) from
// pixel to pixel.
struct TextureSpan {
    std::int32_t row, left, count;
    std::uint32_t u, v, uStep, vStep;
};
struct Point3f { float x, y, z; };
struct Segment3D { Point3f p0, p1; };

// Camera-space near plane: the float32 nearest to 0.1.
inline constexpr float kNearPlane = 0.1f;

// How depth-tested fills walk their spans: a pixel at a time, or eight or
// sixteen lanes at once on processors with AVX2 or AVX-512. The planes come
// out the same on every path.
enum class SpanPath { Scalar, Avx2, Avx512 };

// Sides beyond this cannot be handled: lines step in 16-bit coordinates.
inline constexpr int kMaxTargetSide = 32767;
// Largest number of attributes after x and y in any fill record.
inline constexpr int kMaxFillAttributes = 5;
inline constexpr std::int32_t kEdgeIdleLeft = 2147483647;
inline constexpr std::int32_t kEdgeIdleRight = -2147483647 - 1;
// Rows of 256 bytes in the shade table and the 256 x 256 map.
inline constexpr int kShadeRowBytes = 256;
inline constexpr int kMapSide = 256;

// The planes a drawing targets. Each non-null plane holds width x height
// elements with a row pitch of width. Fills and lines needing a plane that is
// null draw nothing.
struct RasterTarget {
    std::uint8_t* colour = nullptr;
    std::uint16_t* colour16 = nullptr;  // 5 bits each of blue, green, red from bit 0
    std::uint16_t* depth = nullptr;
    std::int32_t* pick = nullptr;
    int width = 0;
    int height = 0;
    // A band: the planes hold only `bandRows` rows of the target, from row
    // `bandFirst`, and so width x bandRows elements. Clipping and edge walks
    // still see the whole target, so the band gets exactly the pixels those
    // rows get in one drawing of it: clipping at the band's own rows would
    // move edges. 0 rows: the planes hold the whole target. The 16-bit
    // colour plane takes no band.
    int bandFirst = 0;
    int bandRows = 0;
};

class Rasterizer {
public:
    Rasterizer();
    virtual ~Rasterizer();
    Rasterizer(const Rasterizer&) = delete;
    Rasterizer& operator=(const Rasterizer&) = delete;

    // Points the rasterizer at new planes: sets width, height and limits, sizes
    // the per-row tables to the height and resets the edge table. A target with
    // a side above kMaxTargetSide is refused (returns false) and leaves an empty
    // target, on which every drawing does nothing.
    bool SetTarget(const RasterTarget& target);
    bool SetTarget(FrameBuffer& frame);

    // The texture of the textured fills: `texels` with `rowOffsets[r]` the
    // offset of row r (usually r x width), for `height` rows of `width` texels.
    // Returns false, and leaves no texture (textured fills draw nothing), when a
    // row would reach outside `texels`. The rows are checked here, once: set the
    // texture again after changing the row table. Like the planes, the texels,
    // shade table and map are not owned and must outlive their use.
    bool SetTexture(std::span<const std::uint8_t> texels, int width, int height,
                    std::span<const std::int32_t> rowOffsets);
    // The colormap of the shaded textured fills, rows of 256 bytes.
    void SetShadeTable(std::span<const std::uint8_t> table);
    // The 256 x 256 map of the map fills and of the phong-shaded textured fills;
    // a smaller map leaves none (those fills draw nothing).
    void SetMap(std::span<const std::uint8_t> map);

    // The span path every Rasterizer takes now: by default the widest this
    // processor has, or what the environment variable TARN_SPANS ("scalar",
    // "avx2", "avx512") asks for where the processor has it.
    static SpanPath Spans();
    // The widest path this processor has.
    static SpanPath BestSpans();
    // Takes `wanted`, or the widest path the processor has below it (tests and
    // benchmarks compare the paths); returns the path taken.
    static SpanPath SetSpans(SpanPath wanted);
    static const char* SpanPathName(SpanPath path);

    // Makes every row of the edge table idle. SetTarget already does this, and
    // every fill restores the rows it consumes.
    void ResetEdges();

    // Clips a camera-space segment against z = kNearPlane in place; false when
    // nothing of it lies at or beyond the plane (or it is not finite).
    static bool ClipNear(Segment3D& segment);
    // Clips a segment against the target rectangle in place (the endpoints may
    // come back swapped); false, with the segment unchanged, when none of it is inside.
    bool ClipLine(Segment2D& segment) const;

    // Lines include both endpoints. Segments reaching outside the target are
    // clipped first.
    void Line(Segment2D segment, std::uint8_t colour);
    // Writes only where the pick plane holds `key`.
    void LineOnPick(Segment2D segment, std::uint8_t colour, std::int32_t key);
    void Line16(Segment2D segment, std::uint16_t colour);
    // Antialiased: each step blends the stepped pixel and its neighbour along the minor axis.
    void LineSmooth16(Segment2D segment, std::uint16_t colour);

    // Depth-tested fills: a pixel is written (colour, depth and, for the Pick
    // and Texel variants, pick) only where its depth is strictly below the plane.
    void FillFlat(const FillTriangle<FlatVertex>& tri, std::uint8_t colour);
    void FillFlatPick(const FillTriangle<FlatVertex>& tri, std::uint8_t colour, std::int32_t key);
    void FillGouraud(const FillTriangle<GouraudVertex>& tri);
    void FillGouraudPick(const FillTriangle<GouraudVertex>& tri, std::int32_t key);

    // 2D fills of the skin editor: every covered pixel, no depth.
    void FillSolid2D(const FillTriangle<Vertex2D>& tri, std::uint8_t colour);
    void FillShade2D(const FillTriangle<ShadeVertex2D>& tri);
    void FillTexture2D(const FillQuad<TexVertex2D>& quad);
    // Texture steps rounded by half a texel: (delta + 0.5) / n.
    void FillTexture2DSmooth(const FillTriangle<TexVertex2D>& tri);
    // Also writes the texel offset of every pixel into the pick plane.
    void FillTexture2DPick(const FillQuad<TexVertex2D>& quad);
    // The spans FillTexture2D would draw, row by row, instead of drawing
    // them: a caller that can reuse rows draws the same pixels faster.
    void TraceTexture2D(const FillQuad<TexVertex2D>& quad, std::vector<TextureSpan>& spans);

    // Textured fills: Pick writes `key`, Texel the texel offset into the pick plane.
    void FillTexturedPick(const FillTriangle<TexVertex>& tri, std::int32_t key);
    void FillTexturedTexel(const FillTriangle<TexVertex>& tri);
    // Colour = shade table[(s >> 16) x 256 + texel].
    void FillTexGPick(const FillTriangle<TexGVertex>& tri, std::int32_t key);
    void FillTexGTexel(const FillTriangle<TexGVertex>& tri);
    // Colour = shade table[map[(my >> 16) x 256 + (mx >> 16)] x 256 + texel].
    void FillTexPPick(const FillTriangle<TexPVertex>& tri, std::int32_t key);
    void FillTexPTexel(const FillTriangle<TexPVertex>& tri);

    // Map fills: colour = map[(v >> 16) x 256 + (u >> 16)], plus `rampBase` for the Ramp variants.
    void FillMap(const FillTriangle<MapVertex>& tri);
    void FillMapPick(const FillTriangle<MapVertex>& tri, std::int32_t key);
    void FillMapRamp(const FillTriangle<MapVertex>& tri, std::uint8_t rampBase);
    void FillMapRampPick(const FillTriangle<MapVertex>& tri, std::uint8_t rampBase, std::int32_t key);

    int width() const { return width_; }
    int height() const { return height_; }
    int bandFirst() const { return bandFirst_; }
    int bandRows() const { return bandRows_; }
    int xLimit() const { return xLimit_; }
    int yLimit() const { return yLimit_; }
    int textureWidth() const { return textureWidth_; }
    int textureHeight() const { return textureHeight_; }
    // Whether the last edge clipped had its start point moved.
    bool cutFlag() const { return cutFlag_ != 0; }
    std::int32_t firstRow() const { return firstRow_; }
    std::int32_t lastRow() const { return lastRow_; }
    // Edge-table entries of a row inside the target (idle between fills).
    std::int32_t leftEdge(int row) const { return leftEdge_[static_cast<std::size_t>(row)]; }
    std::int32_t rightEdge(int row) const { return rightEdge_[static_cast<std::size_t>(row)]; }
    // True when every row of the edge table is idle.
    bool edgesIdle() const;

private:
    friend class FillEngine;

    // The current texture as the textured fills read it.
    TexelLookup texels() const;

    std::vector<std::int32_t> leftEdge_;
    std::vector<std::int32_t> rightEdge_;
    std::int32_t firstRow_ = kEdgeIdleLeft;
    std::int32_t lastRow_ = kEdgeIdleRight;
    int width_ = 0;
    int height_ = 0;
    int bandFirst_ = 0;
    int bandRows_ = 0;
    int xLimit_ = -1;
    int yLimit_ = -1;
    int cutFlag_ = 0;
    int textureWidth_ = 0;
    int textureHeight_ = 0;
    std::uint8_t* colour_ = nullptr;
    std::uint16_t* colour16_ = nullptr;
    std::uint16_t* depth_ = nullptr;
    std::int32_t* pick_ = nullptr;
    const std::uint8_t* texture_ = nullptr;
    const std::uint8_t* shadeTable_ = nullptr;
    int shadeRows_ = 0;
    // The shade row each map byte selects, capped to the rows the table has:
    // the phong-shaded textured pixel loop then needs neither the cap nor the
    // table's base, which keeps its running values in registers.
    static constexpr std::size_t kMapByteValues = 256;
    std::array<const std::uint8_t*, kMapByteValues> shadeRowOfMapByte_{};
    const std::int32_t* rowOffsets_ = nullptr;
    // The spacing of the texture's rows when it is even, else -1.
    std::int32_t textureRowPitch_ = -1;
    std::size_t textureBytes_ = 0;
    const std::uint8_t* map_ = nullptr;
    // Per-row attribute values at the left and right edge, kMaxFillAttributes per row.
    std::vector<std::int32_t> leftAttrs_;
    std::vector<std::int32_t> rightAttrs_;
};

}  // namespace tarn
