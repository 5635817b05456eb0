#include "brush_outline.h"

namespace tarn {

namespace {

void strokeOutline(QPainter& painter, const QRectF& rect, bool round, qreal pixel) {
    const auto draw = [&](const QRectF& r) { round ? painter.drawEllipse(r) : painter.drawRect(r); };
    painter.setPen(QPen(QColor(0, 0, 0, 200), pixel));
    draw(rect);
    painter.setPen(QPen(QColor(255, 255, 255, 220), pixel));
    draw(rect.adjusted(pixel, pixel, -pixel, -pixel));
}

}  // namespace

// A stroke clipped to a region of several rectangles (the painted band and
// the outline's old and new places) costs several times the same stroke
// clipped to each rectangle in turn, and it touches the same pixels.
void drawBrushOutline(QPainter& painter, const QRegion& area, const QRectF& rect, bool round, qreal pixel) {
    const QRect reach = outlineArea(rect);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, round);
    painter.setBrush(Qt::NoBrush);
    for (const QRect& part : area) {
        const QRect clip = part.intersected(reach);
        if (clip.isEmpty()) continue;
        painter.setClipRect(clip);
        strokeOutline(painter, rect, round, pixel);
    }
    painter.restore();
}

QRect outlineArea(const QRectF& rect) { return rect.toAlignedRect().adjusted(-3, -3, 3, 3); }

}  // namespace tarn
