#pragma once
// The primitives of the eight-lane spans on AVX2, for sources of more
// attributes than kPairedAttributes. Lane masks are vectors of
// all-ones lanes. AVX2 has masked 32-bit stores and gathers but no masked
// byte or 16-bit loads and stores, so the depth and colour planes are read,
// blended and written back eight elements at a time; lanes past the span
// write back what they read. Where fewer than eight elements remain in the
// plane, the round goes through a small buffer instead, so nothing outside
// the plane is ever read or written.
//
// Internal to the raster folder; included by fill_sources.h.
#include <algorithm>

#include "raster/wide_span.h"

#if TARN_WIDE_SPANS
namespace tarn::lanes256 {

using Vec = __m256i;
using Mask = __m256i;
inline constexpr int kLanes = 8;
inline constexpr unsigned kLaneShift = 3;  // log2 of kLanes

TARN_AVX2 inline Vec splat(std::int32_t v) { return _mm256_set1_epi32(v); }
TARN_AVX2 inline Vec zero() { return _mm256_setzero_si256(); }
TARN_AVX2 inline Vec laneIndex() { return _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7); }
TARN_AVX2 inline Vec add(Vec a, Vec b) { return _mm256_add_epi32(a, b); }
TARN_AVX2 inline Vec sub(Vec a, Vec b) { return _mm256_sub_epi32(a, b); }
TARN_AVX2 inline Vec times(Vec a, Vec b) { return _mm256_mullo_epi32(a, b); }
// a x b for lanes holding 0 .. 32767 each.
TARN_AVX2 inline Vec timesShort(Vec a, Vec b) { return _mm256_madd_epi16(a, b); }
TARN_AVX2 inline Vec bitsAnd(Vec a, Vec b) { return _mm256_and_si256(a, b); }
TARN_AVX2 inline Vec shiftLeft(Vec v, unsigned bits) { return _mm256_sll_epi32(v, _mm_cvtsi32_si128(static_cast<int>(bits))); }
TARN_AVX2 inline Vec shiftRight(Vec v, unsigned bits) { return _mm256_srl_epi32(v, _mm_cvtsi32_si128(static_cast<int>(bits))); }
TARN_AVX2 inline Vec shiftRightBy(Vec v, Vec bits) { return _mm256_srlv_epi32(v, bits); }
TARN_AVX2 inline Vec unsignedMin(Vec a, Vec b) { return _mm256_min_epu32(a, b); }
TARN_AVX2 inline Vec signedMax(Vec a, Vec b) { return _mm256_max_epi32(a, b); }
TARN_AVX2 inline bool any(Mask m) { return _mm256_testz_si256(m, m) == 0; }

TARN_AVX2 inline Vec gatherWordsAt(Mask mask, Vec index, const std::int32_t* base) {
    return _mm256_mask_i32gather_epi32(zero(), reinterpret_cast<const int*>(base), index, mask, 4);
}
TARN_AVX2 inline Vec gatherWordsAtBytes(Mask mask, Vec index, const std::uint8_t* base) {
    return _mm256_mask_i32gather_epi32(zero(), reinterpret_cast<const int*>(base), index, mask, 1);
}

// The low 16 bits of each lane, in order.
TARN_AVX2 inline __m128i lowHalves(Vec v) {
    const Vec low = _mm256_and_si256(v, _mm256_set1_epi32(0xFFFF));
    return _mm_packus_epi32(_mm256_castsi256_si128(low), _mm256_extracti128_si256(low, 1));
}
// Lanes [0, left) of eight 16-bit lanes.
TARN_AVX2 inline __m128i firstHalves(int left) {
    return _mm_cmpgt_epi16(_mm_set1_epi16(static_cast<short>(std::min(left, kLanes))),
                           _mm_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7));
}

// A span's depths, eight 16-bit lanes. The planes keep the low 16 bits of the
// 32-bit running depth, and the low 16 bits of a sum or product depend only
// on the low 16 bits of its terms, so stepping in 16 bits gives the same
// depths without narrowing every round.
struct DepthLanes {
    __m128i lanes;
    __m128i step;  // kLanes pixels' worth
    TARN_AVX2 DepthLanes(std::int32_t zl, std::int32_t zStep) {
        const __m128i perPixel = _mm_set1_epi16(static_cast<short>(zStep));
        lanes = _mm_add_epi16(_mm_set1_epi16(static_cast<short>(zl)),
                              _mm_mullo_epi16(_mm_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7), perPixel));
        step = _mm_slli_epi16(perPixel, kLaneShift);
    }
    TARN_AVX2 void advance() { lanes = _mm_add_epi16(lanes, step); }
};

// Whether a round may have to work on a copy: the planes are read and
// written eight elements at a time.
inline constexpr bool kRoundsReadPastSpan = true;

// Tests the depths z against depth[0 .. left), stores the nearer ones and
// returns their lanes. Eight elements are read and written back; the span
// loop makes sure they are there (kRoundsReadPastSpan).
TARN_AVX2 inline Mask testDepth(std::uint16_t* depth, int left, const DepthLanes& z) {
    const __m128i d = z.lanes;
    const __m128i old = _mm_loadu_si128(reinterpret_cast<const __m128i*>(depth));
    // d < old, unsigned: max(d, old) is not d.
    const __m128i nearer = _mm_andnot_si128(_mm_cmpeq_epi16(_mm_max_epu16(d, old), d), firstHalves(left));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(depth), _mm_blendv_epi8(old, d, nearer));
    return _mm256_cvtepi16_epi32(nearer);
}
TARN_AVX2 inline void storeColour(std::uint8_t* colour, Mask nearer, Vec c) {
    const __m128i halves = lowHalves(_mm256_and_si256(c, _mm256_set1_epi32(0xFF)));
    const __m128i bytes = _mm_packus_epi16(halves, halves);
    const __m128i laneHalves = _mm_packs_epi32(_mm256_castsi256_si128(nearer), _mm256_extracti128_si256(nearer, 1));
    const __m128i laneBytes = _mm_packs_epi16(laneHalves, laneHalves);
    const __m128i old = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(colour));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(colour), _mm_blendv_epi8(old, bytes, laneBytes));
}
TARN_AVX2 inline void storePick(std::int32_t* pick, Mask nearer, Vec v) {
    _mm256_maskstore_epi32(reinterpret_cast<int*>(pick), nearer, v);
}

}  // namespace tarn::lanes256

#define TARN_LANES TARN_AVX2
namespace tarn::lanes256 {
#include "raster/wide_lanes.inc"
}
#undef TARN_LANES
#endif
