#include <gtest/gtest.h>

#include <sstream>

#include "cli_commands.h"
#include "cli_run.h"
#include "image/image_codec.h"
#include "image/palette_file.h"
#include "png_files.h"
#include "platform/fs.h"
#include "test_files.h"

namespace tarn::cli {
namespace {

CliRun convert(const std::string& in, const std::string& target) { return runCli({"convert", in, target}); }

TEST(Convert, PcxToBmpToPngKeepsPixelsAndPalette) {
    test::TempDir dir;
    Palette pal{};
    for (std::size_t i = 0; i < pal.size(); ++i) pal[i] = static_cast<std::uint8_t>(i * 7);
    Bytes px(13 * 5);
    for (std::size_t i = 0; i < px.size(); ++i) px[i] = static_cast<std::uint8_t>(i * 37);
    const std::string pcx = dir.file("a.pcx");
    ASSERT_EQ(writeFileAtomic(pcx, encodePcx(13, 5, px.data(), pal)), 0);

    const std::string bmp = dir.file("b.BMP");  // the extension counts in any case
    CliRun r = convert(pcx, bmp);
    ASSERT_EQ(r.code, 0) << r.err;
    DecodedImage d = decodeImage(readFile(bmp).bytes);
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.image.type, SkinFileType::Bmp);
    EXPECT_EQ(d.image.pixels, px);
    EXPECT_EQ(d.image.palette, pal);

    const std::string png = dir.file("c.png");
    r = convert(bmp, png);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(readFile(png).bytes, encodePng8(13, 5, px.data(), pal));
}

TEST(Convert, FailuresSayWhyAndLeaveTheTargetAlone) {
    test::TempDir dir;
    const std::string target = dir.file("keep.pcx");
    const Bytes old = {1, 2, 3};
    ASSERT_EQ(writeFileAtomic(target, old), 0);

    CliRun r = convert(dir.file("missing.pcx"), target);
    EXPECT_NE(r.code, 0);
    EXPECT_NE(r.err.find("Error Loading: "), std::string::npos);

    const std::string text = dir.file("text.pcx");
    ASSERT_EQ(writeFileAtomic(text, Bytes{'h', 'i', '\n'}), 0);
    r = convert(text, target);
    EXPECT_NE(r.code, 0);
    EXPECT_NE(r.err.find(kMsgNotValidSkin), std::string::npos);
    EXPECT_EQ(readFile(target).bytes, old);

    Palette pal{};
    const Bytes px(4, 1);
    const std::string good = dir.file("good.bmp");
    ASSERT_EQ(writeFileAtomic(good, encodeBmp(2, 2, px.data(), pal)), 0);
    r = convert(good, dir.file("no-such-folder/out.pcx"));
    EXPECT_NE(r.code, 0);
    EXPECT_NE(r.err.find("Error Saving: "), std::string::npos);

    EXPECT_EQ(convert(good, dir.file("out.gif")).code, 2);
    std::ostringstream out, err;
    EXPECT_EQ(run({"convert", good}, out, err), 2);
}

// A true-colour PNG to PCX: matched to the palette file's colours, dithered
// or not, exactly as the core matches; without a palette file, to the grey ramp.
TEST(Convert, TrueColourPngIsMatchedToThePaletteGiven) {
    test::TempDir dir;
    RgbaImage img{9, 4, Bytes(9 * 4 * 4)};
    for (std::size_t i = 0; i < img.rgba.size(); ++i) img.rgba[i] = static_cast<std::uint8_t>(i * 53 % 256 | 0x80);
    const std::string png = dir.file("in.png");
    ASSERT_EQ(writeFileAtomic(png, test::makePng(9, 4, 6, test::rawRgbaRows(9, 4, img.rgba))), 0);
    Palette pal{};
    for (std::size_t i = 0; i < pal.size(); ++i) pal[i] = static_cast<std::uint8_t>(i * 11);
    const std::string act = dir.file("pal.act");
    ASSERT_EQ(writeFileAtomic(act, Bytes(pal.begin(), pal.end())), 0);

    for (bool dither : {false, true}) {
        for (bool withPalette : {false, true}) {
            const std::string out = dir.file("out.pcx");
            std::vector<std::string> line = {"convert", png, out};
            if (withPalette) line.insert(line.end(), {"--palette", act});
            if (dither) line.push_back("--dither");
            const CliRun r = runCli(line);
            ASSERT_EQ(r.code, 0) << r.err;
            ColourMatch match;
            match.dither = dither;
            match.palette = withPalette ? pal : greyRampPalette();
            const DecodedImage d = decodeImage(readFile(out).bytes);
            ASSERT_TRUE(d.ok());
            EXPECT_EQ(d.image.palette, match.palette);
            EXPECT_EQ(d.image.pixels, matchToPalette(img, match)) << dither << withPalette;
        }
    }
    EXPECT_EQ(runCli({"convert", png, dir.file("x.pcx"), "--palette", dir.file("none.act")}).code, 1);
    EXPECT_EQ(runCli({"convert", png, dir.file("x.pcx"), "--bogus"}).code, 2);
}

}  // namespace
}  // namespace tarn::cli
