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

}  // namespace tarn
