#pragma once
// What a pane shows of an 8-bit image whose rows are stored bottom-up: a
// true-colour copy, top-down, kept up to date row by row. Only rows whose
// indices changed since the last update (or all, when the palette or the size
// changed) are converted, through a 256-entry table of 32-bit colours, so a
// brush step redraws and repaints only the band it touched.
#include <QImage>
#include <QRect>
#include <array>
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
    // is non-zero the colour is blended with the selection tint. Returns the
    // band of pane rows that changed (empty when none did).
    QRect update(const std::uint8_t* rows, int pitch, int width, int height, const Palette& palette,
                 const std::uint8_t* tint = nullptr);
    // Draws the part of the copy inside `area` (widget coordinates).
    void draw(QPainter& painter, const QRect& area) const;
    // Image pixels per widget pixel: a pane drawn at device pixels is shown
    // one image pixel to one device pixel.
    void setRatio(qreal ratio) { ratio_ = ratio; }
    // The widget area showing `image` pixels of the copy, rounded outwards.
    QRect widgetArea(const QRect& image) const;

private:
    QImage rgb_;
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
