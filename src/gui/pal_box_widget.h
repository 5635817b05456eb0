#pragma once
// The palette strip ("Pal Box") and the gradient column ("Gradient Box"):
// they forward the mouse to their behaviours and blit their 24-bit images.
#include <QWidget>

#include "cursors.h"
#include "panes/gradient_box.h"
#include "panes/pal_box.h"

namespace tarn {

// Draws a 24-bit image 1:1 at the top left.
void drawRgb(QPainter& painter, const RgbImage& image);

class PalBoxWidget : public PaneWidget {
    Q_OBJECT
public:
    PalBoxWidget(PaintState& paint, RefreshSink& refresh, std::function<const Palette*()> palette,
                 QWidget* parent = nullptr);

    PalBox& box() { return box_; }
    void redraw();
    void wheel(int delta);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void afterInput() override { repaint(); }

private:
    PalBox box_;
};

}  // namespace tarn
