#include "skin_view_widget.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "brush_outline.h"
#include "image/skin.h"

namespace tarn {

SkinViewWidget::SkinViewWidget(PaneContext context, QWidget* parent)
    : PaneWidget(view_, parent), context_(context), view_(std::move(context)), rectangleTool_(view_, context_.refresh) {
    setObjectName(QStringLiteral("Skin Box"));
    // A click takes the keys from the lists, so the arrows reach Mapping Mode.
    setFocusPolicy(Qt::ClickFocus);
    view_.setRectangleTool(&rectangleTool_);
    setMouseTracking(true);
    updateShape();
}

void SkinViewWidget::redraw(int kind) {
    view_.redraw(kind);
    show();
}

void SkinViewWidget::wheelZoom(int delta, QPoint at) {
    const qreal ratio = devicePixelRatioF();
    view_.wheel(delta, qRound(at.x() * ratio), qRound(at.y() * ratio));
    show();
}

void SkinViewWidget::fitSkin() {
    fitPending_ = !isVisible() || width() <= 0 || height() <= 0;
    view_.fit();
    show();
}

// Only the rows the view drew since are compared with the copy.
QRect SkinViewWidget::updateCopy() {
    const Skin* skin = context_.currentSkin ? context_.currentSkin() : nullptr;
    const SkinView::RowSpan drawn = view_.takeDrawnRows();
    return blit_.update(view_.image().data(), view_.viewWidth(), view_.clientWidth(), view_.viewHeight(),
                        skin != nullptr ? skin->palette : greyPalette(), tint(), drawn.first, drawn.end);
}

void SkinViewWidget::show() {
    const QRect changed = updateCopy();
    if (changed.isEmpty()) return;
    // What is drawn over the blit moves with the whole view, not only where the view changed.
    if (pixelGrid_ || view_.rectangleMode || selectionShown()) repaint();
    else repaint(blit_.widgetArea(changed));
}

const std::uint8_t* SkinViewWidget::tint() const { return view_.tint().empty() ? nullptr : view_.tint().data(); }

void SkinViewWidget::paintEvent(QPaintEvent* event) {
    // An expose may come before any redraw was shown: bring the copy up to date first.
    updateCopy();
    QPainter painter(this);
    blit_.draw(painter, event->rect());
    if (pixelGrid_) drawPixelGrid(painter);
    if (view_.rectangleMode) drawRectangle(painter);
    if (selectionShown()) drawSelection(painter);
    if (const auto rect = outlineAt(hover()))
        drawBrushOutline(painter, event->region(), *rect, context_.paint.tip.shape == BrushShape::Round && context_.paint.tip.size > 2,
                         1.0 / devicePixelRatioF());
}

// Over the outline the 8-bit view draws in the edge colour: a colour no
// mapping edge has, and a handle at each corner to show where to drag.
void SkinViewWidget::drawRectangle(QPainter& painter) const {
    const MapRect& rect = view_.mapRect;
    const float zoom = view_.zoom();
    const int hw = view_.viewWidth() / 2;
    const int hh = view_.viewHeight() / 2;
    const int rows = view_.viewHeight();
    // The view's rows count from the bottom; the widget's from the top.
    auto x = [&](float s) { return int(std::floor(float(hw) + (s - view_.panX()) * zoom)); };
    auto y = [&](float t) { return rows - 1 - int(std::floor(float(hh) - (t - view_.panY()) * zoom)); };
    const qreal ratio = devicePixelRatioF();
    painter.save();
    painter.scale(1.0 / ratio, 1.0 / ratio);
    const QColor orange(255, 150, 0);
    painter.setPen(QPen(orange, 1.0));
    const QRectF outline(QPointF(x(float(rect.left)) + 0.5, y(float(rect.top)) + 0.5),
                         QPointF(x(float(rect.right)) + 0.5, y(float(rect.bottom)) + 0.5));
    painter.drawRect(outline.normalized());
    const qreal half = 3.0 * ratio;
    for (const QPointF& corner : {outline.topLeft(), outline.topRight(), outline.bottomLeft(), outline.bottomRight()}) {
        painter.fillRect(QRectF(corner.x() - half, corner.y() - half, 2 * half, 2 * half), Qt::black);
        painter.fillRect(QRectF(corner.x() - half + 1, corner.y() - half + 1, 2 * half - 2, 2 * half - 2), orange);
    }
    painter.restore();
}

// Texel edges in device pixels as the skin quad places them: the same pan and zoom.
int SkinViewWidget::edgeX(int s) const {
    return int(std::floor(float(view_.viewWidth() / 2) + (float(s) - view_.panX()) * view_.zoom()));
}

int SkinViewWidget::edgeY(int t) const {
    return int(std::floor(float(view_.viewHeight() / 2) + (float(t) - view_.panY()) * view_.zoom()));
}

std::optional<QRectF> SkinViewWidget::outlineAt(std::optional<QPointF> at) const {
    const PaneModes& modes = view_.modes();
    const Skin* skin = context_.currentSkin ? context_.currentSkin() : nullptr;
    if (!at || skin == nullptr || modes.mappingMode || modes.cameraOverride || view_.rectangleMode) return std::nullopt;
    const qreal ratio = devicePixelRatioF();
    const int s = view_.skinXAt(qRound(at->x() * ratio)), t = view_.skinYAt(qRound(at->y() * ratio));
    if (s < 0 || t < 0 || s >= skin->width || t >= skin->height) return std::nullopt;
    const BrushTip& tip = context_.paint.tip;
    const int lo = -(tip.size - 1) / 2, hi = tip.size / 2;
    const int x0 = edgeX(s + lo), x1 = edgeX(s + hi + 1), y0 = edgeY(t + lo), y1 = edgeY(t + hi + 1);
    return QRectF(x0 / ratio, y0 / ratio, (x1 - x0) / ratio, (y1 - y0) / ratio);
}

void SkinViewWidget::penPressure(float pressure) {
    const Skin* skin = context_.currentSkin ? context_.currentSkin() : nullptr;
    context_.paint.applyPressure(pressure, skin ? &skin->palette : nullptr);
}

void SkinViewWidget::setPixelGrid(bool on) {
    pixelGrid_ = on;
    update();
}

// Drawn over the blit rather than into the 8-bit view: a grid in a colour of
// its own, which no palette entry of the skin has to provide.
void SkinViewWidget::drawPixelGrid(QPainter& painter) const {
    const Skin* skin = context_.currentSkin ? context_.currentSkin() : nullptr;
    const float zoom = view_.zoom();
    if (skin == nullptr || zoom < kGridZoom) return;
    const qreal ratio = devicePixelRatioF();
    painter.save();
    painter.scale(1.0 / ratio, 1.0 / ratio);
    painter.setPen(QPen(QColor(0, 0, 0, 96), 1.0));
    const int w = view_.clientWidth();
    const int h = view_.viewHeight();
    const int top = std::max(edgeY(0), 0);
    const int bottom = std::min(edgeY(skin->height), h);
    const int left = std::max(edgeX(0), 0);
    const int right = std::min(edgeX(skin->width), w);
    for (int s = std::max(0, view_.skinXAt(0)); s <= skin->width; ++s) {
        const int x = edgeX(s);
        if (x > right) break;
        if (x >= left) painter.drawLine(QPointF(x + 0.5, top), QPointF(x + 0.5, bottom));
    }
    for (int t = std::max(0, view_.skinYAt(0)); t <= skin->height; ++t) {
        const int y = edgeY(t);
        if (y > bottom) break;
        if (y >= top) painter.drawLine(QPointF(left, y + 0.5), QPointF(right, y + 0.5));
    }
    painter.restore();
}

// Drawn at device pixels, as the 3D pane is: on a scaled screen every texel
// then covers whole device pixels at every zoom.
void SkinViewWidget::resizeEvent(QResizeEvent*) { followScale(); }

void SkinViewWidget::followScale() {
    const qreal ratio = devicePixelRatioF();
    blit_.setRatio(ratio);
    pointer_.setScale(ratio);
    view_.resize(qRound(width() * ratio), qRound(height() * ratio));
    if (fitPending_ && isVisible()) fitSkin();
}

}  // namespace tarn
