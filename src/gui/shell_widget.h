#pragma once
// The shell window: owns the four panes, lays them out around the splitter,
// redraws the panes a refresh request names, runs the splitter drag and
// routes the wheel to the pane under the pointer. The main window places it
// as its central widget and hands it every "TARN-Refresh".
#include <QWidget>
#include <memory>

#include "panes/gradient_box.h"
#include "panes/shell_layout.h"
#include "render/iso_view_context.h"

namespace tarn {

class Application;
class MappingTool;
class TexelSelectTool;
class GradientBoxWidget;
class IsoViewWidget;
class PalBoxWidget;
class SkinViewWidget;

class ShellWidget : public QWidget, private ShellControl {
    Q_OBJECT
public:
    // `refresh` receives the panes' own requests (the main window, which
    // hands them back to refresh()).
    ShellWidget(Application& app, RefreshSink& refresh, QWidget* parent = nullptr);
    ~ShellWidget() override;

    // "TARN-Refresh": redraws the panes named in `panes` with `kind`, in the
    // order SkinView, GradientBox, IsoView, PalBox, each shown at once.
    void refresh(int kind, int panes);
    // "TARN-BarAdjust": 0 starts the splitter drag, 1 lays out again and redraws.
    void barAdjust(int what);
    // The Swap Displays command: exchange the displays, lay out, redraw.
    void swapDisplays() override;
    // "Pal On Top" as the Preferences dialog sets it; lays out at once.
    void setPalOnTop(bool onTop);
    // Wheel input at `shellPos` (client coordinates of this widget).
    void routeWheel(QPoint shellPos, int delta, bool ctrl);

signals:
    // A pane zoomed or turned by the wheel, at `panePos` in its own coordinates.
    void wheeled(QWidget* pane, QPoint panePos);

public:
    ShellLayout& layout() { return layout_; }
    const ShellRects& rects() const { return rects_; }
    SkinViewWidget* skinView() const { return skinView_; }
    IsoViewWidget* isoView() const { return isoView_; }
    MappingTool& mappingTool() const { return *mappingTool_; }
    PalBoxWidget* palBox() const { return palBox_; }
    GradientBoxWidget* gradientBox() const { return gradientBox_; }

    // The splitter drag, fed by the gradient column that holds the pointer.
    bool splitterDragging() const { return splitterDragging_; }
    void splitterMove(int x);
    void splitterEnd();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void startSplitterDrag() override;
    void relayout() override;
    void placePanes();

    Application& app_;
    RefreshSink& refresh_;
    ShellLayout layout_;
    ShellRects rects_;
    WheelNotches wheelNotches_;
    SkinViewWidget* skinView_ = nullptr;
    IsoViewWidget* isoView_ = nullptr;
    PalBoxWidget* palBox_ = nullptr;
    GradientBoxWidget* gradientBox_ = nullptr;
    std::unique_ptr<MappingTool> mappingTool_;
    std::unique_ptr<TexelSelectTool> selectTool_;
    bool splitterDragging_ = false;
};

}  // namespace tarn
