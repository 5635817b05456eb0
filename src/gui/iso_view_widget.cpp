#include "iso_view_widget.h"

#include <QPainter>

#include "app/application.h"
#include "skin_view_widget.h"

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
    : PaneWidget(view_, parent),
      view_(std::move(context), [&app, this] { return renderSceneOf(app, rasterizer_); },
            [&app]() -> RenderMode* { return &app.modes.current(); }) {
    setObjectName(QStringLiteral("ISO Box"));
    setMouseTracking(true);
    updateShape();
}

void IsoViewWidget::redraw() {
    view_.render();
    repaint();
}

void IsoViewWidget::wheelRotate(int delta) {
    view_.rotateByWheel(delta);
    repaint();
}

void IsoViewWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const FrameBuffer& frame = view_.frame();
    if (frame.width() <= 0 || frame.height() <= 0) return;
    drawIndexedBottomUp(painter, frame.colour(), frame.width(), view_.clientWidth(), frame.height(), view_.palette());
}

void IsoViewWidget::resizeEvent(QResizeEvent*) { view_.resize(width(), height()); }

}  // namespace tarn
