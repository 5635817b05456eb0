// The wide brush on the model reaches every visible texel under it, however
// small the texels are on screen, and none behind the surface; the fill
// crosses seams on the surface but not in the skin pane.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <set>

#include "platform/batch_ui.h"
#include "render/render_session.h"
#include "test_files.h"

#include "paint/fill_region.h"
#include "render/brush_cover.h"
#include "render/model_probe.h"
#include "render_world.h"

namespace tarn {
namespace {

constexpr int kW = test::RenderWorld::kSkinWidth;
constexpr int kH = test::RenderWorld::kSkinHeight;

// A square facing the eye mapped onto the skin's left half, and a smaller one
// behind it, wholly hidden, mapped onto the right half.
void frontAndBack(test::RenderWorld& world) {
    const float s = 10.0f, b = 8.0f;
    world.setMesh({{0, -s, -s}, {0, s, -s}, {0, s, s}, {0, -s, s}, {-5, -b, -b}, {-5, b, -b}, {-5, b, b}, {-5, -b, b}},
                  {{{0, 2, 1}, {0, 2, 1}}, {{0, 3, 2}, {0, 3, 2}}, {{4, 6, 5}, {4, 6, 5}}, {{4, 7, 6}, {4, 7, 6}}},
                  {{0, kH}, {kW / 2, kH}, {kW / 2, 0}, {0, 0}, {kW / 2, kH}, {kW, kH}, {kW, 0}, {kW / 2, 0}});
}

std::set<std::int32_t> under(test::RenderWorld& world, const BrushSpot& spot) {
    std::set<std::int32_t> texels;
    const Mesh& mesh = world.session.mesh;
    visitTexelsUnder(mesh, mesh.frames[0].positions.data(), mesh.vertexCount, world.session.target, spot, kW, kH,
                     [&](std::int32_t t) { texels.insert(t); });
    return texels;
}

TEST(BrushCover, ReachesEveryVisibleTexelAtAnyZoomAndNoneBehindTheSurface) {
    test::RenderWorld world(96, 72);
    frontAndBack(world);
    // Far away the front square is a few pixels across, each holding many texels.
    world.session.setCamera({2000, 0, 0}, {0, 0, 0}, 33.0f);
    const std::set<std::int32_t> all = under(world, {48.0f, 36.0f, 40.0f, BrushShape::Square});
    for (int t = 0; t < kH; ++t)
        for (int s = 0; s < kW; ++s)
            EXPECT_EQ(all.count(t * kW + s) == 1, s < kW / 2) << s << "," << t;

    // Near, a round tip reaches a disc of the front square only.
    world.session.setCamera({60, 0, 0}, {0, 0, 0}, 33.0f);
    const std::set<std::int32_t> disc = under(world, {48.0f, 36.0f, 9.0f, BrushShape::Round});
    ASSERT_FALSE(disc.empty());
    int minS = kW, maxS = 0, minT = kH, maxT = 0;
    for (std::int32_t t : disc) {
        EXPECT_LT(t % kW, kW / 2);
        minS = std::min(minS, t % kW), maxS = std::max(maxS, t % kW);
        minT = std::min(minT, t / kW), maxT = std::max(maxT, t / kW);
    }
    // As wide as tall, and filled: a disc of that width holds about pi/4 of its square.
    EXPECT_NEAR(maxS - minS, maxT - minT, 1);
    const double square = double(maxS - minS + 1) * double(maxT - minT + 1);
    EXPECT_NEAR(double(disc.size()) / square, 3.14159 / 4, 0.12);
}

// Two Triangles sharing an edge of the mesh but mapped into separate islands.
// Vertices 0 and 2 are shared; the first Triangle maps them to (2,20) and
// (20,20), the second to (30,20) and (48,2).
void twoIslands(test::RenderWorld& world) {
    world.setMesh({{0, -10, -10}, {0, 10, -10}, {0, 10, 10}, {0, -10, 10}},
                  {{{0, 2, 1}, {0, 1, 2}}, {{0, 3, 2}, {3, 4, 5}}},
                  {{2, 20}, {20, 20}, {20, 2}, {30, 20}, {30, 2}, {48, 2}});
}

// The model's fill crosses the seam, the skin pane's does not, and only
// texels a Triangle covers take part on the model.
TEST(FillRegion, CrossesSeamsOnTheSurfaceOnly) {
    test::RenderWorld world(96, 72);
    twoIslands(world);
    Skin& skin = *world.session.skins.at(0);
    // Each island's bounding box holds 5, the rest 9.
    for (int t = 0; t < kH; ++t)
        for (int s = 0; s < kW; ++s) {
            const bool box = t >= 2 && t < 20 && ((s >= 2 && s < 20) || (s >= 30 && s < 48));
            skin.pixels[std::size_t(t * kW + s)] = box ? 5 : 9;
        }
    const Mesh& mesh = world.session.mesh;
    const std::int32_t start = 15 * kW + 15;
    const std::vector<std::int32_t> flat = fillRegion(skin, start, false);
    const std::vector<std::int32_t> surface = fillRegionOnSurface(mesh, skin, start);
    const auto inRight = [](std::int32_t t) { return t % kW >= 30; };
    EXPECT_EQ(flat.size(), 18u * 18u) << "the skin pane fills the 4-connected box";
    EXPECT_TRUE(std::none_of(flat.begin(), flat.end(), inRight)) << "and stays in its island";
    EXPECT_TRUE(std::any_of(surface.begin(), surface.end(), inRight)) << "the model's fill crosses the seam";
    const std::set<std::int32_t> reached(surface.begin(), surface.end());
    EXPECT_EQ(reached.count(3 * kW + 3), 0u) << "a texel no Triangle covers";
    EXPECT_EQ(reached.count(18 * kW + 18), 1u);
    EXPECT_EQ(fillRegion(skin, start, true).size(), 2u * 18u * 18u) << "Shift: every texel of the index";
}

// Fills kept from one to the next follow every edit of what the seams and the
// covered texels come from, as a fill worked out afresh does.
TEST(FillRegion, KeptSurfaceFollowsEditsOfTheMesh) {
    test::RenderWorld world(96, 72);
    twoIslands(world);
    Skin& skin = *world.session.skins.at(0);
    std::fill(skin.pixels.begin(), skin.pixels.end(), std::uint8_t(5));
    const std::int32_t start = 15 * kW + 15;
    const Mesh original = world.session.mesh;
    const std::vector<std::int32_t> before = fillRegionOnSurface(original, skin, start);
    const struct {
        const char* edit;
        void (*apply)(Mesh&);
        bool changes;
    } rows[] = {
        {"nothing", [](Mesh&) {}, false},
        {"a MappingVert moved", [](Mesh& m) { m.mappingVerts[5] = {40, 12}; }, true},
        {"a Triangle hidden", [](Mesh& m) { m.triangles[1].flags |= kTriHidden; }, true},
        {"a Triangle mapped elsewhere", [](Mesh& m) { m.triangles[1].mapping = {3, 4, 2}; }, true},
        {"a Triangle on other vertices", [](Mesh& m) { m.triangles[1].vertex = {3, 1, 2}; }, true},
        {"a Triangle dropped", [](Mesh& m) { m.triangleCount = 1; }, true},
    };
    for (const auto& row : rows) {
        SurfaceFill kept;
        ASSERT_EQ(kept.region(original, skin, start), before) << row.edit;
        Mesh edited = original;
        row.apply(edited);
        const std::vector<std::int32_t> after = kept.region(edited, skin, start);
        EXPECT_EQ(after, fillRegionOnSurface(edited, skin, start)) << row.edit;
        EXPECT_EQ(after != before, row.changes) << row.edit;
    }
}

// On the real male player with a blank skin, a fill from one covered texel
// reaches covered texels only, in more than one island of the mapping.
TEST(FillRegion, OnTheRealMalePlayerCrossesIntoOtherIslandsAndStaysOnCoveredTexels) {
    const std::string model = test::realTestData("q2-didux/baseq2/players/male/tris.md2");
    if (model.empty()) GTEST_SKIP() << "no real test data";
    BatchUi ui(std::cerr, "");
    RenderSession session;
    ASSERT_TRUE(loadSessionModel(session, model, test::realTestData("q2-didux/baseq2"), ui));
    Skin& skin = *session.skins.at(0);
    skin.pixels.assign(skin.pixelCount(), 7);
    const Mesh& mesh = session.mesh;
    // A texel at the centre of the first Triangle's mapping.
    MappingVert c{};
    for (int k = 0; k < 3; ++k) {
        c.s = std::int16_t(c.s + mesh.mappingVerts[std::size_t(mesh.triangles[0].mapping[std::size_t(k)])].s);
        c.t = std::int16_t(c.t + mesh.mappingVerts[std::size_t(mesh.triangles[0].mapping[std::size_t(k)])].t);
    }
    const std::int32_t start = std::int32_t(c.t / 3) * skin.width + c.s / 3;
    const std::vector<std::int32_t> region = fillRegionOnSurface(mesh, skin, start);
    ASSERT_FALSE(region.empty());
    // Islands as the skin pane's fill sees them: 4-connected covered texels.
    Skin covered = skin;
    covered.pixels.assign(skin.pixelCount(), 0);
    for (std::int32_t t : region) covered.pixels[std::size_t(t)] = 1;
    const std::vector<std::int32_t> firstIsland = fillRegion(covered, start, false);
    EXPECT_LT(firstIsland.size(), region.size()) << "the region spans more than the start's island";
    const std::vector<std::int32_t> all = fillRegionOnSurface(mesh, skin, start);
    EXPECT_EQ(all.size(), region.size());
}

}  // namespace
}  // namespace tarn
