// tarn-cli icon on the male player: the 32 x 32 picture of the player setup,
// in the skin's palette, the model on the transparent index.
#include <gtest/gtest.h>

#include "cli_run.h"
#include "image/image_codec.h"
#include <iostream>

#include "platform/batch_ui.h"
#include "render/render_session.h"
#include "platform/fs.h"
#include "render/player_icon.h"
#include "test_files.h"

namespace tarn::cli {
namespace {

TEST(IconCli, TheMalePlayersIconIsThirtyTwoSquareInTheSkinsPalette) {
    const std::string model = test::realTestData("q2-didux/baseq2/players/male/tris.md2");
    const std::string base = test::realTestData("q2-didux/baseq2");
    if (model.empty()) GTEST_SKIP() << "no real test data";
    test::TempDir dir;
    const std::string out = dir.file("grunt_i.pcx");
    const CliRun r = runCli({"icon", model, "-o", out, "--base", base});
    ASSERT_EQ(r.code, 0) << r.err;
    const DecodedImage icon = decodeImage(readFile(out).bytes, nullptr);
    ASSERT_TRUE(icon.ok()) << icon.error;
    EXPECT_EQ(icon.image.width, kIconSide);
    EXPECT_EQ(icon.image.height, kIconSide);
    BatchUi ui(std::cerr, "");
    RenderSession session;
    ASSERT_TRUE(loadSessionModel(session, model, base, ui));
    ASSERT_GT(session.skins.count(), 0);
    EXPECT_EQ(icon.image.palette, session.skins.at(0)->palette);
    int model_ = 0, corners = 0;
    for (std::size_t i = 0; i < icon.image.pixels.size(); ++i) model_ += icon.image.pixels[i] != kIconTransparent;
    for (std::size_t i : {std::size_t(0), std::size_t(31), std::size_t(31 * 32), std::size_t(32 * 32 - 1)})
        corners += icon.image.pixels[i] == kIconTransparent;
    EXPECT_GT(model_, 32 * 32 / 6) << "the model fills its square";
    EXPECT_EQ(corners, 4) << "around it the game shows through";

    EXPECT_NE(runCli({"icon", model, "-o", dir.file("x.png"), "--base", base}).code, 0);
    EXPECT_NE(runCli({"icon", model, "-o", out, "--skin", "9", "--base", base}).code, 0);
}

}  // namespace
}  // namespace tarn::cli
