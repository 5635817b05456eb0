// The 3D pane on a screen at a scale above 1 (CTest runs this at a scale of 2):
// drawn at device pixels, exactly as a pane of that many pixels draws the
// same view, and shown one frame pixel to one device pixel.
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include "iso_view_widget.h"
#include "raster/rasterizer.h"
#include "real_session.h"

namespace tarn {
namespace {

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

    // What the screen shows: every device pixel the colour of its frame pixel.
    const QImage shown = iso->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.width(), width);
    ASSERT_EQ(shown.height(), height);
    const Palette& palette = view.palette();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            // Frame rows are stored bottom-up.
            const std::uint8_t index = a.colour()[std::size_t(height - 1 - y) * std::size_t(a.width()) + std::size_t(x)];
            const QRgb want = qRgb(palette[index * 3], palette[index * 3 + 1], palette[index * 3 + 2]);
            ASSERT_EQ(shown.pixel(x, y), want) << "at " << x << "," << y;
        }
    EXPECT_TRUE(s.window->close());
}

}  // namespace
}  // namespace tarn
