#include "edit/seam_padding.h"

#include <algorithm>
#include <vector>

namespace tarn {

namespace {

constexpr std::int32_t kNoSeed = -1;
constexpr std::int32_t kInRing = -2;  // reached by the ring being grown, seed not yet chosen

}  // namespace

void PadSeams(std::span<std::uint8_t> pixels, std::span<const std::uint8_t> covered, int width, int height,
              int padding) {
    padding = std::min(padding, kMaxSeamPadding);
    if (padding <= 0 || width <= 0 || height <= 0) return;
    const std::size_t n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (pixels.size() < n || covered.size() < n) return;

    // Calls f(index) for each of the eight neighbours of texel i inside the image.
    const auto neighbours = [width, height](std::size_t i, auto f) {
        const int x = static_cast<int>(i % static_cast<std::size_t>(width));
        const int y = static_cast<int>(i / static_cast<std::size_t>(width));
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if ((dx != 0 || dy != 0) && nx >= 0 && nx < width && ny >= 0 && ny < height)
                    f(static_cast<std::size_t>(ny) * static_cast<std::size_t>(width) + static_cast<std::size_t>(nx));
            }
    };
    const auto distance = [width](std::size_t a, std::size_t b) {
        const long long dx = static_cast<long long>(a % static_cast<std::size_t>(width)) -
                             static_cast<long long>(b % static_cast<std::size_t>(width));
        const long long dy = static_cast<long long>(a / static_cast<std::size_t>(width)) -
                             static_cast<long long>(b / static_cast<std::size_t>(width));
        return dx * dx + dy * dy;
    };

    std::vector<std::int32_t> seed(n, kNoSeed);
    std::vector<std::size_t> ring;
    for (std::size_t i = 0; i < n; ++i)
        if (covered[i] != 0) seed[i] = static_cast<std::int32_t>(i);
    for (std::size_t i = 0; i < n; ++i) {
        if (covered[i] == 0) continue;
        bool edge = false;
        neighbours(i, [&](std::size_t q) { edge = edge || covered[q] == 0; });
        if (edge) ring.push_back(i);
    }

    std::vector<std::size_t> next;
    std::vector<std::int32_t> chosen;
    for (int step = 0; step < padding && !ring.empty(); ++step) {
        next.clear();
        for (std::size_t f : ring)
            neighbours(f, [&](std::size_t q) {
                if (seed[q] != kNoSeed) return;
                seed[q] = kInRing;
                next.push_back(q);
            });
        // Seeds come only from earlier rings, so the order within a ring does not matter.
        chosen.assign(next.size(), kNoSeed);
        for (std::size_t k = 0; k < next.size(); ++k) {
            const std::size_t q = next[k];
            neighbours(q, [&](std::size_t from) {
                const std::int32_t s = seed[from];
                if (s < 0) return;
                const std::int32_t best = chosen[k];
                const auto su = static_cast<std::size_t>(s);
                if (best < 0 || distance(q, su) < distance(q, static_cast<std::size_t>(best)) ||
                    (distance(q, su) == distance(q, static_cast<std::size_t>(best)) && s < best))
                    chosen[k] = s;
            });
        }
        for (std::size_t k = 0; k < next.size(); ++k) seed[next[k]] = chosen[k];
        ring.swap(next);
    }
    for (std::size_t i = 0; i < n; ++i)
        if (covered[i] == 0 && seed[i] >= 0) pixels[i] = pixels[static_cast<std::size_t>(seed[i])];
}

}  // namespace tarn
