#include "indexed_blit.h"

#include <QBackingStore>
#include <QPaintEngine>
#include <QPainter>
#include <QWidget>
#include <cmath>
#include <algorithm>
#include <cstring>
#include <utility>

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

// The columns first to end - 1 where two rows differ, found a block at a
// time from either end: a brush step changes a short run of a wide row.
std::pair<int, int> differingColumns(const std::uint8_t* a, const std::uint8_t* b, int width) {
    constexpr int kBlock = 64;
    int first = 0, end = width;
    while (first + kBlock <= width && std::memcmp(a + first, b + first, kBlock) == 0) first += kBlock;
    while (first < width && a[first] == b[first]) ++first;
    while (end - kBlock >= first && std::memcmp(a + end - kBlock, b + end - kBlock, kBlock) == 0) end -= kBlock;
    while (end > first && a[end - 1] == b[end - 1]) --end;
    return {first, end};
}

}  // namespace

QRect IndexedBlit::update(const std::uint8_t* rows, int pitch, int width, int height, const Palette& palette,
                          const std::uint8_t* tint, int first, int end) {
    if (rows == nullptr || width <= 0 || height <= 0 || pitch < width) {
        rgb_ = QImage();
        shown_.clear();
        shownTint_.clear();
        width_ = height_ = 0;
        return {};
    }
    std::array<QRgb, kPaletteColors> colours;
    for (int i = 0; i < kPaletteColors; ++i) {
        const auto at = static_cast<std::size_t>(i) * 3;
        colours[static_cast<std::size_t>(i)] = qRgb(palette[at], palette[at + 1], palette[at + 2]);
    }
    const std::size_t bytes = static_cast<std::size_t>(pitch) * static_cast<std::size_t>(height);
    const bool everyRow = colours != colours_ || width_ != width || height_ != height || pitch != pitch_ ||
                          (tint != nullptr) == shownTint_.empty();
    if (everyRow) {
        width_ = width;
        height_ = height;
        colours_ = colours;
        std::transform(colours_.begin(), colours_.end(), tinted_.begin(), tintOf);
        pitch_ = pitch;
        shown_.assign(bytes, 0);
        shownTint_.assign(tint != nullptr ? bytes : 0, 0);
        stale_.assign(static_cast<std::size_t>(height), 1);
    }
    const auto rowWidth = static_cast<std::size_t>(width);
    int top = height, bottom = -1, left = everyRow ? 0 : width, right = everyRow ? width : 0;
    if (everyRow) first = 0, end = height;
    for (int r = std::max(first, 0); r < std::min(end, height); ++r) {
        const std::size_t at = static_cast<std::size_t>(r) * static_cast<std::size_t>(pitch);
        const std::uint8_t* source = rows + at;
        const std::uint8_t* tintRow = tint != nullptr ? tint + at : nullptr;
        std::uint8_t* before = shown_.data() + at;
        const bool sameTint = tintRow == nullptr || std::memcmp(shownTint_.data() + at, tintRow, rowWidth) == 0;
        if (!everyRow && sameTint && std::memcmp(before, source, rowWidth) == 0) continue;
        if (!everyRow) {
            const auto [from, to] = sameTint ? differingColumns(before, source, width) : std::pair(0, width);
            left = std::min(left, from);
            right = std::max(right, to);
        }
        std::memcpy(before, source, rowWidth);
        if (tintRow != nullptr) std::memcpy(shownTint_.data() + at, tintRow, rowWidth);
        // Row 0 is the bottom line of the pane.
        const int y = height - 1 - r;
        stale_[static_cast<std::size_t>(y)] = 1;
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    return bottom < top ? QRect() : QRect(left, top, right - left, bottom - top + 1);
}

void IndexedBlit::convertRow(int y, int left, int right, QRgb* out) const {
    const std::size_t at = static_cast<std::size_t>(height_ - 1 - y) * static_cast<std::size_t>(pitch_);
    const std::uint8_t* source = shown_.data() + at;
    if (shownTint_.empty()) {
        for (int x = left; x < right; ++x) out[x] = colours_[source[x]];
        return;
    }
    const std::uint8_t* tintRow = shownTint_.data() + at;
    for (int x = left; x < right; ++x) out[x] = (tintRow[x] != 0 ? tinted_ : colours_)[source[x]];
}

// A magnified picture repeats most rows: those cost a copy of the row above.
void IndexedBlit::convert(int top, int bottom, int left, int right, uchar* out, qsizetype stride) const {
    const auto n = static_cast<std::size_t>(right - left);
    const auto same = [&](int y) {
        const std::size_t at = static_cast<std::size_t>(height_ - 1 - y) * static_cast<std::size_t>(pitch_);
        const std::size_t above = at + static_cast<std::size_t>(pitch_);
        return std::memcmp(shown_.data() + at + left, shown_.data() + above + left, n) == 0 &&
               (shownTint_.empty() || std::memcmp(shownTint_.data() + at + left, shownTint_.data() + above + left, n) == 0);
    };
    for (int y = top; y < bottom; ++y, out += stride) {
        auto* row = reinterpret_cast<QRgb*>(out);
        if (y > top && same(y)) std::memcpy(row + left, reinterpret_cast<const QRgb*>(out - stride) + left, n * sizeof(QRgb));
        else convertRow(y, left, right, row);
    }
}

void IndexedBlit::draw(QPainter& painter, const QRect& area) {
    if (width_ <= 0 || height_ <= 0) return;
    if (drawIntoBackingStore(painter, area)) return;
    if (rgb_.width() != width_ || rgb_.height() != height_) {
        rgb_ = QImage(width_, height_, QImage::Format_RGB32);
        std::fill(stale_.begin(), stale_.end(), 1);
    }
    for (int y = 0; y < height_;) {
        if (!stale_[static_cast<std::size_t>(y)]) {
            ++y;
            continue;
        }
        int end = y;
        while (end < height_ && stale_[static_cast<std::size_t>(end)]) stale_[static_cast<std::size_t>(end++)] = 0;
        convert(y, end, 0, width_, rgb_.scanLine(y), rgb_.bytesPerLine());
        y = end;
    }
    if (ratio_ == 1.0) {
        const QRect inside = area.intersected(rgb_.rect());
        if (!inside.isEmpty()) painter.drawImage(inside.topLeft(), rgb_, inside);
        return;
    }
    const QRectF source(area.x() * ratio_, area.y() * ratio_, area.width() * ratio_, area.height() * ratio_);
    painter.drawImage(QRectF(area), rgb_, source);
}

// Only where the painter paints into the window's backing store image, one
// image pixel to one of its pixels at whole-pixel places, and in a format
// that holds the colours as they are; anything else (a grab into a pixmap, a
// fractional place) takes the copy.
bool IndexedBlit::drawIntoBackingStore(QPainter& painter, const QRect& area) {
    const QPaintDevice* device = painter.device();
    const QPaintEngine* engine = painter.paintEngine();
    if (device == nullptr || device->devType() != QInternal::Widget || engine == nullptr) return false;
    QBackingStore* store = static_cast<const QWidget*>(device)->backingStore();
    QPaintDevice* target = store != nullptr ? store->paintDevice() : nullptr;
    if (target == nullptr || engine->paintDevice() != target || target->devType() != QInternal::Image) return false;
    auto* image = static_cast<QImage*>(target);
    const QImage::Format format = image->format();
    if ((format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
         format != QImage::Format_ARGB32_Premultiplied) ||
        !image->isDetached())
        return false;
    const QTransform t = painter.deviceTransform();
    if (t.type() > QTransform::TxScale || t.m11() != ratio_ || t.m22() != ratio_ || t.dx() != std::floor(t.dx()) ||
        t.dy() != std::floor(t.dy()))
        return false;
    const QPoint at(static_cast<int>(t.dx()), static_cast<int>(t.dy()));
    // The pane's pixels to draw, and where they land in the store's image.
    const QRect pane = QRectF(area.x() * ratio_, area.y() * ratio_, area.width() * ratio_, area.height() * ratio_)
                           .toAlignedRect()
                           .intersected(QRect(0, 0, width_, height_))
                           .intersected(image->rect().translated(-at));
    if (pane.isEmpty()) return true;
    const qsizetype stride = image->bytesPerLine();
    uchar* out = image->bits() + (pane.top() + at.y()) * stride + (at.x()) * qsizetype(sizeof(QRgb));
    convert(pane.top(), pane.bottom() + 1, pane.left(), pane.right() + 1, out, stride);
    return true;
}

QRect IndexedBlit::widgetArea(const QRect& image) const {
    if (image.isEmpty() || ratio_ == 1.0) return image;
    const QRectF r(image.x() / ratio_, image.y() / ratio_, image.width() / ratio_, image.height() / ratio_);
    return r.toAlignedRect();
}

}  // namespace tarn
