#pragma once
// The application-wide colour and paint state shared by both panes, the skin
// effects, the palette and gradient panes and the shaded render modes.
#include <algorithm>
#include <array>
#include <cstdint>

#include "image/palette.h"
#include "paint/brush_tip.h"
#include "paint/ink.h"
#include "paint/skin_selection.h"

namespace tarn {

class SettingsStore;

inline constexpr int kColorSlotCount = 8;

// Roles of the slots that other parts read by position.
enum ColorSlotRole : int {
    kSlotPaint = 0,
    kSlotEdge = 1,          // plain mapping edges, shading ramp 0
    kSlotSelected = 2,      // selected edges, shading ramp 1
    kSlotDragged = 3,       // dragged edges, shading ramp 2
    kSlotReplaceHigh = 4,
    kSlotReplaceLow = 5,
    kSlotBackground = 7,
};

// Eight palette indices, kept in the "Colors" section as "Color-0".."Color-7".
struct ColorSlots {
    std::array<std::uint8_t, kColorSlotCount> index{248, 64, 128, 192, 15, 10, 5, 0};

    std::uint8_t& operator[](int slot) { return index[static_cast<std::size_t>(slot)]; }
    std::uint8_t operator[](int slot) const { return index[static_cast<std::size_t>(slot)]; }

    // Missing or out-of-range stored values keep the defaults.
    void load(const SettingsStore& store);
    void store(SettingsStore& store) const;
};

using ProtectedColors = std::array<bool, kPaletteColors>;
// Painting a pixel of index i writes PaintRemap[i].
using PaintRemap = std::array<std::uint8_t, kPaletteColors>;
// Light response of the shaded render modes.
using LightTable = std::array<std::uint8_t, kPaletteColors>;

enum BlendMode : int {
    kBlendRgb = 0,             // move towards the paint colour
    kBlendKeepBrightness = 1,  // take the paint colour's hue and saturation only
};

struct PaintState {
    ColorSlots colorSlots;
    int activeSlot = kSlotPaint;
    ProtectedColors protectedColors{};
    double paintStrength = 1.0;  // 0..1
    int blendMode = kBlendRgb;
    double shadeGamma = 1.0;     // 0..20
    LightTable lightTable = identityLightTable();
    PaintRemap paintRemap = identityRemap();
    BrushTip tip;
    Ink ink = Ink::Paint;
    int ditherSize = 4;         // 2 or 4
    bool shadeDarker = false;   // the stroke under way steps darker (Ctrl at the press)
    ShadeSteps shadeSteps = ShadeSteps::identity();
    // While texels are selected, painting and the skin effects change only those.
    SkinSelection selection;
    // A tablet's pen pressure scales the tip, or with `pressureSetsStrength`
    // the paint strength; 1 for a mouse.
    float pressure = 1.0f;
    bool pressureSetsStrength = false;
    // Takes the pen's pressure; with `pressureSetsStrength` the remap of
    // `palette` (the current skin's) follows it.
    void applyPressure(float penPressure, const Palette* palette);

    std::uint8_t activeColor() const { return colorSlots[activeSlot]; }
    // The tip as the pen's pressure makes it: at least one unit across.
    BrushTip pressedTip() const {
        BrushTip t = tip;
        t.size = pressure >= 1.0f || pressureSetsStrength ? tip.size
                                                          : std::max(1, int(float(tip.size) * pressure + 0.5f));
        return t;
    }

    // Recomputes paintRemap from the current skin's palette; nothing happens
    // without a current skin (palette null).
    void updatePaintRemap(const Palette* currentPalette);
    void updateLightTable();

    static PaintRemap identityRemap();
    static LightTable identityLightTable();
};

// The remap for painting colour `color` of `palette` at `strength` in `blendMode`.
PaintRemap computePaintRemap(const Palette& palette, std::uint8_t color, double strength,
                             int blendMode);

// Entry i = trunc(255 * (i / 255)^gamma).
LightTable computeLightTable(double gamma);

}  // namespace tarn
