#include "pal_box_widget.h"

#include <QImage>
#include <QPainter>

namespace tarn {

void drawRgb(QPainter& painter, const RgbImage& image) {
    if (image.width() <= 0 || image.height() <= 0) return;
    const QImage view(image.bytes().data(), image.width(), image.height(), image.stride(), QImage::Format_RGB888);
    painter.drawImage(QPoint(0, 0), view);
}

PalBoxWidget::PalBoxWidget(PaintState& paint, RefreshSink& refresh, std::function<const Palette*()> palette,
                           QWidget* parent)
    : PaneWidget(box_, parent), box_(paint, refresh, std::move(palette)) {
    setObjectName(QStringLiteral("Pal Box"));
}

void PalBoxWidget::redraw() {
    box_.redraw();
    repaint();
}

void PalBoxWidget::wheel(int delta) {
    box_.wheel(delta);
    repaint();
}

void PalBoxWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    drawRgb(painter, box_.image());
}

void PalBoxWidget::resizeEvent(QResizeEvent*) { box_.resize(width(), height()); }

}  // namespace tarn
