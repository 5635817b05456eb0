#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <sstream>

#include "edit/pack_islands.h"
#include "edit/rebake.h"
#include "model/game_folder.h"
#include "platform/batch_ui.h"
#include "render/render_session.h"
#include "render/render_setup.h"
#include "test_files.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

struct Variant {
    const char* what;
    PackOptions options;
    bool rendersIdentically;  // whole-texel moves only
};

std::vector<Variant> variants(int width, int height) {
    std::vector<Variant> v;
    const auto add = [&v](const char* what, bool same, auto set) {
        PackOptions o;
        set(o);
        v.push_back({what, o, same});
    };
    add("keep, shrink", true, [](PackOptions& o) { o.size = PackSize::Shrink; });
    // Without a margin a render may read the neighbour's texels past an edge.
    add("keep, shrink, no margin", false, [](PackOptions& o) { o.size = PackSize::Shrink, o.margin = 0; });
    add("keep, current size, margin 1", true, [](PackOptions& o) { o.margin = 1; });
    add("keep, selected only", true, [](PackOptions& o) { o.selectedOnly = true; });
    add("keep, shrink, turned", false, [](PackOptions& o) { o.size = PackSize::Shrink, o.rotate = true; });
    add("fit, current size", false, [](PackOptions& o) { o.scale = PackScale::Fit; });
    add("fit, twice the size, turned, margin 3", false, [&](PackOptions& o) {
        o.scale = PackScale::Fit, o.size = PackSize::Given, o.rotate = true, o.margin = 3;
        o.width = 2 * width, o.height = 2 * height;
    });
    return v;
}

// At the fitted scale every covered texel holds what the exact sampler takes
// from the old skin.
void expectResampled(const Mesh& mesh, const Skin& skin, const PackPlan& plan, const std::vector<std::uint8_t>& pixels) {
    std::vector<std::uint8_t> expected(pixels.size(), 0), covered(pixels.size(), 0);
    Rebake rebake;
    ASSERT_TRUE(rebake.setImages(expected, plan.width, plan.height, skin.pixels, skin.width, skin.height));
    rebake.markCovered(covered.data());
    for (const Chart& chart : plan.charts)
        for (const int t : chart.triangles) {
            Corners to{}, from{};
            ASSERT_TRUE(cornersIn(mesh.triangles[std::size_t(t)], plan.verts, mesh.mappingVertCount, to));
            ASSERT_TRUE(cornersIn(mesh.triangles[std::size_t(t)], mesh.mappingVerts, mesh.mappingVertCount, from));
            rebake.triangle(to, from);
        }
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < pixels.size(); ++i) wrong += covered[i] != 0 && pixels[i] != expected[i];
    EXPECT_EQ(wrong, 0u) << "covered texels not carried";
}

// At the kept scale a chart's MappingVerts moved by one turn or mirror image
// M and a shift d, and texel regions move with them: the texel [x, x + 1) x
// [y, y + 1) now covered shows the old texel under M^-1 (x + 1/2 - d). A chart
// whose MappingVerts several M fit (a straight line) may have used any of them.
void expectMovedExactly(const Mesh& mesh, const Skin& skin, const PackPlan& plan,
                        const std::vector<std::uint8_t>& pixels, const Chart& chart) {
    const auto oldAt = [&](int i) { return mesh.mappingVerts[std::size_t(i)]; };
    const auto newAt = [&](int i) { return plan.verts[std::size_t(i)]; };
    const Shape cover = FootprintOf(ChartCorners(mesh, chart, plan.verts), 0);
    bool someFit = false, carried = false;
    for (int swap = 0; swap < 2; ++swap)
        for (const int sx : {1, -1})
            for (const int sy : {1, -1}) {
                // (u, v) -> (sx u', sy v'), u', v' the coordinates, swapped or not.
                const auto apply = [&](int u, int v) {
                    return swap ? std::array<int, 2>{sx * v, sy * u} : std::array<int, 2>{sx * u, sy * v};
                };
                const auto turned = apply(oldAt(chart.verts[0]).s, oldAt(chart.verts[0]).t);
                const int dx = newAt(chart.verts[0]).s - turned[0], dy = newAt(chart.verts[0]).t - turned[1];
                bool fits = true;
                for (const int i : chart.verts) {
                    const auto t = apply(oldAt(i).s, oldAt(i).t);
                    fits = fits && newAt(i).s == t[0] + dx && newAt(i).t == t[1] + dy;
                }
                if (!fits) continue;
                someFit = true;
                bool all = true;
                for (int y = 0; y < cover.height && y < plan.height; ++y)
                    for (const Span& span : cover.rows[std::size_t(y)])
                        for (int x = span.left; x <= std::min(span.right, plan.width - 1); ++x) {
                            // Doubled coordinates keep the centre whole; M^-1 is its transpose.
                            const int cx = 2 * (x - dx) + 1, cy = 2 * (y - dy) + 1;
                            const auto back = swap ? std::array<int, 2>{sy * cy, sx * cx} : std::array<int, 2>{sx * cx, sy * cy};
                            const int fx = std::clamp(int(std::floor(back[0] / 2.0)), 0, skin.width - 1);
                            const int fy = std::clamp(int(std::floor(back[1] / 2.0)), 0, skin.height - 1);
                            all = all && pixels[std::size_t(y) * std::size_t(plan.width) + std::size_t(x)] ==
                                             skin.pixels[std::size_t(fy) * std::size_t(skin.width) + std::size_t(fx)];
                        }
                carried = carried || all;
            }
    EXPECT_TRUE(someFit) << "a chart was not moved by a turn, a mirror image and whole texels";
    EXPECT_TRUE(carried) << "covered texels not carried";
}

// The properties every pack keeps: the moved charts' footprints (covers grown
// by the margin) are disjoint from one another and from what stayed; every
// texel a Triangle covers on the new layout holds what the exact sampler
// takes from the old skin; what stays keeps its mapping and its texels.
void expectSoundPack(const Mesh& mesh, const Skin& skin, const PackPlan& plan, const std::vector<std::uint8_t>& pixels) {
    ASSERT_EQ(pixels.size(), std::size_t(plan.width) * std::size_t(plan.height));
    if (plan.options.size == PackSize::Shrink) {
        EXPECT_EQ(plan.width % kPackWidthStep, 0);
    }
    const int m = plan.options.margin;
    // Owners of the texels on the new skin, with room for margins past its edges.
    const int stride = plan.width + 2 * m;
    std::vector<int> owner(std::size_t(stride) * std::size_t(plan.height + 2 * m), -1);
    std::vector<bool> moved(plan.charts.size(), false);
    for (const ChartMove& move : plan.moves) moved[std::size_t(move.chart)] = true;
    for (std::size_t c = 0; c < plan.charts.size(); ++c) {
        const Chart& chart = plan.charts[c];
        const std::vector<Corners> corners = ChartCorners(mesh, chart, plan.verts);
        for (const Corners& k : corners)
            for (const MappingVert& v : k) ASSERT_TRUE(v.s >= 0 && v.t >= 0 && v.s <= plan.width && v.t <= plan.height);
        if (!moved[c]) {
            for (const int i : chart.verts) EXPECT_EQ(plan.verts[std::size_t(i)], mesh.mappingVerts[std::size_t(i)]);
            if (!plan.options.selectedOnly) ADD_FAILURE() << "chart " << c << " was left out";
        }
        const Shape grown = FootprintOf(corners, m);
        for (int y = 0; y < grown.height; ++y)
            for (const Span& s : grown.rows[std::size_t(y)])
                for (int x = s.left; x <= s.right; ++x) {
                    if (y >= plan.height + 2 * m || x >= stride) continue;
                    int& o = owner[std::size_t(y) * std::size_t(stride) + std::size_t(x)];
                    ASSERT_TRUE(o < 0 || (!moved[c] && !moved[std::size_t(o)]))
                        << "charts " << o << " and " << c << " meet at " << x - m << "," << y - m;
                    o = static_cast<int>(c);
                }
    }
    if (plan.options.scale == PackScale::Fit) {
        expectResampled(mesh, skin, plan, pixels);
    } else {
        for (std::size_t c = 0; c < plan.charts.size(); ++c) expectMovedExactly(mesh, skin, plan, pixels, plan.charts[c]);
    }
}

// Seeded meshes of small fans, flat and point Triangles at random places on a
// skin, so islands touch, overlap and share texels without sharing corners.
Mesh generatedMesh(unsigned seed, int width, int height) {
    std::mt19937 random(seed);
    const auto in = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    Mesh mesh;
    mesh.skinWidth = std::int16_t(width);
    mesh.skinHeight = std::int16_t(height);
    mesh.vertexCount = 3;
    int n = 0;
    while (n < 60) {
        const MappingVert centre{std::int16_t(in(0, width)), std::int16_t(in(0, height))};
        MappingVert last{std::int16_t(std::clamp(centre.s + in(-12, 12), 0, width)),
                         std::int16_t(std::clamp(centre.t + in(-12, 12), 0, height))};
        for (int fan = in(1, 5); fan > 0 && n < 60; --fan, ++n) {
            const MappingVert next{std::int16_t(std::clamp(last.s + in(-9, 9), 0, width)),
                                   std::int16_t(std::clamp(last.t + in(-9, 9), 0, height))};
            Triangle& t = mesh.triangles[std::size_t(n)];
            t.corner = {centre, last, next};
            if (in(0, 9) == 0) t.corner = {centre, centre, centre};
            // A flat one: its third corner on the line through the first two.
            const MappingVert beyond{std::int16_t(std::clamp(2 * last.s - centre.s, 0, width)),
                                     std::int16_t(std::clamp(2 * last.t - centre.t, 0, height))};
            if (in(0, 9) == 0 && beyond.s == 2 * last.s - centre.s && beyond.t == 2 * last.t - centre.t)
                t.corner = {centre, last, beyond};
            if (in(0, 4) == 0) t.flags = kTriSelected;
            t.vertex = {0, 1, 2};
            last = next;
        }
    }
    mesh.triangleCount = std::int16_t(n);
    RebuildMappingVerts(mesh);
    return mesh;
}

std::unique_ptr<Skin> noiseSkin(int width, int height, unsigned seed) {
    auto skin = makeBlankSkin(width, height);
    std::mt19937 random(seed);
    for (auto& p : skin->pixels) p = std::uint8_t(random());
    return skin;
}

TEST(PackIslands, GeneratedMeshesPackDisjointlyAndCarryEveryCoveredTexel) {
    for (unsigned seed = 1; seed <= 12; ++seed) {
        const Mesh mesh = generatedMesh(seed, 96, 80);
        const auto skin = noiseSkin(96, 80, seed);
        for (const Variant& v : variants(96, 80)) {
            SCOPED_TRACE(std::string(v.what) + ", seed " + std::to_string(seed));
            const PackPlan plan = PlanPack(mesh, v.options);
            if (!plan.ok()) {
                // Only a fixed size may be too small, and only without fitting.
                EXPECT_NE(v.options.size, PackSize::Shrink) << plan.refusal;
                EXPECT_EQ(v.options.scale, PackScale::Keep) << plan.refusal;
                continue;
            }
            expectSoundPack(mesh, *skin, plan, PackedPixels(mesh, plan, *skin, 0));
        }
    }
    // Coordinates gone wild in a file: refused at the kept scale, scaled down to fit.
    Mesh wild = generatedMesh(1, 96, 80);
    wild.triangles[0].corner = {MappingVert{-32000, -32000}, MappingVert{32000, 100}, MappingVert{5, 32000}};
    RebuildMappingVerts(wild);
    const auto skin = noiseSkin(96, 80, 1);
    EXPECT_EQ(PlanPack(wild, PackOptions{}).refusal, "The islands do not fit a skin of 96x80.");
    PackOptions fit;
    fit.scale = PackScale::Fit;
    const PackPlan plan = PlanPack(wild, fit);
    ASSERT_TRUE(plan.ok()) << plan.refusal;
    expectSoundPack(wild, *skin, plan, PackedPixels(wild, plan, *skin, 0));
}

// The Textured pictures of the session's current skin from three sides.
std::vector<std::vector<std::uint8_t>> pictures(RenderSession& s) {
    std::vector<std::vector<std::uint8_t>> out;
    s.rebuildTables();
    for (const Vec3f eye : {Vec3f{100, 0, 0}, Vec3f{-60, 70, 20}, Vec3f{10, -40, -90}}) {
        s.setCamera(eye, Vec3f{0, 0, 0}, 33.0f);
        s.draw(kModeTextured);
        out.push_back(topDownColour(s));
    }
    return out;
}

TEST(PackIslands, RealModelsPackDisjointlyCarryEveryTexelAndRenderAsBeforeWhenOnlyMoved) {
    const std::string root = test::realTestData("");
    if (root.empty()) GTEST_SKIP() << "no real test data";
    int models = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.path().extension() != ".md2") continue;
        std::ostringstream messages;
        BatchUi ui(messages);
        RenderSession session;
        const std::string path = entry.path().string();
        if (!loadSessionModel(session, path, defaultBaseFolder(path), ui)) continue;
        SCOPED_TRACE(path);
        ++models;
        Mesh& mesh = session.mesh;
        if (session.skins.count() == 0) {
            session.skins.append(noiseSkin(mesh.skinWidth, mesh.skinHeight, 7));
            session.skins.makeCurrent(0);
        }
        // A few charts selected, so the selected-only pack has work.
        for (int i = 0; i < mesh.triangleCount; i += 97) mesh.triangles[std::size_t(i)].flags |= kTriSelected;
        session.setSize(200, 150);
        const auto before = pictures(session);
        const Mesh original = mesh;
        // The renderer clamps corners past the last texel (some models map to
        // s = width), so only a model mapped inside its skin can render alike
        // once its charts move inward.
        bool inside = true;
        for (int i = 0; i < mesh.mappingVertCount; ++i)
            inside = inside && mesh.mappingVerts[std::size_t(i)].s < mesh.skinWidth &&
                     mesh.mappingVerts[std::size_t(i)].t < mesh.skinHeight;
        const Skin skin = *session.skins.current();
        const std::vector<Variant> all = variants(mesh.skinWidth, mesh.skinHeight);
        for (std::size_t k = 0; k < all.size(); ++k) {
            const Variant& v = all[k];
#ifdef TARN_SANITIZED
            // Under the sanitizers each model takes one variant in turn: every
            // path still runs, in a seventh of the time.
            if (k != std::size_t(models) % all.size()) continue;
#endif
            SCOPED_TRACE(v.what);
            const PackPlan plan = PlanPack(original, v.options);
            // Shrink keeps to the game's largest skin, and changes nothing
            // when no smaller skin than the current one holds the islands.
            if (!plan.ok()) {
                const bool noSmaller = plan.refusal.rfind(kMsgPackNoSmaller, 0) == 0;
                EXPECT_TRUE(v.options.scale == PackScale::Keep && (v.options.size != PackSize::Shrink || noSmaller))
                    << plan.refusal;
                continue;
            }
            if (v.options.size == PackSize::Shrink) {
                EXPECT_LE(plan.width, kGameSkinWidth);
                EXPECT_LE(plan.height, kGameSkinHeight);
                EXPECT_LT(plan.width * plan.height, mesh.skinWidth * mesh.skinHeight);
            }
            const std::vector<std::uint8_t> packed = PackedPixels(original, plan, skin, 0);
            expectSoundPack(original, skin, plan, packed);
            if (!v.rendersIdentically || !inside) continue;
            Skin& current = *session.skins.current();
            current.pixels = packed;
            current.width = plan.width;
            current.height = plan.height;
            current.buildRowTable();
            mesh = original;
            ApplyPackToMesh(mesh, plan);
            EXPECT_TRUE(pictures(session) == before) << "the pictures differ";
            mesh = original;
            current = skin;
        }
    }
    EXPECT_GE(models, 20);
}

}  // namespace
}  // namespace tarn
