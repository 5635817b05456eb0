// The four panes driven through their real widgets with real mouse and wheel
// events, on the offscreen platform.
#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QTabletEvent>
#include <QTest>
#include <QWheelEvent>
#include <functional>
#include <gtest/gtest.h>

#include <set>

#include "app/application.h"
#include "app/command_ids.h"
#include "gradient_box_widget.h"
#include "image/skin.h"
#include "iso_view_widget.h"
#include "pal_box_widget.h"
#include "platform/refresh.h"
#include "scripted_ui.h"
#include "shell_widget.h"
#include "skin_view_widget.h"
#include "square_model.h"

namespace tarn {
namespace {

// Hands the panes' requests back to the shell, as the main window does.
struct ShellSink final : RefreshSink {
    ShellWidget* shell = nullptr;
    Application* app = nullptr;
    std::vector<std::string> calls;
    void refresh(int kind, int panes) override {
        calls.push_back("refresh " + std::to_string(kind) + " " + std::to_string(panes));
        if (shell != nullptr) shell->refresh(kind, panes);
    }
    void refreshAll() override { refresh(kRedrawFull, kPanesAll); }
    void refillLists() override {}
    void rebuildPaintRemap() override { app->rebuildPaintRemap(); }
    void rebuildShadeRamps() override { app->rebuildShadeRamps(); }
    void rebuildLightTable() override { app->rebuildLightTable(); }
    void rebuildPhongShadeTable() override { app->rebuildPhongShadeTable(); }
};

constexpr int kSkinSide = test::kSquareSkinSide;

struct Panes : ::testing::Test {
    test::ScriptedUi ui;
    MemorySettings settings;
    ShellSink sink;
    Application app{ui, settings, sink};
    std::unique_ptr<ShellWidget> shell;

    void SetUp() override {
        test::makeSquareModel(app);
        app.rebuildPaintRemap();
        sink.app = &app;
        shell = std::make_unique<ShellWidget>(app, sink);
        sink.shell = shell.get();
        shell->resize(824, 632);
        shell->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(shell.get()));
        shell->refresh(kRedrawFull, kPanesAll);
        sink.calls.clear();
    }
    Skin& skin() { return *app.skins.current(); }
};

void wheel(QWidget* target, QPoint pos, int delta) {
    QWheelEvent event(QPointF(pos), QPointF(target->mapToGlobal(pos)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

TEST_F(Panes, LayoutPutsTheSkinLeftTheModelRightAndThePaletteBelow) {
    EXPECT_EQ(shell->palBox()->geometry(), QRect(0, 600, 824, 32));
    EXPECT_EQ(shell->skinView()->geometry(), QRect(0, 0, 520, 600));
    EXPECT_EQ(shell->gradientBox()->geometry(), QRect(520, 0, 24, 600));
    EXPECT_EQ(shell->isoView()->geometry(), QRect(544, 0, 280, 600));
}

TEST_F(Panes, PencilStrokeInTheSkinViewPaintsEachPixelUnderItOnce) {
    SkinViewWidget* w = shell->skinView();
    SkinView& view = w->view();
    view.setZoom(8.0f);
    view.setPan(16.0f, 16.0f);
    w->redraw(kRedrawFull);
    app.paint.paintStrength = 0.5;
    app.rebuildPaintRemap();
    const std::vector<std::uint8_t> before = skin().pixels;
    const std::uint8_t guarded = before[static_cast<std::size_t>(view.sourceAt(300, 300))];
    app.paint.protectedColors[guarded] = true;

    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, QPoint(160, 300));
    QTest::mouseMove(w, QPoint(360, 300));
    QTest::mouseMove(w, QPoint(160, 300));  // back over the same pixels
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(160, 300));

    std::set<std::int32_t> under;
    for (int x = 160; x <= 360; ++x) under.insert(view.sourceAt(x, 300));
    for (std::size_t i = 0; i < before.size(); ++i) {
        const bool expectPaint = under.count(static_cast<std::int32_t>(i)) && !app.paint.protectedColors[before[i]];
        EXPECT_EQ(skin().pixels[i], expectPaint ? app.paint.paintRemap[before[i]] : before[i]) << i;
    }
    EXPECT_EQ(skin().pixels[static_cast<std::size_t>(view.sourceAt(300, 300))], guarded);
    // The view shows the painted skin through its source map.
    const std::int32_t shown = view.sourceAt(200, 300);
    EXPECT_EQ(view.image()[static_cast<std::size_t>(200 + (view.viewHeight() - 1 - 300) * view.viewWidth())],
              skin().pixels[static_cast<std::size_t>(shown)]);
    EXPECT_EQ(sink.calls.front(), "refresh 3 19");
    EXPECT_EQ(view.drag(), SkinView::Drag::Idle);
}

// A pen's pressure scales the tip: half pressed, a tip of 8 stamps 4 texels
// across; the pen lifted, the mouse paints at full size again.
TEST_F(Panes, PenPressureScalesTheTipThroughTheRealWidget) {
    SkinViewWidget* w = shell->skinView();
    SkinView& view = w->view();
    view.setZoom(8.0f);
    view.setPan(16.0f, 16.0f);
    w->redraw(kRedrawFull);
    app.paint.tip = {8, BrushShape::Square};
    skin().pixels.assign(skin().pixelCount(), 0);
    app.paint.colorSlots[kSlotPaint] = 200;
    app.rebuildPaintRemap();
    w->redraw(kRedrawFull);
    const auto click = [&](QPoint at, std::optional<qreal> pressure) {
        const std::vector<std::uint8_t> before = skin().pixels;
        const QPointingDevice* pen = QPointingDevice::primaryPointingDevice();
        const auto tablet = [&](QEvent::Type type, qreal p) {
            QTabletEvent e(type, pen, QPointF(at), QPointF(w->mapToGlobal(at)), p, 0, 0, 0, 0, 0, Qt::NoModifier,
                           Qt::LeftButton, type == QEvent::TabletRelease ? Qt::NoButton : Qt::LeftButton);
            QApplication::sendEvent(w, &e);
        };
        if (pressure) tablet(QEvent::TabletPress, *pressure);
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, at);
        if (pressure) tablet(QEvent::TabletRelease, 0.0);
        int changed = 0;
        for (std::size_t i = 0; i < before.size(); ++i) changed += skin().pixels[i] != before[i];
        return changed;
    };
    EXPECT_EQ(click(QPoint(200, 200), 0.5), 4 * 4);
    EXPECT_EQ(app.paint.pressure, 1.0f) << "the lifted pen leaves the mouse at full size";
    EXPECT_EQ(click(QPoint(330, 330), std::nullopt), 8 * 8);
    // By the Preferences choice the pressure sets the strength instead.
    app.paint.pressureSetsStrength = true;
    const PaintRemap half = computePaintRemap(skin().palette, 200, 0.5 * app.paint.paintStrength, app.paint.blendMode);
    ASSERT_NE(half[0], app.paint.paintRemap[0]) << "half strength paints another colour";
    EXPECT_EQ(click(QPoint(230, 330), 0.5), half[0] != 0 ? 8 * 8 : 0);
    EXPECT_EQ(skin().pixels[std::size_t(view.sourceAt(230, 330))], half[0]);
    app.paint.pressureSetsStrength = false;
    app.rebuildPaintRemap();
    app.paint.tip = {};
}

TEST_F(Panes, StrokeOnTheTexturedModelPaintsTheTexelUnderThePointer) {
    IsoViewWidget* w = shell->isoView();
    const FrameBuffer& frame = w->view().frame();
    // Find a pane pixel showing the skin.
    QPoint hit(-1, -1);
    for (int y = 0; y < w->height() && hit.x() < 0; y += 3)
        for (int x = 0; x < w->width(); x += 3)
            if (auto e = frame.elementAt(x, y); e && frame.pick()[*e] >= 0) {
                hit = QPoint(x, y);
                break;
            }
    ASSERT_GE(hit.x(), 0) << "the textured square is not on screen";
    const std::int32_t texel = frame.pick()[*frame.elementAt(hit.x(), hit.y())];
    const std::vector<std::uint8_t> before = skin().pixels;

    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, hit);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, hit);

    ASSERT_LT(texel, kSkinSide * kSkinSide);
    EXPECT_EQ(skin().pixels[static_cast<std::size_t>(texel)], app.paint.paintRemap[before[static_cast<std::size_t>(texel)]]);
    int changed = 0;
    for (std::size_t i = 0; i < before.size(); ++i) changed += skin().pixels[i] != before[i];
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(sink.calls.front(), "refresh 3 19");
}

TEST_F(Panes, WheelZoomsTheSkinViewWithinOneToTwelveOnEitherSide) {
    SkinViewWidget* w = shell->skinView();
    for (int i = 0; i < 30; ++i) wheel(w, QPoint(100, 100), 120);
    EXPECT_EQ(w->view().zoom(), 12.0f);
    wheel(w, QPoint(100, 100), 120);
    EXPECT_EQ(w->view().zoom(), 12.0f);
    for (int i = 0; i < 40; ++i) wheel(w, QPoint(100, 100), -120);
    EXPECT_EQ(w->view().zoom(), 1.0f);

    // After Swap Displays the SkinView is on the right and still takes its wheel.
    shell->swapDisplays();
    EXPECT_GT(w->x(), shell->gradientBox()->x());
    EXPECT_LT(shell->isoView()->x(), shell->gradientBox()->x());
    wheel(w, QPoint(50, 50), 240);
    EXPECT_FLOAT_EQ(w->view().zoom(), 1.21f);
    EXPECT_EQ(sink.calls.back(), "refresh 0 35");
}

TEST_F(Panes, WheelOverTheOtherPanes) {
    // The palette strip steps the active colour; the gradient column ignores it.
    app.paint.colorSlots[0] = 248;
    wheel(shell->palBox(), QPoint(300, 10), 120);
    EXPECT_EQ(app.paint.colorSlots[0], 8);
    wheel(shell->gradientBox(), QPoint(10, 10), 120);
    EXPECT_EQ(app.paint.colorSlots[0], 8);
    // The 3D pane turns its camera a notch.
    const Vec3f eye = shell->isoView()->view().target().eye;
    wheel(shell->isoView(), QPoint(10, 10), 120);
    EXPECT_NE(shell->isoView()->view().target().eye, eye);
}

TEST_F(Panes, FineWheelStepsAddUpToWholeNotches) {
    // A touchpad's eighths over the strip step the colour once, as one notch does.
    app.paint.colorSlots[0] = 248;
    for (int i = 0; i < 8; ++i) wheel(shell->palBox(), QPoint(300, 10), 15);
    EXPECT_EQ(app.paint.colorSlots[0], 8);
    SkinViewWidget* s = shell->skinView();
    const float zoom = s->view().zoom();
    for (int i = 0; i < 4; ++i) wheel(s, QPoint(100, 100), 30);
    EXPECT_FLOAT_EQ(s->view().zoom(), zoom * 1.1f);
    const Vec3f eye = shell->isoView()->view().target().eye;
    for (int i = 0; i < 12; ++i) wheel(shell->isoView(), QPoint(10, 10), -10);
    EXPECT_NE(shell->isoView()->view().target().eye, eye);
}

TEST_F(Panes, TheMiddleButtonNeitherEndsNorStartsADrag) {
    SkinViewWidget* s = shell->skinView();
    IsoViewWidget* iso = shell->isoView();
    GradientBoxWidget* g = shell->gradientBox();
    const QPoint onSkin(s->view().clientXOfSkin(16), s->view().clientYOfSkin(16));
    struct Row {
        QWidget* pane;
        Qt::MouseButton button;
        QPoint at;
        std::function<int()> state;
    };
    const std::vector<Row> rows = {
        {s, Qt::LeftButton, onSkin, [s] { return int(s->view().drag()); }},
        {s, Qt::RightButton, onSkin, [s] { return int(s->view().drag()); }},
        {iso, Qt::RightButton, QPoint(10, 10), [iso] { return int(iso->view().drag()); }},
        {shell->palBox(), Qt::LeftButton, QPoint(400, 12), [this] { return int(shell->palBox()->box().drag()); }},
        {g, Qt::LeftButton, QPoint(3, g->height() - 3), [g] { return int(g->box().part()); }},
    };
    for (const Row& row : rows) {
        const int idle = row.state();
        QTest::mousePress(row.pane, row.button, Qt::NoModifier, row.at);
        const int dragging = row.state();
        EXPECT_NE(dragging, idle) << row.pane->objectName().toStdString();
        QTest::mousePress(row.pane, Qt::MiddleButton, Qt::NoModifier, row.at);
        QTest::mouseRelease(row.pane, Qt::MiddleButton, Qt::NoModifier, row.at);
        EXPECT_EQ(row.state(), dragging) << row.pane->objectName().toStdString();
        QTest::mouseRelease(row.pane, row.button, Qt::NoModifier, row.at);
        EXPECT_EQ(row.state(), idle) << row.pane->objectName().toStdString();
    }
}

TEST_F(Panes, ALineStrokeEndsWhenTheCurrentSkinChanges) {
    app.skins.append(test::makeSquareSkin(1));
    app.paneModes.brush = Brush::Line;
    SkinViewWidget* w = shell->skinView();
    w->view().setZoom(8.0f);
    w->view().setPan(16.0f, 16.0f);
    w->redraw(kRedrawFull);
    const std::vector<std::uint8_t> other = app.skins.at(1)->pixels;
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, QPoint(160, 300));
    QTest::mouseMove(w, QPoint(360, 300));
    app.skins.makeCurrent(1);  // Close/Delete of the first skin, mid-stroke
    QTest::mouseMove(w, QPoint(200, 250));
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(200, 250));
    EXPECT_EQ(app.skins.at(1)->pixels, other);
}

TEST_F(Panes, SplitterDragCollapsesWithin64PixelsOfEitherEdge) {
    GradientBoxWidget* g = shell->gradientBox();
    const QPoint handle(12, g->height() - 20);
    QTest::mousePress(g, Qt::LeftButton, Qt::NoModifier, handle);
    EXPECT_TRUE(shell->splitterDragging());
    EXPECT_TRUE(g->box().handlePressed());
    EXPECT_EQ(g->cursor().shape(), Qt::BlankCursor);
    QTest::mouseMove(g, g->mapFrom(shell.get(), QPoint(63, 300)));
    EXPECT_EQ(shell->skinView()->width(), 0);
    QTest::mouseMove(g, g->mapFrom(shell.get(), QPoint(300, 300)));
    EXPECT_EQ(shell->skinView()->width(), static_cast<int>(800 * (300.0 / 824)));
    QTest::mouseMove(g, g->mapFrom(shell.get(), QPoint(824 - 63, 300)));
    EXPECT_EQ(shell->skinView()->width(), 800);
    EXPECT_EQ(shell->isoView()->width(), 0);
    QTest::mouseRelease(g, Qt::LeftButton, Qt::NoModifier, g->mapFrom(shell.get(), QPoint(824 - 63, 300)));
    EXPECT_FALSE(shell->splitterDragging());
    EXPECT_FALSE(g->box().handlePressed());
    EXPECT_EQ(app.splitterFraction, 1.0);
    // The left preset brings it back to a quarter.
    QTest::mouseClick(g, Qt::LeftButton, Qt::NoModifier, QPoint(3, g->height() - 3));
    EXPECT_EQ(shell->skinView()->width(), 200);
    // A fraction the application sets (start-up reads it) takes effect with the next refresh.
    app.splitterFraction = 0.5;
    shell->refresh(kRedrawFull, kPanesAll);
    EXPECT_EQ(shell->skinView()->width(), 400);
}

TEST_F(Panes, CameraDragInThe3DPaneHidesThePointerUntilRelease) {
    app.paneModes.cameraOverride = true;
    IsoViewWidget* w = shell->isoView();
    const Vec3f eye = w->view().target().eye;
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    EXPECT_EQ(w->cursor().shape(), Qt::BlankCursor);
    QTest::mouseMove(w, QPoint(130, 100));
    EXPECT_NE(w->view().target().eye, eye);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    EXPECT_NE(w->cursor().shape(), Qt::BlankCursor);
    EXPECT_EQ(w->view().drag(), IsoView::Drag::Idle);
    EXPECT_EQ(sink.calls.back(), "refresh 0 34");
}

TEST_F(Panes, PaletteClickSetsTheActiveColourAndRightDragProtects) {
    PalBoxWidget* p = shell->palBox();
    const int index = p->box().indexAt(400, 12);
    QTest::mouseClick(p, Qt::LeftButton, Qt::NoModifier, QPoint(400, 12));
    EXPECT_EQ(app.paint.colorSlots[0], index);
    QTest::mousePress(p, Qt::RightButton, Qt::NoModifier, QPoint(100, 2));
    QTest::mouseMove(p, QPoint(140, 2));
    QTest::mouseRelease(p, Qt::RightButton, Qt::NoModifier, QPoint(140, 2));
    EXPECT_TRUE(app.paint.protectedColors[static_cast<std::size_t>(p->box().indexAt(100, 2))]);
    EXPECT_TRUE(app.paint.protectedColors[static_cast<std::size_t>(p->box().indexAt(140, 2))]);
    // A right click on the skin picks its colour and the strip shows it.
    SkinViewWidget* s = shell->skinView();
    const QPoint onSkin(s->view().clientXOfSkin(16), s->view().clientYOfSkin(16));
    const std::int32_t src = s->view().sourceAt(onSkin.x(), onSkin.y());
    ASSERT_GE(src, 0);
    QTest::mouseClick(s, Qt::RightButton, Qt::NoModifier, onSkin);
    const std::uint8_t picked = skin().pixels[static_cast<std::size_t>(src)];
    EXPECT_EQ(app.paint.colorSlots[0], picked);
    // The strip shows the new colour in slot 0's cell.
    const auto at = static_cast<std::size_t>(picked) * 3;
    EXPECT_EQ(p->box().pixel(8, 8), (Rgb{skin().palette[at], skin().palette[at + 1], skin().palette[at + 2]}));
}

TEST_F(Panes, PalOnTopPutsTheStripAboveTheDisplays) {
    settings.setInt(kPreferences, "Pal On Top", 1);
    ShellWidget top(app, sink);
    top.resize(600, 400);
    top.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&top));
    EXPECT_EQ(top.palBox()->geometry(), QRect(0, 0, 600, 32));
    EXPECT_EQ(top.skinView()->y(), 32);
    EXPECT_EQ(top.gradientBox()->height(), 368);
    top.setPalOnTop(false);
    EXPECT_EQ(top.palBox()->geometry(), QRect(0, 368, 600, 32));
}

}  // namespace
}  // namespace tarn

namespace tarn {
// Every pixel of the skin pane in the colour of its pixel in the view's
// picture, the outline put away first: as the window shows it, and drawn
// afresh.
void expectSkinPaneShowsItsPicture(SkinViewWidget& w, const Palette& palette, const char* step) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&w, &leave);
    QApplication::processEvents();
    const QPoint at = w.mapTo(w.window(), QPoint(0, 0));
    const QImage window = w.screen()->grabWindow(w.window()->winId(), at.x(), at.y(), w.width(), w.height()).toImage();
    const SkinView& view = w.view();
    const QImage drawn = w.grab().toImage();
    for (const QImage* shown : {&window, &drawn}) {
        int wrong = 0;
        for (int y = 0; y < shown->height(); ++y)
            for (int x = 0; x < shown->width(); ++x) {
                const std::size_t row = std::size_t(view.viewHeight() - 1 - y) * std::size_t(view.viewWidth());
                const int i = view.image()[row + std::size_t(x)];
                const QRgb want = qRgb(palette[i * 3], palette[i * 3 + 1], palette[i * 3 + 2]);
                wrong += ((shown->pixel(x, y) ^ want) & RGB_MASK) != 0;
            }
        EXPECT_EQ(wrong, 0) << step << (shown == &window ? " in the window" : " drawn afresh");
    }
}

// The pane converts only the rows the view drew: whatever drew them, it shows
// the whole picture as the view holds it.
TEST_F(Panes, TheSkinPaneShowsItsPictureAfterEveryKindOfStep) {
    SkinViewWidget* w = shell->skinView();
    w->view().setZoom(8.0f);
    w->view().setPan(16.0f, 16.0f);
    w->redraw(kRedrawFull);
    const QPoint c(w->width() / 2, w->height() / 2);
    const auto stroke = [&](QPoint a, QPoint b) {
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, a);
        QTest::mouseMove(w, b);
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, b);
    };
    const auto with = [&](int command, const std::function<void()>& step) {
        ASSERT_TRUE(app.commands().run(command));
        step();
        ASSERT_TRUE(app.commands().run(command));
    };
    const struct {
        const char* step;
        std::function<void()> run;
    } steps[] = {
        {"a pencil stroke", [&] { stroke(c, c + QPoint(60, 20)); }},
        {"a round tip", [&] { app.setBrushSize(9), stroke(c + QPoint(0, 40), c + QPoint(-80, 60)); }},
        {"a fill", [&] { app.commands().run(cmd::kFillBrush), stroke(c - QPoint(120, 100), c - QPoint(120, 100)), app.commands().run(cmd::kPencilBrush); }},
        {"an undo", [&] { app.commands().run(cmd::kUndo); }},
        {"a stroke under the mapping", [&] { with(cmd::kMappingOverlayInPaint, [&] { stroke(c - QPoint(50, 50), c); }); }},
        {"a mirrored stroke", [&] {
             with(cmd::kMirror, [&] {
                 QTest::mouseClick(w, Qt::LeftButton, Qt::ControlModifier, c);
                 stroke(c + QPoint(-30, 10), c + QPoint(-10, 30));
             });
         }},
        {"a wheel zoom", [&] { wheel(w, c, 120); }},
    };
    for (const auto& step : steps) {
        const std::vector<std::uint8_t> picture = w->view().image();
        step.run();
        EXPECT_NE(w->view().image(), picture) << step.step;
        expectSkinPaneShowsItsPicture(*w, skin().palette, step.step);
    }
}

namespace {

// How many pixels of each pane show what the skin holds now: the 3D pane's
// texels through its pick plane, the skin pane's through its source map.
std::pair<int, int> panesShowingTheSkin(ShellWidget& shell, const Skin& skin) {
    const FrameBuffer& frame = shell.isoView()->view().frame();
    int iso = 0;
    for (int y = 0; y < shell.isoView()->height(); ++y)
        for (int x = 0; x < shell.isoView()->width(); ++x)
            if (auto e = frame.elementAt(x, y); e && frame.pick()[*e] >= 0)
                iso += frame.colour()[*e] == skin.pixels[static_cast<std::size_t>(frame.pick()[*e])] ? 1 : -1;
    const SkinView& view = shell.skinView()->view();
    int flat = 0;
    for (std::size_t i = 0; i < view.sourceMap().size(); ++i)
        if (view.sourceMap()[i] >= 0)
            flat += view.image()[i] == skin.pixels[static_cast<std::size_t>(view.sourceMap()[i])] ? 1 : -1;
    return {iso, flat};
}

TEST_F(Panes, EffectsAndInvertsShowInBothPanesAtOnce) {
    for (int t = 0; t < app.mesh.triangleCount; ++t) app.mesh.triangles[static_cast<std::size_t>(t)].flags |= kTriSelected;
    const auto before = panesShowingTheSkin(*shell, skin());
    ASSERT_GT(before.first, 0);
    ASSERT_GT(before.second, 0);
    for (int id : {cmd::kFxFill, cmd::kFxShade, cmd::kFxOutline, cmd::kInvertPixels}) {
        const std::vector<std::uint8_t> old = skin().pixels;
        ASSERT_TRUE(app.commands().run(id));
        EXPECT_NE(skin().pixels, old) << id;
        EXPECT_EQ(panesShowingTheSkin(*shell, skin()), before) << id;
        EXPECT_TRUE(skin().modified());
    }
}

// Mirror mode, in a posed frame: the square turned and moved in frame 1 while
// frame 0 stays the symmetric one. A stroke on one half of the model paints
// the other half too, by the paint rule, and undoes as one step; in the skin
// pane a Ctrl+click sets the line a stroke is mirrored across.
TEST_F(Panes, MirroredStrokesPaintBothSidesInAnyFrameAsOneStep) {
    Frame posed;
    posed.name = "posed";
    for (const Vec3f& p : app.mesh.frames[0].positions)
        posed.positions.push_back({p.x + 3.0f, 0.8f * p.y - 0.6f * p.z + 2.0f, 0.6f * p.y + 0.8f * p.z});
    app.mesh.frames.push_back(posed);
    app.chooseSymmetry();
    ASSERT_EQ(app.symmetry.frame, 0);
    ASSERT_TRUE(app.commands().run(cmd::kMirror));
    ASSERT_TRUE(SelectFrame(app.mesh, 1));
    shell->refresh(kRedrawFull, kPanesAll);

    IsoViewWidget* iso = shell->isoView();
    const FrameBuffer& frame = iso->view().frame();
    QPoint hit(-1, -1);
    std::int32_t texel = -1;
    for (int y = 0; y < iso->height() && hit.x() < 0; y += 2)
        for (int x = 0; x < iso->width(); x += 2)
            if (auto e = frame.elementAt(x, y); e && frame.pick()[*e] % kSkinSide < 8 && frame.pick()[*e] >= 0) {
                hit = QPoint(x, y);
                texel = frame.pick()[*e];
                break;
            }
    ASSERT_GE(hit.x(), 0) << "the near edge of the square is not on screen";
    const std::vector<std::uint8_t> before = skin().pixels;
    const std::size_t steps = app.history.stepCount();

    QTest::mousePress(iso, Qt::LeftButton, Qt::NoModifier, hit);
    QTest::mouseRelease(iso, Qt::LeftButton, Qt::NoModifier, hit);

    // The square is mirrored across y = 0, which its mapping runs along s:
    // the texel on the other side is in the same row, as far from the far edge.
    std::vector<int> changed;
    for (std::size_t i = 0; i < before.size(); ++i)
        if (skin().pixels[i] != before[i]) changed.push_back(int(i));
    const int x = texel % kSkinSide, row = texel / kSkinSide;
    ASSERT_EQ(changed.size(), 2u);
    EXPECT_EQ(changed[0], texel);
    EXPECT_EQ(changed[1] / kSkinSide, row);
    EXPECT_NEAR(changed[1] % kSkinSide, kSkinSide - 2 - x, 1);
    for (int i : changed) EXPECT_EQ(skin().pixels[std::size_t(i)], app.paint.paintRemap[before[std::size_t(i)]]);
    EXPECT_EQ(app.history.stepCount(), steps + 1);
    ASSERT_TRUE(app.history.undo());
    EXPECT_EQ(skin().pixels, before);

    // The skin pane: Ctrl+click sets a vertical line through texel column 10;
    // a stroke over columns 4..7 of row 16 paints columns 13..16 as well, but
    // for protected colours.
    SkinViewWidget* w = shell->skinView();
    SkinView& view = w->view();
    view.setZoom(8.0f);
    view.setPan(16.0f, 16.0f);
    w->redraw(kRedrawFull);
    auto at = [&](int sx, int sy) {
        return QPoint(w->width() / 2 + int((sx + 0.5f - 16.0f) * 8.0f), w->height() / 2 + int((sy + 0.5f - 16.0f) * 8.0f));
    };
    QTest::mouseClick(w, Qt::LeftButton, Qt::ControlModifier, at(10, 16));
    EXPECT_EQ(skin().pixels, before);
    ASSERT_TRUE(app.symmetry.skinLine.has_value());
    EXPECT_DOUBLE_EQ(app.symmetry.skinLine->position, 10.5);
    const std::uint8_t kept = before[std::size_t(16 * kSkinSide + 15)];
    app.paint.protectedColors[kept] = true;
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, at(4, 16));
    QTest::mouseMove(w, at(7, 16));
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, at(7, 16));
    for (int sx = 0; sx < kSkinSide; ++sx) {
        const std::size_t i = std::size_t(16 * kSkinSide + sx);
        const bool painted = (sx >= 4 && sx <= 7) || (sx >= 13 && sx <= 16 && before[i] != kept);
        EXPECT_EQ(skin().pixels[i], painted ? app.paint.paintRemap[before[i]] : before[i]) << sx;
    }
    EXPECT_EQ(app.history.stepCount(), steps + 1);
}

}  // namespace
}  // namespace tarn
