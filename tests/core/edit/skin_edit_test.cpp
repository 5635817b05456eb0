#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "edit/mapping_edit.h"
#include "edit/skin_edit.h"
#include "image/image_codec.h"
#include "image/palette_file.h"
#include "image/skin_commands.h"
#include "image/skin_io.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

using test::ScriptedUi;

// A Mesh of one frame whose Triangles are given by their MappingVerts, every
// face normal perpendicular to the start light (so the flat and smooth light
// level is exactly 127), and a grey-palette skin of index (x * 7 + y * 13) % 200.
class SkinEditTest : public ::testing::Test {
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
    SkinEditContext c{ui, settings, folders, mesh, skins, paint, lighting, refresh, &history};

    void setMesh(int w, int h, const std::vector<MappingVert>& verts,
                 const std::vector<std::array<std::int16_t, 3>>& triangles) {
        mesh.skinWidth = static_cast<std::int16_t>(w);
        mesh.skinHeight = static_cast<std::int16_t>(h);
        mesh.vertexCount = 3;
        mesh.frames.push_back(Frame{"f", {{0, 0, 0}, {0, 1, 0}, {0, 0, 1}}});
        mesh.mappingVertCount = static_cast<std::int16_t>(verts.size());
        std::copy(verts.begin(), verts.end(), mesh.mappingVerts.begin());
        mesh.triangleCount = static_cast<std::int16_t>(triangles.size());
        for (std::size_t i = 0; i < triangles.size(); ++i) {
            Triangle& t = mesh.triangles[i];
            t.vertex = {0, 1, 2};
            t.mapping = triangles[i];
            t.normal = {0.70710677f, -0.70710677f, 0.0f};
        }
        MergeMappingVerts(mesh);
    }
    Skin& addSkin() {
        auto skin = makeBlankSkin(mesh.skinWidth, mesh.skinHeight);
        skin->name = "s.pcx";
        skin->palette = greyRampPalette();
        for (int y = 0; y < skin->height; ++y)
            for (int x = 0; x < skin->width; ++x)
                skin->pixels[std::size_t(y * skin->width + x)] = static_cast<std::uint8_t>((x * 7 + y * 13) % 200);
        skin->store();
        skins.append(std::move(skin));
        return *skins.current();
    }
    std::uint8_t at(const Skin& s, int x, int y) const { return s.pixels[std::size_t(y * s.width + x)]; }
};

TEST_F(SkinEditTest, ResizeHalvingScalesPixelCentresAndWeldsWhatLandsTogetherAndUndoesAsOne) {
    setMesh(256, 256, {{0, 0}, {255, 255}, {100, 50}, {254, 254}}, {{0, 1, 2}, {3, 2, 0}});
    const Skin before = addSkin();
    const Mesh meshBefore = mesh;
    ui.custom("resizeSkins", ResizeSkinsValues{128, 128, true});
    resizeAllSkins(c);

    EXPECT_EQ(mesh.skinWidth, 128);
    EXPECT_EQ(mesh.mappingVertCount, 3);  // (255, 255) and (254, 254) both became (127, 127)
    const auto vert = [&](int tri, int k) {
        return mesh.mappingVerts[std::size_t(mesh.triangles[std::size_t(tri)].mapping[std::size_t(k)])];
    };
    EXPECT_EQ(vert(0, 0), (MappingVert{0, 0}));
    EXPECT_EQ(vert(0, 1), (MappingVert{127, 127}));
    EXPECT_EQ(vert(0, 2), (MappingVert{50, 25}));
    EXPECT_EQ(mesh.triangles[0].mapping[1], mesh.triangles[1].mapping[0]);
    EXPECT_EQ(refresh.calls.back(), "refreshAll");

    EXPECT_EQ(history.undoName(), "Resize skins");
    ASSERT_TRUE(history.undo());
    EXPECT_FALSE(history.canUndo());
    EXPECT_EQ(mesh.skinWidth, 256);
    EXPECT_EQ(mesh.skinHeight, 256);
    EXPECT_EQ(mesh.mappingVertCount, meshBefore.mappingVertCount);
    EXPECT_EQ(mesh.mappingVerts, meshBefore.mappingVerts);
    EXPECT_EQ(mesh.triangles[1].mapping, meshBefore.triangles[1].mapping);
    EXPECT_EQ(skins.current()->pixels, before.pixels);
    EXPECT_EQ(skins.current()->width, 256);
}

// Undo and redo give back the unsaved marks and the current skin as they
// were: undoing a resize of stored skins leaves nothing to save and the same
// skin current.
TEST_F(SkinEditTest, ResizeUndoAndRedoRestoreTheUnsavedMarksAndTheCurrentSkin) {
    setMesh(64, 64, {{0, 0}, {63, 63}, {10, 50}}, {{0, 1, 2}});
    addSkin();
    addSkin();
    addSkin();
    skins.makeCurrent(1);
    ui.custom("resizeSkins", ResizeSkinsValues{32, 32, true});
    resizeAllSkins(c);
    for (int i = 0; i < skins.count(); ++i) ASSERT_TRUE(skins.at(i)->modified()) << i;
    skins.makeCurrent(2);  // chosen after the step, by the user
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(skins.currentIndex(), 1);
    for (int i = 0; i < skins.count(); ++i) EXPECT_FALSE(skins.at(i)->modified()) << i;
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(skins.currentIndex(), 1);
    for (int i = 0; i < skins.count(); ++i) EXPECT_TRUE(skins.at(i)->modified()) << i;
}

TEST_F(SkinEditTest, ResizeDoublingRepeatsEveryPixelAndLeavesUnsavedWork) {
    setMesh(128, 128, {{0, 0}, {10, 0}, {0, 10}}, {{0, 1, 2}});
    const Skin before = addSkin();
    ui.custom("resizeSkins", ResizeSkinsValues{256, 256, true});
    resizeAllSkins(c);

    const Skin& after = *skins.current();
    ASSERT_EQ(after.pixels.size(), 256u * 256u);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) ASSERT_EQ(at(after, x, y), at(before, x / 2, y / 2)) << x << "," << y;
    EXPECT_EQ(after.backup, after.pixels);
    EXPECT_EQ(after.rowTable[255], 255 * 256);
    EXPECT_TRUE(after.modified());
}

TEST_F(SkinEditTest, PackIslandsCancelledWhileItWorksChangesNothing) {
    setMesh(64, 64, {{2, 2}, {12, 2}, {2, 12}, {40, 40}, {60, 40}, {40, 60}}, {{0, 1, 2}, {3, 4, 5}});
    const Skin before = addSkin();
    const Mesh meshBefore = mesh;
    PackIslandsValues shrink;
    shrink.size = PackSizeChoice::Shrink;
    ui.custom("packIslands", shrink);
    // The dialog's first preview runs, then the packing is cancelled.
    ui.cancelProgress = true;
    ui.cancelFrom = 1;
    packIslandsCommand(c);
    EXPECT_EQ(ui.progressTitles, (std::vector<std::string>{"Pack Islands", "Pack Islands"}));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(mesh.skinWidth, 64);
    EXPECT_EQ(mesh.mappingVerts, meshBefore.mappingVerts);
    EXPECT_EQ(skins.current()->pixels, before.pixels);
    EXPECT_FALSE(skins.current()->modified());
    EXPECT_FALSE(history.canUndo());
}

TEST_F(SkinEditTest, PackIslandsShowsWastedSpaceBeforeAndAfterAndUndoesSkinsMappingAndSizeAsOne) {
    // Two islands far apart on a 64 x 64 skin, each a right triangle.
    setMesh(64, 64, {{2, 2}, {12, 2}, {2, 12}, {40, 40}, {60, 40}, {40, 60}}, {{0, 1, 2}, {3, 4, 5}});
    const Skin before = addSkin();
    addSkin();
    const Mesh meshBefore = mesh;
    PackIslandsValues shrink;
    shrink.size = PackSizeChoice::Shrink;
    ui.custom("packIslands", shrink);
    packIslandsCommand(c);

    EXPECT_EQ(ui.packShown.wastedBefore, 92);
    // The shapes interlock: the small island sits beside the large one's
    // slope. 32 x 27 is the smallest; 28 x 31, within 2% of it, is nearer
    // the square skin's shape.
    EXPECT_EQ(mesh.skinWidth, 28);
    EXPECT_EQ(mesh.skinHeight, 31);
    for (int i = 0; i < skins.count(); ++i) {
        EXPECT_EQ(skins.at(i)->width, 28);
        EXPECT_TRUE(skins.at(i)->modified());
    }
    // The larger island went first, to the top left, its margin of 2 kept.
    EXPECT_EQ(mesh.mappingVerts[std::size_t(mesh.triangles[1].mapping[0])], (MappingVert{2, 2}));
    EXPECT_EQ(at(*skins.current(), 2, 2), at(before, 40, 40));

    EXPECT_EQ(history.undoName(), "Pack Islands");
    ASSERT_TRUE(history.undo());
    EXPECT_FALSE(history.canUndo());
    EXPECT_EQ(mesh.skinWidth, 64);
    EXPECT_EQ(mesh.skinHeight, 64);
    EXPECT_EQ(mesh.mappingVerts, meshBefore.mappingVerts);
    for (int i = 0; i < skins.count(); ++i) {
        EXPECT_EQ(skins.at(i)->pixels, before.pixels);
        EXPECT_EQ(skins.at(i)->width, 64);
    }
    // The dialog's preview of the choices, on the model as it was.
    Progress progress;
    EXPECT_EQ(ui.packShown.preview(shrink, progress).text, "65% on 28x31");
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(mesh.skinWidth, 28);

    // A skin too small for the islands is refused with nothing changed.
    PackIslandsValues tiny;
    tiny.size = PackSizeChoice::Given;
    tiny.width = tiny.height = 8;
    ui.custom("packIslands", tiny);
    packIslandsCommand(c);
    EXPECT_EQ(ui.shown.back(), "message: The islands do not fit a skin of 8x8.");
    EXPECT_EQ(mesh.skinWidth, 28);
    EXPECT_EQ(history.undoName(), "Pack Islands");
}

TEST_F(SkinEditTest, ResizeRefusalsComeInTheirOrderAndChangeNothing) {
    struct Case {
        ResizeSkinsValues values;
        const char* message;  // null: accepted
    };
    const Case cases[] = {
        {{64, 32, false}, kMsgAlreadyThatSize},
        {{0, 100, true}, kMsgSizeZero},
        {{-4, 8, false}, kMsgSizeZero},
        {{642, 500, true}, kMsgWidthMultipleOf4},  // before the size test
        {{644, 100, true}, kMsgAbove640x480},
        {{640, 484, true}, kMsgAbove640x480},
        {{40000, 100, false}, kMsgAboveRecordLimits},
        {{100, 2049, false}, kMsgAboveRecordLimits},
        {{642, 500, false}, nullptr},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::to_string(k.values.width) + "x" + std::to_string(k.values.height));
        mesh = Mesh{};
        skins.clear();
        setMesh(64, 32, {{0, 0}, {63, 0}, {0, 31}}, {{0, 1, 2}});
        const Skin before = addSkin();
        ui.shown.clear();
        ui.custom("resizeSkins", k.values);
        resizeAllSkins(c);
        if (k.message) {
            EXPECT_EQ(ui.messages(), std::vector<std::string>{k.message});
            EXPECT_EQ(skins.current()->pixels, before.pixels);
            EXPECT_EQ(mesh.mappingVerts[1], (MappingVert{63, 0}));
        } else {
            EXPECT_TRUE(ui.messages().empty());
            EXPECT_EQ(skins.current()->width, k.values.width);
            EXPECT_EQ(mesh.skinHeight, k.values.height);
        }
    }
    ui.custom("resizeSkins", std::optional<ResizeSkinsValues>{});
    refresh.calls.clear();
    resizeAllSkins(c);
    EXPECT_TRUE(refresh.calls.empty());
}

TEST_F(SkinEditTest, NewDrawsCheckerboardGridAndOutlineOrPlainBackground) {
    setMesh(16, 16, {{2, 3}, {12, 3}, {2, 13}}, {{0, 1, 2}});
    paint.colorSlots = ColorSlots{{250, 1, 20, 30, 40, 50, 6, 70}};
    ui.answer(Answer::Yes).answer(Answer::Yes).answer(Answer::Yes);
    newSkin(c);
    const Skin& s = *skins.current();
    EXPECT_EQ(s.name, "newskin");
    EXPECT_TRUE(s.external);
    EXPECT_FALSE(s.hasFile);
    EXPECT_TRUE(s.modified());
    EXPECT_EQ(at(s, 1, 0), 40);  // odd column, even row: grid
    EXPECT_EQ(at(s, 0, 1), 50);  // even column: grid
    EXPECT_EQ(at(s, 5, 5), 20);  // cell (1, 1): slot 2
    EXPECT_EQ(at(s, 1, 1), 20);  // cell (0, 0): slot 2
    EXPECT_EQ(at(s, 7, 1), 30);  // cell (1, 0): slot 3
    EXPECT_EQ(at(s, 7, 3), 250);  // on the edge 0-1, active colour
    EXPECT_EQ(at(s, 2, 9), 250);  // on the edge 2-0

    ui.answer(Answer::No).answer(Answer::No).answer(Answer::No);
    newSkin(c);
    EXPECT_EQ(skins.count(), 2);
    EXPECT_EQ(skins.current()->pixels, std::vector<std::uint8_t>(256, 70));
    EXPECT_EQ(refresh.calls.back(), "refreshAll");
    EXPECT_EQ(history.undoName(), "New skin");
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(skins.count(), 1);
}

TEST_F(SkinEditTest, DuplicateCopiesTheCurrentSkinOrMakesOneFromTwoQuestions) {
    setMesh(8, 8, {{0, 0}, {7, 0}, {0, 7}}, {{0, 1, 2}});
    ui.answer(Answer::No).answer(Answer::No);
    duplicateSkin(c);
    ASSERT_EQ(skins.count(), 1);
    EXPECT_EQ(ui.shown, (std::vector<std::string>{"message: " + std::string(kMsgNothingToDuplicate),
                                                  "question: " + std::string(kAskCheckerboard),
                                                  "question: " + std::string(kAskOutline)}));
    EXPECT_EQ(skins.current()->pixels, std::vector<std::uint8_t>(64, paint.colorSlots[7]));
    EXPECT_EQ(skins.current()->palette, greyRampPalette());

    Skin& original = *skins.current();
    original.name = "orig";
    original.pixels[3] = 9;
    duplicateSkin(c);
    ASSERT_EQ(skins.count(), 2);
    const Skin& copy = *skins.current();
    EXPECT_EQ(skins.currentIndex(), 1);
    EXPECT_EQ(copy.name, "dupskin");
    EXPECT_TRUE(copy.external);
    EXPECT_EQ(copy.pixels, skins.at(0)->pixels);
    EXPECT_EQ(copy.backup, skins.at(0)->backup);
    EXPECT_TRUE(copy.modified());
}

TEST_F(SkinEditTest, InvertsRestoreWhenTwiceAndBothKeepsEveryColour) {
    setMesh(8, 8, {{0, 0}, {7, 0}, {0, 7}}, {{0, 1, 2}});
    Skin& s = addSkin();
    for (int i = 0; i < 256; ++i) s.palette[std::size_t(i * 3 + 1)] = static_cast<std::uint8_t>(i * 3);
    const Skin before = s;
    for (auto invert : {invertPalette, invertPixels}) {
        invert(c);
        EXPECT_FALSE(s.pixels == before.pixels && s.palette == before.palette);
        invert(c);
        EXPECT_EQ(s.pixels, before.pixels);
        EXPECT_EQ(s.backup, before.backup);
        EXPECT_EQ(s.palette, before.palette);
    }
    invertBoth(c);
    for (std::size_t i = 0; i < s.pixels.size(); ++i) {
        EXPECT_EQ(s.pixels[i], 255 - before.pixels[i]);
        for (std::size_t ch = 0; ch < 3; ++ch)
            EXPECT_EQ(s.palette[s.pixels[i] * 3u + ch], before.palette[before.pixels[i] * 3u + ch]);
    }
    EXPECT_TRUE(s.modified());
    EXPECT_EQ(refresh.calls.back(), "refreshAll");
    EXPECT_EQ(refresh.calls[refresh.calls.size() - 2], "shadeRamps");
}

TEST_F(SkinEditTest, ReplaceColorsSpreadsTheSourceRangeOverTheTargetEitherWayRound) {
    setMesh(4, 1, {{0, 0}, {3, 0}, {0, 0}}, {{0, 1, 2}});
    struct Case {
        int a, b, c, d;
        std::vector<std::uint8_t> in, out;
    };
    const Case cases[] = {
        {192, 128, 10, 15, {192, 128, 160, 100}, {10, 15, 12, 100}},  // the default slots
        {128, 192, 10, 15, {192, 128, 160, 100}, {15, 10, 12, 100}},  // the range given low to high
        {50, 50, 7, 99, {50, 51, 49, 50}, {7, 51, 49, 7}},
        {0, 255, 255, 0, {0, 255, 1, 254}, {255, 0, 254, 1}},
        {200, 100, 250, 10, {150, 100, 99}, {130, 10, 99}},  // 250 + (150 - 200) * 2.4 = 130
    };
    Skin& s = addSkin();
    for (const Case& k : cases) {
        paint.colorSlots[3] = std::uint8_t(k.a);
        paint.colorSlots[2] = std::uint8_t(k.b);
        paint.colorSlots[5] = std::uint8_t(k.c);
        paint.colorSlots[4] = std::uint8_t(k.d);
        s.pixels = k.in;
        replaceColors(c);
        EXPECT_EQ(s.pixels, k.out) << k.a << " " << k.b;
    }
}

TEST_F(SkinEditTest, ReloadTakesTheFileOrSaysWhyNot) {
    test::TempDir dir;
    setMesh(8, 4, {{0, 0}, {7, 0}, {0, 3}}, {{0, 1, 2}});
    auto onDisk = makeBlankSkin(8, 4);
    std::fill(onDisk->pixels.begin(), onDisk->pixels.end(), 33);
    onDisk->palette[0] = 99;
    const std::string path = dir.file("s.pcx");
    ASSERT_TRUE(SavePcx(ui, *onDisk, path));
    const std::string wrongSize = dir.file("big.pcx");
    ASSERT_TRUE(SavePcx(ui, *makeBlankSkin(8, 8), wrongSize));

    struct Case {
        bool hasFile;
        std::string file;
        const char* message;  // null: reloaded, or nothing at all without a file
    };
    const Case cases[] = {{false, path, nullptr},
                          {true, dir.file("gone.pcx"), kMsgUnableToReload},
                          {true, wrongSize, kMsgReloadDimensions},
                          {true, path, nullptr}};
    for (const Case& k : cases) {
        skins.clear();
        Skin& s = addSkin();
        s.hasFile = k.hasFile;
        s.filePath = k.file;
        s.pixels[0] = 1;
        const Skin before = s;
        ui.shown.clear();
        reloadSkin(c);
        EXPECT_EQ(ui.messages(), k.message ? std::vector<std::string>{k.message} : std::vector<std::string>{});
        const bool reloaded = k.hasFile && !k.message;
        EXPECT_EQ(s.pixels, reloaded ? onDisk->pixels : before.pixels) << k.file;
        EXPECT_EQ(s.palette, reloaded ? onDisk->palette : before.palette);
        EXPECT_EQ(s.modified(), !reloaded);
    }
}

// The four effects with a loadable image of the skin's size at hand.
struct Effect {
    const char* name;
    const char* step;
    std::function<void(SkinEditContext&)> run;
};

class SkinEffectTest : public SkinEditTest {
protected:
    test::TempDir dir;
    void SetUp() override {
        // Two triangles covering the rectangle (2, 2)-(9, 9) of a 16 x 12 skin.
        setMesh(16, 12, {{2, 2}, {9, 2}, {9, 9}, {2, 9}}, {{0, 1, 2}, {0, 2, 3}});
        mesh.triangles[0].flags = kTriSelected | kTriHidden;
        mesh.triangles[1].flags = kTriSelected;
    }
    // Queues the dialog of Load To Selected with an image of index 250
    // everywhere; as a true-colour PNG, grey 250 matched to the skin's own
    // grey ramp without dithering.
    void prepareLoad(int w, int h, bool trueColour = false) {
        if (trueColour) {
            const Bytes rgb(std::size_t(w * h * 3), 250);
            const std::string path = dir.file("load.png");
            ASSERT_EQ(writeFileAtomic(path, encodePng24(w, h, rgb.data())), 0);
            ui.openFile(dir.file("load"), 3).answer(Answer::Yes).answer(Answer::No);
            return;
        }
        auto image = makeBlankSkin(w, h);
        image->palette = greyRampPalette();
        std::fill(image->pixels.begin(), image->pixels.end(), 250);
        const std::string path = dir.file("load.pcx");
        ASSERT_TRUE(SavePcx(ui, *image, path));
        ui.openFile(path);
    }
    std::vector<Effect> effects() {
        return {{"outline", "Outline selected", outlineSelected},
                {"fill", "Fill selected", fillSelected},
                {"shade", "Shade selected", shadeSelected},
                {"load", "Load to selected", [this](SkinEditContext& cx) {
                     prepareLoad(16, 12);
                     loadToSelected(cx);
                 }},
                {"load png", "Load to selected", [this](SkinEditContext& cx) {
                     prepareLoad(16, 12, true);
                     loadToSelected(cx);
                 }}};
    }
};

TEST_F(SkinEffectTest, AtStrengthZeroEveryEffectLeavesTheSkin) {
    const Skin before = addSkin();
    paint.paintStrength = 0.0;
    for (const Effect& e : effects()) {
        e.run(c);
        EXPECT_EQ(skins.current()->pixels, before.pixels) << e.name;
        EXPECT_EQ(refresh.calls.back(), "refreshAll") << e.name;
    }
    EXPECT_FALSE(history.canUndo());  // nothing changed, nothing to undo
}

// Without a selected Triangle every effect says why it does nothing, before
// any dialog.
TEST_F(SkinEffectTest, WithoutASelectionEachEffectSaysSo) {
    const Skin before = addSkin();
    for (int i = 0; i < mesh.triangleCount; ++i) mesh.triangles[std::size_t(i)].flags = 0;
    const std::vector<std::pair<const char*, void (*)(SkinEditContext&)>> commands = {
        {"outline", outlineSelected}, {"fill", fillSelected}, {"shade", shadeSelected}, {"load", loadToSelected}};
    for (const auto& [name, run] : commands) {
        ui.shown.clear();
        run(c);
        EXPECT_EQ(ui.messages(), std::vector<std::string>{kMsgNoTrianglesSelected}) << name;
        EXPECT_EQ(skins.current()->pixels, before.pixels) << name;
    }
    EXPECT_TRUE(ui.fileRequests.empty());
}

TEST_F(SkinEffectTest, FullStrengthChangesExactlyTheCoveredPixels) {
    paint.paintStrength = 1.0;
    paint.colorSlots[0] = 240;
    for (const Effect& e : effects()) {
        skins.clear();
        const Skin before = addSkin();
        e.run(c);
        const Skin& s = *skins.current();
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 16; ++x) {
                const bool inside = x >= 2 && x <= 9 && y >= 2 && y <= 9;
                const bool onEdge = inside && (x == 2 || x == 9 || y == 2 || y == 9 || x == y);
                const std::uint8_t old = at(before, x, y);
                std::uint8_t want = old;
                // Light level 127 moves grey v half-way: v + (127 - v) / 2, the
                // lower grey on a tie.
                if (std::string(e.name) == "fill" || std::string(e.name) == "shade")
                    want = inside ? std::uint8_t((old + 127) / 2) : old;
                if (std::string(e.name) == "outline") want = onEdge ? 240 : old;
                if (std::string(e.name).starts_with("load")) want = inside ? 250 : old;
                ASSERT_EQ(at(s, x, y), want) << e.name << " at " << x << "," << y;
            }
        EXPECT_TRUE(s.modified());
        EXPECT_EQ(history.undoName(), e.step);
        ASSERT_TRUE(history.undo());
        EXPECT_EQ(skins.current()->pixels, before.pixels) << e.name;
    }
}

TEST_F(SkinEffectTest, LoadToSelectedOfAnotherSizeChangesNothing) {
    const Skin before = addSkin();
    paint.paintStrength = 1.0;
    prepareLoad(16, 16);
    refresh.calls.clear();
    loadToSelected(c);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{kMsgWrongDimensions});
    EXPECT_EQ(skins.current()->pixels, before.pixels);
    EXPECT_TRUE(refresh.calls.empty());
    EXPECT_FALSE(history.canUndo());
}

// Fill bakes one light level per Triangle, Shade one per corner blended
// across it. T0 faces the light and T1 is side-on; they share the 3D vertices
// on the diagonal, whose smooth level is the mean of the two faces, so T0's
// shade falls from its far corner towards the diagonal while its fill stays
// one colour. On a black skin at full strength each texel shows half its level.
TEST_F(SkinEffectTest, FillIsFlatPerTriangleAndShadeVariesAcrossIt) {
    mesh.vertexCount = 4;
    mesh.frames[0].positions.push_back({1, 1, 1});
    mesh.triangles[0].vertex = {0, 1, 2};
    mesh.triangles[1].vertex = {0, 2, 3};
    mesh.triangles[0].normal = lighting.lightVector;
    paint.paintStrength = 1.0;
    for (const Effect& e : {effects()[1], effects()[2]}) {
        skins.clear();
        Skin& s = addSkin();
        std::fill(s.pixels.begin(), s.pixels.end(), 0);
        e.run(c);
        std::set<int> upper, lower;  // inside T0 (above the diagonal) and T1, off their edges
        for (int y = 3; y < 9; ++y)
            for (int x = 3; x < 9; ++x)
                if (x != y) (x > y ? upper : lower).insert(at(s, x, y));
        SCOPED_TRACE(e.name);
        if (std::string(e.name) == "fill") {
            EXPECT_EQ(upper.size(), 1u);
            EXPECT_EQ(lower.size(), 1u);
            EXPECT_GT(*upper.begin(), *lower.begin() + 50);
        } else {
            EXPECT_GE(upper.size(), 4u);
            EXPECT_GE(lower.size(), 4u);
            // The far corner (9, 2) is the brightest: the light falls towards the diagonal.
            EXPECT_LT(at(s, 6, 5), at(s, 8, 3));
        }
    }
}

}  // namespace
}  // namespace tarn
