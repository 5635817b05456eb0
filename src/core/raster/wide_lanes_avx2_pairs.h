#pragma once
// The primitives of the sixteen-lane spans on AVX2, for sources of few
// attributes (kPairedAttributes): each value is a pair of eight-lane
// registers, so a round covers as many pixels as an AVX-512 one.
// Model spans are short, and the cost of a round is mostly its fixed part
// (the depth test and the plane stores, a mispredicted exit per span), which
// a pair pays once for sixteen pixels: the depths are one register of
// sixteen 16-bit lanes, the colours one of sixteen bytes.
//
// AVX2 has masked 32-bit stores and gathers but no masked byte or 16-bit
// loads and stores, so the depth and colour planes are read, blended and
// written back sixteen elements at a time; lanes past the span write back
// what they read. Where fewer than sixteen elements remain in the plane, the
// round goes through a small buffer instead, so nothing outside the plane is
// ever read or written.
//
// Internal to the raster folder; included by fill_sources.h.
#include <algorithm>

#include "raster/wide_span.h"

#if TARN_WIDE_SPANS
namespace tarn::lanes256x2 {

// Lanes 0-7 in `lo`, 8-15 in `hi`.
struct Vec {
    __m256i lo, hi;
};
// The lanes of a round, as the gathers and the pick store want them (all-ones
// 32-bit lanes) and as the colour store wants them (all-ones bytes).
struct Mask {
    Vec wide;
    __m128i bytes;
};
inline constexpr int kLanes = 16;
inline constexpr unsigned kLaneShift = 4;  // log2 of kLanes

TARN_AVX2 inline Vec splat(std::int32_t v) { return {_mm256_set1_epi32(v), _mm256_set1_epi32(v)}; }
TARN_AVX2 inline Vec zero() { return {_mm256_setzero_si256(), _mm256_setzero_si256()}; }
TARN_AVX2 inline Vec laneIndex() {
    return {_mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7), _mm256_setr_epi32(8, 9, 10, 11, 12, 13, 14, 15)};
}
TARN_AVX2 inline Vec add(Vec a, Vec b) { return {_mm256_add_epi32(a.lo, b.lo), _mm256_add_epi32(a.hi, b.hi)}; }
TARN_AVX2 inline Vec sub(Vec a, Vec b) { return {_mm256_sub_epi32(a.lo, b.lo), _mm256_sub_epi32(a.hi, b.hi)}; }
TARN_AVX2 inline Vec times(Vec a, Vec b) { return {_mm256_mullo_epi32(a.lo, b.lo), _mm256_mullo_epi32(a.hi, b.hi)}; }
// a x b for lanes holding 0 .. 32767 each.
TARN_AVX2 inline Vec timesShort(Vec a, Vec b) { return {_mm256_madd_epi16(a.lo, b.lo), _mm256_madd_epi16(a.hi, b.hi)}; }
TARN_AVX2 inline Vec bitsAnd(Vec a, Vec b) { return {_mm256_and_si256(a.lo, b.lo), _mm256_and_si256(a.hi, b.hi)}; }
TARN_AVX2 inline Vec shiftLeft(Vec v, unsigned bits) {
    const __m128i count = _mm_cvtsi32_si128(static_cast<int>(bits));
    return {_mm256_sll_epi32(v.lo, count), _mm256_sll_epi32(v.hi, count)};
}
TARN_AVX2 inline Vec shiftRight(Vec v, unsigned bits) {
    const __m128i count = _mm_cvtsi32_si128(static_cast<int>(bits));
    return {_mm256_srl_epi32(v.lo, count), _mm256_srl_epi32(v.hi, count)};
}
TARN_AVX2 inline Vec shiftRightBy(Vec v, Vec bits) {
    return {_mm256_srlv_epi32(v.lo, bits.lo), _mm256_srlv_epi32(v.hi, bits.hi)};
}
TARN_AVX2 inline Vec unsignedMin(Vec a, Vec b) { return {_mm256_min_epu32(a.lo, b.lo), _mm256_min_epu32(a.hi, b.hi)}; }
TARN_AVX2 inline Vec signedMax(Vec a, Vec b) { return {_mm256_max_epi32(a.lo, b.lo), _mm256_max_epi32(a.hi, b.hi)}; }
TARN_AVX2 inline bool any(const Mask& m) { return _mm_testz_si128(m.bytes, m.bytes) == 0; }

TARN_AVX2 inline Vec gatherWordsAt(const Mask& mask, Vec index, const std::int32_t* base) {
    const auto* words = reinterpret_cast<const int*>(base);
    return {_mm256_mask_i32gather_epi32(_mm256_setzero_si256(), words, index.lo, mask.wide.lo, 4),
            _mm256_mask_i32gather_epi32(_mm256_setzero_si256(), words, index.hi, mask.wide.hi, 4)};
}
TARN_AVX2 inline Vec gatherWordsAtBytes(const Mask& mask, Vec index, const std::uint8_t* base) {
    const auto* words = reinterpret_cast<const int*>(base);
    return {_mm256_mask_i32gather_epi32(_mm256_setzero_si256(), words, index.lo, mask.wide.lo, 1),
            _mm256_mask_i32gather_epi32(_mm256_setzero_si256(), words, index.hi, mask.wide.hi, 1)};
}

// Lanes [0, left) of sixteen 16-bit lanes: sixteen elements of this
// window, starting 16 - left elements in.
alignas(64) inline constexpr std::int16_t kLeadingLanes[2 * kLanes] = {
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
TARN_AVX2 inline __m256i firstHalves(int left) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kLeadingLanes + kLanes - std::min(left, kLanes)));
}

using DepthLanes = DepthLanes16;

// Rounds read and write sixteen plane elements, past the span's end too.
inline constexpr bool kRoundsReadPastSpan = true;

// As the eight-lane set's testDepth, sixteen elements at a time.
TARN_AVX2 inline Mask testDepth(std::uint16_t* depth, int left, const DepthLanes& z) {
    const __m256i d = z.lanes;
    const __m256i old = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(depth));
    // d < old, unsigned: max(d, old) is not d.
    const __m256i nearer = _mm256_andnot_si256(_mm256_cmpeq_epi16(_mm256_max_epu16(d, old), d), firstHalves(left));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(depth), _mm256_blendv_epi8(old, d, nearer));
    const __m128i low = _mm256_castsi256_si128(nearer);
    const __m128i high = _mm256_extracti128_si256(nearer, 1);
    return {{_mm256_cvtepi16_epi32(low), _mm256_cvtepi16_epi32(high)}, _mm_packs_epi16(low, high)};
}
// Colours are palette indices: only the low byte of each lane is stored.
TARN_AVX2 inline void storeColour(std::uint8_t* colour, const Mask& nearer, Vec c) {
    // Byte 0 of each 32-bit lane: `lo`'s to bytes 0-3 and `hi`'s to bytes
    // 4-7 of each half, whose 32-bit groups the permutation puts in order.
    const __m256i toFirst = _mm256_setr_epi8(0, 4, 8, 12, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0, 4, 8,
                                             12, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    const __m256i toSecond = _mm256_setr_epi8(-1, -1, -1, -1, 0, 4, 8, 12, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                                              -1, -1, 0, 4, 8, 12, -1, -1, -1, -1, -1, -1, -1, -1);
    const __m256i both = _mm256_or_si256(_mm256_shuffle_epi8(c.lo, toFirst), _mm256_shuffle_epi8(c.hi, toSecond));
    const __m128i bytes =
        _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(both, _mm256_setr_epi32(0, 4, 1, 5, 2, 3, 6, 7)));
    const __m128i old = _mm_loadu_si128(reinterpret_cast<const __m128i*>(colour));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(colour), _mm_blendv_epi8(old, bytes, nearer.bytes));
}
TARN_AVX2 inline void storePick(std::int32_t* pick, const Mask& nearer, Vec v) {
    _mm256_maskstore_epi32(reinterpret_cast<int*>(pick), nearer.wide.lo, v.lo);
    _mm256_maskstore_epi32(reinterpret_cast<int*>(pick) + 8, nearer.wide.hi, v.hi);
}

}  // namespace tarn::lanes256x2

#define TARN_LANES TARN_AVX2
namespace tarn::lanes256x2 {
#include "raster/wide_lanes.inc"
}
#undef TARN_LANES
#endif
