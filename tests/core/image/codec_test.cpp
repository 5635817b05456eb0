#include "image/image_codec.h"

#include <gtest/gtest.h>

#include <random>

namespace tarn {
namespace {

struct Sample {
    int width;
    int height;
    Bytes pixels;
    Palette palette;
};

Sample randomSample(int width, int height, unsigned seed) {
    std::mt19937 rng(seed);
    Sample s{width, height, Bytes(static_cast<std::size_t>(width * height)), {}};
    for (auto& p : s.pixels) p = static_cast<std::uint8_t>(rng() & 0xFF);
    for (auto& c : s.palette) c = static_cast<std::uint8_t>(rng() & 0xFF);
    return s;
}

void expectSame(const DecodedImage& d, const Sample& s, SkinFileType type) {
    ASSERT_TRUE(d.ok()) << d.error;
    EXPECT_EQ(d.image.width, s.width);
    EXPECT_EQ(d.image.height, s.height);
    EXPECT_EQ(d.image.type, type);
    EXPECT_EQ(d.image.pixels, s.pixels);
    EXPECT_EQ(d.image.palette, s.palette);
}

// Sizes that exercise odd widths, widths off a multiple of 4, single rows and
// columns, and the tallest image allowed.
const std::pair<int, int> kSizes[] = {{1, 1}, {3, 5}, {17, 9}, {64, 64}, {227, 149},
                                      {308, 193}, {1, 2048}, {255, 1}};

TEST(ImageRoundTrip, SeededRandomImagesSurvivePcxAndBmp) {
    unsigned seed = 1;
    for (auto [w, h] : kSizes) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        Sample s = randomSample(w, h, seed++);
        expectSame(decodeImage(encodePcx(w, h, s.pixels.data(), s.palette)), s, SkinFileType::Pcx);
        expectSame(decodeImage(encodeBmp(w, h, s.pixels.data(), s.palette)), s, SkinFileType::Bmp);
    }
}

TEST(PcxWriter, ValuesThatWouldReadAsRunsGoAsRunsOfOne) {
    const std::uint8_t px[] = {200, 191, 192, 0};
    Bytes f = encodePcx(2, 2, px, Palette{});
    ASSERT_EQ(f.size(), 128u + 6 + 1 + 768);
    EXPECT_EQ(Bytes(f.begin() + 128, f.begin() + 134), (Bytes{193, 200, 191, 193, 192, 0}));
    EXPECT_EQ(f[134], 12);  // palette marker
}

// A hand-built BMP: `info` overrides are applied to a 40-byte header.
struct BmpSpec {
    std::int32_t width = 4;
    std::int32_t height = 2;
    std::uint16_t bits = 8;
    std::uint32_t compression = 0;
    std::uint32_t colours = 0;
    Bytes pixelData;
};

Bytes buildBmp(const BmpSpec& s) {
    Bytes f;
    auto u16 = [&](std::uint32_t v) { f.push_back(v & 0xFF); f.push_back((v >> 8) & 0xFF); };
    auto u32 = [&](std::uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
    const std::uint32_t entries = s.colours ? s.colours : 256;
    const std::uint32_t offset = 54 + entries * 4;
    f.push_back('B');
    f.push_back('M');
    u32(offset + static_cast<std::uint32_t>(s.pixelData.size()));
    u32(0);
    u32(offset);
    u32(40);
    u32(static_cast<std::uint32_t>(s.width));
    u32(static_cast<std::uint32_t>(s.height));
    u16(1);
    u16(s.bits);
    u32(s.compression);
    u32(0);
    u32(0);
    u32(0);
    u32(s.colours);
    u32(0);
    for (std::uint32_t i = 0; i < entries; ++i) {
        f.push_back(static_cast<std::uint8_t>(i));       // blue
        f.push_back(static_cast<std::uint8_t>(i + 1));   // green
        f.push_back(static_cast<std::uint8_t>(i + 2));   // red
        f.push_back(0);
    }
    f.insert(f.end(), s.pixelData.begin(), s.pixelData.end());
    return f;
}

TEST(BmpReader, ReadsWhatOtherProgramsWrite) {
    // Bottom-up (positive height): the last file row is the top row.
    BmpSpec up;
    up.pixelData = {1, 2, 3, 4, 5, 6, 7, 8};
    DecodedImage d = decodeBmp(buildBmp(up));
    ASSERT_TRUE(d.ok()) << d.error;
    EXPECT_EQ(d.image.pixels, (Bytes{5, 6, 7, 8, 1, 2, 3, 4}));

    // Top-down (negative height).
    BmpSpec down = up;
    down.height = -2;
    d = decodeBmp(buildBmp(down));
    ASSERT_TRUE(d.ok()) << d.error;
    EXPECT_EQ(d.image.height, 2);
    EXPECT_EQ(d.image.pixels, (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));

    // Sixteen colours fill entries 0..15 and leave the rest black.
    BmpSpec few = up;
    few.colours = 16;
    d = decodeBmp(buildBmp(few));
    ASSERT_TRUE(d.ok()) << d.error;
    EXPECT_EQ(d.image.palette[15 * 3], 17);      // red of entry 15
    EXPECT_EQ(d.image.palette[15 * 3 + 2], 15);  // blue
    EXPECT_EQ(d.image.palette[16 * 3], 0);

    // Odd width: padded rows, and also the older unpadded layout.
    BmpSpec odd;
    odd.width = 3;
    odd.pixelData = {1, 2, 3, 0, 4, 5, 6, 0};
    d = decodeBmp(buildBmp(odd));
    ASSERT_TRUE(d.ok()) << d.error;
    EXPECT_EQ(d.image.pixels, (Bytes{4, 5, 6, 1, 2, 3}));
    odd.pixelData = {1, 2, 3, 0, 4, 5, 6};  // last row's padding left out
    d = decodeBmp(buildBmp(odd));
    ASSERT_TRUE(d.ok()) << d.error;
    EXPECT_EQ(d.image.pixels, (Bytes{4, 5, 6, 1, 2, 3}));
    odd.pixelData = {1, 2, 3, 4, 5, 6};
    d = decodeBmp(buildBmp(odd));
    ASSERT_TRUE(d.ok()) << d.error;
    EXPECT_EQ(d.image.pixels, (Bytes{4, 5, 6, 1, 2, 3}));
}

TEST(BmpReader, DecodesRle8AndClampsRunsToTheRow) {
    BmpSpec rle;
    rle.compression = 1;
    rle.pixelData = {
        3, 9,              // run of three 9s
        0, 3, 1, 2, 3, 0,  // absolute run of 3, padded to even
        0, 0,              // end of line (file row 0 done: 9 9 9 1, 2 3 clipped)
        9, 7,              // run longer than the row: clamped
        0, 1,              // end of bitmap
    };
    DecodedImage d = decodeBmp(buildBmp(rle));
    ASSERT_TRUE(d.ok()) << d.error;
    EXPECT_EQ(d.image.pixels, (Bytes{7, 7, 7, 7, 9, 9, 9, 1}));

    rle.pixelData = {3, 9, 0, 0, 0, 2, 1};  // delta cut short
    EXPECT_EQ(decodeBmp(buildBmp(rle)).error, kMsgImageDamaged);
}

TEST(BmpReader, RefusesWhatItCannotRead) {
    BmpSpec s;
    s.pixelData = Bytes(8, 1);
    BmpSpec bits24 = s;
    bits24.bits = 24;
    EXPECT_EQ(decodeBmp(buildBmp(bits24)).error, kMsgBmpNot8Bit);
    BmpSpec bitfields = s;
    bitfields.compression = 3;
    EXPECT_EQ(decodeBmp(buildBmp(bitfields)).error, kMsgBmpUnsupported);
    BmpSpec empty = s;
    empty.width = 0;
    EXPECT_EQ(decodeBmp(buildBmp(empty)).error, kMsgImageEmpty);
    BmpSpec tall = s;
    tall.height = 2049;
    EXPECT_EQ(decodeBmp(buildBmp(tall)).error, kMsgImageTooTall);
    BmpSpec cut = s;
    cut.pixelData.resize(7);
    EXPECT_EQ(decodeBmp(buildBmp(cut)).error, kMsgImageDamaged);
    EXPECT_EQ(decodeImage(Bytes{'h', 'e', 'l', 'l', 'o'}).error, kMsgNotValidSkin);
}

Bytes pcxHeader(int xmin, int ymin, int xmax, int ymax, int bytesPerLine) {
    Bytes f(128, 0);
    f[0] = 10;
    f[1] = 5;
    f[2] = 1;
    f[3] = 8;
    f[4] = static_cast<std::uint8_t>(xmin);
    f[6] = static_cast<std::uint8_t>(ymin);
    f[8] = static_cast<std::uint8_t>(xmax);
    f[10] = static_cast<std::uint8_t>(ymax);
    f[65] = 1;
    f[66] = static_cast<std::uint8_t>(bytesPerLine);
    return f;
}

void appendPalette(Bytes& f) {
    f.push_back(12);
    for (int i = 0; i < 768; ++i) f.push_back(static_cast<std::uint8_t>(i / 3));
}

TEST(PcxReader, HonoursOriginPaddingAndRunsAcrossLines) {
    // x min 10, x max 19: ten pixels wide; lines padded to 12 bytes.
    Bytes f = pcxHeader(10, 0, 19, 1, 12);
    // Row 0: ten 5s and two padding bytes in one run crossing into row 1, which
    // starts with a run of 5s too (the run of 14 covers row 0 + 2 of row 1).
    f.insert(f.end(), {0xC0 | 14, 5});
    for (int i = 0; i < 8; ++i) f.push_back(static_cast<std::uint8_t>(i));
    f.insert(f.end(), {0xC0 | 2, 0xFF});  // padding of row 1
    appendPalette(f);
    DecodedImage d = decodePcx(f);
    ASSERT_TRUE(d.ok()) << d.error;
    EXPECT_EQ(d.image.width, 10);
    EXPECT_EQ(d.image.height, 2);
    Bytes want(10, 5);
    want.insert(want.end(), {5, 5, 0, 1, 2, 3, 4, 5, 6, 7});
    EXPECT_EQ(d.image.pixels, want);
    EXPECT_EQ(d.image.palette[767], 255);
}

// Paint programs leave out the palette marker and the padding of the last
// line; the game reads such skins, and so does TARN. Damage is still damage.
TEST(PcxReader, ReadsWhatPaintProgramsWrite) {
    auto pcx = [](int width, int height, int bytesPerLine, Bytes data, bool marker) {
        Bytes f = pcxHeader(0, 0, width - 1, height - 1, bytesPerLine);
        f.insert(f.end(), data.begin(), data.end());
        appendPalette(f);
        if (!marker) f.erase(f.end() - 769);
        return f;
    };
    const struct {
        const char* what;
        Bytes file;
        Bytes pixels;  // empty: refused as damaged
    } cases[] = {
        {"no marker", pcx(2, 2, 2, {1, 2, 3, 4}, false), {1, 2, 3, 4}},
        {"no marker, last pixel of the marker's value", pcx(2, 1, 2, {7, 12}, false), {7, 12}},
        {"one row without its padding", pcx(3, 1, 4, {5, 6, 7}, true), {5, 6, 7}},
        {"one row without padding or marker", pcx(3, 1, 4, {0xC3, 9}, false), {9, 9, 9}},
        {"last of two rows without its padding", pcx(3, 2, 4, {1, 2, 3, 0, 4, 5, 6}, true), {1, 2, 3, 4, 5, 6}},
        // A marker could be a last pixel of its value: one byte short of
        // damage cannot be told from that, two can.
        {"two pixels short", pcx(3, 1, 4, {5}, true), {}},
        {"a pixel short without marker", pcx(3, 1, 4, {5, 6}, false), {}},
        {"an earlier row without its padding", pcx(3, 2, 4, {1, 2, 3, 4, 5}, true), {}},
    };
    for (const auto& c : cases) {
        const DecodedImage d = decodePcx(c.file);
        if (c.pixels.empty()) {
            EXPECT_EQ(d.error, kMsgImageDamaged) << c.what;
            continue;
        }
        ASSERT_TRUE(d.ok()) << c.what << ": " << d.error;
        EXPECT_EQ(d.image.pixels, c.pixels) << c.what;
        EXPECT_EQ(d.image.palette[767], 255) << c.what;
    }
}

TEST(PcxReader, RefusesBadFilesWithTheReason) {
    Bytes ok = pcxHeader(0, 0, 1, 0, 2);
    ok.insert(ok.end(), {1, 2});
    appendPalette(ok);
    ASSERT_TRUE(decodePcx(ok).ok());

    Bytes rgb = ok;
    rgb[65] = 3;
    EXPECT_EQ(decodePcx(rgb).error, kMsgPcxNot8Bit);
    Bytes backwards = ok;
    backwards[4] = 5;  // x min beyond x max
    EXPECT_EQ(decodePcx(backwards).error, kMsgImageEmpty);
    Bytes narrowLines = ok;
    narrowLines[66] = 1;
    EXPECT_EQ(decodePcx(narrowLines).error, kMsgImageDamaged);
    Bytes tall = ok;
    tall[10] = 0x00;
    tall[11] = 0x08;  // y max 2048: 2049 rows
    EXPECT_EQ(decodePcx(tall).error, kMsgImageTooTall);
    Bytes shortData = pcxHeader(0, 0, 3, 0, 4);
    shortData.insert(shortData.end(), {1, 0xC2});  // run count without its value
    appendPalette(shortData);
    EXPECT_EQ(decodePcx(shortData).error, kMsgImageDamaged);
}

}  // namespace
}  // namespace tarn
