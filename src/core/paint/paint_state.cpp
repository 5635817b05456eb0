#include "paint/paint_state.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "paint/hsv.h"
#include "platform/settings.h"

namespace tarn {

namespace {

constexpr int kMaxIndex = kPaletteColors - 1;

Rgb paletteColor(const Palette& p, int index) {
    const auto at = static_cast<std::size_t>(index) * 3;
    return {double(p[at]), double(p[at + 1]), double(p[at + 2])};
}

int nearestReal(const Palette& p, const Rgb& c) {
    int best = 0;
    double bestDistance = 0;
    for (int j = 0; j < kPaletteColors; ++j) {
        const Rgb e = paletteColor(p, j);
        const double d = (e.r - c.r) * (e.r - c.r) + (e.g - c.g) * (e.g - c.g) +
                         (e.b - c.b) * (e.b - c.b);
        if (j == 0 || d < bestDistance) {
            best = j;
            bestDistance = d;
        }
    }
    return best;
}

std::string slotKey(int slot) { return "Color-" + std::to_string(slot); }

}  // namespace

void ColorSlots::load(const SettingsStore& settings) {
    const ColorSlots defaults;
    for (int slot = 0; slot < kColorSlotCount; ++slot) {
        const int value = settings.getInt(kColors, slotKey(slot), defaults[slot]);
        (*this)[slot] = static_cast<std::uint8_t>(value >= 0 && value <= kMaxIndex ? value
                                                                                 : defaults[slot]);
    }
}

void ColorSlots::store(SettingsStore& settings) const {
    for (int slot = 0; slot < kColorSlotCount; ++slot)
        settings.setInt(kColors, slotKey(slot), (*this)[slot]);
}

PaintRemap PaintState::identityRemap() {
    PaintRemap r{};
    for (int i = 0; i < kPaletteColors; ++i) r[static_cast<std::size_t>(i)] = std::uint8_t(i);
    return r;
}

LightTable PaintState::identityLightTable() { return identityRemap(); }

void PaintState::updatePaintRemap(const Palette* currentPalette) {
    if (currentPalette == nullptr) return;
    paintRemap = computePaintRemap(*currentPalette, activeColor(), paintStrength, blendMode);
    shadeSteps = computeShadeSteps(*currentPalette);
}

void PaintState::applyPressure(float penPressure, const Palette* palette) {
    const bool changed = penPressure != pressure;
    pressure = penPressure;
    if (!changed || !pressureSetsStrength || palette == nullptr) return;
    paintRemap = computePaintRemap(*palette, activeColor(), paintStrength * double(std::min(pressure, 1.0f)), blendMode);
}

void PaintState::updateLightTable() { lightTable = computeLightTable(shadeGamma); }

PaintRemap computePaintRemap(const Palette& palette, std::uint8_t color, double strength,
                             int blendMode) {
    const Rgb c = paletteColor(palette, color);
    const Hsv cHsv = rgbToHsv(c);
    const double w = static_cast<float>(strength);
    PaintRemap remap{};
    for (int i = 0; i < kPaletteColors; ++i) {
        const Rgb s = paletteColor(palette, i);
        Rgb t = c;
        if (blendMode == kBlendKeepBrightness) t = hsvToRgb({cHsv.h, cHsv.s, rgbToHsv(s).v});
        const Rgb r{s.r + (t.r - s.r) * w, s.g + (t.g - s.g) * w, s.b + (t.b - s.b) * w};
        remap[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(nearestReal(palette, r));
    }
    return remap;
}

LightTable computeLightTable(double gamma) {
    LightTable table{};
    for (int i = 0; i < kPaletteColors; ++i) {
        const double response = kMaxIndex * std::pow(i / double(kMaxIndex), gamma);
        table[static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(std::clamp(static_cast<int>(response), 0, kMaxIndex));
    }
    return table;
}

}  // namespace tarn
