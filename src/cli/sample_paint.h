#pragma once
// Small tools the sample painters share: a steady grain, stripes, stencils.
#include <cstdint>
#include <string>

#include "sample_palette.h"

namespace tarn::cli::sample {

// A repeatable pseudo-random value 0..255 for a pixel.
int hash(int x, int y, int seed);
// Surface grain: -1, 0 or +1 shade, mostly 0.
int grain(int x, int y, int seed);
// Yellow and black warning stripes running diagonally.
std::uint8_t hazard(int x, int y);
// True when (x, y) lies on the glyphs of `text` drawn in a 3 x 5 stencil font
// scaled by `scale`, its top-left corner at (left, top). Knows "0-9", "T",
// "A", "R", "N" and "-".
bool stencil(const std::string& text, int left, int top, int scale, int x, int y);

// Position inside an island as fractions, 0 at the first and 1 at the last pixel.
inline float fraction(int p, int size) { return size > 1 ? static_cast<float>(p) / static_cast<float>(size - 1) : 0.0f; }

}  // namespace tarn::cli::sample
