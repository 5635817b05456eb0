#include "app/intro.h"

#include <algorithm>
#include <array>
#include <cmath>


namespace tarn {

namespace {

constexpr int kChannelMax = 31;
constexpr int kLogoRow = 7;
constexpr int kLogoColumn = 3;
constexpr int kInnerLeft = 4;
constexpr int kInnerRight = 315;
constexpr int kBandRows = 237;
constexpr double kTilt = 0.25;
constexpr double kAngleMs = 350.0;

// TARN's wireframe logo: a cut gem around the point the projection turns about.
struct Point {
    double x, y, z;
};
constexpr int kRing = 6;
std::array<Point, kRing * 2 + 2> gemVertices() {
    std::array<Point, kRing * 2 + 2> v{};
    const Point centre{1.5, 5.0, 3.1};
    v[0] = {centre.x, centre.y, centre.z + 4.2};
    v[1] = {centre.x, centre.y, centre.z - 3.0};
    for (int i = 0; i < kRing; ++i) {
        double a = i * 2.0 * 3.14159265358979 / kRing;
        v[static_cast<std::size_t>(2 + i)] = {centre.x + 3.4 * std::cos(a), centre.y + 3.4 * std::sin(a), centre.z + 1.2};
        double b = a + 3.14159265358979 / kRing;
        v[static_cast<std::size_t>(2 + kRing + i)] = {centre.x + 2.6 * std::cos(b), centre.y + 2.6 * std::sin(b),
                                                      centre.z - 0.6};
    }
    return v;
}

std::vector<std::pair<int, int>> gemEdges() {
    std::vector<std::pair<int, int>> e;
    for (int i = 0; i < kRing; ++i) {
        int upper = 2 + i, upperNext = 2 + (i + 1) % kRing, lower = 2 + kRing + i;
        e.push_back({0, upper});
        e.push_back({upper, upperNext});
        e.push_back({upper, lower});
        e.push_back({lower, upperNext});
        e.push_back({lower, 1});
    }
    return e;
}

std::uint16_t rgb15(int r, int g, int b) {
    return static_cast<std::uint16_t>((r << 10) | (g << 5) | b);
}
int red(std::uint16_t v) { return (v >> 10) & kChannelMax; }
int green(std::uint16_t v) { return (v >> 5) & kChannelMax; }
int blue(std::uint16_t v) { return v & kChannelMax; }

}  // namespace

IntroPicture::IntroPicture(unsigned seed)
    : rng_(seed), pixels_(static_cast<std::size_t>(kIntroWidth) * kIntroHeight, 0) {
    RasterTarget target;
    target.colour16 = pixels_.data();
    target.width = kIntroWidth;
    target.height = kIntroHeight;
    raster_.SetTarget(target);
}

void IntroPicture::setLogo(std::vector<std::uint8_t> grey) {
    if (grey.size() == static_cast<std::size_t>(kLogoWidth) * kLogoHeight) logo_ = std::move(grey);
}

void IntroPicture::draw(int elapsedMs) {
    std::fill(pixels_.begin(), pixels_.end(), std::uint16_t{0});
    drawLogo();
    drawFan();
    drawWireframe(elapsedMs / kAngleMs);
    addNoise();
    addBand((elapsedMs / 10) % kBandRows);
    drawFrame();
}

void IntroPicture::drawLogo() {
    if (logo_.empty()) return;
    for (int y = 0; y < kLogoHeight; ++y)
        for (int x = 0; x < kLogoWidth; ++x) {
            int g = logo_[static_cast<std::size_t>(y * kLogoWidth + x)] / 8;
            pixels_[static_cast<std::size_t>((kLogoRow + y) * kIntroWidth + kLogoColumn + x)] = rgb15(g, g, g);
        }
}

void IntroPicture::drawFan() {
    Rasterizer& r = raster_;
    double p = 130.0, step = 0.0;
    for (int i = 0; p > 0.0; ++i) {
        int y = static_cast<int>(p);
        r.Line16({kInnerLeft, y, kInnerRight, y}, static_cast<std::uint16_t>((1 + 3 * i) * 32));
        p -= step;
        step = (step + 1.5) * 1.1;
    }
}

void IntroPicture::drawWireframe(double a) {
    Rasterizer& r = raster_;
    const auto vertices = gemVertices();
    std::array<std::pair<int, int>, vertices.size()> screen{};
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const Point& v = vertices[i];
        double x1 = v.x - 1.5, y1 = v.y - 5.0, z1 = v.z - 3.1;
        double X = x1 * std::cos(a) - y1 * std::sin(a);
        double Y = x1 * std::sin(a) + y1 * std::cos(a);
        double L = X * std::sin(kTilt) + z1 * std::cos(kTilt);
        double W = X * std::cos(kTilt) - z1 * std::sin(kTilt) + 15.25;
        screen[i] = {static_cast<int>(160 - 17 * Y / (W / 15)), static_cast<int>(130 + 17 * L / (W / 15))};
    }
    const std::array<std::pair<int, int>, 4> shifts = {{{-1, 0}, {1, 0}, {0, -1}, {0, 1}}};
    for (auto [from, to] : gemEdges()) {
        auto [x0, y0] = screen[static_cast<std::size_t>(from)];
        auto [x1, y1] = screen[static_cast<std::size_t>(to)];
        for (int far : {2, 1}) {
            auto glow = static_cast<std::uint16_t>(random(far == 2 ? 16 : 24) * 32);
            for (auto [dx, dy] : shifts)
                r.Line16({x0 + dx * far, y0 + dy * far, x1 + dx * far, y1 + dy * far}, glow);
        }
        r.Line16({x0, y0, x1, y1}, 9192);
    }
}

void IntroPicture::addNoise() {
    for (int y = 4; y <= 235; ++y) {
        for (int x = kInnerLeft; x <= kInnerRight; ++x) {
            std::uint16_t& px = pixels_[static_cast<std::size_t>(y * kIntroWidth + x)];
            if (y % 2 == 0) {
                int r = (2 * red(px) + random(28)) / 3;
                int g = (2 * green(px) + random(28)) / 3;
                int b = (2 * blue(px) + random(28)) / 3;
                px = rgb15(std::min(r, kChannelMax), std::min(g, kChannelMax), std::min(b, kChannelMax));
            } else {
                int n = random(15);
                px = rgb15((2 * red(px) + n) / 3, (2 * green(px) + n) / 3, (2 * blue(px) + n) / 3);
            }
        }
    }
}

void IntroPicture::addBand(int bandRow) {
    auto lighten = [this](int row) {
        if (row > kBandRows) row -= kBandRows;
        if (random(100) <= 50) return;
        for (int x = kInnerLeft; x <= kInnerRight; ++x) {
            std::uint16_t& px = pixels_[static_cast<std::size_t>(row * kIntroWidth + x)];
            int e = random(10) / 2;
            px = rgb15(std::min(red(px) + e, kChannelMax), std::min(green(px) + e, kChannelMax),
                       std::min(blue(px) + e, kChannelMax));
        }
    };
    for (int j = 0; j < 40; ++j) lighten(bandRow + j);
    for (int j = 0; j < 20; ++j) lighten(bandRow + 10 + j);
}

void IntroPicture::drawFrame() {
    Rasterizer& r = raster_;
    struct Bevel {
        int inset;
        std::uint16_t light, dark;
    };
    for (const Bevel& b : {Bevel{1, 7399, 15855}, Bevel{2, 15855, 25368}, Bevel{3, 21140, 29596}}) {
        int l = b.inset, tp = b.inset, rt = kIntroWidth - 1 - b.inset, bt = kIntroHeight - 1 - b.inset;
        r.Line16({l, tp, rt, tp}, b.light);
        r.Line16({rt, tp, rt, bt}, b.light);
        r.Line16({l, bt, rt, bt}, b.dark);
        r.Line16({l, tp, l, bt}, b.dark);
    }
}

int introClip(const SettingsStore& settings, bool customReadable, std::mt19937& rng) {
    constexpr int kClips = 8, kRandom = 8, kCustom = 9;
    int number = settings.getInt(kPreferences, "Intro Number", kRandom);
    if (number == kCustom && customReadable) return kIntroCustomFile;
    if (number < 0 || number >= kClips) return static_cast<int>(rng() % kClips);
    return number;
}

bool introAllowed(bool ctrlHeld, const SettingsStore& settings) {
    return !ctrlHeld && settings.getInt(kPreferences, "Skip Intro", 0) != 1;
}

}  // namespace tarn
