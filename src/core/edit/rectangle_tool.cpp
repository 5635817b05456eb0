#include "edit/rectangle_tool.h"

#include <cstdlib>

#include "platform/refresh.h"

namespace tarn {

bool RectangleTool::press(const MouseEvent& e) {
    const int u = view_.skinXAt(e.x);
    const int v = view_.skinYAt(e.y);
    MapRect& r = view_.mapRect;
    pressU_ = lastU_ = u;
    pressV_ = lastV_ = v;
    press_ = e;
    const int reach = kEdgeReach;
    if (e.shift) {
        // Nothing is drawn until the pointer leaves the pressed texel.
        drag_ = Drag::ShiftPress;
    } else if (u < r.left - reach || u > r.right + reach || v < r.top - reach || v > r.bottom + reach) {
        drag_ = Drag::New;
        r = MapRect{u, v, u, v};
        redraw();
    } else if (r.left + reach < u && u < r.right - reach && r.top + reach < v && v < r.bottom - reach) {
        drag_ = Drag::Move;
    } else if (std::abs(u - r.left) <= reach) {
        drag_ = Drag::Left;
    } else if (std::abs(u - r.right) <= reach) {
        drag_ = Drag::Right;
    } else if (std::abs(v - r.top) <= reach) {
        drag_ = Drag::Top;
    } else {
        drag_ = Drag::Bottom;
    }
    return true;
}

void RectangleTool::move(const MouseEvent& e) {
    const int u = view_.skinXAt(e.x);
    const int v = view_.skinYAt(e.y);
    MapRect& r = view_.mapRect;
    if (drag_ == Drag::ShiftPress) {
        if (u == pressU_ && v == pressV_) return;
        drag_ = Drag::New;
    }
    switch (drag_) {
    case Drag::ShiftPress:
    case Drag::New:
        // The redraw puts the corners back in order.
        r = MapRect{u, v, pressU_, pressV_};
        break;
    case Drag::Move:
        r.left += u - lastU_;
        r.right += u - lastU_;
        r.top += v - lastV_;
        r.bottom += v - lastV_;
        break;
    case Drag::Left: r.left = u; break;
    case Drag::Right: r.right = u; break;
    case Drag::Top: r.top = v; break;
    case Drag::Bottom: r.bottom = v; break;
    case Drag::None: return;
    }
    lastU_ = u;
    lastV_ = v;
    redraw();
}

void RectangleTool::release(const MouseEvent&) {
    const bool click = drag_ == Drag::ShiftPress;
    drag_ = Drag::None;
    if (!click || clickTool_ == nullptr || !view_.modes().mappingMode) return;
    MouseEvent e = press_;
    if (!clickTool_->press(e)) return;
    e.buttons = kNoButton;
    clickTool_->release(e);
}

void RectangleTool::cancel() { drag_ = Drag::None; }

void RectangleTool::redraw() { refresh_.refresh(kRedrawFull, kPaneSkinView); }

}  // namespace tarn
