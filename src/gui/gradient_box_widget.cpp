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
    : PaneWidget(box_, parent), shell_(shell), box_(paint, refresh, layout, control, std::move(renderMode)) {
    setObjectName(QStringLiteral("Gradient Box"));
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

// The press on the handle keeps Qt's grab here, so the shell's splitter drag
// is fed from this widget's moves and release.
void GradientBoxWidget::mouseMoveEvent(QMouseEvent* event) {
    if (shell_.splitterDragging()) {
        shell_.splitterMove(mapTo(&shell_, event->position().toPoint()).x());
        return;
    }
    PaneWidget::mouseMoveEvent(event);
}

void GradientBoxWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (shell_.splitterDragging()) {
        if (event->button() == Qt::LeftButton) shell_.splitterEnd();
        return;
    }
    PaneWidget::mouseReleaseEvent(event);
}

void GradientBoxWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
        takeSystemColors();
        update();
    }
    QWidget::changeEvent(event);
}

bool GradientBoxWidget::event(QEvent* event) {
    if ((event->type() == QEvent::UngrabMouse || event->type() == QEvent::WindowDeactivate) &&
        shell_.splitterDragging())
        shell_.splitterEnd();
    return PaneWidget::event(event);
}

}  // namespace tarn
