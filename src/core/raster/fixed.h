#pragma once
// Fixed-point conventions of the rasterizer: pixel attributes are 16.16
// values (16 fraction bits); depth is kept as whole 16-bit depth units.
#include <cstdint>

namespace tarn {

using Fixed16 = std::int32_t;  // 16.16: integer part in the high 16 bits

inline constexpr int kFixed16Shift = 16;
inline constexpr Fixed16 kFixed16One = 1 << kFixed16Shift;
inline constexpr Fixed16 kFixed16Half = kFixed16One / 2;
// The largest fraction: a 16.16 value whose integer part is k lies in
// [k << 16, (k << 16) + kFixed16Fraction].
inline constexpr Fixed16 kFixed16Fraction = kFixed16One - 1;

inline constexpr Fixed16 toFixed16(int whole) {
    return static_cast<Fixed16>(static_cast<std::uint32_t>(whole) << kFixed16Shift);
}

}  // namespace tarn
