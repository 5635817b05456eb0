// A large pane is drawn in bands of rows, each on a core of its own: the
// planes come out byte for byte as one drawing of the whole, in every mode,
// in Paint and Mapping Mode, with a Companion crossing the bands' edges.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "image/maps.h"
#include "image/palette_file.h"
#include "model/mesh.h"
#include "raster/frame_buffer.h"
#include "render/pipeline_mode.h"
#include "render/render_modes.h"
#include "render/render_session.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

struct Planes {
    std::vector<std::uint8_t> colour;
    std::vector<std::uint16_t> depth;
    std::vector<std::int32_t> pick;
    bool operator==(const Planes&) const = default;
};

Planes drawn(RenderSession& s, int mode, int bands) {
    setRenderBands(bands);
    s.draw(mode);
    setRenderBands(0);
    const FrameBuffer& f = s.frame;
    const std::size_t n = f.elementCount();
    return {{f.colour(), f.colour() + n}, {f.depth(), f.depth() + n}, {f.pick(), f.pick() + n}};
}

TEST(BandedDraw, EveryModeDrawsTheSamePlanesInAnyNumberOfBands) {
    const std::string base = test::realTestData("q2-didux/baseq2");
    if (base.empty()) GTEST_SKIP() << "real test data not present";
    test::ScriptedUi ui;
    RenderSession s;
    ASSERT_TRUE(loadSessionModel(s, base + "/players/male/tris.md2", base, ui));
    ASSERT_TRUE(addSessionCompanion(s, base + "/players/male/weapon.md2", base, ui));
    ASSERT_TRUE(SelectFrame(s.mesh, 40));
    // Noise for the maps and tables, so that every texel read shows.
    std::mt19937 random(7);
    std::vector<std::uint8_t> map(kLightingMapTexels), shadeTable(kLightingMapTexels),
        colormap(std::size_t(64) * kColormapColumns);
    for (auto& b : map) b = std::uint8_t(random());
    for (auto& b : shadeTable) b = std::uint8_t(random() % 64);
    for (auto& b : colormap) b = std::uint8_t(random());
    Palette envPalette{};
    for (auto& b : envPalette) b = std::uint8_t(random());
    s.phongMap = {map.data(), nullptr};
    s.envMap = {map.data(), &envPalette};
    s.colormap = colormap.data();
    s.phongShadeTable = shadeTable.data();
    s.mesh.triangles[3].flags = kTriSelected;
    s.mesh.triangles[9].flags = kTriDragMark;
    s.setSize(1280, 960);
    s.setCamera({60, 25, 12}, {0, 0, 0}, 40.0f);
    EXPECT_GT(renderBands(s.target), 1) << "a pane this large is drawn on every core";

    for (int mode = 0; mode < kRenderModeCount; ++mode)
        for (const bool mapping : {false, true}) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << (mapping ? ", Mapping Mode" : ", Paint Mode"));
            s.mappingMode = mapping;
            const Planes one = drawn(s, mode, 1);
            int shown = 0;
            for (std::size_t i = 0; i < one.colour.size(); ++i) shown += one.colour[i] != one.colour[0];
            EXPECT_GT(shown, 10000) << "the model fills much of the pane";
            for (const int bands : {2, 3, 7}) EXPECT_TRUE(drawn(s, mode, bands) == one) << bands << " bands";
        }
}

}  // namespace
}  // namespace tarn
