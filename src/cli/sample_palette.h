#pragma once
// The palette of TARN's sample content: sixteen ramps of sixteen shades, so a
// painter picks a colour by ramp and brightness. The greys run from black at
// 0 to white at 15 and every other ramp runs from its brightest shade down,
// which puts bright, distinct colours at the indices the default colour slots
// name (64 model shading, 128 selection, 192 drag, 248 paint).
#include <cstdint>

#include "image/palette.h"
#include "platform/fs.h"

namespace tarn::cli::sample {

enum Ramp : int {
    kGrey, kSteel, kNavy, kBlue, kOrange, kCyan, kTeal, kGreen,
    kYellow, kOlive, kTan, kBrown, kRed, kCream, kPurple, kCrimson,
};
inline constexpr int kShades = 16;
inline constexpr int kBrightest = kShades - 1;

// Palette index of `shade` (clamped to 0..15) in `ramp`.
std::uint8_t colorIndex(Ramp ramp, int shade);

Palette samplePalette();

// The colormap of a palette: 256 columns (palette indices) by 64 light rows,
// row 0 twice as bright as the palette, row 31 about the palette itself and
// row 63 black, each entry the nearest palette colour.
inline constexpr int kColormapRows = 64;
Bytes buildColormap(const Palette& palette);

}  // namespace tarn::cli::sample
