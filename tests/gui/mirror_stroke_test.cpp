// Mirror mode on the male player in his first standing frame, through the
// real window: a dab on the upper arm at his side paints the other arm too,
// never the chest, though in the frame shown the other arm is raised to hold
// the weapon and the chest lies where the dabbed arm's mirror image falls.
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "app/command_ids.h"
#include "iso_view_widget.h"
#include "platform/refresh.h"
#include "real_session.h"

namespace tarn {
namespace {

// The usmc skin keeps the arms side by side along its bottom: the arm at
// the player's side at s 130..190, the other at s 191..255, both from t 171.
enum class Part { Elsewhere, SideArm, OtherArm };
Part partOf(std::int32_t texel, int width) {
    const int s = texel % width, t = texel / width;
    if (t < 171 || s < 130) return Part::Elsewhere;
    return s <= 190 ? Part::SideArm : Part::OtherArm;
}

TEST(MirrorStroke, ADabOnOneArmPaintsTheOtherArmInAStandingFrame) {
    test::TempDir tmp;
    const std::string model = test::copyRealPlayer(tmp);
    if (model.empty()) GTEST_SKIP() << "real test data not present";
    test::Session s;
    ASSERT_TRUE(s.start(tmp.file("baseq2"), model));
    Application& app = s.app();
    ASSERT_EQ(app.mesh.frames[std::size_t(app.mesh.currentFrame)].name, "stand01");
    ASSERT_TRUE(app.commands().run(cmd::kMirror));
    IsoViewWidget* iso = s.window->shell()->isoView();
    s.window->shell()->refresh(kRedrawFull, kPanesAll);
    Skin& skin = *app.skins.current();

    // The dab goes at the middle of the pixels that show the arm at his side.
    const FrameBuffer& frame = iso->view().frame();
    std::vector<QPoint> arm;
    for (int y = 0; y < iso->height(); ++y)
        for (int x = 0; x < iso->width(); ++x)
            if (auto e = frame.elementAt(x, y); e && frame.pick()[*e] >= 0 && partOf(frame.pick()[*e], skin.width) == Part::SideArm)
                arm.push_back(QPoint(x, y));
    ASSERT_GT(arm.size(), 50u) << "the arm is not on screen";
    QPoint middle;
    for (const QPoint& p : arm) middle += p;
    middle /= int(arm.size());
    const QPoint dab = *std::min_element(arm.begin(), arm.end(), [&](QPoint a, QPoint b) {
        return (a - middle).manhattanLength() < (b - middle).manhattanLength();
    });

    const std::vector<std::uint8_t> before = skin.pixels;
    QTest::mousePress(iso, Qt::LeftButton, Qt::NoModifier, dab);
    QTest::mouseRelease(iso, Qt::LeftButton, Qt::NoModifier, dab);
    std::map<Part, int> painted;
    for (std::size_t i = 0; i < before.size(); ++i)
        if (skin.pixels[i] != before[i]) ++painted[partOf(std::int32_t(i), skin.width)];
    EXPECT_GT(painted[Part::SideArm], 0);
    EXPECT_GT(painted[Part::OtherArm], 0);
    EXPECT_EQ(painted[Part::Elsewhere], 0);
}

}  // namespace
}  // namespace tarn
