#pragma once
// What a pane shows of an 8-bit image whose rows are stored bottom-up: the
// indices last shown, kept up to date row by row, and their colours through
// a 256-entry table of 32-bit colours. Only rows whose indices changed since
// the last update (or all, when the palette or the size changed) count as
// changed, so a brush step redraws and repaints only the band it touched.
// The colours are written straight into the window's backing store where the
// platform paints into one (a copy there and another into it would cost a
// large pane twice), else into a true-colour copy that is drawn.
#include <QImage>
#include <QRect>
#include <array>
#include <climits>
#include <cstdint>
#include <vector>

#include "image/palette.h"

class QPainter;

namespace tarn {

class IndexedBlit {
public:
    // Brings the copy up to date with `rows` (`pitch` bytes apart, bottom row
    // first), of which the left `width` x `height` pixels are shown in the
    // colours of `palette`. Where `tint` (laid out as `rows`, or null for none)
    // is non-zero the colour is blended with the selection tint. Only rows
    // `first` to `end` - 1 (counted as `rows` stores them) are looked at, the
    // others taken as unchanged, unless the palette, the size or whether there
    // is a tint changed. Returns the band of pane rows that changed (empty
    // when none did), as narrow as the columns that changed.
    QRect update(const std::uint8_t* rows, int pitch, int width, int height, const Palette& palette,
                 const std::uint8_t* tint = nullptr, int first = 0, int end = INT_MAX);
    // Draws the part of the image inside `area` (widget coordinates).
    void draw(QPainter& painter, const QRect& area);
    // Image pixels per widget pixel: a pane drawn at device pixels is shown
    // one image pixel to one device pixel.
    void setRatio(qreal ratio) { ratio_ = ratio; }
    // The widget area showing `image` pixels of the copy, rounded outwards.
    QRect widgetArea(const QRect& image) const;

private:
    // Pane row y (top-down) in colours, pixels `left` .. `right` - 1.
    void convertRow(int y, int left, int right, QRgb* out) const;
    // Converts pane rows top .. bottom - 1 (left .. right - 1) into rows
    // `stride` bytes apart from `out`; a row whose indices equal the row
    // above it copies that row's colours.
    void convert(int top, int bottom, int left, int right, uchar* out, qsizetype stride) const;
    bool drawIntoBackingStore(QPainter& painter, const QRect& area);

    QImage rgb_;
    std::vector<char> stale_;  // pane rows of `rgb_` not converted since they changed
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> shown_;  // the indices the copy was made from
    std::vector<std::uint8_t> shownTint_;  // and the tint, empty when there was none
    std::array<QRgb, kPaletteColors> colours_{};
    std::array<QRgb, kPaletteColors> tinted_{};
    int pitch_ = 0;
    qreal ratio_ = 1.0;
};

// The grey ramp shown while there is no Skin.
const Palette& greyPalette();

}  // namespace tarn
