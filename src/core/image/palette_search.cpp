#include "image/palette_search.h"

#include <algorithm>
#include <limits>

namespace tarn {

namespace {

constexpr int kCellSide = 1 << PaletteSearch::kCellShift;
constexpr int kChannelLevels = 256;

double channel(const Palette& p, int index, int c) { return p[static_cast<std::size_t>(index * 3 + c)]; }

double distance(const Palette& p, int index, double r, double g, double b) {
    const double dr = channel(p, index, 0) - r;
    const double dg = channel(p, index, 1) - g;
    const double db = channel(p, index, 2) - b;
    return dr * dr + dg * dg + db * db;
}

// Nearest of `indices` (ascending), lowest index on ties.
template <typename Indices>
int nearestAmong(const Palette& p, const Indices& indices, double r, double g, double b) {
    int best = -1;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (int index : indices) {
        const double d = distance(p, index, r, g, b);
        if (best < 0 || d < bestDistance) {
            best = index;
            bestDistance = d;
        }
    }
    return best;
}

struct AllIndices {
    struct It {
        int i;
        int operator*() const { return i; }
        It& operator++() { ++i; return *this; }
        bool operator!=(const It& o) const { return i != o.i; }
    };
    It begin() const { return {0}; }
    It end() const { return {kPaletteColors}; }
};

bool inCube(double v) { return v >= 0.0 && v < kChannelLevels; }

}  // namespace

int nearestColorPlain(const Palette& palette, double r, double g, double b) {
    return nearestAmong(palette, AllIndices{}, r, g, b);
}

PaletteSearch::PaletteSearch(const Palette& palette) : palette_(palette), cells_(kCellCount) {}

const PaletteSearch::Cell& PaletteSearch::cellAt(int r, int g, int b) {
    const int cr = r >> kCellShift, cg = g >> kCellShift, cb = b >> kCellShift;
    Cell& cell = cells_[static_cast<std::size_t>((cr * kCellsPerSide + cg) * kCellsPerSide + cb)];
    if (cell.built) return cell;
    // An entry can be nearest somewhere in a cell only if its nearest point of
    // the cell is no farther than the farthest point of the best-placed entry.
    // Both bounds are whole numbers, so the test is exact and keeps every entry
    // that can tie.
    // Whole numbers in plain arrays, so that the loop over the entries runs
    // several entries at a time.
    const int lo[3] = {cr * kCellSide, cg * kCellSide, cb * kCellSide};
    std::array<int, kPaletteColors> nearBound{};
    std::array<int, kPaletteColors> farBound{};
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < kPaletteColors; ++i) {
            const int v = palette_[static_cast<std::size_t>(i * 3 + c)];
            const int nearD = v < lo[c] ? lo[c] - v : (v > lo[c] + kCellSide ? v - lo[c] - kCellSide : 0);
            const int farD = std::max(v - lo[c], lo[c] + kCellSide - v);
            nearBound[static_cast<std::size_t>(i)] += nearD * nearD;
            farBound[static_cast<std::size_t>(i)] += farD * farD;
        }
    const int threshold = *std::min_element(farBound.begin(), farBound.end());
    cell.first = static_cast<std::uint32_t>(candidates_.size());
    for (int i = 0; i < kPaletteColors; ++i)
        if (nearBound[static_cast<std::size_t>(i)] <= threshold) candidates_.push_back(static_cast<std::uint8_t>(i));
    cell.count = static_cast<std::uint16_t>(candidates_.size() - cell.first);
    cell.built = true;
    return cell;
}

int PaletteSearch::nearest(double r, double g, double b) {
    // Colours off the cube (or not numbers) lie in no cell: search them all.
    if (!inCube(r) || !inCube(g) || !inCube(b)) return nearestColorPlain(palette_, r, g, b);
    const Cell& cell = cellAt(static_cast<int>(r), static_cast<int>(g), static_cast<int>(b));
    struct Range {
        const std::uint8_t* first;
        const std::uint8_t* last;
        const std::uint8_t* begin() const { return first; }
        const std::uint8_t* end() const { return last; }
    };
    const std::uint8_t* first = candidates_.data() + cell.first;
    return nearestAmong(palette_, Range{first, first + cell.count}, r, g, b);
}

int PaletteSearch::nearestLevel(int r, int g, int b) {
    const Cell& cell = cellAt(r, g, b);
    int best = -1;
    int bestDistance = 0;
    for (std::uint32_t k = cell.first; k < cell.first + cell.count; ++k) {
        const std::size_t at = std::size_t{candidates_[k]} * 3;
        const int dr = palette_[at] - r, dg = palette_[at + 1] - g, db = palette_[at + 2] - b;
        const int d = dr * dr + dg * dg + db * db;
        if (best < 0 || d < bestDistance) {
            best = candidates_[k];
            bestDistance = d;
        }
    }
    return best;
}

std::size_t PaletteSearch::candidatesAt(int r, int g, int b) { return cellAt(r, g, b).count; }

}  // namespace tarn
