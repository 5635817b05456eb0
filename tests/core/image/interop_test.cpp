// Files TARN writes must read the same in other software, and files other
// software writes must read the same in TARN. ImageMagick is the other
// software; the test skips where it is not installed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "image/image_codec.h"
#include "platform/fs.h"
#include "test_files.h"

namespace tarn {
namespace {

bool haveImageMagick() { return std::system("command -v convert >/dev/null 2>&1") == 0; }

int convert(const std::string& args) { return std::system(("convert " + args + " 2>/dev/null").c_str()); }

Bytes expandToRgb(int width, int height, const Bytes& pixels, const Palette& palette) {
    Bytes rgb;
    rgb.reserve(static_cast<std::size_t>(width * height * 3));
    for (std::uint8_t p : pixels)
        for (int c = 0; c < 3; ++c) rgb.push_back(palette[p * 3u + static_cast<unsigned>(c)]);
    return rgb;
}

struct Picture {
    int width;
    int height;
    Bytes pixels;
    Palette palette;
};

Picture randomPicture(int width, int height, unsigned seed) {
    std::mt19937 rng(seed);
    Picture p{width, height, Bytes(static_cast<std::size_t>(width * height)), {}};
    for (auto& v : p.pixels) v = static_cast<std::uint8_t>(rng() & 0xFF);
    // Distinct colours, so that no other program merges palette entries.
    for (int i = 0; i < kPaletteColors; ++i) {
        p.palette[static_cast<std::size_t>(i * 3)] = static_cast<std::uint8_t>(i);
        p.palette[static_cast<std::size_t>(i * 3 + 1)] = static_cast<std::uint8_t>(rng() & 0xFF);
        p.palette[static_cast<std::size_t>(i * 3 + 2)] = static_cast<std::uint8_t>(255 - i);
    }
    return p;
}

TEST(Interop, ImageMagickReadsWhatTarnWrites) {
    if (!haveImageMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    test::TempDir dir;
    const Picture p = randomPicture(37, 23, 5);  // odd width: BMP rows need padding
    const Bytes want = expandToRgb(p.width, p.height, p.pixels, p.palette);
    struct Format {
        const char* name;
        Bytes (*encode)(int, int, const std::uint8_t*, const Palette&);
    };
    for (const Format& f : {Format{"pcx", encodePcx}, Format{"bmp", encodeBmp}, Format{"png", encodePng8}}) {
        SCOPED_TRACE(f.name);
        const std::string in = dir.file(std::string("t.") + f.name);
        const std::string out = dir.file(std::string(f.name) + ".rgb");
        ASSERT_EQ(writeFileAtomic(in, f.encode(p.width, p.height, p.pixels.data(), p.palette)), 0);
        ASSERT_EQ(convert(in + " -depth 8 rgb:" + out), 0);
        EXPECT_EQ(readFile(out).bytes, want);
    }
}

TEST(Interop, TarnReadsWhatImageMagickWrites) {
    if (!haveImageMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    test::TempDir dir;
    const Picture p = randomPicture(29, 17, 8);
    const std::string png = dir.file("src.png");
    ASSERT_EQ(writeFileAtomic(png, encodePng8(p.width, p.height, p.pixels.data(), p.palette)), 0);
    // ImageMagick may reorder or requantise the palette, so TARN's reading of
    // each file is compared with ImageMagick's own reading of it, as colours.
    for (const char* format : {"BMP3", "PCX"}) {
        SCOPED_TRACE(format);
        const std::string written = dir.file(std::string("o.") + format);
        const std::string rgb = dir.file("o.rgb");
        ASSERT_EQ(convert(png + " -type Palette " + format + ":" + written), 0);
        ASSERT_EQ(convert(written + " -depth 8 rgb:" + rgb), 0);
        DecodedImage d = decodeImage(readFile(written).bytes);
        ASSERT_TRUE(d.ok()) << d.error;
        EXPECT_EQ(d.image.width, p.width);
        EXPECT_EQ(expandToRgb(d.image.width, d.image.height, d.image.pixels, d.image.palette),
                  readFile(rgb).bytes);
    }
}

TEST(Interop, RealFilesReadAsImageMagickReadsThem) {
    if (!haveImageMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    test::TempDir dir;
    const std::string rgb = dir.file("real.rgb");
    for (const char* name : {"images/terrain-heightmap.bmp", "images/testimg.bmp", "images/ch6.pcx",
                             "images/m_banner_options.pcx", "irrlicht/media/faerie2.bmp",
                             "q2-didux/baseq2/players/male/elkan.pcx"}) {
        SCOPED_TRACE(name);
        const std::string path = test::realTestData(name);
        if (path.empty()) GTEST_SKIP() << "real test data not present";
        ASSERT_EQ(convert(path + " -depth 8 rgb:" + rgb), 0);
        DecodedImage d = decodeImage(readFile(path).bytes);
        ASSERT_TRUE(d.ok()) << d.error;
        EXPECT_EQ(expandToRgb(d.image.width, d.image.height, d.image.pixels, d.image.palette),
                  readFile(rgb).bytes);
    }
}

}  // namespace
}  // namespace tarn
