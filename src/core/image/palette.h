#pragma once
// A palette: 256 entries in index order, red, green, blue, 0..255 each.
// Palettes are copied, never shared.
#include <array>
#include <cstdint>

namespace tarn {

inline constexpr int kPaletteColors = 256;
using Palette = std::array<std::uint8_t, kPaletteColors * 3>;

// The index whose colour is nearest (least squared RGB distance) to (r, g, b);
// the lowest index wins ties.
int nearestColor(const Palette& palette, int r, int g, int b);

}  // namespace tarn
