#pragma once
// What a texel the brush reaches becomes: the paint colour by the paint rule
// (Paint), one step lighter or darker along its palette row's ramp (Shade),
// or an ordered pattern of the paint colour and colour slot 2 (Dither).
#include <array>
#include <cstdint>

#include "image/palette.h"

namespace tarn {

enum class Ink : int { Paint = 0, Shade = 1, Dither = 2 };

// For each index, the next lighter and the next darker entry of its palette
// row of 16, the row's entries ordered by brightness (as Quake palettes lay
// out their ramps); an index at the end of its ramp stays.
struct ShadeSteps {
    std::array<std::uint8_t, kPaletteColors> lighter{};
    std::array<std::uint8_t, kPaletteColors> darker{};
    static ShadeSteps identity();
};
ShadeSteps computeShadeSteps(const Palette& palette);

// Whether the ordered pattern of `size` (2 or 4) puts the paint colour at
// texel (x, y) of the skin; the rest takes colour slot 2. Aligned to the
// skin's grid, so strokes meet without seams.
bool ditherTakesPaint(int x, int y, int size);

}  // namespace tarn
