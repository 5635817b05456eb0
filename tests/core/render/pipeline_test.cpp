#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <set>

#include "raster/frame_buffer.h"
#include "render/camera.h"
#include "render/render_pass.h"
#include "render/shading.h"
#include "render_world.h"

namespace tarn {
namespace {

using test::RenderWorld;

TEST(Camera, DefaultViewProjectsOriginToCentreAndPlusYToTheRight) {
    const CameraTransform cam({100, 0, 0}, {0, 0, 0});
    const Projection proj(64, 48, cam.dist, 33.0f);
    const Vec3f origin = cam.apply({0, 0, 0});
    EXPECT_NEAR(origin.z, 100.0f, 1e-4);
    const ScreenPoint centre = proj.project(origin);
    EXPECT_EQ(centre.x, 32);
    EXPECT_EQ(centre.y, 24);
    const ScreenPoint right = proj.project(cam.apply({0, 10, 0}));
    EXPECT_GT(right.x, 32);
    EXPECT_EQ(right.y, 24);
    const ScreenPoint up = proj.project(cam.apply({0, 0, 10}));
    EXPECT_GT(up.y, 24);  // rows count from the bottom
    // An eye on the look-at point or a point at z' = 0 must not give undefined values.
    const ScreenPoint far = proj.project({1, 1, 0});
    EXPECT_TRUE(std::abs(far.x) > 1000 || std::abs(far.y) > 1000);
}

// The shared steps of a draw up to the depth range.
struct RejectedPass {
    explicit RejectedPass(RenderWorld& w) : scene(w.session.scene()), pass(w.session.target, scene) {
        Palette palette{};
        EXPECT_TRUE(pass.setUpFrame(palette, 0));
        pass.transform();
        pass.reject();
    }
    RenderScene scene;
    RenderPass pass;
};

TEST(DepthRange, SpansTheFullRangeAndCollapsesToOneDepthWhenFlat) {
    RenderWorld w;
    w.setMesh({{10, 0, 0}, {-10, 10, 0}, {0, 0, 10}}, {{{0, 1, 2}, {0, 0, 0}}}, {{0, 0}});
    // Whatever the winding, one of the two orders faces the eye.
    int seen = 0;
    for (const auto order : {std::array<std::int16_t, 3>{0, 1, 2}, {0, 2, 1}}) {
        w.session.mesh.triangles[0].vertex = order;
        ComputeFaceNormals(w.session.mesh);
        RejectedPass r(w);
        if (r.pass.visibleTriangles().empty()) continue;
        ++seen;
        const auto* cam = w.session.target.transformed.data();
        std::vector<Fixed16> depths;
        for (int v = 0; v < 3; ++v) depths.push_back(r.pass.fillDepth(cam[v].z));
        EXPECT_EQ(*std::min_element(depths.begin(), depths.end()), 0);
        EXPECT_EQ(*std::max_element(depths.begin(), depths.end()) >> 16, 16384);
    }
    EXPECT_EQ(seen, 1);
    w.setFacingSquare();
    RejectedPass flat(w);
    ASSERT_EQ(flat.pass.visibleTriangles().size(), 2u);
    for (int v = 0; v < 4; ++v) EXPECT_EQ(flat.pass.fillDepth(w.session.target.transformed[v].z), 0);
}

TEST(Lighting, FlatLevelsIgnoreTheTableForTheMeshButNotForCompanions) {
    RenderWorld w;
    w.setFacingSquare();
    // Light straight along the normal of the square (+x).
    const Vec3f n = w.session.mesh.triangles[0].normal;
    w.session.lighting.lightVector = n;
    w.session.paint.shadeGamma = 0.5;
    w.session.rebuildTables();
    Companion& c = w.addCompanion({{0, -5, -5}, {0, 5, -5}, {0, 5, 5}}, {{0, 2, 1}});
    RenderScene scene = w.session.scene();
    const CameraTransform cam(w.session.target.eye, w.session.target.lookAt);
    c.computeFaceNormals(0);
    ComputeLighting(LightingKind::Flat, scene, cam);
    EXPECT_EQ(w.session.mesh.triangles[0].scratch.light[0], 254);
    EXPECT_EQ(c.triangles[0].scratch.light[0], w.session.paint.lightTable[254]);

    w.session.lighting.lightVector = n * -1.0f;
    ComputeLighting(LightingKind::Flat, scene, cam);
    EXPECT_EQ(w.session.mesh.triangles[0].scratch.light[0], 0);
}

TEST(Lighting, SmoothSharesEachVertexAndMapAveragesTurnedNormals) {
    RenderWorld w;
    // Two triangles folded along the edge 0-2.
    w.setMesh({{0, -10, -10}, {0, 10, 10}, {5, 10, -10}, {5, -10, 10}},
              {{{0, 2, 1}, {0, 0, 0}}, {{0, 1, 3}, {0, 0, 0}}}, {{0, 0}});
    RenderScene scene = w.session.scene();
    const CameraTransform cam(w.session.target.eye, w.session.target.lookAt);
    ComputeLighting(LightingKind::Smooth, scene, cam);
    const auto& t0 = w.session.mesh.triangles[0].scratch.light;
    const auto& t1 = w.session.mesh.triangles[1].scratch.light;
    EXPECT_EQ(t0[0], t1[0]);  // vertex 0
    EXPECT_EQ(t0[2], t1[1]);  // vertex 1

    // A triangle facing the viewer reads the middle of the map.
    w.setFacingSquare();
    ComputeLighting(LightingKind::Map, scene, cam);
    const auto& s = w.session.mesh.triangles[0].scratch;
    EXPECT_EQ(s.mapU, (std::array<std::uint8_t, 3>{128, 128, 128}));
    EXPECT_EQ(s.mapV, (std::array<std::uint8_t, 3>{128, 128, 128}));
}

TEST(ShadeRamps, GreyLevelsWithoutSkinAndHueKeptWithOne) {
    ColorSlots slots;
    slots[1] = 200;
    const LightTable identity = computeLightTable(1.0);
    const ShadeRamps grey = BuildShadeRamps(nullptr, slots, identity);
    // Entry 63 is lit by LightTable[252]: 200 * 252 / 256, about 196.
    EXPECT_EQ(grey[0][63][0], grey[0][63][2]);
    EXPECT_NEAR(grey[0][63][0], 200 * 252 / 256, 1);
    EXPECT_EQ(grey[0][0][0], 0);

    Palette p{};
    p[std::size_t(slots[2]) * 3] = 255;  // pure red
    const ShadeRamps red = BuildShadeRamps(&p, slots, identity);
    for (int k = 1; k < kRampLength; ++k) {
        EXPECT_GT(red[1][std::size_t(k)][0], 0) << k;
        EXPECT_EQ(red[1][std::size_t(k)][1], 0);
        EXPECT_GE(red[1][std::size_t(k)][0], red[1][std::size_t(k - 1)][0]);
    }
}

TEST(Lighting, StartsAtTheProgramsLightVector) {
    const Lighting lighting;
    EXPECT_EQ(std::bit_cast<std::uint32_t>(lighting.lightVector.x), 0xBF13CD39u);
    EXPECT_EQ(lighting.lightVector.x, lighting.lightVector.z);
}

TEST(ShadeRamps, RampChoiceFollowsFlagsOnlyInMappingMode) {
    EXPECT_EQ(shadeRampBase(kTriSelected, true), 64);
    EXPECT_EQ(shadeRampBase(kTriDragMark, true), 128);
    EXPECT_EQ(shadeRampBase(kTriSelected | kTriDragMark, true), 128);
    EXPECT_EQ(shadeRampBase(kTriSelected, false), 0);
    EXPECT_EQ(shadeRampBase(0, true), 0);
    EXPECT_EQ(wireSlot(kTriSelected, true), 2);
    EXPECT_EQ(wireSlot(kTriDragMark, true), 3);
    EXPECT_EQ(wireSlot(kTriDragMark, false), 1);
}

}  // namespace
}  // namespace tarn
