#pragma once
// TARN's own pointer shapes for the two displays (camera, paint, mapping) and
// the pointer services the pane behaviours ask for, done for a QWidget.
#include <QCursor>
#include <QMouseEvent>
#include <QWidget>
#include <optional>

#include "render/iso_view_context.h"
#include "render/iso_view_input.h"

namespace tarn {

QCursor cameraCursor();
QCursor paintCursor();
QCursor mappingCursor();
QCursor cursorFor(PaneCursor shape);

// A Qt mouse event as the panes see it: client position, the button of a
// press or release, the buttons held after the event, Shift and Ctrl.
// Positions are multiplied by `scale`: a pane drawn at device pixels takes
// them in device pixels.
MouseEvent toMouseEvent(const QMouseEvent& event, qreal scale = 1.0);

// Capture is Qt's implicit grab while a button is down; hiding sets a blank
// cursor; warping moves the real pointer and reports whether it landed.
class WidgetPointer final : public PointerControl {
public:
    explicit WidgetPointer(QWidget& widget) : widget_(widget) {}
    void capture() override { captured_ = true; }
    void releaseCapture() override { captured_ = false; }
    void hideCursor() override;
    void showCursor() override;
    bool warpTo(int x, int y) override;

    bool captured() const { return captured_; }
    bool hidden() const { return hidden_; }
    // The shape shown while the cursor is not hidden.
    void setShape(const QCursor& shape);
    // Pane pixels per widget pixel.
    void setScale(qreal scale) { scale_ = scale; }
    qreal scale() const { return scale_; }

private:
    QWidget& widget_;
    QCursor shape_;
    bool captured_ = false;
    bool hidden_ = false;
    qreal scale_ = 1.0;
};

// A pane widget: forwards Qt's mouse events to the pane's behaviour while it
// holds the capture, and ends the drag when the pointer is taken away.
class PaneWidget : public QWidget {
public:
    PaneWidget(PaneInput& input, QWidget* parent);
    const WidgetPointer& pointer() const { return pointer_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    bool event(QEvent* event) override;

    // The pane's pointer shape, or nothing for the default arrow.
    virtual std::optional<QCursor> shape() const { return std::nullopt; }
    // After every event handed to the behaviour.
    virtual void afterInput() {}
    // The pointer moved over the pane (or left it: `hover()` is then empty);
    // `before` is where it was. The brush outline is repainted where it was and is.
    void hoverChanged(std::optional<QPointF> before);
    // Where a pane draws the brush tip's outline for the pointer at `at`;
    // nothing where it draws none.
    virtual std::optional<QRectF> outlineAt(std::optional<QPointF> at) const {
        (void)at;
        return std::nullopt;
    }
    std::optional<QPointF> hover() const { return hover_; }
    void leaveEvent(QEvent* event) override;
    // A pen's pressure (0..1] while it touches, 1 otherwise: panes that
    // paint scale the brush by it.
    virtual void penPressure(float pressure) { (void)pressure; }
    void tabletEvent(QTabletEvent* event) override;
    // Draws the pane again at the device pixels of its screen's scale, which
    // changes under the same logical size when the window moves to another
    // screen or the screen's scale is changed.
    virtual void followScale() {}
    // The scale the pane's picture was made for. A pane drawn at logical
    // pixels is right at every scale and never needs to follow one.
    virtual qreal drawnScale() const { return devicePixelRatioF(); }
    void updateShape();

    WidgetPointer pointer_;

private:
    void checkScale();

    PaneInput& input_;
    std::optional<QPointF> hover_;
};

}  // namespace tarn
