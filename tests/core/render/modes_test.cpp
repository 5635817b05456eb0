#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>

#include "raster/frame_buffer.h"
#include "render/mode_wireframe.h"
#include "render_world.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

using test::kFilledModes;
using test::RenderWorld;

constexpr int kTexels = RenderWorld::kSkinWidth * RenderWorld::kSkinHeight;

std::set<std::int32_t> distinct(const std::vector<std::int32_t>& v) { return {v.begin(), v.end()}; }

class EveryFilledMode : public ::testing::TestWithParam<int> {};

TEST_P(EveryFilledMode, PickPlaneHoldsTexelsTrianglesCompanionsAndNothing) {
    const int mode = GetParam();
    for (const bool mapping : {false, true}) {
        RenderWorld w;
        w.setFacingSquare();
        w.session.mappingMode = mapping;
        w.draw(mode);
        const auto keys = distinct(w.picks());
        ASSERT_TRUE(keys.count(-1)) << "background";
        if (mode == kModeTextured && !mapping) {
            // Every model pixel names the texel it shows.
            for (std::size_t i = 0; i < w.picks().size(); ++i) {
                const std::int32_t v = w.picks()[i];
                if (v == -1) continue;
                ASSERT_GE(v, 0);
                ASSERT_LT(v, kTexels);
                EXPECT_EQ(w.session.frame.colour()[i], w.session.skins.current()->pixels[std::size_t(v)]);
            }
            EXPECT_GT(keys.size(), 100u);
        } else {
            EXPECT_EQ(keys, (std::set<std::int32_t>{-1, 0, 1})) << "mapping " << mapping;
        }
        // A Companion in front of the square.
        w.addCompanion({{20, -3, -3}, {20, 3, 3}, {20, 3, -3}}, {{0, 1, 2}, {0, 2, 1}});
        w.draw(mode);
        const auto withCompanion = distinct(w.picks());
        std::set<std::int32_t> companionKeys;
        std::copy_if(withCompanion.begin(), withCompanion.end(),
                     std::inserter(companionKeys, companionKeys.end()),
                     [](std::int32_t k) { return k < kPickNothing; });
        ASSERT_EQ(companionKeys.size(), 1u);
        // "Wireframe, Solid" keys each Companion triangle on its own.
        const std::int32_t key = *companionKeys.begin();
        if (mode == kModeWireframeSolid)
            EXPECT_TRUE(key == WireframeSolidMode::companionKey(0, 0) ||
                        key == WireframeSolidMode::companionKey(0, 1));
        else
            EXPECT_EQ(key, kPickCompanion);
        // Hidden, or without a frame at the Mesh's frame index: not drawn.
        w.session.companions[0]->hidden = true;
        w.draw(mode);
        EXPECT_EQ(distinct(w.picks()), keys);
        w.session.companions[0]->hidden = false;
        w.session.mesh.frames.push_back(w.session.mesh.frames[0]);
        w.session.mesh.currentFrame = 1;
        w.draw(mode);
        EXPECT_EQ(distinct(w.picks()), keys);
    }
}

TEST_P(EveryFilledMode, BackFacesHiddenAndTooNearTrianglesAreNotFilled) {
    const int mode = GetParam();
    RenderWorld w;
    w.setFacingSquare();
    for (auto& t : w.session.mesh.triangles) std::swap(t.vertex[1], t.vertex[2]);
    ComputeFaceNormals(w.session.mesh);
    w.draw(mode);
    EXPECT_EQ(distinct(w.picks()), (std::set<std::int32_t>{-1})) << "back faces";

    w.setFacingSquare();
    w.session.mesh.triangles[0].flags = kTriHidden | kTriDragMark;
    w.session.mesh.triangles[1].flags = kTriHidden;
    w.session.mappingMode = true;
    const std::uint8_t background = mode == kModeTextured || mode == kModeWireframeSolid
                                         ? w.session.paint.colorSlots[kSlotBackground]
                                         : std::uint8_t(kShadedBackground);
    w.draw(mode);
    EXPECT_EQ(distinct(w.picks()), (std::set<std::int32_t>{-1})) << "hidden";
    const std::vector<std::uint8_t> colours(w.session.frame.colour(),
                                            w.session.frame.colour() + w.session.frame.elementCount());
    EXPECT_TRUE(std::all_of(colours.begin(), colours.end(),
                            [&](std::uint8_t c) { return c == background; }))
        << "a hidden, drag-marked Triangle is neither filled nor outlined";

    // One corner at z' = 0.5: the whole Triangle goes, its neighbour stays.
    w.setFacingSquare();
    w.session.mesh.frames[0].positions[1].x = 99.5f;
    ComputeFaceNormals(w.session.mesh);
    w.draw(mode);
    EXPECT_EQ(w.count(0), 0);
    EXPECT_EQ(w.count(1) > 0 || mode == kModeTextured, true);
}

TEST_P(EveryFilledMode, BadMappingAndEmptyScenesAreSafe) {
    const int mode = GetParam();
    RenderWorld w;
    w.draw(mode);  // no model
    EXPECT_EQ(distinct(w.picks()), (std::set<std::int32_t>{-1}));
    w.setFacingSquare();
    // Skin coordinates far outside the skin and a MappingVert index beyond the table.
    auto& mv = w.session.mesh.mappingVerts;
    mv[0] = {-500, -300};
    mv[1] = {30000, 32000};
    mv[2] = {-32768, 32767};
    w.session.mesh.triangles[1].mapping[2] = 9000;
    for (const bool mapping : {false, true}) {
        w.session.mappingMode = mapping;
        w.draw(mode);
        for (const std::int32_t v : w.picks()) {
            ASSERT_GE(v, -1);
            ASSERT_LT(v, mode == kModeTextured && !mapping ? kTexels : 2);
        }
    }
    // A target of zero size draws nothing at all.
    w.session.setSize(0, 0);
    w.draw(mode);
}

INSTANTIATE_TEST_SUITE_P(Modes, EveryFilledMode, ::testing::ValuesIn(kFilledModes),
                         [](const auto& param) { return "mode" + std::to_string(param.param); });

TEST(ShadedModes, MarkedTrianglesKeepTheirRampsInMappingModeOnly) {
    for (const int mode : {kModeFlat, kModeGouraud}) {
        RenderWorld w;
        w.setFacingSquare();
        w.session.mesh.triangles[0].flags = kTriSelected;
        w.session.mesh.triangles[1].flags = kTriSelected | kTriDragMark;
        for (const bool mapping : {false, true}) {
            w.session.mappingMode = mapping;
            w.draw(mode);
            const auto picks = w.picks();
            for (std::size_t i = 0; i < picks.size(); ++i) {
                const int c = w.session.frame.colour()[i];
                if (picks[i] == -1) {
                    ASSERT_EQ(c, kShadedBackground);
                    continue;
                }
                const int ramp = !mapping ? 0 : picks[i] == 0 ? 1 : 2;
                ASSERT_GE(c, ramp * kRampLength) << mode;
                ASSERT_LT(c, (ramp + 1) * kRampLength) << mode;
            }
        }
        // The shaded palette: ramps below 192, the background's colour at 255.
        const Palette& p = w.session.palette(mode);
        const auto bg = std::size_t(w.session.paint.colorSlots[kSlotBackground]) * 3;
        EXPECT_EQ(p[255 * 3], w.session.skins.current()->palette[bg]);
        EXPECT_EQ(p[200 * 3], 200);  // the skin palette above the ramps
    }
}

TEST(TexturedMode, SingleTexelTriangleAndMappingEdges) {
    RenderWorld w;
    w.setFacingSquare();
    auto& m = w.session.mesh;
    m.triangles[0].mapping = {4, 4, 4};
    m.mappingVerts[4] = {10, 20};
    m.mappingVertCount = 5;
    w.draw(kModeTextured);
    EXPECT_GT(w.count(20 * RenderWorld::kSkinWidth + 10), 20);

    // Edge colours chosen outside the skin's 0..94 so they can be counted.
    auto& slots = w.session.paint.colorSlots;
    slots[kSlotEdge] = 150;
    slots[kSlotSelected] = 160;
    slots[kSlotDragged] = 170;
    w.session.mappingMode = true;
    auto colourCount = [&](std::uint8_t c) {
        return std::count(w.session.frame.colour(),
                          w.session.frame.colour() + w.session.frame.elementCount(), c);
    };
    m.triangles[0].flags = kTriSelected;
    w.draw(kModeTextured);
    EXPECT_GT(colourCount(160), 0);
    EXPECT_GT(colourCount(150), 0);
    EXPECT_EQ(colourCount(170), 0);
    m.triangles[0].flags = kTriSelected | kTriDragMark;  // third pass only
    w.draw(kModeTextured);
    EXPECT_EQ(colourCount(160), 0);
    EXPECT_GT(colourCount(170), 0);

    // A selected Triangle behind another shows no edges.
    w.setMesh({{0, -10, -10}, {0, 10, 10}, {0, 10, -10}, {5, -20, -20}, {5, 20, 20}, {5, 20, -20}},
              {{{0, 1, 2}, {0, 0, 0}}, {{3, 4, 5}, {0, 0, 0}}}, {{3, 3}});
    m.triangles[0].flags = kTriSelected;
    for (auto& t : m.triangles) std::swap(t.vertex[1], t.vertex[2]);
    ComputeFaceNormals(m);
    w.draw(kModeTextured);
    ASSERT_EQ(w.count(0), 0) << "the front triangle covers the back one";
    EXPECT_EQ(colourCount(160), 0);
}

TEST(TexturedMode, WithoutSkinOnlyTheBackground) {
    RenderWorld w;
    w.setFacingSquare();
    w.removeSkin();
    w.draw(kModeTextured);
    EXPECT_EQ(distinct(w.picks()), (std::set<std::int32_t>{-1}));
    EXPECT_EQ(w.session.palette(kModeTextured)[100 * 3 + 1], 100);  // grey ramp
}

TEST(WireframeModes, BackFacesDrawnInMode0AndMarkedEdgesOnTop) {
    RenderWorld w;
    w.setFacingSquare();
    auto& m = w.session.mesh;
    for (auto& t : m.triangles) std::swap(t.vertex[1], t.vertex[2]);
    auto& slots = w.session.paint.colorSlots;
    slots[kSlotEdge] = 150;
    slots[kSlotSelected] = 160;
    auto colourCount = [&](std::uint8_t c) {
        return std::count(w.session.frame.colour(),
                          w.session.frame.colour() + w.session.frame.elementCount(), c);
    };
    w.draw(kModeWireframe);
    EXPECT_GT(colourCount(150), 0);
    EXPECT_EQ(distinct(w.picks()), (std::set<std::int32_t>{-1}));
    // The diagonal is shared; in Mapping Mode the selected Triangle's copy wins.
    m.triangles[0].flags = kTriSelected;
    w.session.mappingMode = true;
    w.draw(kModeWireframe);
    const auto selected = colourCount(160);
    m.triangles[0].flags = 0;
    w.draw(kModeWireframe);
    EXPECT_GT(selected, 0);
    EXPECT_EQ(colourCount(160), 0);
    w.session.mappingMode = false;
    m.triangles[0].flags = kTriSelected;
    w.draw(kModeWireframe);
    EXPECT_EQ(colourCount(160), 0);
}

// Edges shared by two triangles are drawn once per colour. The picture must be
// the one drawn edge by edge: the same grid with every triangle on vertices
// of its own (nothing shared) is the reference. The grid reaches past the
// borders and behind the eye, so border and near clips both take part.
TEST(WireframeModes, SharedEdgesDrawnOnceGiveTheSamePicture) {
    std::vector<Vec3f> grid;
    constexpr int kSide = 7;
    for (int j = 0; j < kSide; ++j)
        for (int i = 0; i < kSide; ++i) {
            const float depth = (i + j) % 5 == 0 ? 130.0f : float(i * j % 3) * 4.0f;  // some behind the eye
            grid.push_back({depth, -36.0f + 12.0f * float(i) + float(j % 2), -30.0f + 10.0f * float(j)});
        }
    std::vector<test::TriangleSpec> shared, own;
    std::vector<Vec3f> ownPositions;
    auto add = [&](int a, int b, int c) {
        shared.push_back({{std::int16_t(a), std::int16_t(b), std::int16_t(c)}, {0, 0, 0}});
        const auto first = std::int16_t(ownPositions.size());
        for (const int v : {a, b, c}) ownPositions.push_back(grid[std::size_t(v)]);
        own.push_back({{first, std::int16_t(first + 1), std::int16_t(first + 2)}, {0, 0, 0}});
    };
    for (int j = 0; j + 1 < kSide; ++j)
        for (int i = 0; i + 1 < kSide; ++i) {
            const int v = j * kSide + i;
            add(v, v + 1, v + kSide + 1);
            add(v, v + kSide + 1, v + kSide);
        }
    auto picture = [&](const std::vector<Vec3f>& positions, const std::vector<test::TriangleSpec>& triangles,
                       bool mapping) {
        RenderWorld w(120, 90);
        w.setMesh(positions, triangles, {{0, 0}});
        auto& t = w.session.mesh.triangles;
        for (std::size_t i = 0; i < triangles.size(); i += 5) t[i].flags = kTriSelected;
        for (std::size_t i = 2; i < triangles.size(); i += 7) t[i].flags |= kTriDragMark;
        for (std::size_t i = 3; i < triangles.size(); i += 11) t[i].flags |= kTriHidden;
        auto& slots = w.session.paint.colorSlots;
        slots[kSlotEdge] = 150;
        slots[kSlotSelected] = 160;
        slots[kSlotDragged] = 170;
        w.session.mappingMode = mapping;
        w.draw(kModeWireframe);
        const std::uint8_t* colour = w.session.frame.colour();
        return std::vector<std::uint8_t>(colour, colour + w.session.frame.elementCount());
    };
    for (const bool mapping : {false, true}) {
        const auto once = picture(grid, shared, mapping);
        EXPECT_EQ(once, picture(ownPositions, own, mapping)) << (mapping ? "mapping" : "paint");
        EXPECT_GT(std::count(once.begin(), once.end(), 150), 100);
        if (mapping) {
            EXPECT_GT(std::count(once.begin(), once.end(), 160), 10);
        }
    }
}

TEST(WireframeModes, SolidOutlinesOnlyTheUncoveredPartOfAnEdge) {
    RenderWorld w(96, 64);
    // A large square behind and a small triangle in front of its middle.
    w.setMesh({{0, -10, -10}, {0, 10, -10}, {0, 10, 10}, {0, -10, 10}, {10, -4, -4}, {10, 4, -4},
               {10, 0, 4}},
              {{{0, 2, 1}, {0, 0, 0}}, {{0, 3, 2}, {0, 0, 0}}, {{4, 6, 5}, {0, 0, 0}}}, {{0, 0}});
    auto& slots = w.session.paint.colorSlots;
    slots[kSlotBackground] = 7;
    slots[kSlotEdge] = 150;
    w.draw(kModeWireframeSolid);
    ASSERT_GT(w.count(2), 0);
    // The diagonal 0-2 of the square runs under the small triangle: every
    // background-coloured pixel of the triangles lies on its own triangle.
    const auto picks = w.picks();
    for (std::size_t i = 0; i < picks.size(); ++i)
        if (picks[i] == 0 || picks[i] == 1) {
            EXPECT_TRUE(w.session.frame.colour()[i] == 150 || w.session.frame.colour()[i] == 7);
        }
    int centreEdge = 0;
    for (int row = 0; row < 64; ++row)
        for (int x = 0; x < 96; ++x)
            if (w.pick(x, row) == 2 && w.colour(x, row) == 7) ++centreEdge;
    EXPECT_GT(centreEdge, 0);
    EXPECT_EQ(WireframeSolidMode::companionKey(0, 0), -2);
    EXPECT_NE(WireframeSolidMode::companionKey(1, 0), WireframeSolidMode::companionKey(0, 4095));
}

}  // namespace
}  // namespace tarn

namespace tarn {
namespace {

TEST(RealModel, PickPlaneNamesWhatEachPixelShowsInEveryMode) {
    const std::string model = test::realTestData("q2-didux/baseq2/players/male/tris.md2");
    const std::string weapon = test::realTestData("q2-didux/baseq2/players/male/weapon.md2");
    if (model.empty() || weapon.empty()) GTEST_SKIP();
    const std::string base = test::realTestData("q2-didux/baseq2");
    test::ScriptedUi ui;
    RenderSession s;
    ASSERT_TRUE(loadSessionModel(s, model, base, ui));
    ASSERT_TRUE(addSessionCompanion(s, weapon, base, ui));
    ASSERT_TRUE(SelectFrame(s.mesh, 40));
    s.setSize(160, 120);
    s.setCamera({70, 30, 20}, {0, 0, 0}, 40.0f);
    const Skin& skin = *s.skins.current();
    for (const int mode : {kModeWireframe, kModeWireframeSolid, kModeFlat, kModeGouraud, kModeTextured}) {
        for (const bool mapping : {false, true}) {
            s.mappingMode = mapping;
            s.draw(mode);
            std::set<std::int32_t> keys;
            for (std::size_t i = 0; i < s.frame.elementCount(); ++i) {
                const std::int32_t v = s.frame.pick()[i];
                keys.insert(v);
                if (mode == kModeTextured && !mapping && v >= 0) {
                    ASSERT_LT(std::size_t(v), skin.pixels.size());
                    ASSERT_EQ(s.frame.colour()[i], skin.pixels[std::size_t(v)]);
                } else if (v >= 0) {
                    ASSERT_LT(v, s.mesh.triangleCount);
                }
            }
            if (mode == kModeWireframe) {
                EXPECT_EQ(keys, std::set<std::int32_t>{-1});
            } else {
                EXPECT_GT(keys.size(), 50u) << mode;
                // "Wireframe, Solid" keys each Companion triangle on its own, from -2 down.
                EXPECT_TRUE(mode == kModeWireframeSolid ? *keys.begin() < kPickCompanion
                                                        : *keys.begin() == kPickCompanion)
                    << mode;
            }
        }
    }
}

}  // namespace
}  // namespace tarn
