#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "edit/selection_commands.h"
#include "image/image_codec.h"
#include "image/skin_commands.h"
#include "scripted_ui.h"

namespace tarn {
namespace {

using test::ScriptedUi;

// A 24 x 16 skin of index (x * 7 + y * 13) % 200 + 1 over a palette of
// distinct colours, and a Mesh whose one Triangle maps (0,0), (8,0), (0,8).
class SelectionTest : public ::testing::Test {
protected:
    ScriptedUi ui;
    MemorySettings settings;
    Folders folders;
    Mesh mesh;
    SkinList skins;
    PaintState paint;
    Lighting lighting;
    RecordingRefresh refresh;
    History history{skins};
    SkinEditContext edit{ui, settings, folders, mesh, skins, paint, lighting, refresh, &history};
    FloatingSelection floating;
    SelectionContext c{edit, floating, {10, 4}};
    std::vector<std::uint8_t> original;

    SelectionTest() {
        mesh.skinWidth = kW;
        mesh.skinHeight = kH;
        mesh.mappingVertCount = 3;
        mesh.mappingVerts[0] = {0, 0};
        mesh.mappingVerts[1] = {8, 0};
        mesh.mappingVerts[2] = {0, 8};
        mesh.triangleCount = 1;
        mesh.triangles[0].mapping = {0, 1, 2};
        auto skin = makeBlankSkin(kW, kH);
        for (int i = 0; i < 256; ++i)
            for (int k = 0; k < 3; ++k) skin->palette[std::size_t(i * 3 + k)] = std::uint8_t((i * (k + 3) * 37) % 256);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) skin->pixels[std::size_t(y * kW + x)] = std::uint8_t((x * 7 + y * 13) % 200 + 1);
        skin->store();
        original = skin->pixels.bytes();
        skins.append(std::move(skin));
    }
    Skin& skin() { return *skins.current(); }
    std::uint8_t at(int x, int y) { return skin().pixels[std::size_t(y * kW + x)]; }
    void selectRect(int x0, int y0, int x1, int y1) {
        paint.selection.combine(rectangleShape(kW, kH, x0, y0, x1, y1), kW, kH, SelectCombine::Replace);
    }
    static constexpr int kW = 24;
    static constexpr int kH = 16;
};

TEST_F(SelectionTest, ShapesCombineAndFromSelectedTrianglesTakesTheCoveredCentres) {
    selectRect(2, 2, 5, 4);
    EXPECT_EQ(paint.selection.count(), 12u);
    paint.selection.combine(rectangleShape(kW, kH, 5, 4, 6, 6), kW, kH, SelectCombine::Add);
    EXPECT_EQ(paint.selection.count(), 12u + 5u);
    paint.selection.combine(rectangleShape(kW, kH, 0, 0, 23, 3), kW, kH, SelectCombine::Subtract);
    EXPECT_EQ(paint.selection.count(), 9u);
    paint.selection.combine(rectangleShape(kW, kH, 0, 0, 23, 15), kW, kH, SelectCombine::Subtract);
    EXPECT_FALSE(paint.selection.active()) << "an empty selection is none";
    EXPECT_TRUE(paint.selection.allows(7));

    // Lasso: the centres inside a triangle of corners (0,0), (10,0), (0,10).
    const auto lasso = lassoShape(kW, kH, {{0, 0}, {10, 0}, {0, 10}});
    std::size_t inLasso = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            EXPECT_EQ(lasso[std::size_t(y * kW + x)] != 0, x + y + 1 < 10) << x << "," << y;
            inLasso += lasso[std::size_t(y * kW + x)];
        }
    EXPECT_EQ(inLasso, 45u);

    // By colour: 4-connected, or every texel of the index.
    skin().pixels[std::size_t(0)] = skin().pixels[std::size_t(1)] = skin().pixels[std::size_t(23)] = 250;
    for (const auto& [every, texels] : {std::pair{false, 2}, std::pair{true, 3}}) {
        const std::vector<std::uint8_t> shape = colourShape(skin(), 0, every);
        EXPECT_EQ(std::count(shape.begin(), shape.end(), 1), texels) << every;
    }

    selectFromTriangles(c);
    EXPECT_EQ(paint.selection.count(), 0u) << "no Triangle is selected";
    mesh.triangles[0].flags = kTriSelected;
    selectFromTriangles(c);
    EXPECT_EQ(paint.selection.count(), 36u);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) EXPECT_EQ(paint.selection.contains(x, y), x + y < 8) << x << "," << y;
    invertTexelSelection(c);
    EXPECT_EQ(paint.selection.count(), std::size_t(kW * kH - 36));
}

TEST_F(SelectionTest, EffectsAndReplaceColorsChangeOnlyTheSelectedTexels) {
    paint.colorSlots[3] = 0;
    paint.colorSlots[2] = 255;
    mesh.triangles[0].flags = kTriSelected;
    selectRect(0, 0, 3, 3);
    replaceColors(edit);
    outlineSelected(edit);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            if (x > 3 || y > 3) {
                EXPECT_EQ(at(x, y), original[std::size_t(y * kW + x)]) << x << "," << y;
            }
    EXPECT_NE(skin().pixels.bytes(), original);
}

TEST_F(SelectionTest, CopyThenPasteKeepsIndicesAndFlipsAndTurnsAreExact) {
    selectRect(1, 2, 4, 3);  // 4 x 2
    copySelection(c);
    ASSERT_TRUE(ui.clipboard && !ui.clipboard->tarnPng.empty());
    const StoredImage png = decodePng(ui.clipboard->tarnPng);
    ASSERT_TRUE(png.indexed);
    EXPECT_EQ(png.image.palette, skin().palette) << "the PNG carries the skin's palette";

    // Another skin of the same palette takes the very indices.
    pasteClipboard(c);
    ASSERT_TRUE(floating.active());
    EXPECT_TRUE(ui.shown.empty()) << "TARN's own image asks nothing";
    struct Case {
        PatchTransform how;
        int width, height;
        std::function<std::pair<int, int>(int, int)> source;  // patch texel (x, y) came from
    };
    const Case cases[] = {
        {PatchTransform::FlipHorizontal, 4, 2, [](int x, int y) { return std::pair{3 - x, y}; }},
        {PatchTransform::FlipVertical, 4, 2, [](int x, int y) { return std::pair{x, 1 - y}; }},
        {PatchTransform::TurnClockwise, 2, 4, [](int x, int y) { return std::pair{y, 1 - x}; }},
        {PatchTransform::TurnCounterClockwise, 2, 4, [](int x, int y) { return std::pair{3 - y, x}; }},
    };
    const SkinPatch pasted = floating.patch();
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(pasted.pixels[std::size_t(y * 4 + x)], original[std::size_t((2 + y) * kW + 1 + x)]);
    for (const Case& k : cases) {
        const SkinPatch turned = transformed(pasted, k.how);
        ASSERT_EQ(turned.width, k.width);
        ASSERT_EQ(turned.height, k.height);
        for (int y = 0; y < k.height; ++y)
            for (int x = 0; x < k.width; ++x) {
                const auto [sx, sy] = k.source(x, y);
                EXPECT_EQ(turned.pixels[std::size_t(y * k.width + x)], pasted.pixels[std::size_t(sy * 4 + sx)]);
            }
        // A flip undoes itself; four quarter turns come round.
        SkinPatch back = turned;
        for (int n = k.width == 4 ? 1 : 3; n > 0; --n) back = transformed(back, k.how);
        EXPECT_EQ(back.pixels, pasted.pixels);
    }

    // Flip, move by the arrows, drop: one step that undo takes back whole.
    transformSelection(c, PatchTransform::FlipHorizontal);
    moveFloating(c, 2, 1);
    dropFloating(c);
    EXPECT_FALSE(floating.active());
    EXPECT_EQ(history.undoName(), kStepPaste);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(at(12 + x, 5 + y), original[std::size_t((2 + y) * kW + 1 + (3 - x))]);
    EXPECT_EQ(paint.selection.count(), 8u) << "the dropped texels stay selected";
    EXPECT_TRUE(paint.selection.contains(12, 5));
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(skin().pixels.bytes(), original);
    EXPECT_FALSE(history.canUndo());

    // A selection flipped in place lifts first; Escape puts everything back.
    selectRect(0, 0, 2, 0);
    transformSelection(c, PatchTransform::FlipHorizontal);
    EXPECT_EQ(at(0, 0), original[2]);
    EXPECT_EQ(at(2, 0), original[0]);
    cancelFloating(c);
    EXPECT_EQ(skin().pixels.bytes(), original);
    EXPECT_FALSE(history.canUndo());
}

TEST_F(SelectionTest, AnotherProgramsImageIsMatchedAsSkinsOpenMatchesAndDeleteFillsTheBackground) {
    RgbaImage image{3, 2, {}};
    for (int i = 0; i < 6; ++i) image.rgba.insert(image.rgba.end(), {std::uint8_t(i * 40), std::uint8_t(200 - i * 30), std::uint8_t(i * 13), 255});
    image.rgba[3] = 0;  // the first pixel is transparent: left out
    for (Answer dither : {Answer::No, Answer::Yes}) {
        ui.clipboard = ClipboardImage{{}, image.width, image.height, image.rgba};
        ui.answer(dither);
        pasteClipboard(c);
        ASSERT_TRUE(floating.active());
        const Bytes expected = matchToPalette(image, ColourMatch{skin().palette, dither == Answer::Yes, paint.colorSlots[kSlotBackground]});
        EXPECT_EQ(floating.patch().pixels, expected);
        EXPECT_EQ(at(10, 4), original[std::size_t(4 * kW + 10)]) << "transparent: the skin shows through";
        EXPECT_EQ(at(11, 4), expected[1]);
        cancelFloating(c);
    }
    EXPECT_EQ(ui.shown, (std::vector<std::string>{std::string("question: ") + kAskPngDither,
                                                  std::string("question: ") + kAskPngDither}));
    ui.clipboard.reset();
    pasteClipboard(c);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{kMsgNoClipboardImage});

    paint.colorSlots[kSlotBackground] = 7;
    selectRect(3, 3, 4, 3);
    deleteSelection(c);
    EXPECT_EQ(at(3, 3), 7);
    EXPECT_EQ(at(4, 3), 7);
    EXPECT_EQ(at(5, 3), original[std::size_t(3 * kW + 5)]);
    EXPECT_EQ(history.undoName(), kStepDelete);
}

}  // namespace
}  // namespace tarn
