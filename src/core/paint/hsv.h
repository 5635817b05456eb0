#pragma once
// Hexcone HSV conversion shared by painting, the shading ramps and the skin
// effects. Red, green, blue and value are on the 0..255 scale, saturation on
// 0..1, hue in degrees 0..360 or kNoHue for greys.
namespace tarn {

inline constexpr double kNoHue = -1.0;

struct Rgb {
    double r = 0, g = 0, b = 0;
};

struct Hsv {
    double h = kNoHue;  // degrees, or kNoHue when the saturation is 0
    double s = 0;       // 0..1
    double v = 0;       // 0..255
};

Hsv rgbToHsv(const Rgb& rgb);
Rgb hsvToRgb(const Hsv& hsv);

}  // namespace tarn
