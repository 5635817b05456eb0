#pragma once
// Several pixels of a depth-tested span at once: sixteen on x86-64 processors
// with AVX-512 (F, BW, VL), sixteen or eight on those with AVX2. Model spans are short
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
// wide_lanes_avx2_pairs.h, wide_lanes_avx2.h); fill_sources.h stamps them
// out once per lane set.
//
// Internal to the raster folder.
#include <cstddef>
#include <cstdint>
#include <cstring>

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
namespace lanes256x2 {
template <class Rows, class Rule> TARN_AVX2 void spans(Rows& rows, const Rule& rule);
}
// A span's depths, sixteen 16-bit lanes (the AVX-512 spans and the AVX2
// pairs). The planes keep the low 16 bits of the 32-bit running depth, and
// the low 16 bits of a sum or product depend only on the low 16 bits of its
// terms, so stepping in 16 bits gives the same depths without narrowing
// every round.
struct DepthLanes16 {
    __m256i lanes;
    __m256i step;  // sixteen pixels' worth
    TARN_AVX2 DepthLanes16(std::int32_t zl, std::int32_t zStep) {
        const __m256i perPixel = _mm256_set1_epi16(static_cast<short>(zStep));
        lanes = _mm256_add_epi16(
            _mm256_set1_epi16(static_cast<short>(zl)),
            _mm256_mullo_epi16(_mm256_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15), perPixel));
        step = _mm256_slli_epi16(perPixel, 4);
    }
    TARN_AVX2 void advance() { lanes = _mm256_add_epi16(lanes, step); }
};

// On AVX2, sources of at most this many attributes take pairs of registers
// (lanes256x2): their running values and steps still fit the sixteen
// registers. Sources of more, which also gather two or three times a pixel,
// are faster eight lanes at a time.
inline constexpr int kPairedAttributes = 2;

// Lane sets without masked 16-bit and byte stores read and write the planes
// `Lanes` elements at a time. Where the plane holds that many more elements,
// a round works on the plane itself; where it ends sooner, on a copy of the
// `left` elements there, written back when the round ends.
template <class T, int Lanes>
struct PlaneWindow {
    T* at;
    T* plane;
    std::size_t bytes = 0;
    T copy[Lanes] = {};
    PlaneWindow(T* start, int left, std::size_t room) : at(start), plane(start) {
        if (room >= static_cast<std::size_t>(Lanes)) return;
        bytes = static_cast<std::size_t>(left) * sizeof(T);
        std::memcpy(copy, start, bytes);
        at = copy;
    }
    ~PlaneWindow() {
        if (bytes != 0) std::memcpy(plane, copy, bytes);
    }
    PlaneWindow(const PlaneWindow&) = delete;
    PlaneWindow& operator=(const PlaneWindow&) = delete;
};
#endif

}  // namespace tarn
