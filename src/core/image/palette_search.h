#pragma once
// The nearest colour of a palette to a real-valued RGB colour (0..255 scale):
// least squared distance, the lowest index on ties. The skin effects ask for
// it once per covered pixel, so beside the plain search of all 256 entries
// there is one that looks only at the entries that can win in the colour's
// part of the RGB cube, with the same answer every time.
#include <array>
#include <cstdint>
#include <vector>

#include "image/palette.h"

namespace tarn {

int nearestColorPlain(const Palette& palette, double r, double g, double b);

class PaletteSearch {
public:
    explicit PaletteSearch(const Palette& palette);
    int nearest(double r, double g, double b) const;

    // 8 cells per channel of 32 levels each: few enough that the table costs
    // a few hundred thousand steps to build, small enough that a cell usually
    // leaves a handful of candidates.
    static constexpr int kCellShift = 5;
    static constexpr int kCellsPerSide = 256 >> kCellShift;
    static constexpr int kCellCount = kCellsPerSide * kCellsPerSide * kCellsPerSide;

    // The candidates of the cell holding (r, g, b), for measuring the table.
    std::size_t candidatesAt(int r, int g, int b) const;

private:
    Palette palette_;
    // Candidates of cell k, in index order: candidates_[cellStart_[k] .. cellStart_[k + 1]).
    std::array<std::uint32_t, kCellCount + 1> cellStart_{};
    std::vector<std::uint8_t> candidates_;
};

}  // namespace tarn
