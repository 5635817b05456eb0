#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "image/palette_file.h"
#include "render/render_setup.h"
#include "render/snapshot.h"
#include "render_world.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

// The dialog's rules, one row per answer: what the user chose in "Snapshots"
// and in the save dialog, and what the command settles on.
TEST(Snapshot, DialogRulesSizeCheckAndExtension) {
    struct Case {
        const char* what;
        SnapshotOptions options;
        std::optional<FileDialogResult> file;  // nothing: no save dialog expected
        bool sizeRefused;
        std::string path;  // the settled file name, empty when stopped
        int width, height;
        bool smooth;
    };
    auto custom = [](int w, int h) {
        SnapshotOptions o;
        o.custom = true;
        o.width = w;
        o.height = h;
        return o;
    };
    SnapshotOptions typedButDefault = custom(5, 5);
    typedButDefault.custom = false;
    SnapshotOptions smoothOnly = custom(64, 64);
    smoothOnly.smoothing = true;  // without "24 Bit Color" it cannot apply
    test::TempDir dir;
    const std::vector<Case> cases = {
        {"custom width 15", custom(15, 100), std::nullopt, true, "", 0, 0, false},
        {"custom height 2049", custom(100, 2049), std::nullopt, true, "", 0, 0, false},
        {"2048 x 16 accepted", custom(2048, 16), FileDialogResult{dir.file("a.bmp"), 1}, false, dir.file("a.bmp"), 2048, 16, false},
        {"default not checked", typedButDefault, FileDialogResult{dir.file("view"), 1}, false, dir.file("view.bmp"), 320, 240, false},
        {"PCX filter adds .pcx", custom(64, 64), FileDialogResult{dir.file("view"), 2}, false, dir.file("view.pcx"), 64, 64, false},
        {"PCX filter keeps .bmp", custom(64, 64), FileDialogResult{dir.file("view.bmp"), 2}, false, dir.file("view.bmp"), 64, 64, false},
        {"PNG filter adds .png", custom(64, 64), FileDialogResult{dir.file("view"), 3}, false, dir.file("view.png"), 64, 64, false},
        {"smoothing needs true colour", smoothOnly, FileDialogResult{dir.file("s"), 1}, false, dir.file("s.bmp"), 64, 64, false},
        {"save cancelled", custom(64, 64), std::optional<FileDialogResult>{}, false, "", 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::ScriptedUi ui;
        MemorySettings settings;
        Folders folders{dir.path(), dir.path(), dir.path()};
        ui.custom("snapshot", c.options);
        const bool expectDialog = !c.sizeRefused;
        if (expectDialog) ui.saveFile(c.file);
        const auto request = askSnapshot(ui, settings, folders, 320, 240);
        EXPECT_EQ(ui.shown.front(), "snapshot: 320x240");
        EXPECT_EQ(ui.fileRequests.size(), expectDialog ? 1u : 0u);
        EXPECT_EQ(ui.messages(), c.sizeRefused ? std::vector<std::string>{kMsgSnapshotSize} : std::vector<std::string>{});
        ASSERT_EQ(request.has_value(), !c.path.empty());
        if (!request) continue;
        EXPECT_EQ(ui.fileRequests[0].filter, kSnapshotFilter);
        EXPECT_EQ(ui.fileRequests[0].initialName, "*.bmp");
        EXPECT_EQ(request->path, c.path);
        EXPECT_EQ(request->width, c.width);
        EXPECT_EQ(request->height, c.height);
        EXPECT_EQ(request->quality.smooth, c.smooth);
        EXPECT_EQ(settings.getString(kProject, "SaveDir", ""), dir.path());
    }
    EXPECT_DOUBLE_EQ(smoothingFactor(0), 1.0);
    EXPECT_DOUBLE_EQ(smoothingFactor(9999), 13.49875);
}

// The plain picture is exactly what the pane draws at that size.
TEST(Snapshot, PlainPictureIsWhatThePaneDraws) {
    constexpr int kW = 600, kH = 300;
    test::RenderWorld world(kW, kH);
    world.setFacingSquare(12.0f);
    for (int mode : {kModeFlat, kModeTextured}) {
        SCOPED_TRACE(mode);
        world.draw(mode);
        RenderMode& m = world.session.modes.at(mode);
        EXPECT_EQ(renderSnapshot(m, world.session.scene(), world.session.target, kW, kH, {}).pixels,
                  topDownColour(world.session));
    }
}

// Smoothing is a Gaussian over the view drawn four times larger each way,
// whatever the bands and cores it is split into (fills and lines crossing a
// band's edge included): every output pixel is the weighted mean of the
// samples whose pixels lie within 2 sigma of its own, the weights those of a
// sample's distance from the pixel's centre.
TEST(Snapshot, SmoothingIsTheGaussianOfTheLargerView) {
    constexpr int kW = 100, kH = 75;  // five bands of output rows
    test::RenderWorld world(kW, kH);
    world.setFacingSquare(9.0f);
    world.addCompanion({{20, -6, -5}, {25, 7, 6}, {20, 6, -7}}, {{0, 1, 2}, {0, 2, 1}});
    for (int mode : {kModeWireframe, kModeWireframeSolid, kModeGouraud, kModeTextured}) {
        RenderMode& m = world.session.modes.at(mode);
        const SnapshotPicture large =
            renderSnapshot(m, world.session.scene(), world.session.target, kW * 4, kH * 4, {true, false, 1.0});
        for (const auto& [factor, sigma] : {std::pair{1.0, 1.0}, std::pair{13.49875, 0.3}}) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " sigma " << sigma);
            const SnapshotPicture smooth =
                renderSnapshot(m, world.session.scene(), world.session.target, kW, kH, {true, true, factor});
            ASSERT_EQ(smooth.pixels.size(), std::size_t(kW) * kH * 3);
            const int reach = int(std::ceil(2 * sigma));
            auto g = [&](int sample, int pixel) {
                const double d = (sample + 0.5) / 4 - (pixel + 0.5);
                return std::exp(-d * d / (2 * sigma * sigma));
            };
            int worst = 0;
            for (int y = 0; y < kH; ++y)
                for (int x = 0; x < kW; ++x)
                    for (int c = 0; c < 3; ++c) {
                        double sum = 0, weights = 0;
                        for (int sy = std::max(0, (y - reach) * 4); sy < std::min(kH, y + reach + 1) * 4; ++sy)
                            for (int sx = std::max(0, (x - reach) * 4); sx < std::min(kW, x + reach + 1) * 4; ++sx) {
                                const double w = g(sx, x) * g(sy, y);
                                sum += w * large.pixels[(std::size_t(sy) * kW * 4 + std::size_t(sx)) * 3 + std::size_t(c)];
                                weights += w;
                            }
                        const int want = int(std::lround(sum / weights));
                        worst = std::max(worst, std::abs(want - smooth.pixels[(std::size_t(y) * kW + std::size_t(x)) * 3 + std::size_t(c)]));
                    }
            EXPECT_LE(worst, 1);
        }
    }
}

TEST(Snapshot, FilesByExtensionThenFilter) {
    test::TempDir dir;
    SnapshotPicture eight{5, 3, false, Bytes(15, 7), greyRampPalette()};
    SnapshotPicture rgb{5, 3, true, Bytes(45, 9), {}};
    struct Case {
        const SnapshotPicture* picture;
        const char* name;
        int filter;
        std::size_t size;
        std::vector<std::uint8_t> head;
    };
    const Case cases[] = {
        {&eight, "a.bmp", 2, 54 + 1024 + 8 * 3, {'B', 'M'}},
        {&rgb, "b.bmp", 1, 54 + 16 * 3, {'B', 'M'}},
        {&eight, "c.pcx", 1, 128 + 15 + 769, {10, 5, 1, 8}},
        {&rgb, "d.pcx", 1, 128 + 45, {10, 5, 1, 8}},
        {&rgb, "e.xyz", 2, 128 + 45, {10, 5, 1, 8}},
        {&rgb, "f.png", 1, 0, {0x89, 'P', 'N', 'G'}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(saveSnapshot(*c.picture, dir.file(c.name), c.filter), 0);
        const Bytes file = readFile(dir.file(c.name)).bytes;
        if (c.size) {
            EXPECT_EQ(file.size(), c.size);
        }
        ASSERT_GE(file.size(), c.head.size());
        EXPECT_TRUE(std::equal(c.head.begin(), c.head.end(), file.begin()));
        const bool pcx = file[0] == 10, png = file[0] == 0x89;
        if (pcx) {
            EXPECT_EQ(file[65], c.picture->trueColour ? 3 : 1);  // colour planes
        }
        if (png) {
            EXPECT_EQ(file[25], 2);  // colour type: RGB
        }
    }
}

}  // namespace
}  // namespace tarn
