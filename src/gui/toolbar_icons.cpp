#include "toolbar_icons.h"

#include <QFontMetrics>
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
    case cmd::kFillBrush: return QStringLiteral("\u25a7");
    case cmd::kRectangleBrush: return QStringLiteral("\u25ad");
    case cmd::kEllipseBrush: return QStringLiteral("\u25ef");
    case cmd::kInkPaint: return QStringLiteral("\u25cf");
    case cmd::kInkShade: return QStringLiteral("\u25d0");
    case cmd::kInkDither4: return QStringLiteral("\u2592");
    case cmd::kSelectRectangle: return QStringLiteral("\u2237");
    case cmd::kSelectLasso: return QStringLiteral("\u2312");
    case cmd::kSelectColour: return QStringLiteral("\u2731");
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

// An icon drawn anew for each usual screen scale, so that a scaled screen
// shows it sharp rather than blown up; `draw` paints in logical pixels.
template <class Draw>
QIcon iconAtScreenScales(int width, int height, Draw draw) {
    QIcon icon;
    for (qreal scale : {1.0, 1.5, 2.0, 3.0}) {
        QPixmap pm(qRound(width * scale), qRound(height * scale));
        pm.setDevicePixelRatio(scale);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        draw(p);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

}  // namespace

QIcon toolbarIcon(int commandId) {
    return iconAtScreenScales(kToolIconWidth, kToolIconHeight, [commandId](QPainter& p) {
        p.setRenderHint(QPainter::TextAntialiasing);
        QFont f = p.font();
        f.setPixelSize(kToolIconHeight - 2);
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(40, 40, 40));
        p.drawText(QRect(0, 0, kToolIconWidth, kToolIconHeight), Qt::AlignCenter, glyphOf(commandId));
    });
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
    return iconAtScreenScales(kSkinIconWidth, kSkinIconHeight, [external](QPainter& p) {
        QColor fill = external ? QColor(200, 120, 40) : QColor(60, 130, 200);
        p.setBrush(fill);
        p.setPen(fill.darker());
        // A small swatch, and the label in the rest of the 32 pixels.
        constexpr int kSwatch = 9;
        constexpr int kLabelLeft = kSwatch + 3;
        p.drawRect(1, (kSkinIconHeight - kSwatch) / 2, kSwatch - 1, kSwatch - 1);
        p.setPen(QColor(30, 30, 30));
        const QString label = external ? QStringLiteral("ext") : QStringLiteral("md2");
        const QRect area(kLabelLeft, 0, kSkinIconWidth - kLabelLeft, kSkinIconHeight);
        // The largest bold size whose label fits beside the swatch: fonts
        // differ in width, and an overflowing label ran into the swatch.
        QFont f = p.font();
        f.setBold(true);
        for (int size = kSkinIconHeight - 6; size > 6; --size) {
            f.setPixelSize(size);
            if (QFontMetrics(f).horizontalAdvance(label) <= area.width()) break;
        }
        p.setFont(f);
        p.drawText(area, Qt::AlignCenter, label);
    });
}

}  // namespace tarn
