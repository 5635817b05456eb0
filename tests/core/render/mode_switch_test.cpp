#include <gtest/gtest.h>

#include "platform/refresh.h"
#include "render/render_modes.h"
#include "scripted_ui.h"

namespace tarn {
namespace {

TEST(RenderModes, NamesInListOrderAndTexturedAtStart) {
    RenderModes modes;
    EXPECT_EQ(modes.names(),
              (std::vector<std::string>{"Wireframe", "Wireframe, Solid", "Flat Shaded",
                                        "Gouraud Shaded", "Phong Shaded", "Textured",
                                        "Environment Mapped", "Textured, G-Shade",
                                        "Textured, P-Shade"}));
    EXPECT_EQ(modes.currentIndex(), kModeTextured);
    EXPECT_EQ(modes.indexOf("Gouraud Shaded"), 3);
    EXPECT_EQ(modes.indexOf("Sketch"), -1);
}

TEST(RenderModes, AvailabilityRulesInTheirOrder) {
    ModeResources none;
    EXPECT_EQ(modeRefusal(kModePhong, none), kMsgNoPhongMaps);
    EXPECT_EQ(modeRefusal(kModeTextured, none), kMsgTexturedNoSkins);
    EXPECT_EQ(modeRefusal(kModeEnvironment, none), kMsgNoEnvMaps);
    EXPECT_EQ(modeRefusal(kModeTexturedGShade, none), kMsgTexGNoSkins);
    EXPECT_EQ(modeRefusal(kModeTexturedPShade, none), kMsgTexPNoSkins);
    for (const int always : {0, 1, 2, 3}) EXPECT_FALSE(modeRefusal(always, none));

    ModeResources skin;
    skin.skinLoaded = true;
    int colormapAsked = 0;
    skin.colormapReadable = [&] { return ++colormapAsked, false; };
    EXPECT_EQ(modeRefusal(kModeTexturedPShade, skin), kMsgTexPNoPhongMaps);
    EXPECT_EQ(colormapAsked, 0) << "the Colormap is tried only when all else holds";
    EXPECT_EQ(modeRefusal(kModeTexturedGShade, skin), kMsgTexGNoColormap);
    skin.phongMapLoaded = true;
    EXPECT_EQ(modeRefusal(kModeTexturedPShade, skin), kMsgTexPNoColormap);
    skin.colormapReadable = [] { return true; };
    EXPECT_FALSE(modeRefusal(kModeTexturedPShade, skin));
    EXPECT_FALSE(modeRefusal(kModeTextured, skin));
}

TEST(RenderModes, RefusedSwitchChangesNothingAcceptedSwitchRebuildsAndRedraws) {
    RenderModes modes;
    RecordingRefresh refresh;
    test::ScriptedUi ui;
    ModeResources resources;
    std::vector<std::pair<int, int>> switches;
    resources.switched = [&](int from, int to) { switches.emplace_back(from, to); };

    EXPECT_FALSE(SelectRenderMode(modes, kModePhong, resources, ui, refresh));
    EXPECT_EQ(ui.messages(), std::vector<std::string>{kMsgNoPhongMaps});
    EXPECT_EQ(modes.currentIndex(), kModeTextured);
    EXPECT_TRUE(refresh.calls.empty());
    EXPECT_TRUE(switches.empty());

    EXPECT_FALSE(SelectRenderMode(modes, kModeTextured, resources, ui, refresh));  // same mode
    EXPECT_FALSE(SelectRenderMode(modes, 42, resources, ui, refresh));
    EXPECT_EQ(ui.messages().size(), 1u);

    EXPECT_TRUE(SelectRenderMode(modes, kModeFlat, resources, ui, refresh));
    EXPECT_EQ(modes.currentIndex(), kModeFlat);
    EXPECT_EQ(refresh.calls, (std::vector<std::string>{"lightTable", "phongShadeTable",
                                                       "paintRemap", "refresh 0 47"}));
    EXPECT_EQ(switches, (std::vector<std::pair<int, int>>{{kModeTextured, kModeFlat}}));
    EXPECT_STREQ(modes.current().GetName(), "Flat Shaded");
}

}  // namespace
}  // namespace tarn
