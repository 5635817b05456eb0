// Modes 4, 6, 7 and 8: what each writes into the colour and pick planes, and
// the Colormap rules of the mode switch.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "image/image_codec.h"
#include "image/map_colormap.h"
#include "image/maps.h"
#include "platform/fs.h"
#include "platform/refresh.h"
#include "platform/settings.h"
#include "raster/frame_buffer.h"
#include "render/maps_inputs.h"
#include "render/mode_texg.h"
#include "render/phong_shade.h"
#include "render_world.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

using test::RenderWorld;

constexpr int kMapCentre = 128;
constexpr std::uint8_t kCentreTexel = 37;
constexpr std::uint8_t kOtherTexel = 5;

// A map whose texel at the centre differs from all others, so a square facing
// the viewer shows which texel it read.
std::vector<std::uint8_t> centreMap() {
    std::vector<std::uint8_t> m(kLightingMapTexels, kOtherTexel);
    m[std::size_t(kMapCentre * kLightingMapSide + kMapCentre)] = kCentreTexel;
    return m;
}

// Row r shows index c as (c + 3r) & 255: every row tells itself apart.
std::vector<std::uint8_t> shiftingColormap(int rows = 64) {
    std::vector<std::uint8_t> m(std::size_t(rows) * kColormapColumns);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < kColormapColumns; ++c)
            m[std::size_t(r * kColormapColumns + c)] = std::uint8_t((c + 3 * r) & 0xFF);
    return m;
}

std::uint8_t shifted(int row, int texel) { return std::uint8_t((texel + 3 * row) & 0xFF); }

std::set<std::int32_t> distinct(const std::vector<std::int32_t>& v) { return {v.begin(), v.end()}; }

struct MapsWorld : RenderWorld {
    std::vector<std::uint8_t> map = centreMap();
    Palette envPalette{};
    std::vector<std::uint8_t> colormap = shiftingColormap();
    std::vector<std::uint8_t> shadeTable;

    MapsWorld() {
        setFacingSquare();
        for (std::size_t i = 0; i < envPalette.size(); ++i) envPalette[i] = std::uint8_t(255 - i % 256);
    }
    void useMaps() {
        session.phongMap = {map.data(), nullptr};
        session.envMap = {map.data(), &envPalette};
        session.colormap = colormap.data();
    }
    void useShadeTable(std::uint8_t row) {
        shadeTable.assign(kLightingMapTexels, row);
        session.phongShadeTable = shadeTable.data();
    }
    // Every pixel of the model in the pane: its colour and pick.
    template <class Check> void forModelPixels(Check check) const {
        const auto& f = session.frame;
        for (std::size_t i = 0; i < f.elementCount(); ++i)
            if (f.pick()[i] != kPickNothing) check(f.colour()[i], f.pick()[i]);
    }
};

TEST(PhongShadedMode, FacingTrianglesReadTheMapCentreIntoTheirRamp) {
    MapsWorld w;
    w.useMaps();
    w.draw(kModePhong);
    EXPECT_EQ(distinct(w.picks()), (std::set<std::int32_t>{-1, 0, 1}));
    int pixels = 0;
    w.forModelPixels([&](std::uint8_t colour, std::int32_t) {
        EXPECT_EQ(colour, kRampBase[0] + kCentreTexel);
        ++pixels;
    });
    EXPECT_GT(pixels, 50);
    EXPECT_EQ(w.colour(0, 0), kShadedBackground);

    // Marked Triangles keep their ramps in Mapping Mode only.
    w.session.mesh.triangles[0].flags = kTriSelected;
    w.session.mesh.triangles[1].flags = kTriDragMark;
    w.draw(kModePhong);
    w.forModelPixels([](std::uint8_t colour, std::int32_t) { EXPECT_EQ(colour, kCentreTexel); });
    w.session.mappingMode = true;
    w.draw(kModePhong);
    w.forModelPixels([](std::uint8_t colour, std::int32_t pick) {
        EXPECT_EQ(colour, (pick == 0 ? kRampBase[1] : kRampBase[2]) + kCentreTexel);
    });
}

TEST(PhongShadedMode, CompanionsUseTheFirstRampAndTheirOwnKey) {
    MapsWorld w;
    w.useMaps();
    w.session.mappingMode = true;
    w.session.mesh.triangles[0].flags = kTriSelected;
    w.addCompanion({{20, -3, -3}, {20, 3, 3}, {20, 3, -3}}, {{0, 1, 2}, {0, 2, 1}});
    w.draw(kModePhong);
    EXPECT_GT(w.count(kPickCompanion), 0);
    w.forModelPixels([](std::uint8_t colour, std::int32_t pick) {
        if (pick == kPickCompanion) {
            EXPECT_EQ(colour, kCentreTexel);
        }
    });
}

TEST(LitModes, WithoutTheirMapOnlyTheClearedPlanesAreDrawn) {
    for (const int mode : {kModePhong, kModeEnvironment, kModeTexturedGShade, kModeTexturedPShade}) {
        MapsWorld w;
        w.session.paint.colorSlots[kSlotBackground] = 9;
        w.useMaps();
        if (mode == kModePhong) w.session.phongMap = {};
        if (mode == kModeEnvironment) w.session.envMap = {};
        if (mode == kModeTexturedGShade) w.session.colormap = nullptr;
        if (mode == kModeTexturedPShade) w.session.phongShadeTable = nullptr;  // colormap present
        w.draw(mode);
        EXPECT_EQ(distinct(w.picks()), (std::set<std::int32_t>{-1})) << mode;
        const std::uint8_t background = mode == kModePhong ? kShadedBackground : 9;
        EXPECT_EQ(w.colour(w.session.frame.width() / 2, w.session.frame.height() / 2), background)
            << mode;
        if (mode == kModeEnvironment) {  // the skin's palette stays without an EnvMap
            EXPECT_EQ(w.session.palette(mode), w.session.skins.current()->palette);
        }
    }
}

TEST(EnvironmentMappedMode, ShowsMapTexelsInTheMapPaletteAndPicksNothing) {
    MapsWorld w;
    w.useMaps();
    w.session.paint.colorSlots[kSlotBackground] = 9;
    w.session.mappingMode = true;
    w.session.mesh.triangles[0].flags = kTriSelected;
    w.addCompanion({{20, -3, -3}, {20, 3, 3}, {20, 3, -3}}, {{0, 1, 2}, {0, 2, 1}});
    w.draw(kModeEnvironment);
    EXPECT_EQ(distinct(w.picks()), (std::set<std::int32_t>{-1}));
    EXPECT_EQ(w.session.palette(kModeEnvironment), w.envPalette);
    const auto& f = w.session.frame;
    const int centre = (f.height() / 2) * f.width() + f.width() / 2;
    EXPECT_EQ(f.colour()[std::size_t(centre)], kCentreTexel);
    EXPECT_EQ(w.colour(0, 0), 9);
    std::set<std::uint8_t> colours(f.colour(), f.colour() + f.elementCount());
    EXPECT_EQ(colours, (std::set<std::uint8_t>{9, kCentreTexel}));  // flags do not change colours
}

TEST(TexturedGShadeMode, LightPicksTheColormapRow) {
    EXPECT_EQ(colormapRow(255), 0);
    EXPECT_EQ(colormapRow(252), 0);
    EXPECT_EQ(colormapRow(251), 1);
    EXPECT_EQ(colormapRow(0), 63);

    struct Case {
        Vec3f light;
        int row;
    };
    // By the model files' winding the normal of a Triangle facing the eye
    // points away from it (-x), so a light vector along -x lights it fully.
    for (const Case& c : {Case{{-1, 0, 0}, 0}, Case{{1, 0, 0}, 63}}) {
        MapsWorld w;
        w.useMaps();
        w.session.lighting.lightVector = c.light;
        w.draw(kModeTexturedGShade);
        const Skin& skin = *w.session.skins.current();
        int pixels = 0;
        w.forModelPixels([&](std::uint8_t colour, std::int32_t texel) {
            ASSERT_GE(texel, 0);
            ASSERT_LT(texel, int(skin.pixels.size()));
            EXPECT_EQ(colour, shifted(c.row, skin.pixels[std::size_t(texel)]));
            ++pixels;
        });
        EXPECT_GT(pixels, 50);
        EXPECT_EQ(w.session.palette(kModeTexturedGShade), skin.palette);
    }
}

TEST(ColormapShadedModes, MappingModeAndCompanionsPickLikeTextured) {
    for (const int mode : {kModeTexturedGShade, kModeTexturedPShade}) {
        MapsWorld w;
        w.useMaps();
        w.useShadeTable(0);
        w.session.mappingMode = true;
        w.addCompanion({{20, -3, -3}, {20, 3, 3}, {20, 3, -3}}, {{0, 1, 2}, {0, 2, 1}});
        w.draw(mode);
        EXPECT_EQ(distinct(w.picks()), (std::set<std::int32_t>{-2, -1, 0, 1})) << mode;
        w.session.mappingMode = false;
        w.draw(mode);
        const auto keys = distinct(w.picks());
        EXPECT_TRUE(keys.count(kPickCompanion)) << mode;
        EXPECT_GT(keys.size(), 100u) << mode;  // texel offsets on the Mesh
    }
}

TEST(TexturedPShadeMode, ShadeTableRowShadesEveryTexel) {
    MapsWorld w;
    w.useMaps();
    w.useShadeTable(5);
    w.draw(kModeTexturedPShade);
    const Skin& skin = *w.session.skins.current();
    w.forModelPixels([&](std::uint8_t colour, std::int32_t texel) {
        EXPECT_EQ(colour, shifted(5, skin.pixels[std::size_t(texel)]));
    });
}

TEST(TexturedPShadeMode, GammaChangesThePictureThroughTheShadeTable) {
    MapList phong(MapKind::Phong);
    auto map = std::make_unique<LightingMap>();
    map->image.pixels.assign(kLightingMapTexels, 40);  // grey 160
    phong.append(std::move(map));
    phong.choose(0);

    auto render = [&](double gamma) {
        MapsWorld w;
        w.useMaps();
        EXPECT_TRUE(BuildPhongShadeTable(kModeTexturedPShade, phong, computeLightTable(gamma)));
        attachMapInputs(w.session, phong, MapList(MapKind::Env), HeldColormap());
        w.session.colormap = w.colormap.data();
        w.draw(kModeTexturedPShade);
        std::vector<std::uint8_t> picture(w.session.frame.colour(),
                                          w.session.frame.colour() + w.session.frame.elementCount());
        return picture;
    };
    const auto normal = render(1.0);
    const auto darker = render(3.0);
    EXPECT_NE(normal, darker);
    // Row 63 - (LightTable[160] >> 2): 23 at gamma 1, 48 at gamma 3.
    EXPECT_EQ(phong.at(0).shadeTable[0], 63 - (computeLightTable(3.0)[160] >> 2));
}

// The mode switch with a Colormap file named by "Palette Path".
struct SwitchFixture {
    test::TempDir dir;
    test::ScriptedUi ui;
    MemorySettings settings;
    RecordingRefresh refresh;
    RenderModes modes;
    MapList phong{MapKind::Phong};
    MapList env{MapKind::Env};
    HeldColormap colormap;

    void writeColormap(int width, int height) {
        const std::vector<std::uint8_t> px(std::size_t(width) * std::size_t(height), 7);
        const std::string path = dir.file("colormap.pcx");
        ASSERT_EQ(writeFileAtomic(path, encodePcx(width, height, px.data(), Palette{})), 0);
        settings.setString(kPreferences, "Palette Path", path);
    }
    bool select(int mode) {
        ModeResources r;
        r.skinLoaded = true;
        addMapResources(r, phong, env, colormap, settings, ui);
        return SelectRenderMode(modes, mode, r, ui, refresh);
    }
};

TEST(ColormapSwitch, WrongShapesAreRefusedWithTheirSize) {
    EXPECT_FALSE(colormapShapeProblem("c.pcx", 256, 320));
    EXPECT_FALSE(colormapShapeProblem("c.pcx", 256, 64));
    EXPECT_TRUE(colormapShapeProblem("c.pcx", 256, 63));
    EXPECT_TRUE(colormapShapeProblem("c.pcx", 255, 64));

    SwitchFixture f;
    f.writeColormap(128, 64);
    EXPECT_FALSE(f.select(kModeTexturedGShade));
    EXPECT_EQ(f.modes.currentIndex(), kModeTextured);
    EXPECT_FALSE(f.colormap.held());
    ASSERT_EQ(f.ui.messages().size(), 1u);
    EXPECT_NE(f.ui.messages()[0].find("128x64"), std::string::npos) << f.ui.messages()[0];
    EXPECT_TRUE(f.refresh.calls.empty());
}

TEST(ColormapSwitch, TakenOnEntryAndFreedOnLeaving) {
    SwitchFixture f;
    EXPECT_FALSE(f.select(kModeTexturedGShade));  // no Palette Path at all
    EXPECT_EQ(f.ui.messages().back(), kMsgTexGNoColormap);

    f.writeColormap(256, 320);
    ASSERT_TRUE(f.select(kModeTexturedGShade));
    ASSERT_TRUE(f.colormap.held());
    EXPECT_EQ(f.colormap.rows()[0], 7);

    // P-Shade without a PhongMap reports the map before the Colormap.
    EXPECT_FALSE(f.select(kModeTexturedPShade));
    EXPECT_EQ(f.ui.messages().back(), kMsgTexPNoPhongMaps);
    EXPECT_TRUE(f.colormap.held());  // a refusal changes nothing

    EXPECT_FALSE(f.select(kModePhong));
    EXPECT_EQ(f.ui.messages().back(), kMsgNoPhongMaps);
    EXPECT_FALSE(f.select(kModeEnvironment));
    EXPECT_EQ(f.ui.messages().back(), kMsgNoEnvMaps);

    ASSERT_TRUE(f.select(kModeFlat));
    EXPECT_FALSE(f.colormap.held());
}

TEST(ColormapSwitch, RealColormapServesTheShadedModes) {
    const std::string path = test::realTestData("images/colormap.pcx");
    if (path.empty()) GTEST_SKIP() << "real test data not present";
    SwitchFixture f;
    f.settings.setString(kPreferences, "Palette Path", path);
    ASSERT_TRUE(f.select(kModeTexturedGShade));
    EXPECT_TRUE(f.colormap.held());
}

}  // namespace
}  // namespace tarn
