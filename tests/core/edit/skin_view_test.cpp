#include <gtest/gtest.h>

#include <set>

#include "../panes/mouse_events.h"
#include "edit/skin_view.h"
#include "image/skin.h"
#include "model/mesh.h"
#include "paint/paint_state.h"
#include "paint/shape_on_skin.h"
#include "platform/refresh.h"

namespace tarn {
namespace {

using test::mouseAt;
using test::RecordingPointer;

constexpr int kSkinW = 16;
constexpr int kSkinH = 16;

// A 16 x 16 skin of index (x + y * 16) % 200 + 10 over a palette of distinct
// colours, shown at zoom 4 in a 200 x 200 pane with its centre in the middle.
class SkinViewTest : public ::testing::Test {
protected:
    SkinViewTest()
        : skin(makeBlankSkin(kSkinW, kSkinH)),
          view(PaneContext{mesh, paint, modes, refresh, [this] { return skin.get(); }, [] { return 5; }}) {
        for (int i = 0; i < 256; ++i) {
            skin->palette[static_cast<std::size_t>(i) * 3] = static_cast<std::uint8_t>(i);
            skin->palette[static_cast<std::size_t>(i) * 3 + 1] = static_cast<std::uint8_t>(i / 2);
            skin->palette[static_cast<std::size_t>(i) * 3 + 2] = static_cast<std::uint8_t>(255 - i);
        }
        for (int i = 0; i < kSkinW * kSkinH; ++i) skin->pixels[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i % 200 + 10);
        original = skin->pixels;
        paint.colorSlots[0] = 250;
        paint.updatePaintRemap(&skin->palette);
        view.setZoom(4.0f);
        view.setPan(8.0f, 8.0f);
        view.resize(200, 200);
        refresh.calls.clear();
    }
    void stroke(std::initializer_list<std::pair<int, int>> points, unsigned button = kLeftButton) {
        auto it = points.begin();
        view.mousePress(mouseAt(it->first, it->second, button, button), pointer);
        for (++it; it != points.end(); ++it) view.mouseMove(mouseAt(it->first, it->second, kNoButton, button), pointer);
        const auto last = *(points.end() - 1);
        view.mouseRelease(mouseAt(last.first, last.second, button, kNoButton), pointer);
    }
    // Skin pixels that differ from the original.
    std::set<std::int32_t> changed() const {
        std::set<std::int32_t> out;
        for (std::size_t i = 0; i < original.size(); ++i)
            if (skin->pixels[i] != original[i]) out.insert(static_cast<std::int32_t>(i));
        return out;
    }
    Mesh mesh;
    PaintState paint;
    PaneModes modes;
    RecordingRefresh refresh;
    RecordingPointer pointer;
    std::unique_ptr<Skin> skin;
    std::vector<std::uint8_t> original;
    SkinView view;
};

TEST_F(SkinViewTest, FullRedrawShowsTheSkinMagnifiedAndMapsEveryPixel) {
    EXPECT_EQ(view.viewWidth(), 200);
    int shown = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 200; ++x) {
            const std::int32_t src = view.sourceAt(x, y);
            const std::uint8_t px = view.image()[static_cast<std::size_t>(x + (199 - y) * 200)];
            if (src < 0) {
                EXPECT_EQ(px, paint.colorSlots[kSlotBackground]);
                continue;
            }
            ++shown;
            ASSERT_LT(src, kSkinW * kSkinH);
            EXPECT_EQ(px, skin->pixels[static_cast<std::size_t>(src)]);
            // The texel agrees with the pane's client-to-skin rule within one pixel.
            EXPECT_LE(std::abs(src % kSkinW - view.skinXAt(x)), 1) << x << "," << y;
        }
    }
    // About zoom x zoom view pixels per skin pixel.
    EXPECT_NEAR(shown, kSkinW * kSkinH * 16, kSkinW * 4 * 4);
    // Every skin pixel is shown somewhere.
    std::set<std::int32_t> sources(view.sourceMap().begin(), view.sourceMap().end());
    EXPECT_EQ(sources.size(), static_cast<std::size_t>(kSkinW * kSkinH + 1));
}

// The view draws, and maps, exactly the pixels of the skin quadrilateral's
// texture fill, though it reads each row once and copies the repeats: for
// skins wider and taller than they are long, clipped on any side, or out of
// sight, at zooms where texel rows start part-way along a view row.
TEST_F(SkinViewTest, RedrawsGiveThePixelsAndSourcesOfTheSkinQuadsFill) {
    struct Case {
        int skinW, skinH, viewW, viewH;
        float zoom, panX, panY;
    };
    const Case cases[] = {
        {16, 16, 200, 200, 4.0f, 8.0f, 8.0f},       {16, 64, 203, 170, 1.0f, 8.0f, 30.0f},
        {64, 16, 150, 400, 2.7f, 30.0f, 5.0f},      {37, 91, 301, 257, 11.3f, 5.0f, 80.0f},
        {37, 91, 301, 257, 1.37f, -20.0f, 200.0f},  {300, 200, 120, 90, 12.0f, 150.0f, 100.0f},
        {16, 16, 100, 100, 3.0f, 500.0f, 500.0f},   {5, 700, 64, 900, 1.1f, 2.0f, 350.0f},
        {296, 196, 2480, 2160, 7.3f, 148.3f, 98.1f}, {3, 1999, 40, 2000, 1.0f, 1.5f, 1000.0f},
        {7, 1500, 30, 1700, 1.13f, 3.0f, 700.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.skinW << "x" << c.skinH << " in " << c.viewW << "x" << c.viewH
                                        << " at zoom " << c.zoom);
        skin = makeBlankSkin(c.skinW, c.skinH);
        for (std::size_t i = 0; i < skin->pixels.size(); ++i) skin->pixels[i] = std::uint8_t(i * 7 % 251);
        view.setZoom(c.zoom);
        view.setPan(c.panX, c.panY);
        view.resize(c.viewW, c.viewH);
        view.redraw(kRedrawFull);

        // The quadrilateral as the fill draws it, into planes of the view's size.
        const int w = view.viewWidth(), h = view.viewHeight();
        std::vector<std::uint8_t> image(std::size_t(w) * std::size_t(h), paint.colorSlots[kSlotBackground]);
        std::vector<std::int32_t> map(image.size(), -1);
        std::vector<std::int32_t> rows(std::size_t(c.skinH));
        for (int r = 0; r < c.skinH; ++r) rows[std::size_t(r)] = r * c.skinW;
        Rasterizer raster;
        ASSERT_TRUE(raster.SetTexture(skin->pixels, c.skinW, c.skinH, rows));
        ASSERT_TRUE(raster.SetTarget(RasterTarget{image.data(), nullptr, nullptr, map.data(), w, h}));
        const auto x = [&](float s) { return int(float(w / 2) + (s - c.panX) * c.zoom); };
        const auto y = [&](float t) { return int(float(h / 2) - (t - c.panY) * c.zoom); };
        const Fixed16 uMax = toFixed16(c.skinW - 1) + 0xFFFE, vMax = toFixed16(c.skinH - 1) + 0xFFFE;
        const TexVertex2D a{x(0), y(0), 0x4000, 0x4000};
        raster.FillTexture2DPick({a, TexVertex2D{x(float(c.skinW)), y(0), uMax, 0x4000},
                                  TexVertex2D{x(float(c.skinW)), y(float(c.skinH)), uMax, vMax},
                                  TexVertex2D{x(0), y(float(c.skinH)), 0x4000, vMax}, a});
        EXPECT_TRUE(view.image() == image);
        EXPECT_TRUE(view.sourceMap() == map);
        for (int py = 0; py < h; py += 7)
            for (int px = 0; px < view.clientWidth(); px += 5)
                ASSERT_EQ(view.sourceAt(px, py), map[std::size_t(px + (h - 1 - py) * w)]) << px << "," << py;
        // A quick redraw draws the same, and leaves the map as it was.
        view.setPan(c.panX + 0.5f, c.panY);
        view.redraw(kRedrawQuick);
        view.setPan(c.panX, c.panY);
        view.redraw(kRedrawQuick);
        EXPECT_TRUE(view.image() == image);
        EXPECT_TRUE(view.sourceMap() == map);
    }
}

// The wheel zooms about the pointer: the skin point under it stays under it,
// and so does the texel, which the drawing places to the nearest pixel.
TEST_F(SkinViewTest, WheelZoomKeepsTheTexelUnderThePointer) {
    // Texel centres lie at pixel centres 4k + 69 at the start.
    for (const auto& [x, y] : {std::pair{77, 97}, std::pair{121, 125}, std::pair{101, 77}, std::pair{20, 30}}) {
        view.setZoom(4.0f);
        view.setPan(8.125f, 8.125f);
        view.redraw(kRedrawFull);
        const std::int32_t under = view.sourceAt(x, y);
        const float s = (float(x) + 0.5f - 100.0f) / view.zoom() + view.panX();
        for (int delta : {120, 240, -120, -360, 480}) {
            view.wheel(delta, x, y);
            EXPECT_NEAR((float(x) + 0.5f - 100.0f) / view.zoom() + view.panX(), s, 1e-3f) << x << "," << y;
            if (under >= 0 && view.zoom() >= 2.0f) {
                EXPECT_EQ(view.sourceAt(x, y), under) << x << "," << y << " after " << delta;
            }
        }
    }
}

TEST_F(SkinViewTest, PartialRedrawKindsTouchOnlyTheirPart) {
    const auto mapBefore = view.sourceMap();
    // Kind 2: only the background takes the new slot-7 colour.
    paint.colorSlots[kSlotBackground] = 77;
    skin->pixels[0] = 99;
    view.redraw(kRedrawBackground);
    EXPECT_EQ(view.image()[0], 77);
    const auto centre = static_cast<std::size_t>(100 + 99 * 200);
    EXPECT_EQ(view.image()[centre], original[static_cast<std::size_t>(view.sourceMap()[centre])]);
    // Kind 3: skin changes come through the map.
    view.redraw(kRedrawFromSkin);
    EXPECT_EQ(view.image()[static_cast<std::size_t>(70 + (199 - 70) * 200)], 99);
    // Kind 1 pans without rewriting the map.
    view.setPan(0.0f, 0.0f);
    view.redraw(kRedrawQuick);
    EXPECT_EQ(view.sourceMap(), mapBefore);
    // Kind 3 after the skin shrank never reads beyond its pixels.
    skin->width = 4;
    skin->height = 4;
    skin->pixels.resize(16);
    view.redraw(kRedrawFromSkin);
}

TEST_F(SkinViewTest, PencilStrokePaintsThePixelsUnderItOnceEach) {
    paint.paintStrength = 0.5;
    paint.updatePaintRemap(&skin->palette);
    // Back and forth over the same row of the skin.
    stroke({{70, 100}, {130, 100}, {70, 100}, {130, 101}});
    const auto painted = changed();
    ASSERT_FALSE(painted.empty());
    for (std::int32_t i : painted) {
        const auto o = original[static_cast<std::size_t>(i)];
        EXPECT_EQ(skin->pixels[static_cast<std::size_t>(i)], paint.paintRemap[o]) << "blended twice at " << i;
        EXPECT_EQ(i / kSkinW, 8);
    }
    // Exactly the skin pixels under the walked view pixels.
    std::set<std::int32_t> expected;
    for (int x = 70; x <= 130; ++x) expected.insert(view.sourceAt(x, 100));
    for (int x = 70; x <= 130; ++x) expected.insert(view.sourceAt(x, 101));
    for (auto it = expected.begin(); it != expected.end();)
        it = paint.paintRemap[original[static_cast<std::size_t>(*it)]] == original[static_cast<std::size_t>(*it)]
                 ? expected.erase(it)
                 : std::next(it);
    EXPECT_EQ(painted, expected);
    EXPECT_EQ(refresh.calls.front(), "refresh 3 19");
    EXPECT_EQ(pointer.calls.front(), "capture");
    EXPECT_EQ(pointer.calls.back(), "release");
}

// A click stamps the tip's footprint around the texel under it (the size
// counts texels), by the paint rule; Fill takes the 4-connected region of the
// clicked index; Alt+click picks instead of painting.
TEST_F(SkinViewTest, TipsStampTheirFootprintFillTakesTheRegionAndAltPicks) {
    struct Case {
        int size;
        BrushShape shape;
        Brush brush;
        bool alt;
    };
    const Case cases[] = {{1, BrushShape::Round, Brush::Pencil, false}, {9, BrushShape::Round, Brush::Pencil, false},
                          {4, BrushShape::Square, Brush::Point, false}, {3, BrushShape::Square, Brush::Fill, false},
                          {9, BrushShape::Round, Brush::Pencil, true}};
    for (const Case& c : cases) {
        skin->pixels = original;
        for (int y = 6; y <= 8; ++y)
            for (int x = 7; x <= 9; ++x) skin->pixels[std::size_t(y * kSkinW + x)] = 5;  // a block for the fill
        const std::vector<std::uint8_t> before = skin->pixels;
        paint.tip = {c.size, c.shape};
        paint.protectedColors.fill(false);
        paint.protectedColors[before[std::size_t(9 * kSkinW + 12)]] = true;
        paint.activeSlot = 0;
        paint.colorSlots[0] = 250;
        paint.updatePaintRemap(&skin->palette);
        modes.brush = c.brush;
        view.redraw(kRedrawFull);
        const int cx = view.clientXOfSkin(8), cy = view.clientYOfSkin(7);
        ASSERT_EQ(view.sourceAt(cx, cy), 7 * kSkinW + 8);
        MouseEvent press = mouseAt(cx, cy, kLeftButton, kLeftButton);
        press.alt = c.alt;
        view.mousePress(press, pointer);
        view.mouseRelease(mouseAt(cx, cy, kLeftButton, kNoButton), pointer);
        std::set<std::int32_t> expected;
        if (c.brush == Brush::Fill) {
            for (int y = 6; y <= 8; ++y)
                for (int x = 7; x <= 9; ++x) expected.insert(y * kSkinW + x);
        } else if (!c.alt) {
            const int lo = -(c.size - 1) / 2, hi = c.size / 2;
            const double centre = 0.5 * (lo + hi), r = 0.5 * c.size;
            for (int dy = lo; dy <= hi; ++dy)
                for (int dx = lo; dx <= hi; ++dx)
                    if (c.shape == BrushShape::Square || (dx - centre) * (dx - centre) + (dy - centre) * (dy - centre) <= r * r)
                        expected.insert((7 + dy) * kSkinW + 8 + dx);
            expected.erase(9 * kSkinW + 12);  // protected
        }
        std::set<std::int32_t> painted;
        for (std::size_t i = 0; i < before.size(); ++i)
            if (skin->pixels[i] != before[i]) painted.insert(std::int32_t(i));
        EXPECT_EQ(painted, expected) << "size " << c.size << " brush " << int(c.brush);
        if (c.alt) {
            EXPECT_EQ(paint.colorSlots[0], 5) << "Alt+click picks the colour";
        }
    }
    paint.tip = {};
    modes.brush = Brush::Pencil;
}

// Rectangles and ellipses go from the press texel to the pointer's, outlined
// or filled; Shade steps each texel one entry along its palette row's ramp
// (Ctrl: darker); Dither lays the paint colour and slot 2 in a pattern fixed
// to the skin's grid.
TEST_F(SkinViewTest, ShapesAndInksFollowTheirRules) {
    const auto drag = [&](int s0, int t0, int s1, int t1, bool ctrl = false) {
        skin->pixels = original;
        view.redraw(kRedrawFull);
        MouseEvent press = mouseAt(view.clientXOfSkin(float(s0)), view.clientYOfSkin(float(t0)), kLeftButton, kLeftButton);
        press.ctrl = ctrl;
        view.mousePress(press, pointer);
        view.mouseMove(mouseAt(view.clientXOfSkin(float(s1)), view.clientYOfSkin(float(t1)), kNoButton, kLeftButton), pointer);
        view.mouseRelease(mouseAt(view.clientXOfSkin(float(s1)), view.clientYOfSkin(float(t1)), kLeftButton, kNoButton), pointer);
        return changed();
    };
    const auto texel = [](int s, int t) { return t * kSkinW + s; };
    modes.brush = Brush::Rectangle;
    std::set<std::int32_t> border;
    for (int t = 3; t <= 6; ++t)
        for (int s = 3; s <= 8; ++s)
            if (s == 3 || s == 8 || t == 3 || t == 6) border.insert(texel(s, t));
    EXPECT_EQ(drag(8, 6, 3, 3), border);
    modes.brush = Brush::Ellipse;
    modes.filledShapes = true;
    const ShapeOnSkin ellipse{2, 2, 10, 12, true, true};
    std::set<std::int32_t> inside;
    ellipse.visit([&](int s, int t, bool) { inside.insert(texel(s, t)); });
    EXPECT_EQ(drag(2, 2, 10, 12), inside);
    EXPECT_EQ(inside.count(texel(2, 2)), 0u) << "the corner lies outside the ellipse";

    // The fixture's palette grows brighter with the index: each row's ramp is in index order.
    modes.brush = Brush::Point;
    paint.ink = Ink::Shade;
    paint.updatePaintRemap(&skin->palette);
    const std::int32_t at = texel(4, 5);
    ASSERT_EQ(original[std::size_t(at)] % 16, 14) << "inside its ramp";
    drag(4, 5, 4, 5);
    EXPECT_EQ(skin->pixels[std::size_t(at)], original[std::size_t(at)] + 1);
    drag(4, 5, 4, 5, true);
    EXPECT_EQ(skin->pixels[std::size_t(at)], original[std::size_t(at)] - 1);

    paint.ink = Ink::Dither;
    paint.ditherSize = 2;
    modes.brush = Brush::Rectangle;
    drag(4, 4, 7, 7);
    for (int t = 4; t <= 7; ++t)
        for (int s = 4; s <= 7; ++s) {
            const auto i = std::size_t(texel(s, t));
            EXPECT_EQ(skin->pixels[i], ditherTakesPaint(s, t, 2) ? paint.paintRemap[original[i]] : paint.colorSlots[kSlotSelected])
                << s << "," << t;
        }
    paint.ink = Ink::Paint;
    modes.filledShapes = false;
    modes.brush = Brush::Pencil;
}

TEST_F(SkinViewTest, ProtectedColoursSurviveEveryBrush) {
    const std::uint8_t keep = original[static_cast<std::size_t>(view.sourceAt(100, 100))];
    paint.protectedColors[keep] = true;
    for (Brush b : {Brush::Point, Brush::Pencil, Brush::Line}) {
        modes.brush = b;
        stroke({{60, 60}, {100, 100}, {140, 140}});
    }
    for (std::size_t i = 0; i < original.size(); ++i)
        if (original[i] == keep) {
            EXPECT_EQ(skin->pixels[i], keep);
        }
    EXPECT_FALSE(changed().empty());
}

TEST_F(SkinViewTest, LineBrushLeavesOnlyTheLastLine) {
    modes.brush = Brush::Line;
    stroke({{70, 70}, {130, 70}, {70, 130}, {100, 75}});
    // Only the line from the press point to the release point stays.
    const auto painted = changed();
    for (std::int32_t i : painted) {
        const int row = i / kSkinW;
        EXPECT_LE(row, view.sourceAt(100, 75) / kSkinW);
        EXPECT_GE(row, view.sourceAt(70, 70) / kSkinW);
    }
    EXPECT_TRUE(painted.count(view.sourceAt(70, 70)));
    EXPECT_TRUE(painted.count(view.sourceAt(100, 75)));
    EXPECT_FALSE(painted.count(view.sourceAt(130, 70)));
    EXPECT_FALSE(painted.count(view.sourceAt(70, 129)));
}

TEST_F(SkinViewTest, PointBrushLeavesDotsWhereEventsArrived) {
    modes.brush = Brush::Point;
    stroke({{70, 100}, {90, 100}, {128, 100}});
    EXPECT_EQ(changed(), (std::set<std::int32_t>{view.sourceAt(70, 100), view.sourceAt(90, 100), view.sourceAt(128, 100)}));
}

TEST_F(SkinViewTest, BackgroundPaintsNothingAndSegmentsIntoTheSkinPaintOnlyOverIt) {
    stroke({{5, 5}});
    EXPECT_TRUE(changed().empty());
    EXPECT_TRUE(refresh.calls.empty() || refresh.calls.front() == "refresh 3 19");
    // From the background, through the skin, off the pane.
    stroke({{10, 100}, {260, 100}});
    const auto painted = changed();
    EXPECT_FALSE(painted.empty());
    for (std::int32_t i : painted) EXPECT_EQ(i / kSkinW, 8);
    // Leaving and re-entering the pane: the off-pane part is clipped away.
    skin->pixels = original;
    stroke({{-50, 100}, {-50, 120}});
    EXPECT_TRUE(changed().empty());
}

TEST_F(SkinViewTest, RightClickPicksTheColourUnderThePointer) {
    const std::uint8_t under = original[static_cast<std::size_t>(view.sourceAt(100, 100))];
    paint.activeSlot = 2;
    stroke({{100, 100}}, kRightButton);
    EXPECT_EQ(paint.colorSlots[2], under);
    EXPECT_EQ(refresh.calls, (std::vector<std::string>{"refresh 0 24", "refresh 0 35", "paintRemap"}));
    EXPECT_EQ(changed().size(), 0u);
    // On the background nothing is picked.
    refresh.calls.clear();
    stroke({{2, 2}}, kRightButton);
    EXPECT_EQ(paint.colorSlots[2], under);
    EXPECT_EQ(refresh.calls, (std::vector<std::string>{"refresh 0 35", "paintRemap"}));
}

TEST_F(SkinViewTest, ZoomStaysWithinOneToTwelve) {
    for (int i = 0; i < 40; ++i) view.wheel(120);
    EXPECT_EQ(view.zoom(), 12.0f);
    view.wheel(120);
    EXPECT_EQ(view.zoom(), 12.0f);
    view.wheel(-120 * 60);
    EXPECT_EQ(view.zoom(), 1.0f);
    view.wheel(119);
    EXPECT_EQ(view.zoom(), 1.0f);
    view.wheel(240);
    EXPECT_FLOAT_EQ(view.zoom(), 1.21f);

    // Camera drag with the right button: per-pixel steps, clamped.
    modes.cameraOverride = true;
    view.mousePress(mouseAt(100, 100, kRightButton, kRightButton), pointer);
    view.mouseMove(mouseAt(100, -5000, kNoButton, kRightButton), pointer);
    EXPECT_EQ(view.zoom(), 12.0f);
    view.mouseMove(mouseAt(100, 5100, kNoButton, kRightButton), pointer);
    EXPECT_EQ(view.zoom(), 1.0f);
    view.mouseRelease(mouseAt(100, 100, kRightButton, kNoButton), pointer);
    EXPECT_EQ(view.drag(), SkinView::Drag::Idle);
}

TEST_F(SkinViewTest, CameraDragPansWithTheHiddenPointerWarpedBack) {
    modes.cameraOverride = true;
    view.mousePress(mouseAt(100, 100, kLeftButton, kLeftButton), pointer);
    view.mouseMove(mouseAt(120, 100, kNoButton, kLeftButton), pointer);
    EXPECT_FLOAT_EQ(view.panX(), 8.0f - 20.0f / 4.0f);
    // Strayed far from the press point, the pointer is put back there.
    view.mouseMove(mouseAt(180, 100, kNoButton, kLeftButton), pointer);
    EXPECT_FLOAT_EQ(view.panX(), 8.0f - 80.0f / 4.0f);
    view.mouseMove(mouseAt(100, 100, kNoButton, kLeftButton), pointer);  // the warp's own move
    EXPECT_FLOAT_EQ(view.panX(), -12.0f);
    view.mouseMove(mouseAt(104, 100, kNoButton, kLeftButton), pointer);  // on from the press point
    EXPECT_FLOAT_EQ(view.panX(), -13.0f);
    // Pressing the right button too and letting go of the left keeps the drag.
    view.mousePress(mouseAt(100, 100, kRightButton, kLeftButton | kRightButton), pointer);
    view.mouseRelease(mouseAt(100, 100, kLeftButton, kRightButton), pointer);
    EXPECT_EQ(view.drag(), SkinView::Drag::Camera);
    view.mouseRelease(mouseAt(100, 100, kRightButton, kNoButton), pointer);
    EXPECT_EQ(view.drag(), SkinView::Drag::Idle);
    EXPECT_EQ(pointer.calls,
              (std::vector<std::string>{"hide", "capture", "warp 100,100", "warp 100,100", "show", "release"}));
    EXPECT_EQ(refresh.calls, (std::vector<std::string>{"refresh 1 33", "refresh 1 33", "refresh 1 33", "refresh 0 33"}));

    // Where warping is refused, each move counts from the previous one.
    pointer.warpWorks = false;
    view.mousePress(mouseAt(100, 100, kLeftButton, kLeftButton), pointer);
    view.mouseMove(mouseAt(104, 100, kNoButton, kLeftButton), pointer);
    view.mouseMove(mouseAt(108, 100, kNoButton, kLeftButton), pointer);
    EXPECT_FLOAT_EQ(view.panX(), -15.0f);
    view.captureLost(pointer);
    EXPECT_EQ(view.drag(), SkinView::Drag::Idle);
}

TEST_F(SkinViewTest, WithoutASkinAPaintPressStaysIdle) {
    skin.reset();
    view.redraw(kRedrawFull);
    view.mousePress(mouseAt(100, 100, kLeftButton, kLeftButton), pointer);
    EXPECT_EQ(view.drag(), SkinView::Drag::Idle);
    EXPECT_TRUE(pointer.calls.empty());
    for (std::uint8_t px : view.image()) ASSERT_EQ(px, paint.colorSlots[kSlotBackground]);
}

TEST_F(SkinViewTest, MapRectIsClampedToTheSkinBeforeEveryRedraw) {
    view.redraw(kRedrawFull);
    EXPECT_EQ(view.mapRect, (MapRect{0, 0, kSkinW - 1, kSkinH - 1}));
    view.mapRect = {12, 20, -4, 3};
    view.redraw(kRedrawQuick);
    EXPECT_EQ(view.mapRect, (MapRect{0, 3, 12, kSkinH - 1}));
    // In rectangle mode its outline is drawn on the skin corners, no half-pixel offset.
    const auto imageAt = [&](int x, int row) { return view.image()[static_cast<std::size_t>(x + row * 200)]; };
    const int left = 100 + (0 - 8) * 4, right = 100 + (12 - 8) * 4;
    const int top = 100 - (3 - 8) * 4, bottom = 100 - (15 - 8) * 4;
    EXPECT_NE(imageAt(right, top), paint.colorSlots[kSlotEdge]);
    view.rectangleMode = true;
    view.redraw(kRedrawFull);
    for (const auto& [x, row] : {std::pair{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left + 9, top}})
        EXPECT_EQ(imageAt(x, row), paint.colorSlots[kSlotEdge]) << x << "," << row;
}

// Edges keep their slot colours; the inside of each visible selected
// Triangle is marked for the tint, off its edges.
TEST_F(SkinViewTest, MappingOverlayDrawsEdgesInTheSlotColoursAndMarksTheSelection) {
    mesh.triangleCount = 2;
    mesh.mappingVertCount = 4;
    mesh.mappingVerts[0] = {2, 2};
    mesh.mappingVerts[1] = {12, 2};
    mesh.mappingVerts[2] = {2, 12};
    mesh.mappingVerts[3] = {12, 12};
    mesh.triangles[0].mapping = {0, 1, 2};
    mesh.triangles[1].mapping = {1, 3, 2};
    mesh.triangles[1].flags = kTriSelected;
    // Overlay lines lie at row hh - (t + 0.5 - pan y) * zoom of the bottom-up image.
    const auto pixel = [&](float s, float t) {
        const int row = static_cast<int>(100 - (t + 0.5f - 8.0f) * 4.0f);
        return static_cast<std::size_t>(view.clientXOfSkin(s) + row * 200);
    };
    const auto at = [&](float s, float t) { return view.image()[pixel(s, t)]; };
    const auto tinted = [&](float s, float t) { return !view.tint().empty() && view.tint()[pixel(s, t)] != 0; };
    view.redraw(kRedrawFull);
    EXPECT_NE(at(7, 2), paint.colorSlots[kSlotEdge]);
    EXPECT_TRUE(view.tint().empty());  // nothing of the mapping is shown
    modes.mappingOverlayInPaint = true;
    view.redraw(kRedrawFull);
    EXPECT_EQ(at(7, 2), paint.colorSlots[kSlotEdge]);
    EXPECT_EQ(at(12, 7), paint.colorSlots[kSlotSelected]);
    // The shared edge is drawn by the later pass.
    EXPECT_EQ(at(7, 7), paint.colorSlots[kSlotSelected]);
    EXPECT_TRUE(tinted(10, 10));
    EXPECT_FALSE(tinted(4, 4));
    EXPECT_FALSE(tinted(12, 7) || tinted(7, 7));
    mesh.triangles[1].flags = kTriSelected | kTriHidden;
    view.redraw(kRedrawFull);
    EXPECT_FALSE(tinted(10, 10));
    // An index beyond the MappingVerts is skipped, not followed.
    mesh.triangles[0].mapping = {0, 1, 9000};
    view.redraw(kRedrawFull);
}

}  // namespace
}  // namespace tarn

namespace tarn {
namespace {

// Every brush with every ink, dragged over the whole skin, changes texels
// inside the selection only, and some of them.
TEST_F(SkinViewTest, WithASelectionEveryBrushAndInkPaintsOnlyInsideIt) {
    paint.selection.combine(rectangleShape(kSkinW, kSkinH, 5, 4, 10, 9), kSkinW, kSkinH, SelectCombine::Replace);
    paint.tip.size = 3;
    for (Ink ink : {Ink::Paint, Ink::Shade, Ink::Dither})
        for (Brush brush : {Brush::Point, Brush::Pencil, Brush::Line, Brush::Fill, Brush::Rectangle, Brush::Ellipse})
            for (bool filled : {false, true}) {
                skin->pixels = original;
                view.redraw(kRedrawFull);
                paint.ink = ink;
                paint.shadeSteps = computeShadeSteps(skin->palette);
                modes.brush = brush;
                modes.filledShapes = filled;
                // From outside the selection, far across it and back to end inside it (the
                // Point brush stamps only there; the shapes and the line reach from the press).
                const int x0 = view.clientXOfSkin(1.0f), y0 = view.clientYOfSkin(2.0f);
                const int x1 = view.clientXOfSkin(8.0f), y1 = view.clientYOfSkin(7.0f);
                const int x2 = view.clientXOfSkin(14.0f), y2 = view.clientYOfSkin(13.0f);
                if (brush == Brush::Fill) stroke({{x1, y1}});
                else stroke({{x0, y0}, {x2, y2}, {x1, y1}});
                const std::set<std::int32_t> got = changed();
                EXPECT_FALSE(got.empty()) << int(ink) << " " << int(brush);
                for (const std::int32_t t : got)
                    EXPECT_TRUE(paint.selection.allows(std::size_t(t))) << int(ink) << " " << int(brush) << " " << t;
            }
}

}  // namespace
}  // namespace tarn
