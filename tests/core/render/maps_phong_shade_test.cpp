// The PhongShadeTable: the Colormap row "Textured, P-Shade" reads per PhongMap texel.
#include <gtest/gtest.h>

#include <memory>

#include "image/maps.h"
#include "paint/paint_state.h"
#include "render/phong_shade.h"
#include "render/render_mode.h"

namespace tarn {
namespace {

std::unique_ptr<LightingMap> phongMapOf(std::uint8_t texel) {
    auto map = std::make_unique<LightingMap>();
    map->image.width = kLightingMapSide;
    map->image.height = kLightingMapSide;
    map->image.pixels.assign(kLightingMapTexels, texel);
    return map;
}

TEST(PhongShadeTable, RowsFollowTheLightResponse) {
    const LightTable identity = computeLightTable(1.0);
    EXPECT_EQ(phongShadeRow(63, identity), 63 - (252 >> 2));  // brightest texel: row 0
    EXPECT_EQ(phongShadeRow(0, identity), 63);                // darkest: the last row
    EXPECT_EQ(phongShadeRow(1, identity), 62);

    const LightTable dark = computeLightTable(2.0);
    EXPECT_EQ(phongShadeRow(63, dark), 63 - (dark[252] >> 2));
    EXPECT_GT(phongShadeRow(32, dark), phongShadeRow(32, identity));  // gamma 2 darkens mid greys

    const LightTable flat = computeLightTable(0.0);  // every level lit fully
    EXPECT_EQ(phongShadeRow(0, flat), 0);

    // Texels beyond 63 wrap through the table index rather than reading past it.
    EXPECT_EQ(phongShadeRow(64, identity), phongShadeRow(0, identity));
}

TEST(PhongShadeTable, OnlyTheCurrentMapIsRefreshedAndOnlyInPShade) {
    MapList maps(MapKind::Phong);
    maps.append(phongMapOf(63));
    maps.append(phongMapOf(10));
    const LightTable identity = computeLightTable(1.0);

    EXPECT_FALSE(BuildPhongShadeTable(kModeTexturedPShade, maps, identity));  // none current
    ASSERT_TRUE(maps.choose(1));
    EXPECT_FALSE(BuildPhongShadeTable(kModeTextured, maps, identity));
    EXPECT_TRUE(maps.at(1).shadeTable.empty());

    EXPECT_TRUE(BuildPhongShadeTable(kModeTexturedPShade, maps, identity));
    ASSERT_EQ(maps.at(1).shadeTable.size(), std::size_t(kLightingMapTexels));
    EXPECT_EQ(maps.at(1).shadeTable.front(), 63 - (40 >> 2));
    EXPECT_EQ(maps.at(1).shadeTable.back(), 63 - (40 >> 2));
    EXPECT_TRUE(maps.at(0).shadeTable.empty());

    // A new gamma reaches the table only through the next rebuild.
    const LightTable bright = computeLightTable(0.5);
    EXPECT_EQ(maps.at(1).shadeTable[5], 63 - (40 >> 2));
    BuildPhongShadeTable(kModeTexturedPShade, maps, bright);
    EXPECT_EQ(maps.at(1).shadeTable[5], 63 - (bright[40] >> 2));
}

}  // namespace
}  // namespace tarn
