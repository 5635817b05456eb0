#include "sample_palette.h"

#include <algorithm>
#include <array>

namespace tarn::cli::sample {

namespace {

struct Rgb {
    int r, g, b;
};

struct RampColors {
    Rgb dark;       // shade 0
    Rgb base;       // the ramp's own colour, at 60 % of the way up
    Rgb highlight;  // shade 15
};

// Chosen for a painted robot: armour, metals, glows, warnings and a few
// naturals so that users can paint something else on it too.
constexpr std::array<RampColors, kShades> kRamps = {{
    {{6, 6, 6}, {140, 140, 140}, {255, 255, 255}},      // grey
    {{8, 10, 16}, {104, 120, 142}, {226, 236, 252}},    // steel
    {{4, 6, 18}, {38, 54, 112}, {128, 156, 232}},       // navy
    {{4, 10, 26}, {48, 100, 204}, {176, 214, 255}},     // blue
    {{24, 10, 2}, {232, 118, 20}, {255, 222, 156}},     // orange
    {{2, 18, 22}, {36, 188, 212}, {214, 255, 255}},     // cyan
    {{2, 14, 12}, {28, 128, 108}, {156, 232, 204}},     // teal
    {{6, 16, 4}, {68, 160, 48}, {204, 250, 156}},       // green
    {{22, 16, 2}, {232, 188, 28}, {255, 250, 196}},     // yellow
    {{12, 12, 4}, {120, 118, 48}, {232, 230, 156}},     // olive
    {{20, 14, 10}, {200, 150, 110}, {255, 232, 204}},   // tan
    {{12, 8, 4}, {110, 70, 40}, {222, 172, 124}},       // brown
    {{20, 3, 3}, {190, 30, 26}, {255, 164, 144}},       // red
    {{20, 20, 16}, {220, 210, 180}, {255, 255, 246}},   // cream
    {{10, 4, 18}, {100, 50, 160}, {212, 172, 250}},     // purple
    {{16, 2, 8}, {150, 20, 80}, {250, 144, 204}},       // crimson
}};

constexpr float kBaseAt = 0.6f;

int mix(int a, int b, float t) { return a + static_cast<int>(static_cast<float>(b - a) * t + 0.5f); }

Rgb shadeColor(const RampColors& ramp, int shade) {
    const float t = static_cast<float>(shade) / static_cast<float>(kBrightest);
    if (t <= kBaseAt) {
        const float k = t / kBaseAt;
        return {mix(ramp.dark.r, ramp.base.r, k), mix(ramp.dark.g, ramp.base.g, k),
                mix(ramp.dark.b, ramp.base.b, k)};
    }
    const float k = (t - kBaseAt) / (1.0f - kBaseAt);
    return {mix(ramp.base.r, ramp.highlight.r, k), mix(ramp.base.g, ramp.highlight.g, k),
            mix(ramp.base.b, ramp.highlight.b, k)};
}

}  // namespace

std::uint8_t colorIndex(Ramp ramp, int shade) {
    const int s = std::clamp(shade, 0, kBrightest);
    return static_cast<std::uint8_t>(ramp * kShades + (ramp == kGrey ? s : kBrightest - s));
}

Palette samplePalette() {
    Palette palette{};
    for (int r = 0; r < kShades; ++r) {
        for (int s = 0; s < kShades; ++s) {
            const Rgb c = shadeColor(kRamps[static_cast<std::size_t>(r)], s);
            const auto at = static_cast<std::size_t>(colorIndex(static_cast<Ramp>(r), s)) * 3;
            palette[at] = static_cast<std::uint8_t>(c.r);
            palette[at + 1] = static_cast<std::uint8_t>(c.g);
            palette[at + 2] = static_cast<std::uint8_t>(c.b);
        }
    }
    return palette;
}

Bytes buildColormap(const Palette& palette) {
    constexpr int kNeutralRow = 31;
    Bytes map(static_cast<std::size_t>(kColormapRows * kPaletteColors));
    for (int row = 0; row < kColormapRows; ++row) {
        const float light = static_cast<float>(kColormapRows - 1 - row) / static_cast<float>(kNeutralRow + 1);
        for (int c = 0; c < kPaletteColors; ++c) {
            auto channel = [&](int k) {
                const float v = static_cast<float>(palette[static_cast<std::size_t>(c * 3 + k)]) * light;
                return std::min(255, static_cast<int>(v + 0.5f));
            };
            map[static_cast<std::size_t>(row * kPaletteColors + c)] =
                static_cast<std::uint8_t>(nearestColor(palette, channel(0), channel(1), channel(2)));
        }
    }
    return map;
}

}  // namespace tarn::cli::sample
