#pragma once
// The primitives of the sixteen-lane spans (AVX-512 F, BW, VL): lane masks are
// mask registers, and every load and store of a plane is masked, so a span's
// last round touches nothing past its last pixel.
//
// Internal to the raster folder; included by fill_sources.h.
#include "raster/wide_span.h"

#if TARN_WIDE_SPANS
namespace tarn::lanes512 {

using Vec = __m512i;
using Mask = __mmask16;
inline constexpr int kLanes = 16;
inline constexpr unsigned kLaneShift = 4;  // log2 of kLanes
inline constexpr Mask kAll = 0xFFFF;

// GCC's plain forms of shifts, minimum and narrowings start from an undefined
// register and draw uninitialized-use warnings once inlined; the zero-masked
// forms with every lane selected compute the same.
TARN_AVX512 inline Vec splat(std::int32_t v) { return _mm512_set1_epi32(v); }
TARN_AVX512 inline Vec zero() { return _mm512_setzero_si512(); }
TARN_AVX512 inline Vec laneIndex() { return _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15); }
TARN_AVX512 inline Vec add(Vec a, Vec b) { return _mm512_add_epi32(a, b); }
TARN_AVX512 inline Vec sub(Vec a, Vec b) { return _mm512_sub_epi32(a, b); }
TARN_AVX512 inline Vec times(Vec a, Vec b) { return _mm512_mullo_epi32(a, b); }
// a x b for lanes holding 0 .. 32767 each.
TARN_AVX512 inline Vec timesShort(Vec a, Vec b) { return _mm512_madd_epi16(a, b); }
TARN_AVX512 inline Vec bitsAnd(Vec a, Vec b) { return _mm512_and_si512(a, b); }
TARN_AVX512 inline Vec shiftLeft(Vec v, unsigned bits) { return _mm512_maskz_slli_epi32(kAll, v, bits); }
TARN_AVX512 inline Vec shiftRight(Vec v, unsigned bits) { return _mm512_maskz_srli_epi32(kAll, v, bits); }
TARN_AVX512 inline Vec shiftRightBy(Vec v, Vec bits) { return _mm512_maskz_srlv_epi32(kAll, v, bits); }
TARN_AVX512 inline Vec unsignedMin(Vec a, Vec b) { return _mm512_maskz_min_epu32(kAll, a, b); }
TARN_AVX512 inline Vec signedMax(Vec a, Vec b) { return _mm512_maskz_max_epi32(kAll, a, b); }
TARN_AVX512 inline bool any(Mask m) { return m != 0; }

// The 32-bit words at base + scale x index for the lanes in `mask` (0 elsewhere).
TARN_AVX512 inline Vec gatherWordsAt(Mask mask, Vec index, const std::int32_t* base) {
    return _mm512_mask_i32gather_epi32(zero(), mask, index, base, 4);
}
TARN_AVX512 inline Vec gatherWordsAtBytes(Mask mask, Vec index, const std::uint8_t* base) {
    return _mm512_mask_i32gather_epi32(zero(), mask, index, base, 1);
}

inline Mask firstLanes(int count) {
    return static_cast<Mask>(count >= kLanes ? 0xFFFFu : (1u << count) - 1);
}

using DepthLanes = DepthLanes16;

// Masked loads and stores stay inside the span.
inline constexpr bool kRoundsReadPastSpan = false;

// Tests the depths z against depth[0 .. left) (at most kLanes), stores the
// nearer ones and returns their lanes.
TARN_AVX512 inline Mask testDepth(std::uint16_t* depth, int left, const DepthLanes& z) {
    const Mask inside = firstLanes(left);
    const __m256i d = z.lanes;
    const __m256i old = _mm256_maskz_loadu_epi16(inside, depth);
    const Mask nearer = _mm256_mask_cmplt_epu16_mask(inside, d, old);
    _mm256_mask_storeu_epi16(depth, nearer, d);
    return nearer;
}
TARN_AVX512 inline void storeColour(std::uint8_t* colour, Mask nearer, Vec c) {
    _mm_mask_storeu_epi8(colour, nearer, _mm512_maskz_cvtepi32_epi8(kAll, c));
}
TARN_AVX512 inline void storePick(std::int32_t* pick, Mask nearer, Vec v) { _mm512_mask_storeu_epi32(pick, nearer, v); }

}  // namespace tarn::lanes512

#define TARN_LANES TARN_AVX512
namespace tarn::lanes512 {
#include "raster/wide_lanes.inc"
}
#undef TARN_LANES
#endif
