#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <gtest/gtest.h>

#include "image/image_codec.h"
#include "qt_ui.h"

namespace tarn {
namespace {

// TARN's own image comes back byte for byte; the same copy is an ordinary
// image to other programs; another program's image is read as RGBA.
TEST(Clipboard, TarnsOwnPngComesBackWholeAndOtherImagesAsRgba) {
    Palette palette{};
    for (std::size_t i = 0; i < palette.size(); ++i) palette[i] = std::uint8_t(i * 7);
    const std::vector<std::uint8_t> pixels = {3, 200, 17, 99, 0, 255};
    const Bytes png = encodePng8(3, 2, pixels.data(), palette);
    QtUi ui;
    ui.putClipboardImage(png);
    auto clip = ui.clipboardImage();
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->tarnPng, png);
    const QImage seen = QGuiApplication::clipboard()->image();
    ASSERT_EQ(seen.size(), QSize(3, 2));
    EXPECT_EQ(seen.pixel(1, 0), qRgb(palette[600], palette[601], palette[602]));

    QImage other(2, 1, QImage::Format_ARGB32);
    other.setPixel(0, 0, qRgba(10, 20, 30, 255));
    other.setPixel(1, 0, qRgba(40, 50, 60, 0));
    QGuiApplication::clipboard()->setImage(other);
    clip = ui.clipboardImage();
    ASSERT_TRUE(clip);
    EXPECT_TRUE(clip->tarnPng.empty());
    EXPECT_EQ(clip->width, 2);
    EXPECT_EQ(clip->height, 1);
    EXPECT_EQ(clip->rgba, (std::vector<std::uint8_t>{10, 20, 30, 255, 40, 50, 60, 0}));
}

}  // namespace
}  // namespace tarn
