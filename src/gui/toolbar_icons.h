#pragma once
// TARN's own toolbar and list images, drawn in code.
#include <QIcon>
#include <QImage>

namespace tarn {

inline constexpr int kToolIconWidth = 16;
inline constexpr int kToolIconHeight = 15;
// Each image of the Skins list.
inline constexpr int kSkinIconWidth = 32;
inline constexpr int kSkinIconHeight = 16;

QIcon toolbarIcon(int commandId);
// TARN's application icon, and the same drawn at `side` x `side` pixels.
QImage drawApplicationIcon(int side);
QIcon applicationIcon();
// The Skins list's images: linked (0) and external (1) skins, 32 x 16.
QIcon skinListIcon(bool external);

}  // namespace tarn
