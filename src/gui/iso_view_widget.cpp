#include "iso_view_widget.h"

#include "brush_outline.h"

#include <QPaintEvent>
#include <QPainter>
#include <utility>

#include "app/application.h"

namespace tarn {

RenderScene renderSceneOf(Application& app, Rasterizer& rasterizer) {
    RenderScene s;
    s.mesh = &app.mesh;
    s.framePositions = app.previewPositions();
    s.skin = app.skins.current();
    s.companions = &app.companions;
    s.mappingMode = app.paneModes.mappingMode;
    s.paint = &app.paint;
    s.lighting = &app.lighting;
    s.rasterizer = &rasterizer;
    if (const LightingMap* phong = app.phongMaps.current()) {
        s.phongMap = {phong->image.pixels.data(), &phong->image.palette};
        if (phong->shadeTable.size() >= static_cast<std::size_t>(kLightingMapTexels))
            s.phongShadeTable = phong->shadeTable.data();
    }
    if (const LightingMap* env = app.envMaps.current()) s.envMap = {env->image.pixels.data(), &env->image.palette};
    s.colormap = app.colormap.rows();
    return s;
}

IsoViewWidget::IsoViewWidget(Application& app, PaneContext context, QWidget* parent)
    : PaneWidget(view_, parent), paint_(context.paint), skin_(context.currentSkin), modes_(context.modes),
      view_(std::move(context), [&app, this] { return renderSceneOf(app, rasterizer_); },
            [&app]() -> RenderMode* { return &app.modes.current(); }) {
    setObjectName(QStringLiteral("ISO Box"));
    setMouseTracking(true);
    updateShape();
}

void IsoViewWidget::redraw() {
    view_.render();
    show();
}

void IsoViewWidget::wheelRotate(int delta) {
    view_.rotateByWheel(delta);
    show();
}

void IsoViewWidget::wheelTowards(int delta, QPoint at) {
    const qreal ratio = devicePixelRatioF();
    view_.zoomTowards(delta, qRound(at.x() * ratio), qRound(at.y() * ratio));
    show();
}

QRect IsoViewWidget::updateCopy() {
    const FrameBuffer& frame = view_.frame();
    const std::vector<std::uint8_t>& tint = view_.tint();
    const bool rendered = std::exchange(copiedRender_, view_.renderCount()) != view_.renderCount();
    return blit_.update(frame.colour(), frame.width(), view_.clientWidth(), frame.height(), view_.palette(),
                        tint.empty() ? nullptr : tint.data(), 0, rendered ? frame.height() : 0);
}

void IsoViewWidget::show() {
    const QRect changed = updateCopy();
    if (!changed.isEmpty()) repaint(blit_.widgetArea(changed));
}

void IsoViewWidget::paintEvent(QPaintEvent* event) {
    // An expose may come before any redraw was shown: bring the copy up to date first.
    updateCopy();
    QPainter painter(this);
    blit_.draw(painter, event->rect());
    if (const auto rect = outlineAt(hover()))
        drawBrushOutline(painter, event->region(), *rect, paint_.tip.shape == BrushShape::Round, 1.0 / devicePixelRatioF());
}

void IsoViewWidget::penPressure(float pressure) {
    const Skin* skin = skin_ ? skin_() : nullptr;
    paint_.applyPressure(pressure, skin ? &skin->palette : nullptr);
}

// The tip counts the pointer's pixels: its outline is as wide in widget pixels.
std::optional<QRectF> IsoViewWidget::outlineAt(std::optional<QPointF> at) const {
    if (!at || modes_.mappingMode || modes_.cameraOverride || paint_.tip.size <= 1) return std::nullopt;
    const qreal half = 0.5 * paint_.tip.size;
    return QRectF(at->x() - half, at->y() - half, 2 * half, 2 * half);
}

// The model is drawn at device pixels, so that a screen at a scale of 1.5 or
// 2 shows one-pixel edges rather than blown-up ones; the projection follows
// the size, so the field of view stays the same.
void IsoViewWidget::resizeEvent(QResizeEvent*) { followScale(); }

void IsoViewWidget::followScale() {
    const qreal ratio = devicePixelRatioF();
    blit_.setRatio(ratio);
    pointer_.setScale(ratio);
    view_.setPointerScale(static_cast<float>(ratio));
    view_.resize(qRound(width() * ratio), qRound(height() * ratio));
}

}  // namespace tarn
