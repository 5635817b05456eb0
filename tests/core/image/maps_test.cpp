// The PhongMap and EnvMap lists and their Open, Close and Scan Folder commands.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "image/image_codec.h"
#include "image/map_commands.h"
#include "image/maps.h"
#include "platform/dialogs.h"
#include "platform/fs.h"
#include "platform/refresh.h"
#include "platform/settings.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

using test::ScriptedUi;
using test::TempDir;

Palette colourPalette() {
    Palette p{};
    for (int i = 0; i < kPaletteColors; ++i) {
        p[std::size_t(i) * 3] = std::uint8_t(i);
        p[std::size_t(i) * 3 + 1] = std::uint8_t(255 - i);
        p[std::size_t(i) * 3 + 2] = std::uint8_t(i * 7);
    }
    return p;
}

// An image whose first pixels carry the values the tests look at.
std::vector<std::uint8_t> sampleTexels(int width, int height) {
    std::vector<std::uint8_t> px(std::size_t(width) * std::size_t(height));
    for (std::size_t i = 0; i < px.size(); ++i) px[i] = std::uint8_t(i * 13);
    px[0] = 255;
    px[1] = 3;
    px[2] = 4;
    return px;
}

void writePcx(const std::string& path, int width, int height) {
    const auto px = sampleTexels(width, height);
    ASSERT_EQ(writeFileAtomic(path, encodePcx(width, height, px.data(), colourPalette())), 0);
}

void writeBmp(const std::string& path, int width, int height) {
    const auto px = sampleTexels(width, height);
    ASSERT_EQ(writeFileAtomic(path, encodeBmp(width, height, px.data(), colourPalette())), 0);
}

struct Fixture {
    TempDir dir;
    ScriptedUi ui;
    MemorySettings settings;
    Folders folders;
    RecordingRefresh refresh;
    MapCommandContext context{ui, settings, folders, refresh};
    MapList phong{MapKind::Phong};
    MapList env{MapKind::Env};

    Fixture() { folders = Folders{dir.path(), dir.path(), dir.path()}; }
};

using Calls = std::vector<std::string>;
const Calls kPhongChanged{"lightTable", "phongShadeTable", "paintRemap", "refreshAll"};
const Calls kEnvChanged{"refreshAll", "paintRemap"};

TEST(MapScan, AddsOnlyMapsOfTheRightSizeAndKeepsTheCurrentMap) {
    Fixture f;
    writeBmp(f.dir.file("good.bmp"), kLightingMapSide, kLightingMapSide);
    writePcx(f.dir.file("small.pcx"), 320, 200);
    ASSERT_EQ(writeFileAtomic(f.dir.file("junk.pcx"), Bytes{'n', 'o', 't', ' ', 'a', 'n'}), 0);

    EXPECT_EQ(ScanPhongMaps(f.dir.path(), f.phong, f.ui, f.refresh), 1);
    EXPECT_TRUE(f.ui.shown.empty());  // the wrong size and the junk file pass silently
    ASSERT_EQ(f.phong.count(), 1);
    EXPECT_EQ(f.phong.currentIndex(), -1);  // a scan never chooses a map
    EXPECT_EQ(f.refresh.calls, (Calls{"refreshAll", "refreshAll"}));  // one per pass that found files

    const Skin& map = f.phong.at(0).image;
    EXPECT_EQ(map.name, "good.bmp");
    EXPECT_TRUE(map.external);
    EXPECT_EQ(map.pixels[0], 63);  // 255 / 4
    EXPECT_EQ(map.pixels[1], 0);   // 3 / 4
    EXPECT_EQ(map.pixels[2], 1);
    EXPECT_EQ(f.phong.names(), (std::vector<std::string>{"good.bmp"}));

    // A second scan appends and still leaves the chosen map current.
    ASSERT_TRUE(f.phong.choose(0));
    EXPECT_EQ(ScanPhongMaps(f.dir.path(), f.phong, f.ui, f.refresh), 1);
    EXPECT_EQ(f.phong.count(), 2);
    EXPECT_EQ(f.phong.currentIndex(), 0);
}

TEST(MapScan, EnvironmentMapsKeepTheirValuesAndPalette) {
    Fixture f;
    writePcx(f.dir.file("a.pcx"), kLightingMapSide, kLightingMapSide);
    writeBmp(f.dir.file("b.BMP"), kLightingMapSide, kLightingMapSide);
    EXPECT_EQ(ScanEnvMaps(f.dir.path(), f.env, f.ui, f.refresh), 2);
    ASSERT_EQ(f.env.names(), (std::vector<std::string>{"a.pcx", "b.BMP"}));  // PCX pass first
    const Skin& map = f.env.at(0).image;
    EXPECT_EQ(map.pixels[0], 255);
    EXPECT_EQ(map.pixels[1], 3);
    EXPECT_EQ(map.palette, colourPalette());
    EXPECT_TRUE(map.backup.empty());  // maps keep no stored state
}

TEST(MapScan, NothingFoundIsReportedPerKind) {
    Fixture f;
    writePcx(f.dir.file("small.pcx"), 64, 64);
    EXPECT_EQ(ScanPhongMaps(f.dir.path(), f.phong, f.ui, f.refresh), 0);
    EXPECT_EQ(ScanEnvMaps(f.dir.path() + "/missing", f.env, f.ui, f.refresh), 0);
    EXPECT_EQ(f.ui.messages(), (std::vector<std::string>{kMsgNoPhongMapsFound, kMsgNoEnvMapsFound}));
    EXPECT_EQ(f.refresh.calls, (Calls{"refreshAll"}));  // only the pass that matched a file
    EXPECT_TRUE(f.phong.empty());
}

TEST(MapOpen, PhongMapBecomesCurrentAndGetsTheFilterExtension) {
    Fixture f;
    writePcx(f.dir.file("glow.pcx"), kLightingMapSide, kLightingMapSide);
    writeBmp(f.dir.file("first.bmp"), kLightingMapSide, kLightingMapSide);
    ASSERT_EQ(ScanPhongMaps(f.dir.path(), f.phong, f.ui, f.refresh), 2);
    f.refresh.calls.clear();

    f.ui.openFile(f.dir.file("glow"), 2);  // the PCX filter adds ".pcx"
    ASSERT_TRUE(OpenPhongMap(f.phong, f.context));
    ASSERT_EQ(f.ui.fileRequests.size(), 1u);
    EXPECT_EQ(f.ui.fileRequests[0].filter, kPhongMapFilter);
    EXPECT_EQ(f.ui.fileRequests[0].initialName, "*.bmp");
    EXPECT_TRUE(f.ui.fileRequests[0].mustExist);
    EXPECT_EQ(f.phong.count(), 3);
    EXPECT_EQ(f.phong.currentIndex(), 2);
    EXPECT_EQ(f.phong.current()->image.name, "glow.pcx");
    EXPECT_EQ(f.phong.current()->image.pixels[0], 63);  // colours do not matter, only values
    EXPECT_EQ(f.refresh.calls, kPhongChanged);
    EXPECT_EQ(f.settings.getString(kProject, "LoadDir", ""), f.dir.path());
}

TEST(MapOpen, EnvironmentMapWithoutExtensionDefaultsToBmp) {
    Fixture f;
    writeBmp(f.dir.file("sky.bmp"), kLightingMapSide, kLightingMapSide);
    f.ui.openFile(f.dir.file("sky"), 3);
    ASSERT_TRUE(OpenEnvMap(f.env, f.context));
    EXPECT_EQ(f.ui.fileRequests[0].filter, kEnvMapFilter);
    EXPECT_EQ(f.env.currentIndex(), 0);
    EXPECT_EQ(f.env.current()->image.pixels[0], 255);
    EXPECT_EQ(f.refresh.calls, kEnvChanged);
}

TEST(MapOpen, RefusedFilesLeaveTheListAlone) {
    Fixture f;
    writePcx(f.dir.file("wide.pcx"), 320, 200);
    writeBmp(f.dir.file("ok.bmp"), kLightingMapSide, kLightingMapSide);
    ASSERT_EQ(writeFileAtomic(f.dir.file("text.bmp"), Bytes{'h', 'e', 'l', 'l', 'o'}), 0);
    ASSERT_EQ(ScanPhongMaps(f.dir.path(), f.phong, f.ui, f.refresh), 1);
    f.phong.choose(0);
    f.refresh.calls.clear();

    f.ui.openFile(f.dir.file("wide.pcx"), 2)
        .openFile(f.dir.file("wide.pcx"), 2)
        .openFile(f.dir.file("text.bmp"), 1)
        .openFile(f.dir.file("gone.bmp"), 1)
        .openFile(std::nullopt);
    EXPECT_FALSE(OpenPhongMap(f.phong, f.context));
    EXPECT_FALSE(OpenEnvMap(f.env, f.context));
    EXPECT_FALSE(OpenPhongMap(f.phong, f.context));
    EXPECT_FALSE(OpenPhongMap(f.phong, f.context));
    EXPECT_FALSE(OpenPhongMap(f.phong, f.context));  // cancelled

    const auto messages = f.ui.messages();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0], kMsgPhongMapWrongSize);
    EXPECT_EQ(messages[1], kMsgEnvMapWrongSize);
    EXPECT_EQ(messages[2].rfind(std::string(kMsgNotValidSkin) + "\n", 0), 0u);
    EXPECT_EQ(messages[3].rfind("Error Loading: ", 0), 0u);
    EXPECT_EQ(f.phong.count(), 1);
    EXPECT_EQ(f.phong.currentIndex(), 0);
    EXPECT_TRUE(f.env.empty());
    EXPECT_TRUE(f.refresh.calls.empty());
}

TEST(MapClose, CurrentIndexStaysOrMovesToTheNewLast) {
    Fixture f;
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) writeBmp(f.dir.file(name), kLightingMapSide, kLightingMapSide);
    ASSERT_EQ(ScanPhongMaps(f.dir.path(), f.phong, f.ui, f.refresh), 3);
    f.refresh.calls.clear();

    EXPECT_FALSE(ClosePhongMap(f.phong, f.context));  // none current yet
    EXPECT_TRUE(f.refresh.calls.empty());

    f.phong.choose(1);
    ASSERT_TRUE(ClosePhongMap(f.phong, f.context));
    EXPECT_EQ(f.phong.names(), (std::vector<std::string>{"a.bmp", "c.bmp"}));
    EXPECT_EQ(f.phong.current()->image.name, "c.bmp");
    EXPECT_EQ(f.refresh.calls, kPhongChanged);

    ASSERT_TRUE(ClosePhongMap(f.phong, f.context));  // was last: the new last follows
    EXPECT_EQ(f.phong.current()->image.name, "a.bmp");
    ASSERT_TRUE(ClosePhongMap(f.phong, f.context));
    EXPECT_EQ(f.phong.currentIndex(), -1);
    EXPECT_EQ(f.phong.current(), nullptr);
}

TEST(MapClose, ClosingTheOnlyEnvironmentMapEmptiesTheList) {
    Fixture f;
    writeBmp(f.dir.file("sky.bmp"), kLightingMapSide, kLightingMapSide);
    f.ui.openFile(f.dir.file("sky.bmp"), 1);
    ASSERT_TRUE(OpenEnvMap(f.env, f.context));
    f.refresh.calls.clear();
    ASSERT_TRUE(CloseEnvMap(f.env, f.context));
    EXPECT_EQ(f.env.currentIndex(), -1);
    EXPECT_TRUE(f.env.empty());
    EXPECT_EQ(f.refresh.calls, kEnvChanged);
}

TEST(MapScanFolder, BrowsesAndScansOrSaysTheFolderIsNotValid) {
    Fixture f;
    writeBmp(f.dir.file("a.bmp"), kLightingMapSide, kLightingMapSide);
    f.ui.folder(std::nullopt).folder(f.dir.path() + "/nowhere").folder(f.dir.path());
    EXPECT_FALSE(ScanEnvMapFolder(f.env, f.context));
    EXPECT_FALSE(ScanPhongMapFolder(f.phong, f.context));
    EXPECT_TRUE(ScanPhongMapFolder(f.phong, f.context));
    EXPECT_EQ(f.ui.shown,
              (std::vector<std::string>{std::string("folder: ") + kMapFolderTitle,
                                        std::string("message: ") + kMsgMapFolderNotValid,
                                        std::string("folder: ") + kMapFolderTitle,
                                        std::string("message: ") + kMsgMapFolderNotValid,
                                        std::string("folder: ") + kMapFolderTitle}));
    EXPECT_EQ(f.phong.count(), 1);
    EXPECT_EQ(f.phong.currentIndex(), -1);
}

TEST(MapChoose, ChoosingRebuildsWhatDependsOnTheMap) {
    Fixture f;
    writeBmp(f.dir.file("a.bmp"), kLightingMapSide, kLightingMapSide);
    ScanPhongMaps(f.dir.path(), f.phong, f.ui, f.refresh);
    ScanEnvMaps(f.dir.path(), f.env, f.ui, f.refresh);
    f.refresh.calls.clear();
    EXPECT_FALSE(ChoosePhongMap(f.phong, 1, f.refresh));
    EXPECT_TRUE(f.refresh.calls.empty());
    EXPECT_TRUE(ChoosePhongMap(f.phong, 0, f.refresh));
    EXPECT_EQ(f.refresh.calls, (Calls{"lightTable", "phongShadeTable", "paintRemap", "refresh 0 43"}));
    f.refresh.calls.clear();
    EXPECT_TRUE(ChooseEnvMap(f.env, 0, f.refresh));
    EXPECT_EQ(f.refresh.calls, (Calls{"refresh 0 43", "paintRemap"}));
}

TEST(MapStartup, ScansTheStoredFoldersAndChoosesTheFirstMaps) {
    Fixture f;
    writeBmp(f.dir.file("a.bmp"), kLightingMapSide, kLightingMapSide);
    ScanMapFoldersAtStartup(f.settings, f.phong, f.env, f.ui, f.refresh);  // both "Unknown"
    EXPECT_TRUE(f.phong.empty());
    EXPECT_TRUE(f.ui.shown.empty());

    f.settings.setString(kPreferences, "Phong Path", f.dir.path());
    f.settings.setString(kPreferences, "Env Path", f.dir.path() + "/none");
    ScanMapFoldersAtStartup(f.settings, f.phong, f.env, f.ui, f.refresh);
    EXPECT_EQ(f.phong.currentIndex(), 0);
    EXPECT_EQ(f.env.currentIndex(), -1);
    EXPECT_EQ(f.ui.messages(), (std::vector<std::string>{kMsgNoEnvMapsFound}));
}

TEST(MapScan, RealGreyscaleHeightmapIsAPhongMap) {
    const std::string path = test::realTestData("images/terrain-heightmap.bmp");
    if (path.empty()) GTEST_SKIP() << "real test data not present";
    Fixture f;
    f.ui.openFile(path, 1);
    ASSERT_TRUE(OpenPhongMap(f.phong, f.context)) << ::testing::PrintToString(f.ui.shown);
    for (std::uint8_t texel : f.phong.current()->image.pixels) ASSERT_LE(texel, 63);
}

}  // namespace
}  // namespace tarn
