#include <gtest/gtest.h>

#include <vector>

#include "paint/color_commands.h"
#include "paint/hsv.h"
#include "paint/paint_state.h"
#include "paint/stroke.h"
#include "platform/refresh.h"
#include "platform/settings.h"

namespace tarn {
namespace {

void setColor(Palette& p, int i, int r, int g, int b) {
    p[std::size_t(i) * 3] = std::uint8_t(r);
    p[std::size_t(i) * 3 + 1] = std::uint8_t(g);
    p[std::size_t(i) * 3 + 2] = std::uint8_t(b);
}

// Each grey once in 0..127, then ramps of pure red and pure blue.
Palette testPalette() {
    Palette p{};
    for (int i = 0; i < 128; ++i) setColor(p, i, i * 2, i * 2, i * 2);
    for (int i = 128; i < 192; ++i) setColor(p, i, (i - 128) * 4, 0, 0);
    for (int i = 192; i < 256; ++i) setColor(p, i, 0, 0, (i - 192) * 4);
    return p;
}

TEST(ColorSlots, DefaultsWhenNothingStoredAndRoundTrip) {
    MemorySettings store;
    PaintState state;
    state.colorSlots.load(store);
    EXPECT_EQ(state.colorSlots.index,
              (std::array<std::uint8_t, 8>{248, 64, 128, 192, 15, 10, 5, 0}));
    EXPECT_EQ(state.activeSlot, 0);

    store.setInt(kColors, "Color-3", 7);
    store.setInt(kColors, "Color-4", 300);  // not a palette index: keep the default
    state.colorSlots.load(store);
    EXPECT_EQ(state.colorSlots[3], 7);
    EXPECT_EQ(state.colorSlots[4], 15);

    state.colorSlots[6] = 99;
    state.colorSlots.store(store);
    EXPECT_EQ(store.getInt(kColors, "Color-6", -1), 99);
    EXPECT_EQ(store.getInt(kColors, "Color-4", -1), 15);
}

TEST(Hsv, ConversionsRoundTripAndHandleGrey) {
    const Hsv grey = rgbToHsv({100, 100, 100});
    EXPECT_EQ(grey.h, kNoHue);
    EXPECT_EQ(grey.s, 0);
    const Rgb back = hsvToRgb(grey);
    EXPECT_DOUBLE_EQ(back.g, 100);
    EXPECT_EQ(rgbToHsv({0, 0, 0}).s, 0);

    for (const Rgb c : {Rgb{255, 0, 0}, Rgb{10, 200, 30}, Rgb{40, 50, 250}, Rgb{250, 10, 200},
                        Rgb{200, 200, 10}}) {
        const Rgb r = hsvToRgb(rgbToHsv(c));
        EXPECT_NEAR(r.r, c.r, 1e-9);
        EXPECT_NEAR(r.g, c.g, 1e-9);
        EXPECT_NEAR(r.b, c.b, 1e-9);
    }
    const Rgb at360 = hsvToRgb({360.0, 1.0, 255});
    EXPECT_DOUBLE_EQ(at360.r, 255);
    EXPECT_DOUBLE_EQ(at360.b, 0);
}

TEST(PaintRemap, StrengthAndBlendModes) {
    Palette p = testPalette();
    setColor(p, 200, 254, 254, 254);  // a later duplicate of grey 127
    setColor(p, 201, 4, 0, 0);        // a later duplicate of red 129
    // Strength 0: colours stay, indices fall to the lowest exact match.
    PaintRemap r = computePaintRemap(p, 130, 0.0, kBlendRgb);
    EXPECT_EQ(r[200], 127);
    EXPECT_EQ(r[201], 129);
    EXPECT_EQ(r[50], 50);
    // Strength 1 in RGB blend: every pixel becomes the lowest index of the colour.
    r = computePaintRemap(p, 201, 1.0, kBlendRgb);
    for (int i = 0; i < kPaletteColors; ++i) EXPECT_EQ(r[std::size_t(i)], 129) << i;
    // Half strength moves half-way: black towards grey 100 lands on grey 50.
    r = computePaintRemap(p, 50, 0.5, kBlendRgb);
    EXPECT_EQ(r[0], 25);
    // Keep brightness: a grey painted red keeps its value and becomes red.
    r = computePaintRemap(p, 191, 1.0, kBlendKeepBrightness);
    EXPECT_EQ(r[64], 128 + 32);  // grey 128 -> red 128
    EXPECT_EQ(r[0], 0);          // black stays black (lowest index of (0,0,0))
}

TEST(LightTable, GammaResponse) {
    const LightTable identity = computeLightTable(1.0);
    for (int i = 0; i < kPaletteColors; ++i) EXPECT_EQ(identity[std::size_t(i)], i);
    const LightTable flat = computeLightTable(0.0);
    for (int i = 0; i < kPaletteColors; ++i) EXPECT_EQ(flat[std::size_t(i)], 255);
    const LightTable squared = computeLightTable(2.0);
    EXPECT_EQ(squared[128], 64);  // 255 * (128/255)^2 = 64.25
    EXPECT_EQ(squared[255], 255);
}

TEST(Stroke, EachPixelPaintedOncePerStrokeAndProtectedColoursKept) {
    PaintState state;
    for (int i = 0; i < kPaletteColors; ++i) state.paintRemap[std::size_t(i)] = std::uint8_t(i + 1);
    state.protectedColors[9] = true;
    std::vector<std::uint8_t> skin{1, 2, 9, 4};
    StrokeMask mask(skin.size());
    EXPECT_TRUE(paintPixel(skin, 0, mask, state));
    EXPECT_FALSE(paintPixel(skin, 0, mask, state));  // second pass: no compounding
    EXPECT_FALSE(paintPixel(skin, 2, mask, state));  // protected
    EXPECT_FALSE(paintPixel(skin, 4, mask, state));  // outside the skin
    EXPECT_EQ(skin, (std::vector<std::uint8_t>{2, 2, 9, 4}));
    StrokeMask next(skin.size());
    EXPECT_TRUE(paintPixel(skin, 0, next, state));
    EXPECT_EQ(skin[0], 3);
}

TEST(ColorCommands, KeysWrapAndAskForTheRightRebuilds) {
    PaintState state;
    RecordingRefresh refresh;
    state.colorSlots[0] = 255;
    stepActiveColor(state, colorKeyStep(kCmdColorUp), refresh);
    EXPECT_EQ(state.colorSlots[0], 0);
    EXPECT_EQ(refresh.calls, (std::vector<std::string>{"paintRemap", "refresh 0 40"}));

    state.activeSlot = 2;
    refresh.calls.clear();
    stepActiveColor(state, colorKeyStep(kCmdColorDown16), refresh);
    EXPECT_EQ(state.colorSlots[2], 112);
    EXPECT_EQ(refresh.calls,
              (std::vector<std::string>{"paintRemap", "shadeRamps", "refresh 0 40"}));
    state.colorSlots[2] = 5;
    stepActiveColor(state, colorKeyStep(kCmdColorDown16), refresh);
    EXPECT_EQ(state.colorSlots[2], 245);
    EXPECT_EQ(colorKeyStep(kCmdBlendRgb), 0);
}

TEST(ColorCommands, BlendButtonsChangeOnlyOnAChange) {
    PaintState state;
    RecordingRefresh refresh;
    EXPECT_FALSE(chooseBlendMode(state, kBlendRgb, refresh));
    EXPECT_TRUE(refresh.calls.empty());
    EXPECT_TRUE(chooseBlendMode(state, kBlendKeepBrightness, refresh));
    EXPECT_TRUE(blendModeChecked(state, kBlendKeepBrightness));
    EXPECT_FALSE(blendModeChecked(state, kBlendRgb));
    EXPECT_EQ(refresh.calls, (std::vector<std::string>{"paintRemap"}));
}

}  // namespace
}  // namespace tarn
