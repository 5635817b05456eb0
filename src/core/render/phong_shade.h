#pragma once
// The per-texel Colormap rows that "Textured, P-Shade" reads: a PhongMap's
// grey levels passed through the same light response as the other shaded
// modes, so the gamma slider brightens and darkens this mode too.
#include <cstdint>
#include <span>

#include "paint/paint_state.h"


namespace tarn {

class MapList;

// Colormap rows run from 0 (full light) to 63 (darkest).
inline constexpr int kDarkestColormapRow = 63;

// The Colormap row of one PhongMap texel (0..63, the file's grey level / 4).
std::uint8_t phongShadeRow(std::uint8_t phongTexel, const LightTable& light);

// Fills `table` (one byte per texel) from the PhongMap texels `phong`; the
// two spans must be of equal length.
void BuildPhongShadeTable(std::span<const std::uint8_t> phong, const LightTable& light,
                          std::span<std::uint8_t> table);

// Runs at the end of every LightTable rebuild. Only while "Textured, P-Shade"
// (`currentMode`) is current and a PhongMap is current does it fill that
// map's table; tables of other maps keep their content. Returns whether it did.
bool BuildPhongShadeTable(int currentMode, MapList& phongMaps, const LightTable& light);

}  // namespace tarn
