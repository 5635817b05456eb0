// What the status bar names under the pointer agrees with what the modes drew,
// and framing makes a tiny and a huge model fill the pane alike.
#include <gtest/gtest.h>

#include <cmath>

#include "render/model_probe.h"
#include "render/view_moves.h"
#include "render_world.h"

namespace tarn {
namespace {

constexpr int kW = 96;
constexpr int kH = 72;

// The probe against the pick plane, away from edges (where the fill rules
// decide a pixel the probe may give to the neighbour).
TEST(ModelProbe, NamesTheTriangleAndTexelTheModesDrew) {
    // Framed large enough that a pane pixel covers less than a texel.
    test::RenderWorld world(2 * kW, 2 * kH);
    world.setFacingSquare(12.0f);
    frameModel(world.session.mesh, world.session.target);
    const Mesh& mesh = world.session.mesh;
    const Vec3f* positions = mesh.frames[0].positions.data();
    const int count = mesh.vertexCount;

    world.draw(kModeFlat);
    const std::vector<std::int32_t> triangles = world.picks();
    world.draw(kModeTextured);
    const std::vector<std::int32_t> texels = world.picks();
    const int pitch = world.session.target.width;

    int compared = 0, texelAgree = 0;
    for (int row = 1; row + 1 < 2 * kH; ++row) {
        for (int x = 1; x + 1 < 2 * kW; ++x) {
            const auto at = [&](int dx, int dr) { return triangles[std::size_t((row + dr) * pitch + x + dx)]; };
            const ModelHit hit = probeModel(mesh, positions, count, world.session.target, x, row);
            if (at(0, 0) < 0) {
                if (at(-1, 0) < 0 && at(1, 0) < 0 && at(0, -1) < 0 && at(0, 1) < 0) {
                    EXPECT_EQ(hit.triangle, -1);
                }
                continue;
            }
            if (at(-1, 0) != at(0, 0) || at(1, 0) != at(0, 0) || at(0, -1) != at(0, 0) || at(0, 1) != at(0, 0))
                continue;
            ++compared;
            EXPECT_EQ(hit.triangle, at(0, 0)) << x << "," << row;
            const std::int32_t texel = texels[std::size_t(row * pitch + x)];
            texelAgree += std::abs(hit.texelX - texel % test::RenderWorld::kSkinWidth) <= 1 &&
                          std::abs(hit.texelY - texel / test::RenderWorld::kSkinWidth) <= 1;
        }
    }
    EXPECT_GT(compared, 200);
    EXPECT_EQ(texelAgree, compared);
}

// Ctrl+wheel nears the model point under the pointer, on the model or beside
// it, and that point stays under the pointer; the views from each side look
// along the model's axes.
TEST(ViewMoves, DollyKeepsThePointUnderThePointerAndSidesLookAlongTheAxes) {
    test::RenderWorld world(kW, kH);
    world.setFacingSquare(12.0f);
    RenderTarget& target = world.session.target;
    frameModel(world.session.mesh, target);
    const Mesh& mesh = world.session.mesh;
    const Vec3f* positions = mesh.frames[0].positions.data();
    for (const auto& [x, row] : {std::pair{kW / 2 + 5, kH / 2 - 3}, std::pair{3, 4}}) {
        const RenderTarget before = target;
        const Vec3f point = pointUnder(mesh, positions, mesh.vertexCount, target, x, row);
        CameraPose pose{target.eye, target.lookAt, target.fieldOfView};
        dollyTowards(pose, point, 2 * 120);
        target.eye = pose.eye;
        target.lookAt = pose.lookAt;
        const Vec3f after = pointUnder(mesh, positions, mesh.vertexCount, target, x, row);
        const Vec3f moved = after - point;
        EXPECT_LT(std::sqrt(dot(moved, moved)), 0.25f) << x << "," << row;
        const Vec3f nearer = target.eye - point, farther = before.eye - point;
        EXPECT_NEAR(std::sqrt(dot(nearer, nearer)), 0.64f * std::sqrt(dot(farther, farther)), 0.01f);
        target = before;
    }
    const std::pair<ViewSide, Vec3f> sides[] = {{ViewSide::Front, {1, 0, 0}}, {ViewSide::Back, {-1, 0, 0}},
                                                {ViewSide::Left, {0, 1, 0}},  {ViewSide::Right, {0, -1, 0}},
                                                {ViewSide::Top, {0, 0, 1}},   {ViewSide::Bottom, {0, 0, -1}}};
    for (const auto& [side, towards] : sides) {
        viewFromSide(mesh, target, side);
        Vec3f d = target.eye - target.lookAt;
        d = d * (1.0f / std::sqrt(dot(d, d)));
        EXPECT_GT(dot(d, towards), 0.999f) << int(side);
    }
}

TEST(FrameModel, SmallAndLargeModelsFillThePaneAlike) {
    std::vector<int> covered;
    for (float size : {0.75f, 12.0f, 900.0f}) {
        test::RenderWorld world(kW, kH);
        world.setFacingSquare(size);
        frameModel(world.session.mesh, world.session.target);
        world.draw(kModeFlat);
        covered.push_back(kW * kH - world.count(-1));
    }
    // The square's diagonal spans the framed circle: about half the pane's
    // shorter side squared is covered, whatever the model's size.
    for (int c : covered) {
        EXPECT_GT(c, kH * kH / 3) << c;
        EXPECT_NEAR(c, covered[1], covered[1] / 20);
    }
}

}  // namespace
}  // namespace tarn
