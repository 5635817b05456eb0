#pragma once
// The 3D pane ("ISO Box"): forwards mouse input to the IsoView behaviour and
// shows its colour plane 1:1 in the current render mode's palette.
#include <QWidget>

#include "cursors.h"
#include "indexed_blit.h"
#include "raster/rasterizer.h"
#include "render/iso_view.h"

namespace tarn {

class Application;

// What a draw of the application's state reads, with `rasterizer` to draw through.
RenderScene renderSceneOf(Application& app, Rasterizer& rasterizer);

class IsoViewWidget : public PaneWidget {
    Q_OBJECT
public:
    IsoViewWidget(Application& app, PaneContext context, QWidget* parent = nullptr);

    IsoView& view() { return view_; }
    // Draws the current state and shows it at once.
    void redraw();
    // The wheel as the shell routes it: turn the view, draw, show.
    void wheelRotate(int delta);
    // Ctrl+wheel: towards the model point under `at` (widget pixels).
    void wheelTowards(int delta, QPoint at);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void followScale() override;
    qreal drawnScale() const override { return pointer_.scale(); }
    std::optional<QRectF> outlineAt(std::optional<QPointF> at) const override;
    void penPressure(float pressure) override;
    std::optional<QCursor> shape() const override { return cursorFor(view_.cursor()); }

private:
    // Brings the blit's copy up to date with the frame; the band that changed.
    // Only the render draws the frame: the rows are compared once per render.
    QRect updateCopy();
    // Converts what changed and repaints only that band.
    void show();

    PaintState& paint_;
    std::function<Skin*()> skin_;
    const PaneModes& modes_;
    Rasterizer rasterizer_;
    IsoView view_;
    IndexedBlit blit_;
    int copiedRender_ = -1;  // the view's render count when the copy compared its rows
};

}  // namespace tarn
