#pragma once
// Several pixels of a depth-tested span at once: sixteen on x86-64 processors
// with AVX-512 (F, BW, VL), eight on those with AVX2. Model spans are short
// (10 to 20 pixels on average), so one pixel at a time pays a mispredicted
// loop exit on almost every row and several instructions per pixel; lanes
// with masked loads, stores and gathers do most spans in one or two rounds.
// Every lane computes what the one-pixel loop would: start + i x step wraps
// exactly as i running additions, and the depth test and the stores are per
// lane, so the planes come out bit for bit the same. Each lane set is compiled
// for its instruction set function by function and chosen at run time, so the
// program still runs everywhere.
//
// The span loop and the colour rules are written once (wide_lanes.inc) against
// a few primitives that each lane set provides (wide_lanes_avx512.h,
// wide_lanes_avx2.h); fill_sources.h stamps them out once per lane set.
//
// Internal to the raster folder.
#include <cstddef>
#include <cstdint>

#include "raster/rasterizer.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define TARN_WIDE_SPANS 1
#include <immintrin.h>
#define TARN_AVX512 __attribute__((target("avx512f,avx512bw,avx512vl")))
#define TARN_AVX2 __attribute__((target("avx2")))
#else
#define TARN_WIDE_SPANS 0
#endif

namespace tarn {

// The path the depth-tested fills take now (see Rasterizer::SetSpanPath).
extern SpanPath g_spanPath;

// The smallest texture, map or colormap the wide spans read (gatherBytes).
inline constexpr std::size_t kWideSourceBytes = 4;

#if TARN_WIDE_SPANS
// Fills every recorded row of `rows` (FillEngine::SpanRows) with `rule`.
namespace lanes512 {
template <class Rows, class Rule> TARN_AVX512 void spans(Rows& rows, const Rule& rule);
}
namespace lanes256 {
template <class Rows, class Rule> TARN_AVX2 void spans(Rows& rows, const Rule& rule);
}
#endif

}  // namespace tarn
