#include <gtest/gtest.h>

#include <random>

#include "image/image_codec.h"
#include "png_files.h"

namespace tarn {
namespace {

using test::makePng;
using test::putPngChunk;

Bytes rawRgba(const RgbaImage& img) { return test::rawRgbaRows(img.width, img.height, img.rgba); }

RgbaImage seededRgba(int w, int h, std::mt19937& rng) {
    RgbaImage img{w, h, Bytes(static_cast<std::size_t>(w * h) * 4)};
    for (auto& b : img.rgba) b = static_cast<std::uint8_t>(rng());
    return img;
}

TEST(Png, IndexedImagesRoundTripExactlyAndCompress) {
    std::mt19937 rng(7);
    for (auto [w, h] : {std::pair{1, 1}, {13, 5}, {640, 480}, {kMaxImageWidth, 2}}) {
        Palette pal{};
        for (auto& c : pal) c = static_cast<std::uint8_t>(rng());
        Bytes px(static_cast<std::size_t>(w * h));
        // Runs of a colour, as skins have them, so that compression shows.
        for (std::size_t i = 0; i < px.size(); ++i) px[i] = static_cast<std::uint8_t>(i / 7 % 256);
        const Bytes file = encodePng8(w, h, px.data(), pal);
        const DecodedPng d = decodePng(file);
        ASSERT_TRUE(d.error.empty()) << w << "x" << h << ": " << d.error;
        ASSERT_TRUE(d.indexed);
        EXPECT_EQ(d.image.width, w);
        EXPECT_EQ(d.image.height, h);
        EXPECT_EQ(d.image.pixels, px);
        EXPECT_EQ(d.image.palette, pal);
        if (px.size() > 10000) {
            EXPECT_LT(file.size() * 10, px.size()) << "stored, not compressed";
        }
    }
}

// Nearest matching against the plain definition: least squared distance,
// lowest index on ties; pixels under half opacity take the transparent index.
TEST(Png, TrueColourNearestMatchAgreesWithBruteForce) {
    std::mt19937 rng(11);
    for (int round = 0; round < 3; ++round) {
        ColourMatch match;
        for (auto& c : match.palette) c = static_cast<std::uint8_t>(rng() % 4 * 80);  // many ties
        match.transparentIndex = 201;
        const RgbaImage img = seededRgba(61, 47, rng);
        const Bytes file = makePng(61, 47, 6, rawRgba(img));
        const ColourMatcher matcher = [&] { return std::optional<ColourMatch>(match); };
        const DecodedImage d = decodeImage(file, &matcher);
        ASSERT_TRUE(d.ok()) << d.error;
        EXPECT_EQ(d.image.palette, match.palette);
        for (std::size_t i = 0; i < d.image.pixels.size(); ++i) {
            const std::uint8_t* p = img.rgba.data() + i * 4;
            int best = 0;
            long bestDist = 1L << 40;
            for (int k = 0; k < 256; ++k) {
                long dist = 0;
                for (int ch = 0; ch < 3; ++ch) {
                    const long diff = match.palette[static_cast<std::size_t>(k * 3 + ch)] - p[ch];
                    dist += diff * diff;
                }
                if (dist < bestDist) bestDist = dist, best = k;
            }
            ASSERT_EQ(d.image.pixels[i], p[3] < 128 ? 201 : best) << "pixel " << i;
        }
    }
}

// A flat colour between the palette's colours, dithered, keeps its mean; the
// nearest colour alone cannot.
TEST(Png, DitheringKeepsTheMeanColour) {
    ColourMatch match;
    match.dither = true;
    for (int i = 0; i < 8; ++i)
        for (int ch = 0; ch < 3; ++ch) match.palette[static_cast<std::size_t>(i * 3 + ch)] = (i >> ch & 1) ? 255 : 0;
    for (const auto& colour : {std::array<int, 3>{128, 128, 128}, {200, 30, 90}, {10, 240, 100}}) {
        RgbaImage img{64, 64, Bytes(64 * 64 * 4, 255)};
        for (std::size_t i = 0; i < 64 * 64; ++i)
            for (int ch = 0; ch < 3; ++ch) img.rgba[i * 4 + static_cast<std::size_t>(ch)] = static_cast<std::uint8_t>(colour[ch]);
        const Bytes px = matchToPalette(img, match);
        for (int ch = 0; ch < 3; ++ch) {
            double sum = 0;
            for (std::uint8_t p : px) sum += match.palette[static_cast<std::size_t>(p) * 3 + static_cast<std::size_t>(ch)];
            EXPECT_NEAR(sum / static_cast<double>(px.size()), colour[ch], 2.0) << "channel " << ch;
        }
    }
}

// Grey and grey-with-alpha PNGs come through the same expansion as colour.
TEST(Png, GreyAndPalettedTransparencyAreRead) {
    const Bytes grey = makePng(2, 1, 0, {0, 0, 255});
    DecodedPng d = decodePng(grey);
    ASSERT_TRUE(d.error.empty()) << d.error;
    EXPECT_EQ(d.colour.rgba, (Bytes{0, 0, 0, 255, 255, 255, 255, 255}));
    const Bytes greyAlpha = makePng(1, 1, 4, {0, 90, 0});
    d = decodePng(greyAlpha);
    ASSERT_TRUE(d.error.empty()) << d.error;
    EXPECT_EQ(d.colour.rgba, (Bytes{90, 90, 90, 0}));
}

TEST(Png, DamagedAndHostileFilesAreRefusedWithAMessage) {
    std::mt19937 rng(3);
    const RgbaImage img = seededRgba(16, 16, rng);
    const Bytes good = makePng(16, 16, 6, rawRgba(img));
    ASSERT_TRUE(decodePng(good).error.empty());

    auto flipped = [&](std::size_t at) {
        Bytes b = good;
        b[at] ^= 0x40;
        return b;
    };
    Bytes bomb = rawRgba(img);
    bomb.resize(bomb.size() + (std::size_t{64} << 20), 0);  // 64 MB more than 16 x 16 needs
    Bytes noIdat = good;
    noIdat.resize(33);
    putPngChunk(noIdat, "IEND", {});

    struct Case {
        const char* what;
        Bytes file;
        const char* message;
    };
    const Case cases[] = {
        {"signature only", Bytes(good.begin(), good.begin() + 8), kMsgImageDamaged},
        {"cut in the header", Bytes(good.begin(), good.begin() + 20), kMsgImageDamaged},
        {"cut in the data", Bytes(good.begin(), good.end() - 40), kMsgImageDamaged},
        {"bad header CRC", flipped(29), kMsgImageDamaged},
        {"bad data byte", flipped(50), kMsgImageDamaged},
        {"no image data", noIdat, kMsgImageDamaged},
        {"too wide", makePng(40000, 1, 6, Bytes(1 + 40000 * 4)), kMsgImageTooWide},
        {"too tall", makePng(1, 3000, 0, Bytes(3000 * 2)), kMsgImageTooTall},
        {"empty", makePng(0, 5, 0, {}), kMsgImageEmpty},
        {"decompression bomb", makePng(16, 16, 6, bomb), kMsgImageDamaged},
        {"short data", makePng(16, 16, 6, Bytes(100)), kMsgImageDamaged},
        {"palette image without palette", makePng(1, 1, 3, {0, 0}), kMsgImageDamaged},
    };
    for (const Case& c : cases) {
        const DecodedPng d = decodePng(c.file);
        EXPECT_EQ(d.error, c.message) << c.what;
        EXPECT_TRUE(d.image.pixels.empty() && d.colour.rgba.empty()) << c.what;
    }
    // Without a matcher a true-colour PNG is refused; a cancelled one is neither image nor error.
    EXPECT_EQ(decodeImage(good).error, kMsgPngNeedsPalette);
    const ColourMatcher cancel = [] { return std::optional<ColourMatch>(); };
    const DecodedImage cancelled = decodeImage(good, &cancel);
    EXPECT_TRUE(cancelled.cancelled && cancelled.error.empty());
}

// What a reader need not look at never costs it time nor refuses a file:
// ancillary chunks of any size are passed over, and nothing after the last
// row is inflated (a gigabyte of surplus data used to take over a second).
TEST(Png, AncillaryChunksAndWhatFollowsTheImageAreIgnoredAtOnce) {
    std::mt19937 rng(5);
    const RgbaImage img = seededRgba(16, 16, rng);
    const Bytes raw = rawRgba(img);
    const Bytes big(std::size_t{3} << 20, 'x');
    Bytes noEnd = makePng(16, 16, 6, raw);
    noEnd.resize(noEnd.size() - 12);
    struct Case {
        const char* what;
        Bytes file;
        const char* message;  // empty: the image loads
    };
    const Case cases[] = {
        {"no end chunk", noEnd, ""},
        {"streamed", test::makePngWith(16, 16, 6, raw, {}), ""},
        {"3 MB of text", test::makePngWith(16, 16, 6, raw, {{"tEXt", big}}), ""},
        {"3 MB colour profile", test::makePngWith(16, 16, 6, raw, {{"iCCP", big}}), ""},
        {"3 MB Exif", test::makePngWith(16, 16, 6, raw, {{"eXIf", big}}), ""},
        {"3 MB unknown ancillary", test::makePngWith(16, 16, 6, raw, {{"zzZz", big}}), ""},
        {"unknown critical chunk", test::makePngWith(16, 16, 6, raw, {{"ZZZZ", {1, 2, 3}}}), kMsgImageDamaged},
        {"a gigabyte of surplus data", test::makePngWith(16, 16, 6, raw, {}, std::uint64_t{1} << 30),
         kMsgImageDamaged},
    };
    for (const Case& c : cases) {
        const DecodedPng d = decodePng(c.file);
        EXPECT_EQ(d.error, c.message) << c.what;
        if (d.error.empty()) {
            EXPECT_EQ(d.colour.rgba, img.rgba) << c.what;
        }
    }
}

}  // namespace
}  // namespace tarn
