#include "paint/hsv.h"

#include <algorithm>
#include <cmath>

namespace tarn {

namespace {
constexpr double kDegreesPerSector = 60.0;
constexpr double kFullCircle = 360.0;
// A saturation of exactly 0 would collapse every sector to grey; the tiny
// floor keeps the hue meaningful when a caller pairs a hue with no saturation.
constexpr double kMinSaturation = 0.000001;
}  // namespace

Hsv rgbToHsv(const Rgb& c) {
    const double mx = std::max({c.r, c.g, c.b});
    const double mn = std::min({c.r, c.g, c.b});
    Hsv out;
    out.v = mx;
    out.s = mx != 0.0 ? (mx - mn) / mx : 0.0;
    if (out.s == 0.0) {
        out.h = kNoHue;
        return out;
    }
    const double delta = mx - mn;
    double h = 0;
    if (c.r == mx)
        h = (c.g - c.b) / delta;
    else if (c.g == mx)
        h = 2.0 + (c.b - c.r) / delta;
    else
        h = 4.0 + (c.r - c.g) / delta;
    h *= kDegreesPerSector;
    if (h < 0) h += kFullCircle;
    out.h = h;
    return out;
}

Rgb hsvToRgb(const Hsv& in) {
    const double v = in.v;
    if (in.h == kNoHue) return {v, v, v};
    const double s = in.s == 0.0 ? kMinSaturation : in.s;
    double h = in.h == kFullCircle ? 0.0 : in.h;
    h /= kDegreesPerSector;
    const double sector = std::floor(h);
    const double f = h - sector;
    const double p = v * (1.0 - s);
    const double q = v * (1.0 - s * f);
    const double t = v * (1.0 - s * (1.0 - f));
    switch (static_cast<int>(sector)) {
        case 0: return {v, t, p};
        case 1: return {q, v, p};
        case 2: return {p, v, t};
        case 3: return {p, q, v};
        case 4: return {t, p, v};
        default: return {v, p, q};
    }
}

}  // namespace tarn
