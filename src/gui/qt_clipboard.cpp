// TARN's images on the system clipboard: its own indexed PNG under a type of
// its own, so a paste in TARN gets the very indices back, and the same PNG
// as an ordinary image for every other program.
#include <QClipboard>
#include <algorithm>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "qt_ui.h"

namespace tarn {

namespace {

const QString kTarnPngType = QStringLiteral("application/x-tarn-indexed-png");
const QString kPngType = QStringLiteral("image/png");

}  // namespace

void QtUi::putClipboardImage(const std::vector<std::uint8_t>& indexedPng) {
    const QByteArray png(reinterpret_cast<const char*>(indexedPng.data()), qsizetype(indexedPng.size()));
    auto* data = new QMimeData;
    data->setImageData(QImage::fromData(png, "PNG"));
    data->setData(kTarnPngType, png);
    data->setData(kPngType, png);
    QGuiApplication::clipboard()->setMimeData(data);
}

std::optional<ClipboardImage> QtUi::clipboardImage() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr) return std::nullopt;
    ClipboardImage clip;
    if (data->hasFormat(kTarnPngType)) {
        const QByteArray png = data->data(kTarnPngType);
        clip.tarnPng.assign(png.begin(), png.end());
        return clip;
    }
    QImage image;
    if (data->hasImage()) image = qvariant_cast<QImage>(data->imageData());
    if (image.isNull() && data->hasFormat(kPngType)) image = QImage::fromData(data->data(kPngType), "PNG");
    if (image.isNull()) return std::nullopt;
    image = image.convertToFormat(QImage::Format_RGBA8888);
    clip.width = image.width();
    clip.height = image.height();
    clip.rgba.resize(std::size_t(clip.width) * std::size_t(clip.height) * 4);
    for (int y = 0; y < clip.height; ++y) {
        const uchar* row = image.constScanLine(y);
        std::copy(row, row + std::size_t(clip.width) * 4, clip.rgba.begin() + std::ptrdiff_t(std::size_t(y) * std::size_t(clip.width) * 4));
    }
    return clip;
}

}  // namespace tarn
