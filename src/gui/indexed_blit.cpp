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

namespace {

// The selection tint: a clear blue laid over a little under half of each
// colour, which reads on the browns and greys of game skins and on any
// palette, since it shifts every colour the same way.
constexpr int kTintRed = 40, kTintGreen = 150, kTintBlue = 255;
constexpr int kTintWeight = 90;  // of 256

QRgb tintOf(QRgb c) {
    const auto mix = [](int from, int to) { return from + (to - from) * kTintWeight / 256; };
    return qRgb(mix(qRed(c), kTintRed), mix(qGreen(c), kTintGreen), mix(qBlue(c), kTintBlue));
}

}  // namespace

QRect IndexedBlit::update(const std::uint8_t* rows, int pitch, int width, int height, const Palette& palette,
                          const std::uint8_t* tint) {
    if (rows == nullptr || width <= 0 || height <= 0 || pitch < width) {
        rgb_ = QImage();
        shown_.clear();
        shownTint_.clear();
        return {};
    }
    std::array<QRgb, kPaletteColors> colours;
    for (int i = 0; i < kPaletteColors; ++i) {
        const auto at = static_cast<std::size_t>(i) * 3;
        colours[static_cast<std::size_t>(i)] = qRgb(palette[at], palette[at + 1], palette[at + 2]);
    }
    const std::size_t bytes = static_cast<std::size_t>(pitch) * static_cast<std::size_t>(height);
    bool everyRow = colours != colours_ || rgb_.width() != width || rgb_.height() != height || pitch != pitch_ ||
                    (tint != nullptr) == shownTint_.empty();
    if (everyRow) {
        if (rgb_.width() != width || rgb_.height() != height) rgb_ = QImage(width, height, QImage::Format_RGB32);
        colours_ = colours;
        std::transform(colours_.begin(), colours_.end(), tinted_.begin(), tintOf);
        pitch_ = pitch;
        shown_.assign(bytes, 0);
        shownTint_.assign(tint != nullptr ? bytes : 0, 0);
    }
    const auto rowWidth = static_cast<std::size_t>(width);
    int top = height, bottom = -1;
    for (int r = 0; r < height; ++r) {
        const std::size_t at = static_cast<std::size_t>(r) * static_cast<std::size_t>(pitch);
        const std::uint8_t* source = rows + at;
        const std::uint8_t* tintRow = tint != nullptr ? tint + at : nullptr;
        std::uint8_t* before = shown_.data() + at;
        const bool sameTint = tintRow == nullptr || std::memcmp(shownTint_.data() + at, tintRow, rowWidth) == 0;
        if (!everyRow && sameTint && std::memcmp(before, source, rowWidth) == 0) continue;
        std::memcpy(before, source, rowWidth);
        if (tintRow != nullptr) std::memcpy(shownTint_.data() + at, tintRow, rowWidth);
        // Row 0 is the bottom line of the pane.
        const int y = height - 1 - r;
        auto* out = reinterpret_cast<QRgb*>(rgb_.scanLine(y));
        if (tintRow == nullptr) {
            for (int x = 0; x < width; ++x) out[x] = colours_[source[x]];
        } else {
            for (int x = 0; x < width; ++x) out[x] = (tintRow[x] != 0 ? tinted_ : colours_)[source[x]];
        }
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    return bottom < top ? QRect() : QRect(0, top, width, bottom - top + 1);
}

void IndexedBlit::draw(QPainter& painter, const QRect& area) const {
    if (rgb_.isNull()) return;
    if (ratio_ == 1.0) {
        const QRect inside = area.intersected(rgb_.rect());
        if (!inside.isEmpty()) painter.drawImage(inside.topLeft(), rgb_, inside);
        return;
    }
    const QRectF source(area.x() * ratio_, area.y() * ratio_, area.width() * ratio_, area.height() * ratio_);
    painter.drawImage(QRectF(area), rgb_, source);
}

QRect IndexedBlit::widgetArea(const QRect& image) const {
    if (image.isEmpty() || ratio_ == 1.0) return image;
    const QRectF r(image.x() / ratio_, image.y() / ratio_, image.width() / ratio_, image.height() / ratio_);
    return r.toAlignedRect();
}

}  // namespace tarn
