#include <gtest/gtest.h>

#include "paint/paint_state.h"
#include "panes/pal_box.h"
#include "platform/refresh.h"
#include "mouse_events.h"

namespace tarn {
namespace {

using test::RecordingPointer;
using test::mouseAt;
MouseEvent at(int x, int y, unsigned button, unsigned held) { return mouseAt(x, y, button, held); }

// 64 slot columns plus 256 palette columns: four pixel columns per palette column.
class PalBoxTest : public ::testing::Test {
protected:
    PalBoxTest() : box(paint, refresh, [this] { return &palette; }) {
        for (int i = 0; i < 256; ++i) {
            palette[static_cast<std::size_t>(i) * 3] = static_cast<std::uint8_t>(i);
            palette[static_cast<std::size_t>(i) * 3 + 1] = static_cast<std::uint8_t>(255 - i);
            palette[static_cast<std::size_t>(i) * 3 + 2] = 10;
        }
        box.resize(320, 32);
    }
    void click(int x, int y, unsigned button) {
        box.mousePress(at(x, y, button, button), pointer);
        box.mouseRelease(at(x, y, button, kNoButton), pointer);
    }
    Palette palette{};
    PaintState paint;
    RecordingRefresh refresh;
    NoPointer pointer;
    PalBox box;
};

TEST_F(PalBoxTest, SlotAndPaletteGeometry) {
    EXPECT_EQ(PalBox::slotAt(0, 0), 0);
    EXPECT_EQ(PalBox::slotAt(63, 0), 3);
    EXPECT_EQ(PalBox::slotAt(16, 16), 5);
    EXPECT_EQ(box.indexAt(64, 0), 0);
    EXPECT_EQ(box.indexAt(67, 7), 0);
    EXPECT_EQ(box.indexAt(68, 8), 65);
    EXPECT_EQ(box.indexAt(319, 31), 255);
    EXPECT_EQ(box.indexAt(63, 0), -1);
}

TEST_F(PalBoxTest, ClickingThePaletteSetsTheActiveSlotAndNotifiesByRole) {
    click(64 + 4 * 10, 0, kLeftButton);  // index 10 into slot 0
    EXPECT_EQ(paint.colorSlots[0], 10);
    EXPECT_EQ(refresh.calls, (std::vector<std::string>{"refresh 0 35", "paintRemap"}));

    refresh.calls.clear();
    click(7 * 16 % 64 + 3, 20, kLeftButton);  // slot 7
    EXPECT_EQ(paint.activeSlot, 7);
    click(64 + 4 * 3, 9, kLeftButton);  // index 67 into the background slot
    EXPECT_EQ(paint.colorSlots[7], 67);
    EXPECT_EQ(refresh.calls,
              (std::vector<std::string>{"paintRemap", "refresh 2 19", "refresh 2 35", "paintRemap"}));

    refresh.calls.clear();
    click(20, 3, kLeftButton);  // slot 1
    click(64 + 4 * 5, 0, kLeftButton);
    EXPECT_EQ(paint.colorSlots[1], 5);
    EXPECT_EQ(refresh.calls, (std::vector<std::string>{"paintRemap", "shadeRamps", "refresh 1 18",
                                                       "refresh 1 18", "paintRemap"}));
}

TEST_F(PalBoxTest, DraggingAcrossThePaletteKeepsChoosingClampedToTheStrip) {
    box.mousePress(at(70, 0, kLeftButton, kLeftButton), pointer);
    box.mouseMove(at(5000, -40, kNoButton, kLeftButton), pointer);
    EXPECT_EQ(paint.colorSlots[0], 63);
    box.mouseMove(at(-5, 100, kNoButton, kLeftButton), pointer);
    EXPECT_EQ(paint.colorSlots[0], 192);
    box.mouseRelease(at(-5, 100, kLeftButton, kNoButton), pointer);
    EXPECT_EQ(box.drag(), PalBox::Drag::None);
}

TEST_F(PalBoxTest, RightDragProtectsEveryColourCrossedEvenProtectedOnes) {
    paint.protectedColors[2] = true;
    box.mousePress(at(64, 0, kRightButton, kRightButton), pointer);
    for (int x = 64; x < 64 + 4 * 5; ++x) box.mouseMove(at(x, 0, kNoButton, kRightButton), pointer);
    box.mouseRelease(at(83, 0, kRightButton, kNoButton), pointer);
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(paint.protectedColors[static_cast<std::size_t>(i)]) << i;
    EXPECT_FALSE(paint.protectedColors[5]);

    // Starting on a protected colour unprotects instead.
    box.mousePress(at(64 + 4 * 2, 0, kRightButton, kRightButton), pointer);
    box.mouseMove(at(64 + 4 * 6, 0, kNoButton, kRightButton), pointer);
    box.mouseRelease(at(64 + 4 * 6, 0, kRightButton, kNoButton), pointer);
    EXPECT_TRUE(paint.protectedColors[0]);
    EXPECT_FALSE(paint.protectedColors[2]);
    EXPECT_FALSE(paint.protectedColors[6]);
    // A right press on the slots does nothing.
    box.mousePress(at(5, 5, kRightButton, kRightButton), pointer);
    EXPECT_EQ(box.drag(), PalBox::Drag::None);
}

TEST_F(PalBoxTest, WheelStepsTheActiveColourBy16ModuloTheTable) {
    paint.colorSlots[0] = 248;
    box.wheel(120);
    EXPECT_EQ(paint.colorSlots[0], 8);
    box.wheel(-240);
    EXPECT_EQ(paint.colorSlots[0], 232);
    box.wheel(119);
    EXPECT_EQ(paint.colorSlots[0], 232);
    paint.activeSlot = 7;
    refresh.calls.clear();
    box.wheel(120);
    EXPECT_EQ(refresh.calls, (std::vector<std::string>{"refresh 2 19", "paintRemap"}));
}

TEST_F(PalBoxTest, DrawsSlotsProtectionCheckerAndSlotMarks) {
    paint.colorSlots.index = {248, 64, 128, 192, 15, 10, 5, 0};
    paint.protectedColors[20] = true;
    box.redraw();
    // Slot 0 is active: black outer ring, white inner ring, its colour inside.
    EXPECT_EQ(box.pixel(0, 0), (Rgb{}));
    EXPECT_EQ(box.pixel(1, 1), (Rgb{255, 255, 255}));
    EXPECT_EQ(box.pixel(8, 8), (Rgb{248, 7, 10}));
    // Slot 1 is not: its inner ring is its colour.
    EXPECT_EQ(box.pixel(17, 1), (Rgb{64, 191, 10}));
    // Index 20 is protected: a checker of 2 x 2 blocks lifted by 64.
    const int x = 64 + 4 * 20;
    EXPECT_EQ(box.pixel(x, 1), (Rgb{84, 235 + 64 - 256, 74}));
    EXPECT_EQ(box.pixel(x + 2, 3), (Rgb{84, 235 + 64 - 256, 74}));
    EXPECT_EQ(box.pixel(x + 2, 1), (Rgb{20, 235, 10}));
    // Index 5 (slot 6) is framed in its colour plus 128 on its cell's edge pixels only.
    const int mx = 64 + 4 * 5;
    EXPECT_EQ(box.pixel(mx, 3), (Rgb{133, 250 + 128 - 256, 138}));
    EXPECT_EQ(box.pixel(mx + 3, 7), (Rgb{133, 250 + 128 - 256, 138}));
    EXPECT_EQ(box.pixel(mx + 1, 3), (Rgb{5, 250, 10}));
}

}  // namespace
}  // namespace tarn
