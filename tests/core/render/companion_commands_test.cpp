#include <gtest/gtest.h>

#include "image/image_codec.h"
#include "platform/refresh.h"
#include "platform/settings.h"
#include "render/companion_commands.h"
#include "companion_file.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

struct CompanionMenu {
    test::TempDir dir;
    test::ScriptedUi ui;
    MemorySettings settings;
    RecordingRefresh refresh;
    Folders folders{dir.path(), dir.path(), dir.path()};
    Mesh mesh;
    std::vector<std::unique_ptr<Companion>> companions;
    int current = 0;
    CompanionContext context{ui, settings, refresh, folders, mesh, companions, current};

    std::string write(const std::string& name, const Bytes& bytes) {
        EXPECT_EQ(writeFileAtomic(dir.file(name), bytes), 0);
        return dir.file(name);
    }
    std::string writeSkin(const std::string& name, int w, int h) {
        std::vector<std::uint8_t> pixels(std::size_t(w * h), 9);
        return write(name, encodePcx(w, h, pixels.data(), Palette{}));
    }
};

TEST(CompanionMenu, OpenWithoutSkinAsksForOneAndFallsBackToTheCheckerboard) {
    CompanionMenu m;
    EXPECT_FALSE(companionCommandsEnabled(m.context));
    const std::string model = m.write("weapon.md2", test::companionFile(3));
    m.ui.openFile(model).openFile(std::nullopt);
    openCompanion(m.context);
    ASSERT_EQ(m.companions.size(), 1u);
    EXPECT_EQ(m.current, 0);
    EXPECT_EQ(m.companions[0]->skinPixels[0], 64);  // checkerboard after the cancel
    EXPECT_EQ(m.ui.fileRequests[0].filter, kCompanionModelFilter);
    EXPECT_EQ(m.ui.fileRequests[1].filter, kCompanionSkinFilter);
    EXPECT_EQ(m.ui.fileRequests[1].initialName, "*.pcx");
    EXPECT_EQ(companionListEntries(m.companions), std::vector<std::string>{"* " + model});
    EXPECT_EQ(m.refresh.calls.back(), "refreshAll");
    EXPECT_TRUE(companionCommandsEnabled(m.context));

    // A skin of another size is refused with a message: checkerboard again.
    const std::string big = m.writeSkin("big.pcx", 16, 16);
    m.ui.openFile(model).openFile(big);
    openCompanion(m.context);
    EXPECT_EQ(m.ui.messages(), std::vector<std::string>{kMsgCompanionSkinMisfit});
    EXPECT_EQ(m.current, 1);
    EXPECT_EQ(m.companions[1]->skinPixels[0], 64);

    // Load Skin takes one that fits, keeps the old one otherwise.
    const std::string fits = m.writeSkin("fits.pcx", 8, 8);
    m.ui.openFile(fits);
    loadCompanionSkin(m.context);
    EXPECT_EQ(m.companions[1]->skinPixels[0], 9);
    m.ui.openFile(big);
    loadCompanionSkin(m.context);
    EXPECT_EQ(m.companions[1]->skinPixels[0], 9);
    EXPECT_EQ(m.ui.messages().size(), 2u);
}

TEST(CompanionMenu, OpenRefusesUnreadableAndForeignFiles) {
    CompanionMenu m;
    m.ui.openFile(m.dir.file("missing.md2"));
    openCompanion(m.context);
    const std::string text = m.write("notes.md2", Bytes{'h', 'e', 'l', 'l', 'o'});
    m.ui.openFile(text);
    openCompanion(m.context);
    EXPECT_EQ(m.ui.messages(),
              (std::vector<std::string>{kMsgCompanionLoadError, kMsgCompanionNotMd2}));
    EXPECT_TRUE(m.companions.empty());
    m.ui.openFile(std::nullopt);
    openCompanion(m.context);
    EXPECT_TRUE(m.refresh.calls.empty());
}

TEST(CompanionMenu, CloseHideAndOffset) {
    CompanionMenu m;
    const std::string model = m.write("w.md2", test::companionFile(1));
    for (int i = 0; i < 3; ++i) {
        m.ui.openFile(model).openFile(std::nullopt);
        openCompanion(m.context);
    }
    ASSERT_EQ(m.current, 2);
    m.refresh.calls.clear();
    toggleCompanionHidden(m.context);
    EXPECT_TRUE(m.companions[2]->hidden);
    EXPECT_STREQ(companionHideText(m.context), kShowText);
    EXPECT_EQ(m.refresh.calls, (std::vector<std::string>{"refresh 0 34", "refillLists"}));

    m.ui.custom("offsetCompanionModel", CompanionOffsets{1.5f, -2.0f, 3.1234567f});
    offsetCompanion(m.context);
    EXPECT_EQ(m.companions[2]->xOffset, 1.5f);
    EXPECT_EQ(m.companions[2]->yOffset, -2.0f);
    EXPECT_EQ(m.companions[2]->zOffset, 3.12346f);
    EXPECT_EQ(m.ui.shown.back(), "offsetCompanionModel: 0.000000 0.000000 0.000000");
    m.ui.custom("offsetCompanionModel", std::optional<CompanionOffsets>{});
    offsetCompanion(m.context);
    EXPECT_EQ(m.companions[2]->xOffset, 1.5f);

    closeCompanion(m.context);  // the last: the new last becomes current
    EXPECT_EQ(m.current, 1);
    m.current = 0;
    closeCompanion(m.context);  // not the last: the index stays
    EXPECT_EQ(m.current, 0);
    closeCompanion(m.context);
    EXPECT_EQ(m.current, -1);
    EXPECT_FALSE(companionCommandsEnabled(m.context));
    EXPECT_STREQ(companionHideText(m.context), kHideText);
    closeCompanion(m.context);
    toggleCompanionHidden(m.context);
    offsetCompanion(m.context);
}

}  // namespace
}  // namespace tarn
