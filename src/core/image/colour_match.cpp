// True colours to palette indices: each pixel's nearest colour, or
// Floyd-Steinberg error diffusion over the same nearest-colour rule.
#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "image/image_codec.h"
#include "image/palette_search.h"

namespace tarn {

namespace {

constexpr std::uint8_t kHalfOpaque = 128;
// Floyd-Steinberg weights are sixteenths: 7 right, 3 below left, 5 below, 1 below right.
constexpr int kWeightRight = 7;
constexpr int kWeightBelowLeft = 3;
constexpr int kWeightBelow = 5;
constexpr int kWeightBelowRight = 1;
constexpr int kWeightTotal = 16;

// The nearest-colour rule remembered per colour: images repeat colours far
// more often than there are palette entries to search. A colour met for the
// first time is looked up among the few entries that can win in its part of
// the colour cube, not among all 256.
class NearestCache {
public:
    explicit NearestCache(const Palette& palette) : search_(palette), slots_(std::size_t{1} << kBits, kEmpty) {}
    std::uint8_t operator()(int r, int g, int b) {
        const std::uint32_t key = (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
                                  static_cast<std::uint32_t>(b);
        // Two probes: a colour that collides with another stays remembered
        // beside it, so rows that repeat a row of many colours keep hitting.
        const std::size_t slot = ((key * 2654435761u) >> (32 - kBits)) & ~std::size_t{1};
        for (std::size_t i = slot; i < slot + 2; ++i)
            if ((slots_[i] & kKeyMask) == key && slots_[i] != kEmpty) return static_cast<std::uint8_t>(slots_[i] >> 24);
        const auto index = static_cast<std::uint32_t>(search_.nearestLevel(r, g, b));
        // The newcomer takes the second place; the one there moves up first.
        slots_[slot] = slots_[slot + 1];
        slots_[slot + 1] = key | (index << 24);
        return static_cast<std::uint8_t>(index);
    }

private:
    static constexpr int kBits = 17;
    static constexpr std::uint32_t kKeyMask = 0xFFFFFFu;
    // The colour in the low 24 bits, its index above. White on index 255 looks
    // empty and is only looked up again.
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
    PaletteSearch search_;
    std::vector<std::uint32_t> slots_;
};

// Divides a sum of sixteenths, rounding half away from zero.
int sixteenths(int sum) { return (sum >= 0 ? sum + kWeightTotal / 2 : sum - kWeightTotal / 2) / kWeightTotal; }

}  // namespace

Bytes matchToPalette(const RgbaImage& image, const ColourMatch& match) {
    const auto w = static_cast<std::size_t>(image.width);
    const auto h = static_cast<std::size_t>(image.height);
    Bytes out(w * h, 0);
    if (image.rgba.size() < w * h * 4) return out;
    NearestCache cache(match.palette);
    // Carried error per channel in sixteenths, for this row and the next, with
    // a guard column either side.
    std::vector<int> here((w + 2) * 3, 0);
    std::vector<int> below((w + 2) * 3, 0);
    for (std::size_t y = 0; y < h; ++y) {
        for (std::size_t x = 0; x < w; ++x) {
            const std::uint8_t* px = image.rgba.data() + (y * w + x) * 4;
            if (px[3] < kHalfOpaque) {
                out[y * w + x] = match.transparentIndex;
                continue;
            }
            int c[3];
            for (int k = 0; k < 3; ++k) {
                const int carried = match.dither ? sixteenths(here[(x + 1) * 3 + static_cast<std::size_t>(k)]) : 0;
                c[k] = std::clamp(px[k] + carried, 0, 255);
            }
            const std::uint8_t index = cache(c[0], c[1], c[2]);
            out[y * w + x] = index;
            if (!match.dither) continue;
            for (int k = 0; k < 3; ++k) {
                const int err = c[k] - match.palette[static_cast<std::size_t>(index) * 3 + static_cast<std::size_t>(k)];
                const auto at = [&](std::size_t column) { return column * 3 + static_cast<std::size_t>(k); };
                here[at(x + 2)] += err * kWeightRight;
                below[at(x)] += err * kWeightBelowLeft;
                below[at(x + 1)] += err * kWeightBelow;
                below[at(x + 2)] += err * kWeightBelowRight;
            }
        }
        std::swap(here, below);
        std::fill(below.begin(), below.end(), 0);
    }
    return out;
}

}  // namespace tarn
