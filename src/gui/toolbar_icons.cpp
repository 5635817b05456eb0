#include "toolbar_icons.h"

#include <QPainter>
#include <QPixmap>

#include "app/command_ids.h"

namespace tarn {

namespace {

constexpr int kSkinIconWidth = 32;
constexpr int kSkinIconHeight = 16;

// A glyph per button; the buttons are small, so a letter or sign reads best.
QString glyphOf(int id) {
    switch (id) {
    case cmd::kCameraOverride: return QStringLiteral("C");
    case cmd::kPaintMode: return QStringLiteral("P");
    case cmd::kMappingMode: return QStringLiteral("M");
    case cmd::kPointBrush: return QStringLiteral("\u00b7");
    case cmd::kPencilBrush: return QStringLiteral("~");
    case cmd::kLineBrush: return QStringLiteral("/");
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

QIcon applicationIcon() {
    QIcon icon;
    for (int side : {16, 32, 64}) {
        QPixmap pm(side, side);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(230, 120, 30));
        p.setPen(QPen(QColor(90, 40, 10), side / 16.0));
        p.drawRoundedRect(QRectF(1, 1, side - 2, side - 2), side / 6.0, side / 6.0);
        QFont f = p.font();
        f.setPixelSize(side * 3 / 4);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(pm.rect(), Qt::AlignCenter, QStringLiteral("T"));
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

QIcon skinListIcon(bool external) {
    QPixmap pm(kSkinIconWidth, kSkinIconHeight);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    QColor fill = external ? QColor(200, 120, 40) : QColor(60, 130, 200);
    p.setBrush(fill);
    p.setPen(fill.darker());
    p.drawRect(2, 2, kSkinIconHeight - 5, kSkinIconHeight - 5);
    p.setPen(QColor(30, 30, 30));
    QFont f = p.font();
    f.setPixelSize(kSkinIconHeight - 4);
    p.setFont(f);
    p.drawText(QRect(kSkinIconHeight, 0, kSkinIconWidth - kSkinIconHeight, kSkinIconHeight),
               Qt::AlignCenter, external ? QStringLiteral("ext") : QStringLiteral("md2"));
    return QIcon(pm);
}

}  // namespace tarn
