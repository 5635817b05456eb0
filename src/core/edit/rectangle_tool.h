#pragma once
// Rectangle mode in the skin pane: the left button draws a new MapRect,
// moves it, or drags one of its edges, by where the press lands. With Shift
// it draws a new one wherever it lands (the rectangle starts as the whole
// skin, so no press would otherwise be outside it); a Shift+click that drew
// nothing is a selection click of Mapping Mode.
#include "edit/skin_view.h"

namespace tarn {

class RefreshSink;

class RectangleTool final : public SkinViewTool {
public:
    enum class Drag { None, ShiftPress, New, Move, Left, Right, Top, Bottom };

    // How near an edge, in skin pixels, a press takes that edge.
    static constexpr int kEdgeReach = 2;

    RectangleTool(SkinView& view, RefreshSink& refresh) : view_(view), refresh_(refresh) {}

    bool press(const MouseEvent& e) override;
    void move(const MouseEvent& e) override;
    void release(const MouseEvent& e) override;
    void cancel() override;

    Drag drag() const { return drag_; }
    // The tool that takes a Shift+click in Mapping Mode (the selection click).
    void passClicksTo(SkinViewTool* tool) { clickTool_ = tool; }

private:
    void redraw();

    SkinView& view_;
    RefreshSink& refresh_;
    Drag drag_ = Drag::None;
    SkinViewTool* clickTool_ = nullptr;
    MouseEvent press_;
    int pressU_ = 0, pressV_ = 0;
    int lastU_ = 0, lastV_ = 0;
};

}  // namespace tarn
