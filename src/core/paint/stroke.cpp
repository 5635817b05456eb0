#include "paint/stroke.h"

namespace tarn {

bool paintPixel(std::span<std::uint8_t> skinPixels, std::size_t offset, StrokeMask& mask,
                const PaintState& state) {
    if (offset >= skinPixels.size() || offset >= mask.size()) return false;
    std::uint8_t& pixel = skinPixels[offset];
    if (state.protectedColors[pixel] || mask.isPainted(offset)) return false;
    mask.markPainted(offset);
    pixel = state.paintRemap[pixel];
    return true;
}

bool inkPixel(std::span<std::uint8_t> skinPixels, int width, std::size_t offset, StrokeMask& mask,
              const PaintState& state) {
    if (state.ink == Ink::Paint || width <= 0) return paintPixel(skinPixels, offset, mask, state);
    if (offset >= skinPixels.size() || offset >= mask.size()) return false;
    std::uint8_t& pixel = skinPixels[offset];
    if (state.protectedColors[pixel] || mask.isPainted(offset)) return false;
    std::uint8_t value = pixel;
    if (state.ink == Ink::Shade) {
        value = state.shadeDarker ? state.shadeSteps.darker[pixel] : state.shadeSteps.lighter[pixel];
        if (state.protectedColors[value]) return false;
    } else {
        const int x = int(offset % std::size_t(width)), y = int(offset / std::size_t(width));
        value = ditherTakesPaint(x, y, state.ditherSize) ? state.paintRemap[pixel] : state.colorSlots[kSlotSelected];
    }
    mask.markPainted(offset);
    pixel = value;
    return true;
}

}  // namespace tarn
