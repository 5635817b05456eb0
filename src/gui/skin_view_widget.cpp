#include "skin_view_widget.h"

#include <QImage>
#include <QPainter>

#include "image/skin.h"

namespace tarn {

const Palette& greyPalette() {
    static const Palette grey = [] {
        Palette p{};
        for (int i = 0; i < kPaletteColors; ++i)
            for (int c = 0; c < 3; ++c) p[static_cast<std::size_t>(i * 3 + c)] = static_cast<std::uint8_t>(i);
        return p;
    }();
    return grey;
}

void drawIndexedBottomUp(QPainter& painter, const std::uint8_t* rows, int pitch, int width, int height,
                         const Palette& palette) {
    if (rows == nullptr || width <= 0 || height <= 0) return;
    QImage image(rows, pitch, height, pitch, QImage::Format_Indexed8);
    QList<QRgb> table(kPaletteColors);
    for (int i = 0; i < kPaletteColors; ++i) {
        const auto at = static_cast<std::size_t>(i) * 3;
        table[i] = qRgb(palette[at], palette[at + 1], palette[at + 2]);
    }
    image.setColorTable(table);
    // Row 0 is the bottom line of the pane.
    painter.save();
    painter.translate(0, height);
    painter.scale(1, -1);
    painter.drawImage(QPoint(0, 0), image, QRect(0, 0, width, height));
    painter.restore();
}

SkinViewWidget::SkinViewWidget(PaneContext context, QWidget* parent)
    : QWidget(parent), context_(context), view_(std::move(context)), pointer_(*this) {
    setObjectName(QStringLiteral("Skin Box"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    updateShape();
}

void SkinViewWidget::updateShape() { pointer_.setShape(cursorFor(view_.cursor())); }

void SkinViewWidget::redraw(int kind) {
    view_.redraw(kind);
    repaint();
}

void SkinViewWidget::wheelZoom(int delta) {
    view_.wheel(delta);
    repaint();
}

void SkinViewWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const Skin* skin = context_.currentSkin ? context_.currentSkin() : nullptr;
    drawIndexedBottomUp(painter, view_.image().data(), view_.viewWidth(), view_.clientWidth(), view_.viewHeight(),
                        skin != nullptr ? skin->palette : greyPalette());
}

void SkinViewWidget::resizeEvent(QResizeEvent*) { view_.resize(width(), height()); }

void SkinViewWidget::mousePressEvent(QMouseEvent* event) {
    updateShape();
    view_.mousePress(toMouseEvent(*event), pointer_);
}

void SkinViewWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!pointer_.captured()) {
        updateShape();
        return;
    }
    view_.mouseMove(toMouseEvent(*event), pointer_);
}

void SkinViewWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (pointer_.captured()) view_.mouseRelease(toMouseEvent(*event), pointer_);
}

void SkinViewWidget::enterEvent(QEnterEvent*) { updateShape(); }

bool SkinViewWidget::event(QEvent* event) {
    // Losing the pointer mid-drag (another window took it) ends the drag.
    if ((event->type() == QEvent::UngrabMouse || event->type() == QEvent::WindowDeactivate) && pointer_.captured()) {
        pointer_.releaseCapture();
        view_.captureLost(pointer_);
        if (pointer_.hidden()) pointer_.showCursor();
    }
    return QWidget::event(event);
}

}  // namespace tarn
