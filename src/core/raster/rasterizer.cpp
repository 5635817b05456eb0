#include "raster/rasterizer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "raster/frame_buffer.h"
#include "raster/wide_span.h"

namespace tarn {

namespace {
SpanPath bestSpanPath() {
#if TARN_WIDE_SPANS
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl"))
        return SpanPath::Avx512;
    if (__builtin_cpu_supports("avx2")) return SpanPath::Avx2;
#endif
    return SpanPath::Scalar;
}
const SpanPath kBestSpanPath = bestSpanPath();

SpanPath takeablePath(SpanPath wanted) { return std::min(wanted, kBestSpanPath); }

// TARN_SPANS chooses the path for measuring and testing; a path this
// processor lacks falls back to the best it has, and says so once.
SpanPath startingSpanPath() {
    const char* asked = std::getenv("TARN_SPANS");
    if (asked == nullptr || *asked == '\0') return kBestSpanPath;
    for (SpanPath p : {SpanPath::Scalar, SpanPath::Avx2, SpanPath::Avx512}) {
        if (std::strcmp(asked, Rasterizer::SpanPathName(p)) != 0) continue;
        const SpanPath taken = takeablePath(p);
        if (taken != p)
            std::fprintf(stderr, "TARN_SPANS=%s: this processor lacks it; using %s\n", asked,
                         Rasterizer::SpanPathName(taken));
        return taken;
    }
    std::fprintf(stderr, "TARN_SPANS=%s is not scalar, avx2 or avx512; using %s\n", asked,
                 Rasterizer::SpanPathName(kBestSpanPath));
    return kBestSpanPath;
}
}  // namespace

SpanPath g_spanPath = startingSpanPath();

SpanPath Rasterizer::Spans() { return g_spanPath; }
SpanPath Rasterizer::BestSpans() { return kBestSpanPath; }
SpanPath Rasterizer::SetSpans(SpanPath wanted) { return g_spanPath = takeablePath(wanted); }
const char* Rasterizer::SpanPathName(SpanPath path) {
    switch (path) {
        case SpanPath::Avx512: return "avx512";
        case SpanPath::Avx2: return "avx2";
        case SpanPath::Scalar: break;
    }
    return "scalar";
}

Rasterizer::Rasterizer() = default;
Rasterizer::~Rasterizer() = default;

bool Rasterizer::SetTarget(const RasterTarget& target) {
    const int bandRows = target.bandRows == 0 ? target.height : target.bandRows;
    const bool whole = target.bandFirst == 0 && bandRows == target.height;
    const bool usable = target.width >= 0 && target.height >= 0 && target.width <= kMaxTargetSide &&
                        target.height <= kMaxTargetSide && target.bandFirst >= 0 && bandRows >= 0 &&
                        target.bandFirst <= target.height - bandRows && (whole || target.colour16 == nullptr);
    const RasterTarget t = usable ? target : RasterTarget{};
    colour_ = t.colour;
    colour16_ = t.colour16;
    depth_ = t.depth;
    pick_ = t.pick;
    width_ = t.width;
    height_ = t.height;
    bandFirst_ = t.bandFirst;
    bandRows_ = usable ? bandRows : 0;
    xLimit_ = width_ - 1;
    yLimit_ = height_ - 1;
    // The per-row tables follow the tallest target seen, so no target can have
    // a row they do not hold.
    const std::size_t rows = static_cast<std::size_t>(height_);
    if (leftEdge_.size() < rows) {
        leftEdge_.resize(rows, kEdgeIdleLeft);
        rightEdge_.resize(rows, kEdgeIdleRight);
        leftAttrs_.resize(rows * kMaxFillAttributes);
        rightAttrs_.resize(rows * kMaxFillAttributes);
    }
    ResetEdges();
    return usable;
}

bool Rasterizer::SetTarget(FrameBuffer& frame) {
    return SetTarget(RasterTarget{frame.colour(), nullptr, frame.depth(), frame.pick(), frame.width(), frame.height()});
}

bool Rasterizer::SetTexture(std::span<const std::uint8_t> texels, int width, int height,
                            std::span<const std::int32_t> rowOffsets) {
    texture_ = nullptr;
    rowOffsets_ = nullptr;
    textureRowPitch_ = -1;
    textureBytes_ = 0;
    textureWidth_ = 0;
    textureHeight_ = 0;
    if (width <= 0 || height <= 0 || width > kMaxTargetSide || height > kMaxTargetSide ||
        rowOffsets.size() < static_cast<std::size_t>(height))
        return false;
    const bool rowsInside = std::all_of(rowOffsets.begin(), rowOffsets.begin() + height, [&](std::int32_t offset) {
        return offset >= 0 && static_cast<std::size_t>(offset) + static_cast<std::size_t>(width) <= texels.size();
    });
    if (!rowsInside) return false;
    texture_ = texels.data();
    rowOffsets_ = rowOffsets.data();
    textureBytes_ = texels.size();
    const std::int64_t pitch = height > 1 ? std::int64_t{rowOffsets[1]} - rowOffsets[0] : 0;
    bool even = pitch >= 0;
    for (int row = 0; even && row < height; ++row)
        even = rowOffsets[static_cast<std::size_t>(row)] == rowOffsets[0] + row * pitch;
    // The wide spans multiply row numbers by the pitch in 16-bit halves.
    textureRowPitch_ = even && pitch <= INT16_MAX ? static_cast<std::int32_t>(pitch) : -1;
    textureWidth_ = width;
    textureHeight_ = height;
    return true;
}

void Rasterizer::SetShadeTable(std::span<const std::uint8_t> table) {
    const std::size_t rows = std::min<std::size_t>(table.size() / kShadeRowBytes, kMaxTargetSide);
    shadeTable_ = rows > 0 ? table.data() : nullptr;
    shadeRows_ = static_cast<int>(rows);
    for (std::size_t b = 0; b < shadeRowOfMapByte_.size(); ++b)
        shadeRowOfMapByte_[b] = rows > 0 ? shadeTable_ + std::min(b, rows - 1) * kShadeRowBytes : nullptr;
}

void Rasterizer::SetMap(std::span<const std::uint8_t> map) {
    map_ = map.size() >= static_cast<std::size_t>(kMapSide) * kMapSide ? map.data() : nullptr;
}

void Rasterizer::ResetEdges() {
    const auto rows = static_cast<std::ptrdiff_t>(height_);
    std::fill(leftEdge_.begin(), leftEdge_.begin() + rows, kEdgeIdleLeft);
    std::fill(rightEdge_.begin(), rightEdge_.begin() + rows, kEdgeIdleRight);
    firstRow_ = kEdgeIdleLeft;
    lastRow_ = kEdgeIdleRight;
}

bool Rasterizer::edgesIdle() const {
    return firstRow_ == kEdgeIdleLeft && lastRow_ == kEdgeIdleRight &&
           std::all_of(leftEdge_.begin(), leftEdge_.end(), [](std::int32_t x) { return x == kEdgeIdleLeft; }) &&
           std::all_of(rightEdge_.begin(), rightEdge_.end(), [](std::int32_t x) { return x == kEdgeIdleRight; });
}

}  // namespace tarn
