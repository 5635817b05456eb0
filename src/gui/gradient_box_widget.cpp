#include "gradient_box_widget.h"

#include <QPainter>

#include "pal_box_widget.h"
#include "shell_widget.h"

namespace tarn {
namespace {

Rgb rgbOf(const QColor& c) {
    return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()), static_cast<std::uint8_t>(c.blue())};
}

}  // namespace

GradientBoxWidget::GradientBoxWidget(PaintState& paint, RefreshSink& refresh, ShellLayout& layout, ShellWidget& shell,
                                     ShellControl& control, std::function<int()> renderMode, QWidget* parent)
    : QWidget(parent), shell_(shell), box_(paint, refresh, layout, control, std::move(renderMode)), pointer_(*this) {
    setObjectName(QStringLiteral("Gradient Box"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    takeSystemColors();
}

void GradientBoxWidget::takeSystemColors() {
    const QPalette& p = palette();
    ButtonColors colors;
    colors.face = rgbOf(p.color(QPalette::Button));
    colors.highlight = rgbOf(p.color(QPalette::Light));
    colors.shadow = rgbOf(p.color(QPalette::Dark));
    colors.text = rgbOf(p.color(QPalette::ButtonText));
    box_.setColors(colors);
}

void GradientBoxWidget::redraw() {
    box_.redraw();
    repaint();
}

void GradientBoxWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawRgb(painter, box_.image());
}

void GradientBoxWidget::resizeEvent(QResizeEvent*) { box_.resize(width(), height()); }

void GradientBoxWidget::mousePressEvent(QMouseEvent* event) {
    box_.mousePress(toMouseEvent(*event), pointer_);
    repaint();
}

// The press on the handle keeps Qt's grab here, so the shell's splitter drag
// is fed from this widget's moves and release.
void GradientBoxWidget::mouseMoveEvent(QMouseEvent* event) {
    if (shell_.splitterDragging()) {
        shell_.splitterMove(mapTo(&shell_, event->position().toPoint()).x());
        return;
    }
    if (!pointer_.captured()) return;
    box_.mouseMove(toMouseEvent(*event), pointer_);
    repaint();
}

void GradientBoxWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (shell_.splitterDragging()) {
        if (event->button() == Qt::LeftButton) shell_.splitterEnd();
        return;
    }
    if (!pointer_.captured()) return;
    box_.mouseRelease(toMouseEvent(*event), pointer_);
    repaint();
}

void GradientBoxWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
        takeSystemColors();
        update();
    }
    QWidget::changeEvent(event);
}

bool GradientBoxWidget::event(QEvent* event) {
    if (event->type() == QEvent::UngrabMouse || event->type() == QEvent::WindowDeactivate) {
        if (shell_.splitterDragging()) shell_.splitterEnd();
        if (pointer_.captured()) {
            pointer_.releaseCapture();
            box_.captureLost(pointer_);
            update();
        }
    }
    return QWidget::event(event);
}

}  // namespace tarn
