#pragma once
// A small model the window and pane tests draw: a 32 x 32 skin on a square
// that faces the default camera.
#include "app/application.h"

namespace tarn::test {

inline constexpr int kSquareSkinSide = 32;

// A skin of the square's size whose palette entry i is (i, 255 - i, i / 3)
// turned by `hueShift` channels, with pixels 20..169, stored.
std::unique_ptr<Skin> makeSquareSkin(int hueShift = 0);

// Puts the square and one skin into `app`.
void makeSquareModel(Application& app);

}  // namespace tarn::test
