#pragma once
// TARN's own pointer shapes for the two displays (camera, paint, mapping) and
// the pointer services the pane behaviours ask for, done for a QWidget.
#include <QCursor>
#include <QMouseEvent>
#include <QWidget>

#include "render/iso_view_context.h"
#include "render/iso_view_input.h"

namespace tarn {

QCursor cameraCursor();
QCursor paintCursor();
QCursor mappingCursor();
QCursor cursorFor(PaneCursor shape);

// A Qt mouse event as the panes see it: client position, the button of a
// press or release, the buttons held after the event, Shift and Ctrl.
MouseEvent toMouseEvent(const QMouseEvent& event);

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

private:
    QWidget& widget_;
    QCursor shape_;
    bool captured_ = false;
    bool hidden_ = false;
};

}  // namespace tarn
