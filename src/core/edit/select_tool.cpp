#include "edit/select_tool.h"

#include <algorithm>
#include <cmath>

#include "image/skin.h"
#include "platform/refresh.h"

namespace tarn {

std::pair<float, float> TexelSelectTool::skinPoint(int x, int y) const {
    const float zoom = view_.zoom();
    return {float(x - view_.viewWidth() / 2) / zoom + view_.panX(), float(y - view_.viewHeight() / 2) / zoom + view_.panY()};
}

std::pair<int, int> TexelSelectTool::texelAt(int x, int y) const {
    const auto [s, t] = skinPoint(x, y);
    return {int(std::floor(s)), int(std::floor(t))};
}

bool TexelSelectTool::press(const MouseEvent& e) {
    Skin* skin = context_.currentSkin ? context_.currentSkin() : nullptr;
    if (e.button != kLeftButton || skin == nullptr || skin->width <= 0) return false;
    const auto texel = texelAt(e.x, e.y);
    if (floating_.active()) {
        if (floating_.covers(texel.first, texel.second)) {
            doing_ = Doing::MoveFloat;
            lastTexel_ = texel;
            return true;
        }
        // A click beside the float puts it down, and does nothing else.
        floating_.drop(context_.paint.selection);
        context_.refresh.rebuildPaintRemap();
        context_.refresh.refreshAll();
        doing_ = Doing::Nothing;
        return true;
    }
    combine_ = e.shift ? SelectCombine::Add : e.ctrl ? SelectCombine::Subtract : SelectCombine::Replace;
    switch (context_.modes.select) {
    case SelectTool::None: return false;
    case SelectTool::Colour: {
        const std::int32_t start = view_.sourceAt(e.x, e.y);
        if (start < 0) return false;
        // Shift takes every texel of the index, and adds them.
        context_.paint.selection.combine(colourShape(*skin, start, e.shift), skin->width, skin->height, combine_);
        context_.refresh.refresh(kRedrawFull, kPanesSkinIso);
        doing_ = Doing::Nothing;
        return true;
    }
    case SelectTool::Rectangle:
        doing_ = Doing::Rectangle;
        pressTexel_ = lastTexel_ = texel;
        points_.assign(4, {float(texel.first), float(texel.second)});
        move(e);
        return true;
    case SelectTool::Lasso:
        doing_ = Doing::Lasso;
        points_.assign(1, skinPoint(e.x, e.y));
        return true;
    }
    return false;
}

void TexelSelectTool::move(const MouseEvent& e) {
    const auto texel = texelAt(e.x, e.y);
    switch (doing_) {
    case Doing::Nothing: return;
    case Doing::MoveFloat:
        if (texel == lastTexel_) return;
        floating_.moveBy(texel.first - lastTexel_.first, texel.second - lastTexel_.second);
        lastTexel_ = texel;
        context_.refresh.refresh(kRedrawFromSkin, kPanesSkinIso16);
        return;
    case Doing::Rectangle: {
        lastTexel_ = texel;
        const float l = float(std::min(pressTexel_.first, texel.first)), r = float(std::max(pressTexel_.first, texel.first) + 1);
        const float t = float(std::min(pressTexel_.second, texel.second)), b = float(std::max(pressTexel_.second, texel.second) + 1);
        points_ = {{l, t}, {r, t}, {r, b}, {l, b}};
        break;
    }
    case Doing::Lasso: points_.push_back(skinPoint(e.x, e.y)); break;
    }
    context_.refresh.refresh(kRedrawQuick, kPaneSkinView);
}

void TexelSelectTool::finish(bool keep) {
    Skin* skin = context_.currentSkin ? context_.currentSkin() : nullptr;
    if (keep && skin != nullptr && skin->width > 0) {
        if (doing_ == Doing::Rectangle)
            context_.paint.selection.combine(rectangleShape(skin->width, skin->height, pressTexel_.first, pressTexel_.second,
                                                            lastTexel_.first, lastTexel_.second),
                                             skin->width, skin->height, combine_);
        else if (doing_ == Doing::Lasso)
            context_.paint.selection.combine(lassoShape(skin->width, skin->height, points_), skin->width, skin->height,
                                             combine_);
    }
    doing_ = Doing::Nothing;
    points_.clear();
    context_.refresh.refresh(kRedrawFull, kPanesSkinIso);
}

void TexelSelectTool::release(const MouseEvent&) { finish(true); }

void TexelSelectTool::cancel() { finish(false); }

}  // namespace tarn
