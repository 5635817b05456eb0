// True colours to palette indices: each pixel's nearest colour, or
// Floyd-Steinberg error diffusion over the same nearest-colour rule.
#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "image/image_codec.h"

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
// more often than there are palette entries to search.
class NearestCache {
public:
    explicit NearestCache(const Palette& palette) : palette_(palette) { keys_.fill(kEmpty); }
    std::uint8_t operator()(int r, int g, int b) {
        const std::uint32_t key = (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
                                  static_cast<std::uint32_t>(b);
        const std::size_t slot = (key * 2654435761u) >> (32 - kBits);
        if (keys_[slot] != key) {
            keys_[slot] = key;
            values_[slot] = static_cast<std::uint8_t>(nearestColor(palette_, r, g, b));
        }
        return values_[slot];
    }

private:
    static constexpr int kBits = 14;
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;  // no 24-bit colour has this key
    const Palette& palette_;
    std::array<std::uint32_t, std::size_t{1} << kBits> keys_{};
    std::array<std::uint8_t, std::size_t{1} << kBits> values_{};
};

// Divides a sum of sixteenths, rounding half away from zero.
int sixteenths(int sum) { return (sum >= 0 ? sum + kWeightTotal / 2 : sum - kWeightTotal / 2) / kWeightTotal; }

}  // namespace

Bytes matchToPalette(const RgbaImage& image, const ColourMatch& match) {
    const auto w = static_cast<std::size_t>(image.width);
    const auto h = static_cast<std::size_t>(image.height);
    Bytes out(w * h, 0);
    if (image.rgba.size() < w * h * 4) return out;
    auto cache = std::make_unique<NearestCache>(match.palette);
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
            const std::uint8_t index = (*cache)(c[0], c[1], c[2]);
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
