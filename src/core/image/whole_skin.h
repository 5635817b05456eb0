#pragma once
// Operations on a Skin as a whole: the background generators of New and
// Duplicate and the nearest-neighbour resize of Re-size All.
#include <cstdint>

#include "image/skin.h"

namespace tarn {

// 4 x 4 cells, the top-left one `first`: pixel (x, y) takes `first` when
// x / 4 and y / 4 are both even or both odd, else `second`.
void fillCheckerboard(Skin& skin, std::uint8_t first, std::uint8_t second);
void fillSolid(Skin& skin, std::uint8_t color);
// Odd columns of even rows take `oddInEvenRows`, then every even column takes
// `evenColumns`; odd columns of odd rows keep what they had.
void drawGrid(Skin& skin, std::uint8_t oddInEvenRows, std::uint8_t evenColumns);

// The pixels resampled to width x height by nearest neighbour: new (x, y)
// shows old (x * w / width, y * h / height). The stored state becomes the new
// pixels and the row table follows; the palette stays. Sizes outside the Skin
// record's limits are refused (false, nothing changed).
bool resampleSkin(Skin& skin, int width, int height);

// Whether a skin of this size fits the Skin record (rows and 16-bit width).
bool fitsSkinRecord(int width, int height);

}  // namespace tarn
