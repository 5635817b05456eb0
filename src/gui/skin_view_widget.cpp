#include "skin_view_widget.h"

#include <QImage>
#include <QPainter>

#include "image/palette_file.h"
#include "image/skin.h"

namespace tarn {

const Palette& greyPalette() {
    static const Palette grey = greyRampPalette();
    return grey;
}

void drawIndexedBottomUp(QPainter& painter, const std::uint8_t* rows, int pitch, int width, int height,
                         const Palette& palette) {
    if (rows == nullptr || width <= 0 || height <= 0) return;
    QImage image(rows, pitch, height, pitch, QImage::Format_Indexed8);
    QList<QRgb> table(kPaletteColors);
    for (int i = 0; i < kPaletteColors; ++i) {
        const auto at = static_cast<std::size_t>(i) * 3;
        table[i] = qRgb(palette[at], palette[at + 1], palette[at + 2]);
    }
    image.setColorTable(table);
    // Row 0 is the bottom line of the pane.
    painter.save();
    painter.translate(0, height);
    painter.scale(1, -1);
    painter.drawImage(QPoint(0, 0), image, QRect(0, 0, width, height));
    painter.restore();
}

SkinViewWidget::SkinViewWidget(PaneContext context, QWidget* parent)
    : PaneWidget(view_, parent), context_(context), view_(std::move(context)) {
    setObjectName(QStringLiteral("Skin Box"));
    setMouseTracking(true);
    updateShape();
}

void SkinViewWidget::redraw(int kind) {
    view_.redraw(kind);
    repaint();
}

void SkinViewWidget::wheelZoom(int delta) {
    view_.wheel(delta);
    repaint();
}

void SkinViewWidget::fitSkin() {
    view_.fit();
    repaint();
}

void SkinViewWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const Skin* skin = context_.currentSkin ? context_.currentSkin() : nullptr;
    drawIndexedBottomUp(painter, view_.image().data(), view_.viewWidth(), view_.clientWidth(), view_.viewHeight(),
                        skin != nullptr ? skin->palette : greyPalette());
}

void SkinViewWidget::resizeEvent(QResizeEvent*) { view_.resize(width(), height()); }

}  // namespace tarn
