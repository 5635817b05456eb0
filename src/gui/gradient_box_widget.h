#pragma once
#include <QWidget>

#include "cursors.h"
#include "panes/gradient_box.h"

namespace tarn {

class ShellWidget;

class GradientBoxWidget : public PaneWidget {
    Q_OBJECT
public:
    GradientBoxWidget(PaintState& paint, RefreshSink& refresh, ShellLayout& layout, ShellWidget& shell,
                      ShellControl& control, std::function<int()> renderMode, QWidget* parent = nullptr);

    GradientBox& box() { return box_; }
    void redraw();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    void afterInput() override { repaint(); }

private:
    void takeSystemColors();

    ShellWidget& shell_;
    GradientBox box_;
};

}  // namespace tarn
