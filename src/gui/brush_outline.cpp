#include "brush_outline.h"

namespace tarn {

void drawBrushOutline(QPainter& painter, const QRectF& rect, bool round, qreal pixel) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, round);
    painter.setBrush(Qt::NoBrush);
    const auto draw = [&](const QRectF& r) { round ? painter.drawEllipse(r) : painter.drawRect(r); };
    painter.setPen(QPen(QColor(0, 0, 0, 200), pixel));
    draw(rect);
    painter.setPen(QPen(QColor(255, 255, 255, 220), pixel));
    draw(rect.adjusted(pixel, pixel, -pixel, -pixel));
    painter.restore();
}

QRect outlineArea(const QRectF& rect) { return rect.toAlignedRect().adjusted(-3, -3, 3, 3); }

}  // namespace tarn
