#include "paint/stroke.h"

namespace tarn {

namespace {

// The rule every ink shares: a protected colour, a texel outside the
// selection and one this stroke already painted all stay. A selection made
// for another skin size (the skins were resized since) holds nothing back.
bool mayPaint(std::span<const std::uint8_t> skin, std::size_t offset, const StrokeMask& mask, const PaintState& state) {
    const bool selected = state.selection.mask().size() != skin.size() || state.selection.allows(offset);
    return !state.protectedColors[skin[offset]] && !mask.isPainted(offset) && selected;
}

}  // namespace

bool paintPixel(std::span<std::uint8_t> skinPixels, std::size_t offset, StrokeMask& mask,
                const PaintState& state) {
    if (offset >= skinPixels.size() || offset >= mask.size()) return false;
    std::uint8_t& pixel = skinPixels[offset];
    if (!mayPaint(skinPixels, offset, mask, state)) return false;
    mask.markPainted(offset);
    pixel = state.paintRemap[pixel];
    return true;
}

bool inkPixel(std::span<std::uint8_t> skinPixels, int width, std::size_t offset, StrokeMask& mask,
              const PaintState& state) {
    if (state.ink == Ink::Paint || width <= 0) return paintPixel(skinPixels, offset, mask, state);
    if (offset >= skinPixels.size() || offset >= mask.size()) return false;
    std::uint8_t& pixel = skinPixels[offset];
    if (!mayPaint(skinPixels, offset, mask, state)) return false;
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
