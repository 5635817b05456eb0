#include "panes/shell_layout.h"

#include <algorithm>
#include <cmath>

namespace tarn {

void ShellLayout::setSplitterFraction(double f) {
    // A hand-edited or corrupted setting must not push a display off the window.
    *splitterFraction_ = std::isfinite(f) ? std::clamp(f, 0.0, 1.0) : kDefaultSplitterSetting / kSettingScale;
}

void ShellLayout::bindSplitterFraction(double& storage) {
    splitterFraction_ = &storage;
    setSplitterFraction(storage);
}

ShellRects ShellLayout::layout(int width, int height) const {
    width = std::max(width, 0);
    height = std::max(height, 0);
    const PaneRect client{0, 0, width, height};
    ShellRects r;
    r.palette = client;
    PaneRect body = client;
    const int strip = std::min(kPaletteHeight, height);
    if (palOnTop) {
        r.palette.bottom = strip;
        body.top = strip;
    } else {
        r.palette.top = height - strip;
        body.bottom = height - strip;
    }
    const int usable = std::max(width - kGradientWidth, 0);
    const int x = std::clamp(static_cast<int>(usable * splitterFraction()), 0, usable);
    r.leftDisplay = body;
    r.leftDisplay.right = x;
    r.gradient = body;
    r.gradient.left = x;
    r.gradient.right = std::min(x + kGradientWidth, width);
    r.rightDisplay = body;
    r.rightDisplay.left = r.gradient.right;
    r.skinView = swapDisplays ? r.leftDisplay : r.rightDisplay;
    r.isoView = swapDisplays ? r.rightDisplay : r.leftDisplay;
    return r;
}

PaneId ShellLayout::wheelTarget(const ShellRects& rects, int x, int y) const {
    const PaneId left = swapDisplays ? PaneId::SkinView : PaneId::IsoView;
    const PaneId right = swapDisplays ? PaneId::IsoView : PaneId::SkinView;
    if (rects.palette.contains(x, y)) return PaneId::PalBox;
    if (rects.rightDisplay.contains(x, y)) return right;
    if (rects.leftDisplay.contains(x, y)) return left;
    return PaneId::None;
}

double ShellLayout::splitterFractionAt(int x, int width) {
    if (x > width - kCollapseZone) return 1.0;
    if (x >= kCollapseZone) return static_cast<double>(x) / width;
    return 0.0;
}

int WheelNotches::take(PaneId pane, int delta) {
    if (pane != pane_) rest_ = 0;
    pane_ = pane;
    rest_ += delta;
    const int whole = rest_ / kNotch * kNotch;  // toward zero, either way
    rest_ -= whole;
    return whole;
}

}  // namespace tarn
