#include <gtest/gtest.h>

#include "panes/shell_layout.h"

namespace tarn {
namespace {

TEST(ShellLayout, PaletteStripTopOrBottomAndDisplaysBesideTheColumn) {
    ShellLayout layout;
    layout.setSplitterFraction(0.5);
    ShellRects r = layout.layout(824, 600);
    EXPECT_EQ(r.palette, (PaneRect{0, 568, 824, 600}));
    EXPECT_EQ(r.leftDisplay, (PaneRect{0, 0, 400, 568}));
    EXPECT_EQ(r.gradient, (PaneRect{400, 0, 424, 568}));
    EXPECT_EQ(r.rightDisplay, (PaneRect{424, 0, 824, 568}));
    EXPECT_EQ(r.skinView, r.leftDisplay);
    EXPECT_EQ(r.isoView, r.rightDisplay);

    layout.palOnTop = true;
    r = layout.layout(824, 600);
    EXPECT_EQ(r.palette, (PaneRect{0, 0, 824, 32}));
    EXPECT_EQ(r.leftDisplay.top, 32);
    EXPECT_EQ(r.gradient.bottom, 600);

    layout.swapDisplays = false;
    r = layout.layout(824, 600);
    EXPECT_EQ(r.isoView, r.leftDisplay);
    EXPECT_EQ(r.skinView, r.rightDisplay);
    EXPECT_EQ(r.gradient.left, 400);
}

TEST(ShellLayout, StoredSplitterExtremesAndBadValues) {
    ShellLayout layout;
    layout.setSplitterFraction(ShellLayout::fractionFromSetting(0));
    EXPECT_EQ(layout.layout(500, 300).leftDisplay.width(), 0);
    layout.setSplitterFraction(ShellLayout::fractionFromSetting(10000));
    EXPECT_EQ(layout.layout(500, 300).leftDisplay.width(), 476);
    EXPECT_EQ(layout.layout(500, 300).rightDisplay.width(), 0);
    // A hand-edited setting beyond the range still keeps every pane inside the window.
    layout.setSplitterFraction(ShellLayout::fractionFromSetting(250000));
    EXPECT_EQ(layout.splitterFraction(), 1.0);
    layout.setSplitterFraction(ShellLayout::fractionFromSetting(-40));
    EXPECT_EQ(layout.splitterFraction(), 0.0);
    EXPECT_EQ(ShellLayout::settingFromFraction(0.65), 6500);
    // Tiny windows never produce negative rectangles.
    const ShellRects tiny = layout.layout(10, 20);
    EXPECT_GE(tiny.rightDisplay.width(), 0);
    EXPECT_GE(tiny.leftDisplay.height(), 0);
}

TEST(ShellLayout, SplitterDragCollapsesWithin64PixelsOfEitherEdge) {
    EXPECT_EQ(ShellLayout::splitterFractionAt(63, 800), 0.0);
    EXPECT_EQ(ShellLayout::splitterFractionAt(64, 800), 64.0 / 800);
    EXPECT_EQ(ShellLayout::splitterFractionAt(800 - 64, 800), 736.0 / 800);
    EXPECT_EQ(ShellLayout::splitterFractionAt(800 - 63, 800), 1.0);
    EXPECT_EQ(ShellLayout::splitterFractionAt(-30, 800), 0.0);
    EXPECT_EQ(ShellLayout::splitterFractionAt(5000, 800), 1.0);
}

TEST(ShellLayout, WheelGoesToThePaneUnderThePointer) {
    ShellLayout layout;
    layout.setSplitterFraction(0.5);
    ShellRects r = layout.layout(824, 600);
    EXPECT_EQ(layout.wheelTarget(r, 10, 580), PaneId::PalBox);
    EXPECT_EQ(layout.wheelTarget(r, 10, 10), PaneId::SkinView);
    EXPECT_EQ(layout.wheelTarget(r, 500, 10), PaneId::IsoView);
    EXPECT_EQ(layout.wheelTarget(r, 410, 10), PaneId::None);
    layout.swapDisplays = false;
    r = layout.layout(824, 600);
    EXPECT_EQ(layout.wheelTarget(r, 10, 10), PaneId::IsoView);
    EXPECT_EQ(layout.wheelTarget(r, 500, 10), PaneId::SkinView);
}

}  // namespace
}  // namespace tarn
