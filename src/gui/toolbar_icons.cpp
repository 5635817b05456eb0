#include "toolbar_icons.h"

#include <QPainter>
#include <QPixmap>

#include "app/command_ids.h"

namespace tarn {

namespace {

// A glyph per button; the buttons are small, so a letter or sign reads best.
QString glyphOf(int id) {
    switch (id) {
    case cmd::kCameraOverride: return QStringLiteral("C");
    case cmd::kPaintMode: return QStringLiteral("P");
    case cmd::kMappingMode: return QStringLiteral("M");
    case cmd::kPointBrush: return QStringLiteral("\u00b7");
    case cmd::kPencilBrush: return QStringLiteral("~");
    case cmd::kLineBrush: return QStringLiteral("/");
    case cmd::kMirror: return QStringLiteral("\u2194");
    case cmd::kSkinFollowsMapping: return QStringLiteral("F");
    case cmd::kRectangleMode: return QStringLiteral("\u25a1");
    case cmd::kMappingOverlayInPaint: return QStringLiteral("#");
    case cmd::kDefaultPalette: return QStringLiteral("D");
    case cmd::kBlendRgb: return QStringLiteral("B");
    case cmd::kBlendKeepBrightness: return QStringLiteral("K");
    case cmd::kFitSkin: return QStringLiteral("\u25a3");
    case cmd::kFrameModel: return QStringLiteral("\u25ce");
    case cmd::kPlayPause: return QStringLiteral("\u25b6");
    default: return QStringLiteral("?");
    }
}

}  // namespace

QIcon toolbarIcon(int commandId) {
    QPixmap pm(kToolIconWidth, kToolIconHeight);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont f = p.font();
    f.setPixelSize(kToolIconHeight - 2);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(40, 40, 40));
    p.drawText(pm.rect(), Qt::AlignCenter, glyphOf(commandId));
    return QIcon(pm);
}

QImage drawApplicationIcon(int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(230, 120, 30));
    p.setPen(QPen(QColor(90, 40, 10), side / 16.0));
    p.drawRoundedRect(QRectF(1, 1, side - 2, side - 2), side / 6.0, side / 6.0);
    QFont f = p.font();
    f.setPixelSize(side * 3 / 4);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("T"));
    p.end();
    return image;
}

QIcon applicationIcon() {
    QIcon icon;
    for (int side : {16, 32, 64}) icon.addPixmap(QPixmap::fromImage(drawApplicationIcon(side)));
    return icon;
}

QIcon skinListIcon(bool external) {
    QPixmap pm(kSkinIconWidth, kSkinIconHeight);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    QColor fill = external ? QColor(200, 120, 40) : QColor(60, 130, 200);
    p.setBrush(fill);
    p.setPen(fill.darker());
    // A small swatch, and the label in the rest of the 32 pixels.
    constexpr int kSwatch = 9;
    constexpr int kLabelLeft = kSwatch + 3;
    p.drawRect(1, (kSkinIconHeight - kSwatch) / 2, kSwatch - 1, kSwatch - 1);
    p.setPen(QColor(30, 30, 30));
    QFont f = p.font();
    f.setPixelSize(kSkinIconHeight - 6);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(kLabelLeft, 0, kSkinIconWidth - kLabelLeft, kSkinIconHeight), Qt::AlignCenter,
               external ? QStringLiteral("ext") : QStringLiteral("md2"));
    return QIcon(pm);
}

}  // namespace tarn
