#pragma once
// Where the four panes sit in the shell window, and the splitter between the
// two displays. Pure geometry: the widgets move themselves into these rects.
#include <cstdint>

namespace tarn {

// A client rectangle, right and bottom exclusive.
struct PaneRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const PaneRect&) const = default;
};

enum class PaneId { None, SkinView, IsoView, PalBox, GradientBox };

struct ShellRects {
    PaneRect leftDisplay;
    PaneRect rightDisplay;
    PaneRect palette;
    PaneRect gradient;
    PaneRect skinView;
    PaneRect isoView;
    bool operator==(const ShellRects&) const = default;
};

// Gathers wheel input into whole notches of 120, so that fine wheels and
// touchpads, which report a notch in several small steps, still act on each
// notch they complete. The remainder belongs to the pane it was gathered over.
class WheelNotches {
public:
    static constexpr int kNotch = 120;
    // The whole notches (in units of 120) that `delta` over `pane` completes.
    int take(PaneId pane, int delta);

private:
    PaneId pane_ = PaneId::None;
    int rest_ = 0;
};

class ShellLayout {
public:
    ShellLayout() = default;
    ShellLayout(const ShellLayout&) = delete;
    ShellLayout& operator=(const ShellLayout&) = delete;

    static constexpr int kPaletteHeight = 32;
    static constexpr int kGradientWidth = 24;
    // A splitter dragged this close to either edge snaps the left display shut or open.
    static constexpr int kCollapseZone = 64;
    static constexpr double kSettingScale = 10000.0;  // "Splitter" is stored in 1/10000
    static constexpr int kDefaultSplitterSetting = 6500;

    // SkinView on the left, IsoView on the right while true.
    bool swapDisplays = true;
    bool palOnTop = false;
    // Share of (client width - 24) given to the left display, kept in [0, 1].
    double splitterFraction() const { return *splitterFraction_; }
    void setSplitterFraction(double f);
    // Keeps the fraction in `storage` (the application's, which start-up reads
    // and exit stores) instead of in this object.
    void bindSplitterFraction(double& storage);

    ShellRects layout(int width, int height) const;

    // The pane whose wheel gets input at client point (x, y): the palette
    // strip, then the right and left displays; the gradient column takes none.
    PaneId wheelTarget(const ShellRects& rects, int x, int y) const;

    // The fraction a splitter drag gives for pointer x in a client `width` wide.
    static double splitterFractionAt(int x, int width);

    // Conversions for the "Splitter" setting.
    static double fractionFromSetting(int stored) { return stored / kSettingScale; }
    static int settingFromFraction(double f) { return static_cast<int>(f * kSettingScale); }

private:
    double ownFraction_ = kDefaultSplitterSetting / kSettingScale;
    double* splitterFraction_ = &ownFraction_;
};

}  // namespace tarn
