#pragma once
// Sixteen pixels of a depth-tested span at once, on x86-64 processors with
// AVX-512 (F, BW, VL). Model spans are short (10 to 20 pixels on average), so
// one pixel at a time pays a mispredicted loop exit on almost every row and
// several instructions per pixel; sixteen lanes with masked loads, stores and
// gathers do most spans in one round. Every lane computes what the one-pixel
// loop would: start + i x step wraps exactly as i running additions, and the
// depth test and the stores are per lane, so the planes come out bit for bit
// the same. The code is compiled for the wider instruction set function by
// function and chosen at run time, so the program still runs everywhere.
//
// Internal to the raster folder.
#include <array>
#include <cstddef>
#include <cstdint>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define TARN_WIDE_SPANS 1
#include <immintrin.h>
#define TARN_WIDE __attribute__((target("avx512f,avx512bw,avx512vl")))
#else
#define TARN_WIDE_SPANS 0
#endif

namespace tarn {

// Whether the fills take the wide path now (see Rasterizer::SetWideSpans).
extern bool g_wideSpansOn;

#if TARN_WIDE_SPANS

inline constexpr int kWideLanes = 16;
// The smallest texture, map or colormap the wide spans read (gatherBytes).
inline constexpr std::size_t kWideSourceBytes = 4;
inline constexpr __mmask16 kAllLanes = 0xFFFF;

// Lane-wise shifts, minimum and narrowings. GCC's plain forms of these start from an
// undefined register and draw uninitialized-use warnings once inlined; the
// zero-masked forms with every lane selected compute the same.
TARN_WIDE inline __m512i shiftLeft(__m512i v, unsigned bits) { return _mm512_maskz_slli_epi32(kAllLanes, v, bits); }
TARN_WIDE inline __m512i shiftRight(__m512i v, unsigned bits) { return _mm512_maskz_srli_epi32(kAllLanes, v, bits); }
TARN_WIDE inline __m512i shiftRightBy(__m512i v, __m512i bits) { return _mm512_maskz_srlv_epi32(kAllLanes, v, bits); }
TARN_WIDE inline __m256i lowHalves(__m512i v) { return _mm512_maskz_cvtepi32_epi16(kAllLanes, v); }
TARN_WIDE inline __m512i unsignedMin(__m512i a, __m512i b) { return _mm512_maskz_min_epu32(kAllLanes, a, b); }
TARN_WIDE inline __m128i lowBytes(__m512i v) { return _mm512_maskz_cvtepi32_epi8(kAllLanes, v); }

// The span's running attributes, one lane per pixel.
template <int L>
struct WideValues {
    __m512i lanes[L > 0 ? L : 1];
    __m512i steps[L > 0 ? L : 1];  // sixteen pixels' worth

    TARN_WIDE WideValues(const std::array<std::uint32_t, L>& values, const std::array<std::uint32_t, L>& perPixel) {
        const __m512i index = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
        for (int k = 0; k < L; ++k) {
            const __m512i step = _mm512_set1_epi32(static_cast<int>(perPixel[static_cast<std::size_t>(k)]));
            lanes[k] = _mm512_add_epi32(_mm512_set1_epi32(static_cast<int>(values[static_cast<std::size_t>(k)])),
                                        _mm512_mullo_epi32(index, step));
            steps[k] = shiftLeft(step, 4);
        }
    }
    TARN_WIDE __m512i whole(int k) const { return shiftRight(lanes[k], 16); }
    TARN_WIDE void advance() {
        for (int k = 0; k < L; ++k) lanes[k] = _mm512_add_epi32(lanes[k], steps[k]);
    }
};

// The bytes at base[index] for the lanes in `mask` (0 elsewhere). There is no
// byte gather, so each lane reads a 32-bit word holding its byte: the word
// ending at the byte, or for the first three bytes the word starting the
// source. Either lies inside a source of at least kWideSourceBytes, so
// nothing outside it is read; masked-off lanes read nothing. Indices are
// below 2^31.
TARN_WIDE inline __m512i gatherBytes(__mmask16 mask, __m512i index, const std::uint8_t* base) {
    const __m512i start = _mm512_maskz_max_epi32(kAllLanes, _mm512_sub_epi32(index, _mm512_set1_epi32(3)),
                                                 _mm512_setzero_si512());
    const __m512i words = _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), mask, start, base, 1);
    const __m512i shift = shiftLeft(_mm512_sub_epi32(index, start), 3);
    return _mm512_and_si512(shiftRightBy(words, shift), _mm512_set1_epi32(0xFF));
}

// The 32-bit values at base[index] for the lanes in `mask` (0 elsewhere).
TARN_WIDE inline __m512i gatherWords(__mmask16 mask, __m512i index, const std::int32_t* base) {
    return _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), mask, index, base, 4);
}

#endif

}  // namespace tarn
