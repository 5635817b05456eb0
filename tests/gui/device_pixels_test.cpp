// The panes on a screen at a scale above 1 (CTest runs this at a scale of 2,
// and on two screens of different scales): the 3D pane drawn at device pixels
// exactly as a pane of that many pixels draws the same view, both panes shown
// one pixel to one device pixel, and drawn again for a screen of another scale.
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include "iso_view_widget.h"
#include "paint_counter.h"
#include "skin_view_widget.h"
#include "raster/rasterizer.h"
#include "real_session.h"

namespace tarn {
namespace {

// Every device pixel of `pane` the colour of its pixel in `rows` (stored
// bottom-up, `pitch` apart).
void expectShownOneToOne(QWidget& pane, const std::uint8_t* rows, int pitch, const Palette& palette) {
    const QImage shown = pane.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int width = qRound(pane.width() * pane.devicePixelRatioF());
    const int height = qRound(pane.height() * pane.devicePixelRatioF());
    ASSERT_EQ(shown.width(), width);
    ASSERT_EQ(shown.height(), height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint8_t index = rows[std::size_t(height - 1 - y) * std::size_t(pitch) + std::size_t(x)];
            const QRgb want = qRgb(palette[index * 3], palette[index * 3 + 1], palette[index * 3 + 2]);
            ASSERT_EQ(shown.pixel(x, y), want) << pane.objectName().toStdString() << " at " << x << "," << y;
        }
}

TEST(DevicePixels, TheModelPaneDrawsAtDevicePixelsAsAPaneOfThatSizeAndShowsThemOneToOne) {
    test::TempDir tmp;
    const std::string model = test::copyRealPlayer(tmp);
    if (model.empty()) GTEST_SKIP() << "real test data not present";
    test::Session s;
    ASSERT_TRUE(s.start(tmp.file("baseq2"), model));
    IsoViewWidget* iso = s.window->shell()->isoView();
    const qreal ratio = iso->devicePixelRatioF();
    if (ratio == 1.0) GTEST_SKIP() << "needs a screen scale above 1 (QT_SCALE_FACTOR=2)";
    Application& app = s.app();
    IsoView& view = iso->view();
    const int width = qRound(iso->width() * ratio), height = qRound(iso->height() * ratio);
    ASSERT_EQ(view.clientWidth(), width);
    ASSERT_EQ(view.frame().height(), height);
    view.render();

    // A pane of the device size from scratch, looking from the same place.
    Rasterizer rasterizer;
    PaneContext context{app.mesh,          app.paint,
                        app.paneModes,     *s.window,
                        [&app] { return app.skins.current(); },
                        [&app] { return app.modes.currentIndex(); },
                        &app.history};
    IsoView fresh(context, [&] { return renderSceneOf(app, rasterizer); }, [&app] { return &app.modes.current(); });
    fresh.resize(width, height);
    const RenderTarget planes = fresh.target();
    fresh.target() = view.target();
    fresh.target().colour = planes.colour;
    fresh.target().depth = planes.depth;
    fresh.target().pick = planes.pick;
    fresh.render();
    const FrameBuffer& a = view.frame();
    const FrameBuffer& b = fresh.frame();
    ASSERT_EQ(a.width(), b.width());
    int drawn = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::size_t i = std::size_t(y) * std::size_t(a.width()) + std::size_t(x);
            ASSERT_EQ(a.colour()[i], b.colour()[i]) << "at " << x << "," << y;
            drawn += a.colour()[i] != a.colour()[0];
        }
    EXPECT_GT(drawn, 1000) << "the model shows";

    expectShownOneToOne(*iso, a.colour(), a.width(), view.palette());

    // The skin pane too, so that every texel covers whole device pixels.
    SkinViewWidget* skinPane = s.window->shell()->skinView();
    const SkinView& skinView = skinPane->view();
    ASSERT_EQ(skinView.clientWidth(), qRound(skinPane->width() * ratio));
    expectShownOneToOne(*skinPane, skinView.image().data(), skinView.viewWidth(), app.skins.current()->palette);
    EXPECT_TRUE(s.window->close());
}

// Every paint costs processor time: a window left alone draws nothing, at
// whatever scale it runs (CTest runs this at 1, 1.5 and 2).
TEST(DevicePixels, AWindowLeftAloneDrawsNothing) {
    test::TempDir tmp;
    const std::string model = test::copyRealPlayer(tmp);
    if (model.empty()) GTEST_SKIP() << "real test data not present";
    test::Session s;
    ASSERT_TRUE(s.start(tmp.file("baseq2"), model));
    QTest::qWait(300);
    PaintCounter counter;
    QTest::qWait(400);
    EXPECT_EQ(counter.paints(), 0) << "at a scale of " << s.window->devicePixelRatioF();
    EXPECT_TRUE(s.window->close());
}

// A window moved to a screen of another scale keeps its logical size, so no
// resize says so: the panes still draw again at the new device pixels.
TEST(DevicePixels, PanesFollowTheWindowToAScreenOfAnotherScale) {
    QScreen* other = nullptr;
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->devicePixelRatio() != QGuiApplication::primaryScreen()->devicePixelRatio()) other = screen;
    if (other == nullptr) GTEST_SKIP() << "needs two screens of different scales (CTest's gui_two_screens)";
    test::TempDir tmp;
    const std::string model = test::copyRealPlayer(tmp);
    if (model.empty()) GTEST_SKIP() << "real test data not present";
    test::Session s;
    ASSERT_TRUE(s.start(tmp.file("baseq2"), model));
    IsoViewWidget* iso = s.window->shell()->isoView();
    SkinViewWidget* skinPane = s.window->shell()->skinView();
    const auto atDevicePixels = [&] {
        return iso->view().clientWidth() == qRound(iso->width() * iso->devicePixelRatioF()) &&
               skinPane->view().clientWidth() == qRound(skinPane->width() * skinPane->devicePixelRatioF());
    };
    ASSERT_TRUE(atDevicePixels());
    const qreal before = iso->devicePixelRatioF();

    s.window->windowHandle()->setScreen(other);
    s.window->move(other->geometry().topLeft() + QPoint(20, 20));
    ASSERT_TRUE(QTest::qWaitFor([&] { return iso->devicePixelRatioF() != before && atDevicePixels(); }, 2000));
    iso->view().render();
    expectShownOneToOne(*iso, iso->view().frame().colour(), iso->view().frame().width(), iso->view().palette());
    EXPECT_TRUE(s.window->close());
}

}  // namespace
}  // namespace tarn
