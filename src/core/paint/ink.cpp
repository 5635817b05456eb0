#include "paint/ink.h"

#include <algorithm>

namespace tarn {

namespace {

constexpr int kRampLength = 16;

int brightness(const Palette& palette, int index) {
    const auto c = [&](int k) { return int(palette[std::size_t(index * 3 + k)]); };
    // Weights of the eye's sensitivity, in integers.
    return 299 * c(0) + 587 * c(1) + 114 * c(2);
}

}  // namespace

ShadeSteps ShadeSteps::identity() {
    ShadeSteps steps;
    for (int i = 0; i < kPaletteColors; ++i) steps.lighter[std::size_t(i)] = steps.darker[std::size_t(i)] = std::uint8_t(i);
    return steps;
}

ShadeSteps computeShadeSteps(const Palette& palette) {
    ShadeSteps steps = ShadeSteps::identity();
    for (int row = 0; row < kPaletteColors; row += kRampLength) {
        std::array<int, kRampLength> ramp{};
        for (int k = 0; k < kRampLength; ++k) ramp[std::size_t(k)] = row + k;
        // Equal brightness keeps the palette's own order.
        std::stable_sort(ramp.begin(), ramp.end(),
                         [&](int a, int b) { return brightness(palette, a) < brightness(palette, b); });
        for (int k = 0; k < kRampLength; ++k) {
            const auto i = std::size_t(ramp[std::size_t(k)]);
            if (k + 1 < kRampLength) steps.lighter[i] = std::uint8_t(ramp[std::size_t(k + 1)]);
            if (k > 0) steps.darker[i] = std::uint8_t(ramp[std::size_t(k - 1)]);
        }
    }
    return steps;
}

bool ditherTakesPaint(int x, int y, int size) {
    // Bayer matrices: half the cells, spread as evenly as the size allows.
    static constexpr int kBayer2[2][2] = {{0, 2}, {3, 1}};
    static constexpr int kBayer4[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    if (size == 2) return kBayer2[y & 1][x & 1] < 2;
    return kBayer4[y & 3][x & 3] < 8;
}

}  // namespace tarn
