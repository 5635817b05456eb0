#include "sample_maps.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "image/palette_file.h"
#include "sample_paint.h"

namespace tarn::cli::sample {

namespace {

struct Normal {
    float x, y, z;
};

// The unit normal a map texel stands for; texels outside the unit circle take
// the rim's normal, so the edge of a model never picks up a seam.
Normal normalAt(int column, int row) {
    constexpr float kHalf = kMapSize / 2.0f;
    float x = (static_cast<float>(column) + 0.5f) / kHalf - 1.0f;
    float y = (static_cast<float>(row) + 0.5f) / kHalf - 1.0f;
    const float r = std::sqrt(x * x + y * y);
    if (r > 1.0f) {
        x /= r;
        y /= r;
    }
    return {x, y, std::sqrt(std::max(0.0f, 1.0f - x * x - y * y))};
}

float dot3(const Normal& a, const Normal& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Normal unit(float x, float y, float z) {
    const float l = std::sqrt(x * x + y * y + z * z);
    return {x / l, y / l, z / l};
}

Bytes render(const std::function<std::uint8_t(const Normal&, int, int)>& shade) {
    Bytes pixels(static_cast<std::size_t>(kMapSize * kMapSize));
    for (int row = 0; row < kMapSize; ++row)
        for (int column = 0; column < kMapSize; ++column)
            pixels[static_cast<std::size_t>(row * kMapSize + column)] = shade(normalAt(column, row), column, row);
    return pixels;
}

std::uint8_t grey(float brightness) {
    return static_cast<std::uint8_t>(std::clamp(static_cast<int>(brightness * 255.0f + 0.5f), 0, 255));
}

}  // namespace

std::vector<SampleMap> phongMaps() {
    const Normal key = unit(-0.45f, 0.55f, 0.7f);  // upper left, towards the viewer
    const Normal half = unit(key.x, key.y, key.z + 1.0f);
    SampleMap glossy{"phong_glossy.pcx", render([&](const Normal& n, int, int) {
                         const float diffuse = std::max(0.0f, dot3(n, key));
                         const float specular = std::pow(std::max(0.0f, dot3(n, half)), 40.0f);
                         return grey(0.1f + 0.65f * diffuse + 0.6f * specular);
                     }),
                     greyRampPalette()};
    const Normal fill = unit(0.6f, -0.3f, 0.4f);
    SampleMap soft{"phong_soft.pcx", render([&](const Normal& n, int, int) {
                       const float wrap = 0.5f + 0.5f * dot3(n, key);
                       const float rim = std::pow(1.0f - n.z, 3.0f) * std::max(0.0f, dot3(n, fill) + 0.3f);
                       return grey(0.15f + 0.6f * wrap * wrap + 0.35f * rim);
                   }),
                   greyRampPalette()};
    return {glossy, soft};
}

std::vector<SampleMap> environmentMaps(const Palette& palette) {
    // Sixteen shades per ramp band smooth gradients; a little dither hides it.
    constexpr int kDither = 12;
    int column = 0, row = 0;
    auto nearest = [&](float r, float g, float b) {
        const float d = static_cast<float>(hash(column, row, 3) % kDither - kDither / 2);
        auto c = [d](float v) { return std::clamp(static_cast<int>(v + d), 0, 255); };
        return static_cast<std::uint8_t>(nearestColor(palette, c(r), c(g), c(b)));
    };
    const Normal sun = unit(-0.5f, 0.6f, 0.62f);
    SampleMap sky{"env_sky.pcx", render([&](const Normal& n, int x, int y) {
                      column = x;
                      row = y;
                      if (dot3(n, sun) > 0.985f) return nearest(255, 250, 220);
                      if (n.y >= 0.0f) {  // sky: deep blue overhead, pale at the horizon
                          const float k = std::sqrt(n.y);
                          return nearest(200 - 150 * k, 225 - 125 * k, 255 - 40 * k);
                      }
                      const float k = std::min(1.0f, -n.y * 1.6f);  // ground: warm sand to dark earth
                      const float speck = static_cast<float>(hash(x, y, 11) % 24);
                      return nearest(170 - 110 * k + speck, 130 - 90 * k + speck, 90 - 60 * k);
                  }),
                  palette};
    SampleMap studio{"env_chrome.pcx", render([&](const Normal& n, int x, int y) {
                         column = x;
                         row = y;
                         // Two soft boxes and a warm floor bounce on a dark studio.
                         const float box1 = std::abs(n.x + 0.45f) < 0.18f && n.y > 0.1f ? 1.0f : 0.0f;
                         const float box2 = std::abs(n.y - 0.55f) < 0.08f && n.x > 0.0f ? 1.0f : 0.0f;
                         const float floor = n.y < -0.35f ? std::min(1.0f, (-n.y - 0.35f) * 2.0f) : 0.0f;
                         const float base = 25.0f + 40.0f * n.z;
                         return nearest(base + 220 * box1 + 160 * box2 + 150 * floor,
                                        base + 225 * box1 + 200 * box2 + 80 * floor,
                                        base + 20 + 230 * box1 + 255 * box2 + 30 * floor);
                     }),
                     palette};
    return {sky, studio};
}

}  // namespace tarn::cli::sample
