#pragma once
// The 3D pane ("ISO Box"): forwards mouse input to the IsoView behaviour and
// shows its colour plane 1:1 in the current render mode's palette.
#include <QWidget>

#include "cursors.h"
#include "raster/rasterizer.h"
#include "render/iso_view.h"

namespace tarn {

class Application;

// What a draw of the application's state reads, with `rasterizer` to draw through.
RenderScene renderSceneOf(Application& app, Rasterizer& rasterizer);

class IsoViewWidget : public QWidget {
    Q_OBJECT
public:
    IsoViewWidget(Application& app, PaneContext context, QWidget* parent = nullptr);

    IsoView& view() { return view_; }
    // Draws the current state and shows it at once.
    void redraw();
    // The wheel as the shell routes it: turn the view, draw, show.
    void wheelRotate(int delta);
    const WidgetPointer& pointer() const { return pointer_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    bool event(QEvent* event) override;

private:
    void updateShape();

    Rasterizer rasterizer_;
    IsoView view_;
    WidgetPointer pointer_;
};

}  // namespace tarn
