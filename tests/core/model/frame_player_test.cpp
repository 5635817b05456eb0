// The animation preview: frames grouped by name, stepped by time.
#include <gtest/gtest.h>

#include "model/frame_player.h"

namespace tarn {
namespace {

const std::vector<std::string> kNames = {"stand01", "stand02", "stand03", "run1", "run2", "run3",
                                         "run4",    "pain101", "pain102", "run5", "42",   "43"};

TEST(FrameGrouping, NeighboursSharingANameWithoutTrailingDigitsFormOneAnimation) {
    struct Case {
        int frame;
        FrameSpan span;
    };
    // run5 stands apart: an animation is a run of neighbours, not every frame of the name.
    const std::vector<Case> cases = {{0, {0, 3}}, {2, {0, 3}}, {3, {3, 4}},   {6, {3, 4}}, {7, {7, 2}},
                                     {9, {9, 1}}, {10, {10, 1}}, {11, {11, 1}}, {12, {0, 0}}, {-1, {0, 0}}};
    for (const Case& c : cases) {
        const FrameSpan s = animationSpan(kNames, c.frame);
        EXPECT_EQ(s.first, c.span.first) << c.frame;
        EXPECT_EQ(s.count, c.span.count) << c.frame;
    }
    EXPECT_EQ(animationName("pain101"), "pain");
    EXPECT_EQ(animationName("crattak9"), "crattak");
}

TEST(FramePlayer, StepsAtItsRateAndLoopsOverTheChosenSpan) {
    FramePlayer player;
    EXPECT_EQ(player.rate(), kGameFrameRate);
    player.loop = FramePlayer::Loop::Animation;
    player.start(kNames, 5);  // run3 of run1..run4
    EXPECT_EQ(player.advance(0.1).frame, 6);
    PlayPosition p = player.advance(0.1);  // wraps to run1
    EXPECT_EQ(p.frame, 3);
    EXPECT_EQ(p.next, 4);
    p = player.advance(0.25);  // 2.5 frames on: halfway from run3 to run4
    EXPECT_EQ(p.frame, 5);
    EXPECT_EQ(p.next, 6);
    EXPECT_NEAR(p.fraction, 0.5f, 1e-4f);
    EXPECT_EQ(player.advance(0.05).next, 3);  // the last frame blends back into the first

    player.loop = FramePlayer::Loop::WholeModel;
    player.setRate(20.0);
    player.start(kNames, 11);
    EXPECT_EQ(player.advance(0.05).frame, 0);
    player.setRate(1e9);
    EXPECT_EQ(player.rate(), kMaxFrameRate);

    std::vector<Vec3f> mid;
    blendPositions({{0, 0, 0}, {2, 4, 6}}, {{10, 0, 0}, {4, 4, 0}}, 0.25f, mid);
    EXPECT_EQ(mid, (std::vector<Vec3f>{{2.5f, 0, 0}, {2.5f, 4, 4.5f}}));
}

}  // namespace
}  // namespace tarn
