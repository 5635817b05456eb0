#include <gtest/gtest.h>

#include "paint/paint_state.h"
#include "panes/gradient_box.h"
#include "panes/shell_layout.h"
#include "platform/refresh.h"
#include "mouse_events.h"

namespace tarn {
namespace {

using test::RecordingPointer;
using test::mouseAt;
MouseEvent at(int x, int y, unsigned button, unsigned held) { return mouseAt(x, y, button, held); }

struct RecordingShell : ShellControl {
    std::vector<std::string> calls;
    void startSplitterDrag() override { calls.push_back("drag"); }
    void relayout() override { calls.push_back("relayout"); }
    void swapDisplays() override { calls.push_back("swap"); }
};

constexpr int kH = 227;  // the well spans rows 2 .. 199, the handle 200 .. 214

class GradientBoxTest : public ::testing::Test {
protected:
    GradientBoxTest() : box(paint, refresh, layout, shell, [this] { return mode; }) { box.resize(24, kH); }
    void click(int x, int y, unsigned button) {
        box.mousePress(at(x, y, button, button), pointer);
        box.mouseRelease(at(x, y, button, kNoButton), pointer);
    }
    PaintState paint;
    RecordingRefresh refresh;
    ShellLayout layout;
    RecordingShell shell;
    RecordingPointer pointer;
    int mode = 5;
    GradientBox box;
};

TEST_F(GradientBoxTest, StrengthFromTheWellWithHiddenPointerRestoredAtThePress) {
    click(10, 0, kLeftButton);
    EXPECT_EQ(paint.paintStrength, 1.0);
    EXPECT_EQ(pointer.calls, (std::vector<std::string>{"capture", "hide", "warp 10,0", "show", "release"}));
    EXPECT_EQ(refresh.calls, (std::vector<std::string>{"paintRemap"}));

    box.mousePress(at(10, 100, kLeftButton, kLeftButton), pointer);
    EXPECT_DOUBLE_EQ(paint.paintStrength, 1.0 - 100.0 / 200.0);
    box.mouseMove(at(10, 150, kNoButton, kLeftButton), pointer);
    EXPECT_DOUBLE_EQ(paint.paintStrength, 0.25);
    box.mouseRelease(at(10, kH - 27, kLeftButton, kNoButton), pointer);
    EXPECT_EQ(paint.paintStrength, 0.0);
    // A drag past the top stops at full strength.
    box.mousePress(at(10, 50, kLeftButton, kLeftButton), pointer);
    box.mouseMove(at(10, -80, kNoButton, kLeftButton), pointer);
    EXPECT_EQ(paint.paintStrength, 1.0);
    box.captureLost(pointer);
    EXPECT_EQ(box.part(), GradientBox::Part::None);
}

TEST_F(GradientBoxTest, GammaFromTheWellRebuildsTablesAndNotifiesShadedModesOnly) {
    mode = 3;
    click(10, 0, kRightButton);
    EXPECT_EQ(paint.shadeGamma, 20.0);
    EXPECT_EQ(refresh.calls, (std::vector<std::string>{"lightTable", "shadeRamps", "refresh 1 18", "lightTable",
                                                       "shadeRamps", "refresh 0 34"}));
    // At the bottom of the well the gamma is 0 and every light level is full.
    click(10, 199, kRightButton);
    EXPECT_NEAR(paint.shadeGamma, 20.0 * (1.0 / 200) * (1.0 / 200), 1e-12);
    box.mousePress(at(10, 150, kRightButton, kRightButton), pointer);
    box.mouseRelease(at(10, 500, kRightButton, kNoButton), pointer);
    EXPECT_EQ(paint.shadeGamma, 0.0);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(paint.lightTable[static_cast<std::size_t>(i)], 255);

    mode = 5;
    refresh.calls.clear();
    click(10, 100, kRightButton);
    EXPECT_EQ(refresh.calls, (std::vector<std::string>{"lightTable", "shadeRamps", "lightTable", "shadeRamps"}));
}

TEST_F(GradientBoxTest, HandleStartsTheSplitterDragOrSwapsTheDisplays) {
    box.mousePress(at(10, 205, kLeftButton, kLeftButton), pointer);
    EXPECT_EQ(shell.calls, (std::vector<std::string>{"drag"}));
    EXPECT_TRUE(box.handlePressed());
    // A second press while the handle is down is ignored.
    box.mousePress(at(10, 0, kRightButton, kLeftButton | kRightButton), pointer);
    EXPECT_EQ(refresh.calls.size(), 0u);
    box.endSplitterLook();
    EXPECT_FALSE(box.handlePressed());

    click(10, 205, kRightButton);
    EXPECT_EQ(shell.calls, (std::vector<std::string>{"drag", "swap"}));
}

TEST_F(GradientBoxTest, PresetsApplyOnLeftAndStoreOnRight) {
    layout.setSplitterFraction(0.6);
    click(3, kH - 1, kLeftButton);
    EXPECT_EQ(layout.splitterFraction(), 0.25);
    click(20, kH - 5, kLeftButton);
    EXPECT_EQ(layout.splitterFraction(), 0.75);
    EXPECT_EQ(shell.calls, (std::vector<std::string>{"relayout", "relayout"}));

    layout.setSplitterFraction(0.4);
    click(3, kH - 1, kRightButton);
    EXPECT_EQ(box.presets[0], 0.4);
    EXPECT_EQ(layout.splitterFraction(), 0.4);
    EXPECT_EQ(shell.calls.size(), 2u);
    // The pressed look lasts only while the button is down.
    box.mousePress(at(20, kH - 1, kLeftButton, kLeftButton), pointer);
    EXPECT_EQ(box.pressedPreset(), 1);
    box.captureLost(pointer);
    EXPECT_EQ(box.pressedPreset(), -1);
    EXPECT_EQ(layout.splitterFraction(), 0.4);
}

TEST_F(GradientBoxTest, WellShowsStrengthAsHeightAndGammaAsShading) {
    paint.paintStrength = 0.5;
    paint.shadeGamma = 2.0;
    paint.updateLightTable();
    box.redraw();
    // 198 rows, 99 filled from the bottom row (y = 199) upward.
    EXPECT_EQ(box.pixel(5, 199), (Rgb{0, 0, 0}));  // table[0] of gamma 2
    const std::uint8_t g = paint.lightTable[98 * 255 / 99];
    EXPECT_EQ(box.pixel(5, 199 - 98), (Rgb{g, g, g}));
    EXPECT_EQ(box.pixel(5, 199 - 99), (Rgb{0, 0, 0}));
    const std::uint8_t mid = paint.lightTable[50 * 255 / 99];
    EXPECT_EQ(box.pixel(12, 199 - 50), (Rgb{mid, mid, mid}));
    // The frame around the well is the button face.
    EXPECT_EQ(box.pixel(0, 100), ButtonColors{}.face);
    EXPECT_EQ(box.pixel(5, 1), ButtonColors{}.face);
}

}  // namespace
}  // namespace tarn
