#include "indexed_blit.h"

#include <QPainter>
#include <algorithm>
#include <cstring>

#include "image/palette_file.h"

namespace tarn {

const Palette& greyPalette() {
    static const Palette grey = greyRampPalette();
    return grey;
}

QRect IndexedBlit::update(const std::uint8_t* rows, int pitch, int width, int height, const Palette& palette) {
    if (rows == nullptr || width <= 0 || height <= 0 || pitch < width) {
        rgb_ = QImage();
        shown_.clear();
        return {};
    }
    std::array<QRgb, kPaletteColors> colours;
    for (int i = 0; i < kPaletteColors; ++i) {
        const auto at = static_cast<std::size_t>(i) * 3;
        colours[static_cast<std::size_t>(i)] = qRgb(palette[at], palette[at + 1], palette[at + 2]);
    }
    const std::size_t bytes = static_cast<std::size_t>(pitch) * static_cast<std::size_t>(height);
    bool everyRow = colours != colours_ || rgb_.width() != width || rgb_.height() != height || pitch != pitch_;
    if (everyRow) {
        if (rgb_.width() != width || rgb_.height() != height) rgb_ = QImage(width, height, QImage::Format_RGB32);
        colours_ = colours;
        pitch_ = pitch;
        shown_.assign(bytes, 0);
    }
    int top = height, bottom = -1;
    for (int r = 0; r < height; ++r) {
        const std::uint8_t* source = rows + static_cast<std::size_t>(r) * static_cast<std::size_t>(pitch);
        std::uint8_t* before = shown_.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(pitch);
        if (!everyRow && std::memcmp(before, source, static_cast<std::size_t>(width)) == 0) continue;
        std::memcpy(before, source, static_cast<std::size_t>(width));
        // Row 0 is the bottom line of the pane.
        const int y = height - 1 - r;
        auto* out = reinterpret_cast<QRgb*>(rgb_.scanLine(y));
        for (int x = 0; x < width; ++x) out[x] = colours_[source[x]];
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    return bottom < top ? QRect() : QRect(0, top, width, bottom - top + 1);
}

void IndexedBlit::draw(QPainter& painter, const QRect& area) const {
    if (rgb_.isNull()) return;
    const QRect inside = area.intersected(rgb_.rect());
    if (!inside.isEmpty()) painter.drawImage(inside.topLeft(), rgb_, inside);
}

}  // namespace tarn
