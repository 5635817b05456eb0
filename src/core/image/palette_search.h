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
    // A cell's candidates are worked out the first time a colour falls in it,
    // so a search costs only for the part of the cube it is used in.
    int nearest(double r, double g, double b);
    // The same for a colour of whole levels, each 0..255, in integer steps.
    int nearestLevel(int r, int g, int b);

    // 16 cells per channel of 16 levels each: a cell leaves a handful of
    // candidates even where a palette crowds one line of the cube, as a grey
    // ramp does for every saturated colour.
    static constexpr int kCellShift = 4;
    static constexpr int kCellsPerSide = 256 >> kCellShift;
    static constexpr int kCellCount = kCellsPerSide * kCellsPerSide * kCellsPerSide;

    // The candidates of the cell holding (r, g, b), for measuring the table.
    std::size_t candidatesAt(int r, int g, int b);

private:
    struct Cell {
        std::uint32_t first = 0;
        std::uint16_t count = 0;
        bool built = false;
    };
    const Cell& cellAt(int r, int g, int b);

    Palette palette_;
    std::vector<Cell> cells_;
    // Candidates of each built cell, in index order: candidates_[first .. first + count).
    std::vector<std::uint8_t> candidates_;
};

}  // namespace tarn
