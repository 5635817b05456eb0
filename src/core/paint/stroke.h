#pragma once
// One paint stroke over the current skin: each skin pixel changes at most once
// per stroke, so a blend never compounds however often the brush passes.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "paint/paint_state.h"

namespace tarn {

class StrokeMask {
public:
    // A clear mask for a skin of `pixelCount` pixels (width x height).
    explicit StrokeMask(std::size_t pixelCount) : painted_(pixelCount, 0) {}

    std::size_t size() const { return painted_.size(); }
    bool isPainted(std::size_t offset) const { return painted_[offset] != 0; }
    void markPainted(std::size_t offset) { painted_[offset] = 1; }

private:
    std::vector<std::uint8_t> painted_;
};

// Paints skin pixel `offset` by the paint rule: protected colours, pixels
// outside the selection and pixels already painted in this stroke stay. Offsets outside the skin or the mask
// are ignored. Returns whether the pixel was painted.
bool paintPixel(std::span<std::uint8_t> skinPixels, std::size_t offset, StrokeMask& mask,
                const PaintState& state);
// As paintPixel, with the ink of `state`: texel (offset % width, offset /
// width) of a skin `width` texels wide. Shade never steps onto a protected colour.
bool inkPixel(std::span<std::uint8_t> skinPixels, int width, std::size_t offset, StrokeMask& mask,
              const PaintState& state);

}  // namespace tarn
