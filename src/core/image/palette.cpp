#include "image/palette.h"

namespace tarn {

int nearestColor(const Palette& palette, int r, int g, int b) {
    int best = 0;
    long bestDist = -1;
    for (int i = 0; i < kPaletteColors; ++i) {
        long dr = palette[static_cast<std::size_t>(i * 3)] - r;
        long dg = palette[static_cast<std::size_t>(i * 3 + 1)] - g;
        long db = palette[static_cast<std::size_t>(i * 3 + 2)] - b;
        long d = dr * dr + dg * dg + db * db;
        if (bestDist < 0 || d < bestDist) {
            bestDist = d;
            best = i;
        }
    }
    return best;
}

}  // namespace tarn
