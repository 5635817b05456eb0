#include <gtest/gtest.h>

#include <algorithm>

#include "app/application.h"
#include "app/command_ids.h"
#include "platform/refresh.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

using test::ScriptedUi;

struct RealStart : ::testing::Test {
    ScriptedUi ui;
    MemorySettings settings;
    RecordingRefresh refresh;
    Application app{ui, settings, refresh};
    std::string base = test::realTestData("q2-didux/baseq2");

    void SetUp() override {
        if (base.empty()) GTEST_SKIP() << "real test data not present";
    }
};

TEST_F(RealStart, CommandLineModelWithAnExtraSkinOpensBothAndListsThem) {
    std::string model = base + "/players/male/tris.md2";
    std::string skin = base + "/players/male/elkan.pcx";
    StartupRequest request{false, "tarn -md2 " + model + " " + skin, "", base};

    ASSERT_TRUE(app.start(request));
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(app.currentFile, model);
    EXPECT_EQ(settings.getString(kProject, "CurFile", ""), model);
    ASSERT_EQ(app.skins.count(), 2);
    EXPECT_EQ(app.skins.currentIndex(), 1);
    EXPECT_TRUE(app.skins.current()->external);

    ListContent skins = app.listContent(kListSkins);
    EXPECT_EQ(skins.entries, (std::vector<std::string>{"ne/usmc.pcx", skin}));
    EXPECT_EQ(skins.images, (std::vector<int>{0, 1}));
    ListContent frames = app.listContent(kListFrames);
    EXPECT_EQ(frames.entries.size(), 198u);
    EXPECT_EQ(frames.entries.front(), "stand01");
    EXPECT_EQ(frames.current, 0);

    // Frames and Skins choices act on the model and ask for their redraws.
    refresh.calls.clear();
    app.listChosen(kListFrames, 3);
    EXPECT_EQ(app.mesh.currentFrame, 3);
    app.listChosen(kListSkins, 0);
    EXPECT_EQ(app.skins.currentIndex(), 0);
    EXPECT_EQ(refresh.calls.front(), "refresh 0 34");

    // A painted skin counts as work that a quit must not throw away silently.
    app.skins.at(1)->pixels[0] ^= 1;
    EXPECT_EQ(app.modifiedSkins(), std::vector<std::string>{skin});
}

TEST_F(RealStart, ACommandLineSkinOfAnotherSizeIsRefused) {
    std::string model = base + "/players/male/tris.md2";
    StartupRequest request{false, "tarn -md2 " + model + " " + base + "/players/male/weapon.pcx", "", base};
    ASSERT_TRUE(app.start(request));
    EXPECT_EQ(ui.messages(), std::vector<std::string>{kSkinWrongDimensions});
    EXPECT_EQ(app.skins.count(), 1);
}

TEST(ApplicationCommands, ClosingAnUnstoredSkinAsksFirst) {
    ScriptedUi ui;
    MemorySettings settings;
    RecordingRefresh refresh;
    Application app{ui, settings, refresh};
    auto skin = makeBlankSkin(4, 4);
    skin->name = "a\\b.pcx";
    skin->pixels[5] = 1;
    app.skins.append(std::move(skin));

    ui.answer(Answer::No);
    app.commands().run(cmd::kSkinClose);
    EXPECT_EQ(app.skins.count(), 1);
    EXPECT_NE(ui.shown.at(0).find("a/b.pcx"), std::string::npos);

    ui.answer(Answer::Yes);
    app.commands().run(cmd::kSkinClose);
    EXPECT_TRUE(app.skins.empty());
}

TEST(ApplicationLists, ModeChoiceAlwaysEndsWithTheDisplaysRedrawn) {
    ScriptedUi ui;
    MemorySettings settings;
    RecordingRefresh refresh;
    Application app{ui, settings, refresh};
    app.listChosen(kListModes, kModeTextured);  // already current: nothing but the redraw
    EXPECT_EQ(refresh.calls, std::vector<std::string>{"refresh 0 35"});
    EXPECT_TRUE(ui.shown.empty());

    refresh.calls.clear();
    app.listChosen(kListModes, kModeEnvironment);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{kMsgNoEnvMaps});
    EXPECT_EQ(app.modes.currentIndex(), kModeTextured);
    EXPECT_EQ(refresh.calls, std::vector<std::string>{"refresh 0 35"});

    refresh.calls.clear();
    app.listChosen(kListModes, kModeGouraud);
    EXPECT_EQ(app.modes.currentIndex(), kModeGouraud);
    EXPECT_EQ(refresh.calls.back(), "refresh 0 35");
    EXPECT_NE(std::find(refresh.calls.begin(), refresh.calls.end(), "paintRemap"), refresh.calls.end());

    // Choices outside a list change nothing.
    refresh.calls.clear();
    app.listChosen(kListCompanions, 3);
    app.listChosen(kListFrames, 0);
    EXPECT_TRUE(refresh.calls.empty());
}

TEST(ApplicationCommands, StateFollowsToggles) {
    ScriptedUi ui;
    MemorySettings settings;
    RecordingRefresh refresh;
    Application app{ui, settings, refresh};
    EXPECT_FALSE(app.stateOf(cmd::kCameraOverride).checked);
    app.commands().run(cmd::kCameraOverride);
    EXPECT_TRUE(app.stateOf(cmd::kCameraOverride).checked);
    EXPECT_EQ(refresh.calls, std::vector<std::string>{"refreshAll"});
    EXPECT_TRUE(app.stateOf(cmd::kPencilBrush).checked);
    // Choosing the mode already current changes nothing.
    refresh.calls.clear();
    app.commands().run(cmd::kPaintMode);
    EXPECT_TRUE(refresh.calls.empty());
}

}  // namespace
}  // namespace tarn

namespace tarn {
namespace {

TEST(OutOfMemory, ACommandThatRunsOutEndsWithAMessageInsteadOfEndingTarn) {
    test::ScriptedUi ui;
    MemorySettings settings;
    RecordingRefresh refresh;
    Application app{ui, settings, refresh};
    app.commands().bind(cmd::kOpen, [] { throw std::bad_alloc(); });
    EXPECT_TRUE(app.commands().run(cmd::kOpen));
    EXPECT_EQ(ui.messages(), std::vector<std::string>{kMsgOutOfMemory});
}

}  // namespace
}  // namespace tarn
