#include "render/phong_shade.h"

#include <algorithm>
#include <array>

#include "image/maps.h"
#include "render/render_mode.h"

namespace tarn {

namespace {
// A PhongMap texel holds a quarter of the grey level; the light table is
// indexed by the full level again.
constexpr int kTexelToLevel = 4;
// Light levels map to the 64 Colormap rows four levels per row.
constexpr int kLevelToRowShift = 2;
}  // namespace

std::uint8_t phongShadeRow(std::uint8_t phongTexel, const LightTable& light) {
    const auto level = static_cast<std::size_t>((phongTexel * kTexelToLevel) & 0xFF);
    return static_cast<std::uint8_t>(kDarkestColormapRow - (light[level] >> kLevelToRowShift));
}

void BuildPhongShadeTable(std::span<const std::uint8_t> phong, const LightTable& light,
                          std::span<std::uint8_t> table) {
    std::array<std::uint8_t, kPaletteColors> rowOf{};
    for (int texel = 0; texel < kPaletteColors; ++texel)
        rowOf[std::size_t(texel)] = phongShadeRow(std::uint8_t(texel), light);
    const std::size_t n = std::min(phong.size(), table.size());
    for (std::size_t i = 0; i < n; ++i) table[i] = rowOf[phong[i]];
}

bool BuildPhongShadeTable(int currentMode, MapList& phongMaps, const LightTable& light) {
    LightingMap* map = phongMaps.current();
    if (currentMode != kModeTexturedPShade || map == nullptr) return false;
    map->shadeTable.resize(map->image.pixels.size());
    BuildPhongShadeTable(map->image.pixels, light, map->shadeTable);
    return true;
}

}  // namespace tarn
