// True-colour skins of other engines: each format reads to the same colours
// as the PNG reader gives, through every reader a true-colour PNG reaches,
// and a hostile header is refused before pixels are allocated.
#include <gtest/gtest.h>

#include "image/image_codec.h"
#include "image/skin_io.h"
#include "platform/fs.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

constexpr int kW = 5;
constexpr int kH = 3;

// Red rises to the right, green downwards; blue marks the corner pixel.
Bytes sampleRgb() {
    Bytes rgb;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            rgb.insert(rgb.end(), {std::uint8_t(x * 60), std::uint8_t(y * 100), std::uint8_t(x + y == 0 ? 255 : 9)});
    return rgb;
}

Bytes rgbaOf(const Bytes& rgb) {
    Bytes out;
    for (std::size_t i = 0; i < rgb.size(); i += 3) out.insert(out.end(), {rgb[i], rgb[i + 1], rgb[i + 2], 255});
    return out;
}

// A TGA of true colour, 24 or 32 bits, stored top row first or last, raw or
// as run-length packets that each hold one pixel.
Bytes tga(int bits, bool topFirst, bool rle) {
    Bytes f(18, 0);
    f[2] = rle ? 10 : 2;
    f[12] = kW;
    f[14] = kH;
    f[16] = static_cast<std::uint8_t>(bits);
    f[17] = static_cast<std::uint8_t>((topFirst ? 0x20 : 0) | (bits == 32 ? 8 : 0));
    const Bytes rgb = sampleRgb();
    for (int r = 0; r < kH; ++r) {
        const int y = topFirst ? r : kH - 1 - r;
        for (int x = 0; x < kW; ++x) {
            const std::uint8_t* p = rgb.data() + (y * kW + x) * 3;
            if (rle) f.push_back(0x80);  // a run of one
            f.insert(f.end(), {p[2], p[1], p[0]});
            if (bits == 32) f.push_back(255);
        }
    }
    return f;
}

TEST(TrueColour, EveryFormatReadsToTheSameColours) {
    const Bytes rgb = sampleRgb();
    struct Case {
        const char* what;
        Bytes file;
        SkinFileType type;
    };
    const Case cases[] = {
        {"PCX of three planes", encodePcx24(kW, kH, rgb.data()), SkinFileType::Pcx},
        {"24-bit BMP", encodeBmp24(kW, kH, rgb.data()), SkinFileType::Bmp},
        {"TGA 24 bottom-up", tga(24, false, false), SkinFileType::None},
        {"TGA 32 top-down", tga(32, true, false), SkinFileType::None},
        {"TGA RLE 24 top-down", tga(24, true, true), SkinFileType::None},
        {"TGA RLE 32 bottom-up", tga(32, false, true), SkinFileType::None},
        {"PNG", encodePng24(kW, kH, rgb.data()), SkinFileType::Png},
    };
    for (const Case& c : cases) {
        const StoredImage s = decodeStored(c.file);
        ASSERT_EQ(s.error, "") << c.what;
        EXPECT_FALSE(s.indexed) << c.what;
        EXPECT_EQ(s.type, c.type) << c.what;
        EXPECT_EQ(s.colour.width, kW) << c.what;
        EXPECT_EQ(s.colour.rgba, rgbaOf(rgb)) << c.what;
    }
}

TEST(TrueColour, HostileHeadersAreRefusedBeforeDecoding) {
    const Bytes rgb = sampleRgb();
    Bytes wide = tga(24, false, false);
    wide[12] = 0x40;
    wide[13] = 0x9C;  // 40000 pixels wide
    Bytes tall = tga(24, false, false);
    tall[15] = 0x10;  // 4099 rows
    Bytes cutTga = tga(24, false, true);
    cutTga.resize(cutTga.size() - 10);
    Bytes cutBmp = encodeBmp24(kW, kH, rgb.data());
    cutBmp.resize(cutBmp.size() - 20);
    Bytes cutPcx = encodePcx24(kW, kH, rgb.data());
    cutPcx.resize(cutPcx.size() - 4);
    Bytes fourPlanes = encodePcx24(kW, kH, rgb.data());
    fourPlanes[65] = 4;
    const Bytes jpegStart{0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0};
    const struct {
        const char* what;
        Bytes file;
        const char* message;
    } cases[] = {
        {"TGA too wide", wide, kMsgImageTooWide},
        {"TGA too tall", tall, kMsgImageTooTall},
        {"TGA cut short", cutTga, kMsgImageDamaged},
        {"BMP cut short", cutBmp, kMsgImageDamaged},
        {"PCX cut short", cutPcx, kMsgImageDamaged},
        {"PCX of four planes", fourPlanes, kMsgPcxNot8Bit},
        {"JPEG header only", jpegStart, kMsgImageDamaged},
        {"text", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '.', '.', '.', '.', '.', '.', '.'},
         kMsgNotValidSkin},
    };
    for (const auto& c : cases) {
        const StoredImage s = decodeStored(c.file);
        EXPECT_EQ(s.error, c.message) << c.what;
        EXPECT_TRUE(s.colour.rgba.empty() && s.image.pixels.empty()) << c.what;
    }
}

// The skin reader behind Skins > Open, Load To Selected, Retro-Map and
// convert matches every format as it matches a PNG: nearest colours of the
// chosen palette, with the writer of the format it came in.
TEST(TrueColour, SkinReaderMatchesEveryFormatToThePalette) {
    test::TempDir dir;
    const Bytes rgb = sampleRgb();
    ColourMatch match;
    for (int i = 0; i < 256; ++i) match.palette[std::size_t(i) * 3] = static_cast<std::uint8_t>(i);  // a red ramp
    const ColourMatcher matcher = [&] { return std::optional<ColourMatch>(match); };
    const Bytes want = matchToPalette(RgbaImage{kW, kH, rgbaOf(rgb)}, match);
    const struct {
        const char* name;
        Bytes file;
    } files[] = {{"skin.pcx", encodePcx24(kW, kH, rgb.data())},
                 {"skin.bmp", encodeBmp24(kW, kH, rgb.data())},
                 {"skin.tga", tga(32, true, true)},
                 {"skin.png", encodePng24(kW, kH, rgb.data())}};
    for (const auto& f : files) {
        ASSERT_EQ(writeFileAtomic(dir.file(f.name), f.file), 0);
        test::ScriptedUi ui;
        const auto skin = LoadSkinImage(ui, dir.file(f.name), &matcher);
        ASSERT_NE(skin, nullptr) << f.name << (ui.messages().empty() ? "" : ui.messages()[0]);
        EXPECT_EQ(Bytes(skin->pixels.begin(), skin->pixels.end()), want) << f.name;
        EXPECT_EQ(skin->palette, match.palette) << f.name;
    }
}

// A JPEG written by another program: an 8 x 8 gradient from red at the top
// to blue at the bottom.
TEST(TrueColour, JpegReadsThroughTheLibrary) {
    const ReadResult file = readFile(std::string(TARN_SOURCE_DIR) + "/fuzz/seeds/true_colour/small.jpg");
    ASSERT_TRUE(file.ok());
    const StoredImage s = decodeStored(file.bytes);
    ASSERT_EQ(s.error, "");
    ASSERT_EQ(s.colour.width, 8);
    ASSERT_EQ(s.colour.height, 8);
    EXPECT_GT(s.colour.rgba[0], 200);                    // red at the top
    EXPECT_GT(s.colour.rgba[(7 * 8) * 4 + 2], 200);      // blue at the bottom
    EXPECT_LT(s.colour.rgba[(7 * 8) * 4 + 0], 60);
}

}  // namespace
}  // namespace tarn
