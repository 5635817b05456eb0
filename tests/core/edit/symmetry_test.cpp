// The symmetry measure, the mirror of a surface point and the mirrored
// mapping on generated height-field meshes: a bar across y = 0 whose height
// is symmetric in y, in the variants a modeller's file brings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "edit/mirror_mapping.h"
#include "model/symmetry.h"

namespace tarn {
namespace {

constexpr int kNx = 5, kNy = 9;  // vertices along x in [0, 1] and y in [-2, 2]

using Height = std::function<float(float x, float y)>;

float symmetricHeight(float x, float y) { return x * x + std::cos(y); }

std::vector<Vec3f> surface(const Height& h) {
    std::vector<Vec3f> p;
    for (int i = 0; i < kNx; ++i)
        for (int j = 0; j < kNy; ++j) {
            const float x = float(i) / (kNx - 1), y = -2.0f + 4.0f * float(j) / (kNy - 1);
            p.push_back({x, y, h(x, y)});
        }
    return p;
}

// Each quad in two Triangles; `flipDiagonal` picks the diagonal per quad.
// Every vertex has its own MappingVert at s = 8 j + 4, t = 8 i: the skin is
// mirrored across s = 36 exactly as the model is across y = 0.
Mesh grid(const std::vector<std::vector<Vec3f>>& frames, const std::function<bool(int, int)>& flipDiagonal) {
    Mesh mesh;
    mesh.vertexCount = kNx * kNy;
    mesh.skinWidth = 72;
    mesh.skinHeight = 40;
    for (int v = 0; v < mesh.vertexCount; ++v)
        mesh.mappingVerts[std::size_t(v)] = {std::int16_t(8 * (v % kNy) + 4), std::int16_t(8 * (v / kNy))};
    mesh.mappingVertCount = mesh.vertexCount;
    int t = 0;
    auto add = [&](int a, int b, int c) {
        Triangle& tri = mesh.triangles[std::size_t(t++)];
        tri.vertex = {std::int16_t(a), std::int16_t(b), std::int16_t(c)};
        tri.mapping = tri.vertex;
    };
    for (int i = 0; i + 1 < kNx; ++i)
        for (int j = 0; j + 1 < kNy; ++j) {
            const int a = i * kNy + j, b = a + 1, c = a + kNy, d = c + 1;
            if (flipDiagonal(i, j)) {
                add(a, b, d);
                add(a, d, c);
            } else {
                add(a, b, c);
                add(b, d, c);
            }
        }
    mesh.triangleCount = std::int16_t(t);
    for (const auto& positions : frames) mesh.frames.push_back({"f", positions});
    MergeMappingVerts(mesh);
    return mesh;
}

bool sameDiagonals(int, int) { return false; }
// The mirror of quad j is quad kNy - 2 - j: this splits it the other way.
bool mirroredDiagonals(int, int j) { return j >= (kNy - 1) / 2; }

struct Case {
    const char* name;
    std::vector<Height> frames;
    std::function<bool(int, int)> diagonals;
    int bestFrame;
    double maxMean;          // of the best frame and axis
    double minLanded;        // share of vertices whose mirror lands
    bool pointMirrors;       // whether a point near one end finds its mirror
};

TEST(Symmetry, MeasureAndMirrorOfAPointOnGeneratedMeshes) {
    const Height raisedArm = [](float x, float y) { return symmetricHeight(x, y) + (y > 0.0f ? 0.9f * y : 0.0f); };
    const Height lopsided = [](float x, float y) { return x * x + 0.6f * y * y * y + y; };
    const Case cases[] = {
        {"symmetric", {symmetricHeight}, sameDiagonals, 0, 1e-4, 1.0, true},
        {"split along different diagonals", {symmetricHeight}, mirroredDiagonals, 0, 1e-4, 1.0, true},
        {"posed, symmetric in its second frame", {raisedArm, symmetricHeight}, sameDiagonals, 1, 1e-4, 1.0, true},
        {"asymmetric", {lopsided}, sameDiagonals, 0, 1.0, 0.0, false},
    };
    const double symmetricMean = 1e-4;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::vector<Vec3f>> frames;
        for (const Height& h : c.frames) frames.push_back(surface(h));
        const Mesh mesh = grid(frames, c.diagonals);
        const SymmetryMeasure best = bestSymmetry(mesh);
        EXPECT_EQ(best.frame, c.bestFrame);
        EXPECT_LE(best.meanDistance, c.maxMean);
        EXPECT_GE(best.landedShare, c.minLanded);
        if (!c.pointMirrors) {
            // The lopsided bar is far from symmetric about any axis.
            EXPECT_GT(best.meanDistance, 100 * symmetricMean);
            continue;
        }
        EXPECT_EQ(best.plane.axis, 1);
        EXPECT_NEAR(best.plane.centre, 0.0f, 1e-6f);

        // A point near the y = -2 end of every frame, at the same Triangle and
        // weights, mirrors to the y = +2 end of the symmetry frame, whatever the
        // pose of the frame it was picked in and however the quads split.
        const Mirror mirror(mesh, best);
        const SurfacePoint p{1, {0.2f, 0.3f, 0.5f}};
        const auto m = mirror.of(p);
        ASSERT_TRUE(m.has_value());
        const auto& symmetryFrame = mesh.frames[std::size_t(best.frame)].positions;
        Vec3f at, image;
        ASSERT_TRUE(surfacePosition(mesh, symmetryFrame, p, at));
        ASSERT_TRUE(surfacePosition(mesh, symmetryFrame, *m, image));
        EXPECT_NEAR(image.x, at.x, 1e-4f);
        EXPECT_NEAR(image.y, -at.y, 1e-4f);
        EXPECT_NEAR(image.z, at.z, 0.02f);  // the other diagonal bends the quad a little
        EXPECT_GT(image.y, 1.0f);
    }
}

TEST(Symmetry, NoMirrorBeyondTheTolerance) {
    // Only the y < 0 half: nothing lies where its points mirror to.
    Mesh mesh = grid({surface(symmetricHeight)}, sameDiagonals);
    mesh.triangleCount = 0;
    for (int i = 0; i + 1 < kNx; ++i)  // keep the quads with j < 4 of each row
        for (int j = 0; j < 4; ++j) {
            mesh.triangles[std::size_t(mesh.triangleCount++)] = mesh.triangles[std::size_t(2 * (i * (kNy - 1) + j))];
            mesh.triangles[std::size_t(mesh.triangleCount++)] =
                mesh.triangles[std::size_t(2 * (i * (kNy - 1) + j) + 1)];
        }
    const Mirror mirror(mesh, 0, 1);
    EXPECT_FALSE(mirror.of({0, {0.2f, 0.3f, 0.5f}}).has_value());
}

// The mapping of one half given to the other, in the variants that went
// wrong: one chart; two charts meeting along row 2, whose vertices (on the
// plane too) have a MappingVert in each, so a corner must be looked up in
// its own chart; a line away from the skin's middle, whose mirrored
// coordinates fall off the skin and are kept there.
TEST(MirrorMapping, OneHalfGivesTheOtherItsMirroredCoordinates) {
    struct MappingCase {
        const char* name;
        bool twoCharts;
        double line;
        int shift;  // of every s of the other half
        bool offSkin;
    };
    const MappingCase cases[] = {
        {"one chart", false, 36.0, 0, false},
        {"two charts meeting on the plane", true, 36.0, 0, false},
        {"a line whose mirror falls off the skin", false, 60.0, 48, true},
    };
    for (const MappingCase& c : cases) {
        SCOPED_TRACE(c.name);
        Mesh mesh = grid({surface(symmetricHeight)}, mirroredDiagonals);
        mesh.skinHeight = 80;
        // The second chart lies 40 texels lower: quads of rows 2 and 3.
        if (c.twoCharts)
            for (int t = 0; t < mesh.triangleCount; ++t)
                for (int k = 0; k < 3; ++k) {
                    const int v = mesh.triangles[std::size_t(t)].vertex[std::size_t(k)];
                    mesh.triangles[std::size_t(t)].corner[std::size_t(k)] = {
                        std::int16_t(8 * (v % kNy) + 4), std::int16_t(8 * (v / kNy) + ((t / 2) / (kNy - 1) >= 2 ? 40 : 0))};
                }
        RebuildMappingVerts(mesh);
        const Mirror mirror(mesh);
        const SkinMirrorLine line = skinMirrorLine(mesh, mirror);
        EXPECT_TRUE(line.vertical);
        EXPECT_DOUBLE_EQ(line.position, 36.0);
        // A vertex on the plane is its own mirror, exactly.
        for (int i = 0; i < kNx; ++i) {
            const auto& m = mirror.ofVertex(i * kNy + kNy / 2);
            ASSERT_TRUE(m.has_value());
            const int k = int(std::find(m->weight.begin(), m->weight.end(), 1.0f) - m->weight.begin());
            ASSERT_LT(k, 3);
            EXPECT_EQ(mesh.triangles[std::size_t(m->triangle)].vertex[std::size_t(k)], i * kNy + kNy / 2);
        }

        // The y < 0 half selected; the other half's mapping thrown away.
        std::vector<std::array<MappingVert, 3>> want;
        for (int t = 0; t < mesh.triangleCount; ++t) {
            Triangle& tri = mesh.triangles[std::size_t(t)];
            want.push_back(tri.corner);
            const bool lower = (t / 2) % (kNy - 1) < (kNy - 1) / 2;
            if (lower) tri.flags |= kTriSelected;
            else tri.corner = {};
            if (!lower)
                for (MappingVert& m : want.back()) m.s = std::int16_t(m.s + c.shift);
        }
        RebuildMappingVerts(mesh);
        const MirrorMappingResult r = mirrorMapping(mesh, mirror, {true, c.line}, false);
        EXPECT_EQ(r.mapped, mesh.triangleCount / 2);
        EXPECT_TRUE(r.partlyOutside.empty());
        EXPECT_EQ(r.offSkin, c.offSkin ? r.mapped : 0);
        for (int t = 0; t < mesh.triangleCount; ++t) EXPECT_EQ(mesh.triangles[std::size_t(t)].corner, want[std::size_t(t)]) << t;
    }
}

TEST(MirrorMapping, SharedTexelsPutTheOtherHalfOnTheSelectedHalfsTexels) {
    Mesh mesh = grid({surface(symmetricHeight)}, mirroredDiagonals);
    const Mirror mirror(mesh);
    for (int t = 0; t < mesh.triangleCount; ++t)
        if ((t / 2) % (kNy - 1) < (kNy - 1) / 2) mesh.triangles[std::size_t(t)].flags |= kTriSelected;
    const MirrorMappingResult shared = mirrorMapping(mesh, mirror, skinMirrorLine(mesh, mirror), true);
    EXPECT_EQ(shared.mapped, mesh.triangleCount / 2);
    for (int t = 0; t < mesh.triangleCount; ++t)
        for (const MappingVert& m : mesh.triangles[std::size_t(t)].corner) EXPECT_LE(m.s, 36) << t;
}

}  // namespace
}  // namespace tarn
