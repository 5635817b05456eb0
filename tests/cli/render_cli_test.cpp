#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "cli_commands.h"
#include "cli_run.h"
#include "image/image_codec.h"
#include "platform/fs.h"
#include "sample_model.h"
#include "test_files.h"

namespace tarn::cli {
namespace {

CliRun renderCli(Args args) {
    args.insert(args.begin(), "render");
    return runCli(args);
}

constexpr int kSkinSide = 32;

// A square facing the default eye (+x), two triangles over the whole skin,
// with its skin beside it; and a one-triangle companion in front of it.
struct SquareScene {
    test::TempDir dir;
    std::string model = dir.file("square.md2");
    std::string companion = dir.file("blade.md2");

    SquareScene() {
        sample::SampleModel m;
        m.skinWidth = m.skinHeight = kSkinSide;
        m.skinCoords = {{0, 31}, {31, 31}, {31, 0}, {0, 0}};
        m.triangles = {{{0, 2, 1}, {0, 2, 1}}, {{0, 3, 2}, {0, 3, 2}}};
        m.frameNames = {"a", "b"};
        m.frames = {{{0, -10, -10}, {0, 10, -10}, {0, 10, 10}, {0, -10, 10}},
                    {{0, -5, -5}, {0, 5, -5}, {0, 5, 5}, {0, -5, 5}}};
        EXPECT_EQ(writeFileAtomic(model, sample::encodeSampleMd2(m, {"skin.pcx"})), 0);
        Bytes pixels(kSkinSide * kSkinSide);
        for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = std::uint8_t(i % 200 + 1);
        Palette grey{};
        for (std::size_t i = 0; i < grey.size(); ++i) grey[i] = std::uint8_t(i / 3);
        EXPECT_EQ(writeFileAtomic(dir.file("skin.pcx"),
                                  encodePcx(kSkinSide, kSkinSide, pixels.data(), grey)),
                  0);

        sample::SampleModel c = m;
        c.triangles = {{{0, 2, 1}, {0, 2, 1}}};
        c.frames = {{{20, -3, -3}, {20, 3, -3}, {20, 3, 3}, {20, -3, 3}}};
        c.frameNames = {"a"};
        EXPECT_EQ(writeFileAtomic(companion, sample::encodeSampleMd2(c, {})), 0);
    }

    std::vector<std::int32_t> picks(const std::string& prefix) const {
        const Bytes b = readFile(prefix + ".pick").bytes;
        std::vector<std::int32_t> out(b.size() / 4);
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = std::int32_t(std::uint32_t(b[4 * i]) | std::uint32_t(b[4 * i + 1]) << 8 |
                                  std::uint32_t(b[4 * i + 2]) << 16 | std::uint32_t(b[4 * i + 3]) << 24);
        return out;
    }
};

TEST(RenderCli, WritesThePictureAndThePlanes) {
    SquareScene s;
    const std::string png = s.dir.file("view.png");
    const std::string planes = s.dir.file("view");
    CliRun r = renderCli({s.model, "-o", png, "--size", "62x40", "--planes", planes,
                             "--companion", s.companion});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Textured"), std::string::npos);
    ASSERT_TRUE(isRegularFile(png));
    // Planes as stored: 64 wide (rounded up to 4), 40 rows.
    EXPECT_EQ(readFile(planes + ".colour").bytes.size(), 64u * 40);
    EXPECT_EQ(readFile(planes + ".depth").bytes.size(), 64u * 40 * 2);
    const auto picks = s.picks(planes);
    ASSERT_EQ(picks.size(), 64u * 40);
    const std::set<std::int32_t> keys(picks.begin(), picks.end());
    EXPECT_TRUE(keys.count(-1));
    EXPECT_TRUE(keys.count(-2));
    EXPECT_GT(keys.size(), 50u);
    EXPECT_LT(*keys.rbegin(), kSkinSide * kSkinSide);

    // The same view as BMP and PCX decodes to the cropped, top-down picture.
    const std::string bmp = s.dir.file("view.bmp");
    ASSERT_EQ(renderCli({s.model, "-o", bmp, "--size", "62x40", "--companion", s.companion}).code, 0);
    const DecodedImage d = decodeImage(readFile(bmp).bytes);
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.image.width, 62);
    EXPECT_EQ(d.image.height, 40);
    const Bytes colour = readFile(planes + ".colour").bytes;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 62; ++x)
            ASSERT_EQ(d.image.pixels[std::size_t(y * 62 + x)], colour[std::size_t((39 - y) * 64 + x)]);
}

TEST(RenderCli, MappingModeSelectionFrameAndModeByName) {
    SquareScene s;
    const std::string planes = s.dir.file("p");
    CliRun r = renderCli({s.model, "-o", s.dir.file("m.png"), "--mode", "Gouraud Shaded",
                             "--mapping", "--select", "1", "--frame", "1", "--size", "40x40",
                             "--planes", planes, "--eye", "80,0,0", "--fov", "40", "--at", "0,0,0"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto picks = s.picks(planes);
    EXPECT_EQ(std::set<std::int32_t>(picks.begin(), picks.end()), (std::set<std::int32_t>{-1, 0, 1}));
    const Bytes colour = readFile(planes + ".colour").bytes;
    for (std::size_t i = 0; i < picks.size(); ++i)
        if (picks[i] == 1) {
            EXPECT_GE(colour[i], 64) << "selected: ramp 1";
        }
}

TEST(RenderCli, RefusalsAndBadLines) {
    SquareScene s;
    const std::string out = s.dir.file("x.png");
    CliRun r = renderCli({s.model, "-o", out, "--mode", "4"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Phong Shading is not available if there are no phong maps loaded."),
              std::string::npos);
    EXPECT_EQ(renderCli({s.model, "-o", out, "--skin", "2"}).code, 1);  // skins count from 1, as info lists them
    EXPECT_EQ(renderCli({s.model, "-o", out, "--skin", "0"}).code, 2);
    EXPECT_EQ(renderCli({s.model, "-o", out, "--frame", "2"}).code, 1);
    EXPECT_EQ(renderCli({s.model, "-o", out, "--select", "2"}).code, 1);
    EXPECT_EQ(renderCli({s.model, "-o", out, "--companion", s.dir.file("none.md2")}).code, 1);
    EXPECT_EQ(renderCli({s.dir.file("none.md2"), "-o", out}).code, 1);
    for (const Args& bad : std::vector<Args>{{s.model},
                                             {s.model, "-o", s.dir.file("x.jpg")},
                                             {s.model, "-o", out, "--size", "10"},
                                             {s.model, "-o", out, "--size", "0x10"},
                                             {s.model, "-o", out, "--eye", "1,2"},
                                             {s.model, "-o", out, "--mode", "Sketch"},
                                             {s.model, "-o", out, "--mode", "9"},
                                             {s.model, "-o", out, "--fov"},
                                             {s.model, "-o", out, "--wobble"}}) {
        const CliRun b = renderCli(bad);
        EXPECT_NE(b.code, 0) << bad.back();
        EXPECT_FALSE(b.err.empty());
    }
    EXPECT_FALSE(isRegularFile(out));
}

TEST(RenderCli, RealModelInEveryAvailableMode) {
    const std::string model = test::realTestData("q2-didux/baseq2/players/male/tris.md2");
    if (model.empty()) GTEST_SKIP();
    test::TempDir dir;
    for (const char* mode : {"0", "1", "2", "3", "5"}) {
        const CliRun r = renderCli({model, "-o", dir.file(std::string("m") + mode + ".png"),
                                       "--mode", mode, "--size", "96x72"});
        EXPECT_EQ(r.code, 0) << mode << r.err;
    }
}

}  // namespace
}  // namespace tarn::cli
