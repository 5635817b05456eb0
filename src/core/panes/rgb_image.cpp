#include "panes/rgb_image.h"

#include <algorithm>

namespace tarn {

namespace {
constexpr int kRowAlign = 4;
}

void RgbImage::resize(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    paddedWidth_ = (width_ + kRowAlign - 1) / kRowAlign * kRowAlign;
    bytes_.assign(static_cast<std::size_t>(stride()) * static_cast<std::size_t>(height_), 0);
}

Rgb RgbImage::pixel(int x, int y) const {
    if (!inside(x, y)) return {};
    const std::size_t i = offset(x, y);
    return {bytes_[i], bytes_[i + 1], bytes_[i + 2]};
}

void RgbImage::put(int x, int y, Rgb c) {
    if (!inside(x, y)) return;
    const std::size_t i = offset(x, y);
    bytes_[i] = c.r;
    bytes_[i + 1] = c.g;
    bytes_[i + 2] = c.b;
}

void RgbImage::fill(int left, int top, int right, int bottom, Rgb c) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width_ - 1);
    bottom = std::min(bottom, height_ - 1);
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) put(x, y, c);
}

}  // namespace tarn
