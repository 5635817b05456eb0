#include "cursors.h"

#include "brush_outline.h"

#include <QPainter>
#include <QPixmap>
#include <QTabletEvent>

namespace tarn {
namespace {

constexpr int kSide = 32;

// Each shape is drawn twice: a wide white outline, then the black figure, so
// it reads on any skin colour.
template <typename Draw>
QCursor drawnCursor(int hotX, int hotY, Draw draw) {
    QPixmap pixmap(kSide, kSide);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    draw(p);
    p.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    draw(p);
    p.end();
    return QCursor(pixmap, hotX, hotY);
}

}  // namespace

QCursor cameraCursor() {
    // A small camera body with its lens, and a circling arrow for the orbit.
    return drawnCursor(16, 16, [](QPainter& p) {
        p.drawRoundedRect(QRectF(8, 11, 16, 11), 2, 2);
        p.drawEllipse(QPointF(16, 16.5), 3.5, 3.5);
        p.drawLine(QPointF(11, 11), QPointF(13, 8));
        p.drawLine(QPointF(13, 8), QPointF(17, 8));
        p.drawArc(QRectF(4, 4, 24, 24), 200 * 16, 140 * 16);
        p.drawLine(QPointF(25.5, 22.5), QPointF(27.5, 25.5));
        p.drawLine(QPointF(25.5, 22.5), QPointF(22.5, 23.5));
    });
}

QCursor paintCursor() {
    // A pencil whose tip is the hot spot.
    return drawnCursor(2, 29, [](QPainter& p) {
        const QPointF body[] = {{2, 29}, {5, 21}, {23, 3}, {28, 8}, {10, 26}, {2, 29}};
        p.drawPolyline(body, 6);
        p.drawLine(QPointF(5, 21), QPointF(10, 26));
        p.drawLine(QPointF(20, 6), QPointF(25, 11));
    });
}

QCursor mappingCursor() {
    // Cross hairs around a vertex handle.
    return drawnCursor(15, 15, [](QPainter& p) {
        p.drawLine(QPointF(15, 2), QPointF(15, 11));
        p.drawLine(QPointF(15, 19), QPointF(15, 28));
        p.drawLine(QPointF(2, 15), QPointF(11, 15));
        p.drawLine(QPointF(19, 15), QPointF(28, 15));
        p.drawRect(QRectF(12.5, 12.5, 5, 5));
    });
}

QCursor cursorFor(PaneCursor shape) {
    static const QCursor camera = cameraCursor();
    static const QCursor paint = paintCursor();
    static const QCursor mapping = mappingCursor();
    switch (shape) {
    case PaneCursor::Camera: return camera;
    case PaneCursor::Paint: return paint;
    case PaneCursor::Mapping: return mapping;
    }
    return paint;
}

MouseEvent toMouseEvent(const QMouseEvent& event, qreal scale) {
    const auto bits = [](Qt::MouseButtons b) {
        unsigned out = kNoButton;
        if (b & Qt::LeftButton) out |= kLeftButton;
        if (b & Qt::RightButton) out |= kRightButton;
        if (b & Qt::MiddleButton) out |= kMiddleButton;
        return out;
    };
    MouseEvent e;
    const QPoint pos = (event.position() * scale).toPoint();
    e.x = pos.x();
    e.y = pos.y();
    e.button = bits(event.button());
    e.buttons = bits(event.buttons());
    e.shift = event.modifiers().testFlag(Qt::ShiftModifier);
    e.ctrl = event.modifiers().testFlag(Qt::ControlModifier);
    e.alt = event.modifiers().testFlag(Qt::AltModifier);
    return e;
}

void WidgetPointer::hideCursor() {
    hidden_ = true;
    widget_.setCursor(Qt::BlankCursor);
}

void WidgetPointer::showCursor() {
    hidden_ = false;
    widget_.setCursor(shape_);
}

void WidgetPointer::setShape(const QCursor& shape) {
    shape_ = shape;
    if (!hidden_) widget_.setCursor(shape_);
}

bool WidgetPointer::warpTo(int x, int y) {
    const QPoint target = widget_.mapToGlobal(QPointF(x / scale_, y / scale_)).toPoint();
    QCursor::setPos(target);
    // Some platforms (Wayland among them) refuse to move the pointer.
    return QCursor::pos() == target;
}

PaneWidget::PaneWidget(PaneInput& input, QWidget* parent) : QWidget(parent), pointer_(*this), input_(input) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaneWidget::updateShape() {
    if (const auto s = shape()) pointer_.setShape(*s);
}

namespace {
// The panes' drags, strokes, picks and presets are made with the left and
// right buttons only; the others neither start nor end them.
bool paneButton(const QMouseEvent& event) {
    return event.button() == Qt::LeftButton || event.button() == Qt::RightButton;
}
}  // namespace

void PaneWidget::mousePressEvent(QMouseEvent* event) {
    if (!paneButton(*event)) return;
    updateShape();
    input_.mousePress(toMouseEvent(*event, pointer_.scale()), pointer_);
    afterInput();
}

void PaneWidget::mouseMoveEvent(QMouseEvent* event) {
    const std::optional<QPointF> before = hover_;
    hover_ = event->position();
    hoverChanged(before);
    if (!pointer_.captured()) {
        updateShape();
        return;
    }
    input_.mouseMove(toMouseEvent(*event, pointer_.scale()), pointer_);
    afterInput();
}

void PaneWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (!pointer_.captured() || !paneButton(*event)) return;
    input_.mouseRelease(toMouseEvent(*event, pointer_.scale()), pointer_);
    afterInput();
}

void PaneWidget::enterEvent(QEnterEvent*) { updateShape(); }

// The pressure is taken here and the event left to Qt, which sends it on as
// the mouse events the pane already handles.
void PaneWidget::tabletEvent(QTabletEvent* event) {
    const bool touching = event->type() != QEvent::TabletRelease && event->pressure() > 0.0;
    penPressure(touching ? static_cast<float>(event->pressure()) : 1.0f);
    event->ignore();
}

void PaneWidget::hoverChanged(std::optional<QPointF> before) {
    QRegion area;
    for (const auto& at : {before, hover_})
        if (const auto rect = outlineAt(at)) area += outlineArea(*rect);
    if (!area.isEmpty()) update(area);
}

void PaneWidget::leaveEvent(QEvent*) {
    const std::optional<QPointF> before = hover_;
    hover_.reset();
    hoverChanged(before);
}

bool PaneWidget::event(QEvent* event) {
    // Losing the pointer mid-drag (another window took it) ends the drag.
    if ((event->type() == QEvent::UngrabMouse || event->type() == QEvent::WindowDeactivate) && pointer_.captured()) {
        pointer_.releaseCapture();
        input_.captureLost(pointer_);
        if (pointer_.hidden()) pointer_.showCursor();
        afterInput();
    }
    // A paint is the one event every change of scale brings; a pane drawn at
    // device pixels is drawn again after it rather than inside it. Panes drawn
    // at logical pixels never differ from their scale, so their paints queue
    // nothing (each queued redraw would paint, and so queue, another).
    if (event->type() == QEvent::ScreenChangeInternal) checkScale();
    else if (event->type() == QEvent::Paint && devicePixelRatioF() != drawnScale())
        QMetaObject::invokeMethod(this, [this] { checkScale(); }, Qt::QueuedConnection);
    return QWidget::event(event);
}

void PaneWidget::checkScale() {
    if (devicePixelRatioF() == drawnScale()) return;
    followScale();
    update();
}

}  // namespace tarn
