#pragma once
// The brush tip's outline under the pointer, in both panes: a dark and a
// light line side by side, so it shows on any skin.
#include <QPainter>
#include <QRectF>
#include <QRegion>

namespace tarn {

// `rect` in the painter's coordinates; `pixel` is one device pixel in them.
// Only the parts inside `area` (the region being painted) are drawn.
void drawBrushOutline(QPainter& painter, const QRegion& area, const QRectF& rect, bool round, qreal pixel);

// The area to repaint for an outline drawn in `rect` (widget coordinates).
QRect outlineArea(const QRectF& rect);

}  // namespace tarn
