#pragma once
// The skin pane's select tools and the floating selection's pointer: a drag
// makes a rectangle or lasso, a click takes a colour's texels; Shift adds to
// the selection and Ctrl takes away. While texels float, a drag on them moves
// them and a click elsewhere drops them.
#include <utility>
#include <vector>

#include "edit/floating_selection.h"
#include "edit/skin_view.h"

namespace tarn {

class TexelSelectTool final : public SkinViewTool {
public:
    TexelSelectTool(SkinView& view, PaneContext context, FloatingSelection& floating)
        : view_(view), context_(std::move(context)), floating_(floating) {}

    bool press(const MouseEvent& e) override;
    void move(const MouseEvent& e) override;
    void release(const MouseEvent& e) override;
    void cancel() override;

    // The rectangle or lasso being drawn, as skin coordinates of texel
    // corners; empty while none is.
    const std::vector<std::pair<float, float>>& shapeInProgress() const { return points_; }

private:
    enum class Doing { Nothing, Rectangle, Lasso, MoveFloat };
    std::pair<float, float> skinPoint(int x, int y) const;
    // The texel under client (x, y), which may lie off the skin.
    std::pair<int, int> texelAt(int x, int y) const;
    void finish(bool keep);

    SkinView& view_;
    PaneContext context_;
    FloatingSelection& floating_;
    Doing doing_ = Doing::Nothing;
    SelectCombine combine_ = SelectCombine::Replace;
    std::vector<std::pair<float, float>> points_;
    std::pair<int, int> pressTexel_{0, 0};
    std::pair<int, int> lastTexel_{0, 0};
};

}  // namespace tarn
