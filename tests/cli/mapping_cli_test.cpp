// tarn-cli kmap, map-from-view and retromap, run in-process on a real model.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <cstdio>
#include <sstream>

#include "batch_mesh_session.h"
#include "cli_run.h"
#include "edit/kmap.h"
#include "image/image_codec.h"
#include "image/skin_io.h"
#include "edit/mirror_mapping.h"
#include "model/symmetry.h"
#include "raster/rasterizer.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn::cli {
namespace {

class MappingCli : public ::testing::Test {
protected:
    void SetUp() override {
        model = test::realTestData("q2-didux/baseq2/players/male/tris.md2");
        base = test::realTestData("q2-didux/baseq2");
        if (model.empty()) GTEST_SKIP() << "no real test data";
    }
    std::vector<MappingVert> cornersOf(const std::string& path) {
        test::BatchMeshSession s(base);
        EXPECT_TRUE(LoadMesh(s.c, path)) << s.log.str();
        std::vector<MappingVert> out;
        for (int i = 0; i < s.mesh.triangleCount; ++i)
            for (std::int16_t m : s.mesh.triangles[std::size_t(i)].mapping) out.push_back(s.mesh.mappingVerts[std::size_t(m)]);
        return out;
    }
    std::string model, base;
    test::TempDir dir;
};

TEST_F(MappingCli, ExportThenImportGivesTheSameMapping) {
    const std::string kmp = dir.file("male.kmp"), out = dir.file("out.md2");
    const CliRun exported = runCli({"kmap", "export", model, kmp, "--base", base});
    ASSERT_EQ(exported.code, 0) << exported.err;
    EXPECT_EQ(readFile(kmp).bytes.size(), kKmapHeaderBytes + kKmapRecordBytes * 608);
    const CliRun imported = runCli({"kmap", "import", model, kmp, "-o", out, "--base", base});
    ASSERT_EQ(imported.code, 0) << imported.err;
    EXPECT_EQ(cornersOf(out), cornersOf(model));
}

TEST_F(MappingCli, MapFromViewFillsTheRectangleWithTheSelection) {
    const std::string out = dir.file("viewed.md2");
    const CliRun r = runCli({"map-from-view", model, "-o", out, "--select", "0,1,2,3,4,5,6,7", "--rect",
                             "200,100,40,20", "--eye", "0,100,20", "--base", base});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::vector<MappingVert> before = cornersOf(model), after = cornersOf(out);
    const auto [s0, s1] = std::minmax_element(after.begin(), after.begin() + 24,
                                              [](MappingVert a, MappingVert b) { return a.s < b.s; });
    const auto [t0, t1] = std::minmax_element(after.begin(), after.begin() + 24,
                                              [](MappingVert a, MappingVert b) { return a.t < b.t; });
    EXPECT_EQ((std::array{s0->s, s1->s, t0->t, t1->t}), (std::array<std::int16_t, 4>{40, 200, 20, 100}));
    EXPECT_TRUE(std::equal(after.begin() + 24, after.end(), before.begin() + 24));
}

// The old skin as it is, and as a true-colour PNG matched back to the
// model's own palette: without padding every texel a Triangle covers comes
// back in its old colour and the rest is the background; with the default
// padding no background texel touches an island.
TEST_F(MappingCli, RetromapOntoTheSameMappingGivesTheSkinBack) {
    const std::string kmp = dir.file("male.kmp");
    const std::string old = joinPath(base, "ne/usmc.pcx");
    ASSERT_EQ(runCli({"kmap", "export", model, kmp, "--base", base}).code, 0);
    test::ScriptedUi ui;
    const auto before = LoadSkinImage(ui, old);
    ASSERT_TRUE(before);
    Bytes rgb;
    for (std::uint8_t index : before->pixels)
        for (int c = 0; c < 3; ++c) rgb.push_back(before->palette[std::size_t(index) * 3 + std::size_t(c)]);
    const std::string photo = dir.file("usmc.png");
    ASSERT_EQ(writeFileAtomic(photo, encodePng24(before->width, before->height, rgb.data())), 0);
    auto colour = [](const Skin& s, std::size_t i) {
        const std::size_t at = std::size_t(s.pixels[i]) * 3;
        return std::array<std::uint8_t, 3>{s.palette[at], s.palette[at + 1], s.palette[at + 2]};
    };

    // The texels the fills cover, from the model's own mapping.
    test::BatchMeshSession session(base);
    ASSERT_TRUE(LoadMesh(session.c, model));
    const Mesh& mesh = session.mesh;
    const int w = mesh.skinWidth, h = mesh.skinHeight;
    std::vector<std::uint8_t> covered(std::size_t(w * h), 0);
    Rasterizer raster;
    raster.SetTarget(RasterTarget{covered.data(), nullptr, nullptr, nullptr, w, h});
    for (int i = 0; i < mesh.triangleCount; ++i) {
        FillTriangle<Vertex2D> tri{};
        for (std::size_t k = 0; k < 3; ++k) {
            const MappingVert m = mesh.mappingVerts[std::size_t(mesh.triangles[std::size_t(i)].mapping[k])];
            tri[k] = {m.s, m.t};
        }
        tri[3] = tri[0];
        raster.FillSolid2D(tri, 1);
    }
    // Whether texel (x, y) touches an island, and whether it then holds the
    // colour of one of the island texels it touches.
    auto neighbourColour = [&](const Skin& s, int x, int y, bool& touches) {
        touches = false;
        bool matches = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const std::size_t n = std::size_t((y + dy) * w + x + dx);
                if (x + dx < 0 || x + dx >= w || y + dy < 0 || y + dy >= h || !covered[n]) continue;
                touches = true;
                matches = matches || s.pixels[n] == s.pixels[std::size_t(y * w + x)];
            }
        return matches;
    };

    for (const std::string& source : {old, photo}) {
        for (const char* padding : {"0", "2"}) {
            SCOPED_TRACE(source + " padded by " + padding);
            const std::string skin = dir.file("new.pcx");
            const CliRun r = runCli({"retromap", model, source, kmp, "-o", skin, "--base", base, "--background", "251",
                                     "--padding", padding});
            ASSERT_EQ(r.code, 0) << r.err;
            const auto after = LoadSkinImage(ui, skin);
            ASSERT_TRUE(after);
            ASSERT_EQ(after->pixels.size(), covered.size());
            std::size_t coveredTexels = 0, changed = 0, bareEdges = 0;
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    const std::size_t i = std::size_t(y * w + x);
                    bool touches = false;
                    const bool likeIsland = neighbourColour(*after, x, y, touches);
                    if (covered[i]) {
                        ++coveredTexels;
                        changed += colour(*after, i) != colour(*before, i);
                    } else if (padding[0] == '0') {
                        changed += after->pixels[i] != 251;
                    } else if (touches) {
                        bareEdges += !likeIsland;
                    }
                }
            }
            EXPECT_GT(coveredTexels, covered.size() / 2);
            EXPECT_EQ(changed, 0u);
            EXPECT_EQ(bareEdges, 0u);
        }
    }
}

TEST_F(MappingCli, FailuresExitNonZeroAndWriteNothing) {
    const std::string kmp = dir.file("male.kmp"), out = dir.file("never.md2");
    ASSERT_EQ(runCli({"kmap", "export", model, kmp, "--base", base}).code, 0);
    Bytes cut = readFile(kmp).bytes;
    cut.resize(cut.size() - 1);
    ASSERT_EQ(writeFileAtomic(dir.file("cut.kmp"), cut), 0);
    struct Case {
        Args args;
        const char* says;
    };
    const Case cases[] = {
        {{"kmap", "import", model, dir.file("cut.kmp"), "-o", out}, "This isn't a valid KMAP file!"},
        {{"kmap", "import", model, kmp, "-o", out, "--selected", "608"}, "triangle 608 does not exist"},
        {{"kmap", "import", model, kmp}, "no output given"},
        {{"kmap", "export", model, dir.file("no/such/folder.kmp")}, "Error Saving: "},
        {{"kmap", "rename", model}, "expected export or import"},
        {{"map-from-view", model, "-o", out, "--select", "0"}, "no rectangle given"},
        {{"map-from-view", model, "-o", out, "--select", "0", "--rect", "1,2,3", "--size", "0x9"}, "bad value"},
        {{"map-from-view", model, "-o", out, "--select", "0", "--rect", "1,2,3,4", "--frame", "198"}, "frame 198"},
        {{"mirror-mapping", model, "-o", out, "--axis", "y", "--select", "0", "--line", "z=3"}, "bad value"},
        {{"mirror-mapping", model, "-o", out, "--axis", "y", "--select", "0", "--line", "x=300"},
         "the line x=300 lies off the 256 x 256 skin"},
        {{"symmetry", model, "--frame", "198"}, "the model has no frame 198"},
        {{"retromap", model, kmp, kmp, "-o", dir.file("new.pcx")}, "cannot read the old skin"},
        {{"retromap", model, joinPath(base, "ne/usmc.pcx"), dir.file("cut.kmp"), "-o", dir.file("new.pcx")},
         "This isn't a valid KMAP file!"},
        {{"retromap", model, joinPath(base, "ne/usmc.pcx"), kmp, "-o", dir.file("new.gif")}, "must end in"},
    };
    for (const Case& c : cases) {
        Args args = c.args;
        args.insert(args.end(), {"--base", base});
        const CliRun r = runCli(args);
        EXPECT_NE(r.code, 0) << c.says;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_FALSE(isRegularFile(out));
        EXPECT_FALSE(isRegularFile(dir.file("new.pcx")));
    }
}

// One half of the exploding barrel, in its most symmetric frame, gives the
// other half, scrambled first, its mapping mirrored across --line (the line
// of the untouched mapping). A partner Triangle is one whose corners all lie
// (within 1 % of the frame's size) at the mirrors of a selected Triangle's
// corners; each of its corners must take the MappingVert of the selected
// corner there, flipped across the line. Before the lookup kept to one
// chart, a third of them did.
TEST_F(MappingCli, MirrorMappingGivesPartnerTrianglesTheirMirroredCorners) {
    const std::string barrel = test::realTestData("q2-didux/baseq2/models/objects/r_explode/tris.md2");
    test::BatchMeshSession s(base);
    ASSERT_TRUE(LoadMesh(s.c, barrel)) << s.log.str();
    const SymmetryMeasure best = bestSymmetry(s.mesh);
    ASSERT_EQ(best.plane.axis, 0);
    const SkinMirrorLine line = skinMirrorLine(s.mesh, Mirror(s.mesh, best));
    ASSERT_TRUE(line.vertical);
    const std::vector<Vec3f>& at = s.mesh.frames[std::size_t(best.frame)].positions;
    const std::vector<Triangle> original(s.mesh.triangles.begin(), s.mesh.triangles.begin() + s.mesh.triangleCount);
    std::string list;
    std::vector<bool> selected;
    for (const Triangle& tri : original) {
        float x = 0.0f;
        for (std::int16_t v : tri.vertex) x += at[std::size_t(v)].x / 3.0f;
        selected.push_back(x < best.plane.centre);
        if (selected.back()) list += (list.empty() ? "" : ",") + std::to_string(&tri - original.data());
    }
    // What each partner Triangle's corners must become.
    std::map<std::size_t, std::array<MappingVert, 3>> want;
    const float near = 0.01f * boundsOf(at, s.mesh.vertexCount).diagonal();
    for (std::size_t t = 0; t < original.size(); ++t) {
        if (selected[t]) continue;
        for (std::size_t u = 0; u < original.size() && !want.count(t); ++u) {
            if (!selected[u]) continue;
            std::array<MappingVert, 3> corners{};
            int matched = 0;
            for (int k = 0; k < 3; ++k)
                for (int j = 0; j < 3; ++j) {
                    const Vec3f d = best.plane.apply(at[std::size_t(original[u].vertex[std::size_t(j)])]) -
                                    at[std::size_t(original[t].vertex[std::size_t(k)])];
                    if (dot(d, d) > near * near) continue;
                    corners[std::size_t(k)] = original[u].corner[std::size_t(j)];
                    corners[std::size_t(k)].s = std::int16_t(std::lround(line.flip(corners[std::size_t(k)].s)));
                    ++matched;
                    break;
                }
            if (matched == 3) want[t] = corners;
        }
    }
    ASSERT_GT(want.size(), 30u);

    // The other half scrambled, then mirrored.
    for (std::size_t t = 0; t < original.size(); ++t)
        if (!selected[t]) s.mesh.triangles[t].corner = {MappingVert{3, 7}, MappingVert{90, 2}, MappingVert{11, 60}};
    RebuildMappingVerts(s.mesh);
    const std::string scrambled = dir.file("scrambled.md2"), out = dir.file("mirrored.md2");
    ASSERT_TRUE(SaveMesh(s.c, scrambled)) << s.log.str();
    const CliRun r = runCli({"mirror-mapping", scrambled, "-o", out, "--axis", "x", "--select", list, "--line",
                             "x=" + std::to_string(line.position), "--base", base});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::vector<MappingVert> before = cornersOf(barrel), after = cornersOf(out);
    for (std::size_t t = 0; t < selected.size(); ++t) {
        if (!selected[t]) continue;
        EXPECT_TRUE(std::equal(before.begin() + 3 * t, before.begin() + 3 * t + 3, after.begin() + 3 * t)) << t;
    }
    for (const auto& [t, corners] : want)
        EXPECT_TRUE(std::equal(corners.begin(), corners.end(), after.begin() + 3 * t)) << t;
}

// The symmetry as text and as JSON: the frame, axis and score, then one
// mirror per vertex; a vertex on the plane is its own mirror.
TEST_F(MappingCli, SymmetryPrintsTheFrameAxisScoreAndEachVertexsMirror) {
    const CliRun text = runCli({"symmetry", model});
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_EQ(text.out.rfind("frame 180 death103, axis y = ", 0), 0u) << text.out;
    EXPECT_NE(text.out.find(", score 0."), std::string::npos);
    const CliRun json = runCli({"symmetry", model, "--json", "--frame", "0", "--axis", "y"});
    ASSERT_EQ(json.code, 0) << json.err;
    EXPECT_EQ(json.out.rfind("{\"frame\": 0, \"frameName\": \"stand01\", \"axis\": \"y\"", 0), 0u) << json.out;
    std::size_t lines = 0, selfMirrors = 0, entries = 0;
    std::istringstream in(text.out);
    for (std::string line; std::getline(in, line);) {
        int v = -1, w = -1;
        if (std::sscanf(line.c_str(), "vertex %d: vertex %d at", &v, &w) >= 1) ++lines;
        selfMirrors += v >= 0 && v == w;
    }
    for (std::size_t at = json.out.find("\n  "); at != std::string::npos; at = json.out.find("\n  ", at + 1)) ++entries;
    EXPECT_EQ(lines, 323u);
    EXPECT_EQ(entries, 323u);
    EXPECT_GT(selfMirrors, 0u);
}

}  // namespace
}  // namespace tarn::cli
