// The public game and engine images under the shared real test data: every
// 8-bit one loads, the rest are refused with the right reason, and no cut of
// any of them gets through.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "image/image_codec.h"
#include "image/palette_file.h"
#include "image/skin_io.h"
#include "platform/fs.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> realImages() {
    std::vector<std::string> out;
    const std::string root = test::realTestData("");
    if (root.empty()) return out;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        if (!e.is_regular_file()) continue;
        std::string ext = e.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char ch) { return std::tolower(ch); });
        if (ext == ".pcx" || ext == ".bmp") out.push_back(e.path().string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

// True-colour files (PCX of three planes, BMPs of 24 and 4 bits): refused
// without a palette to match them to, read with one.
const char* expectedRefusal(const std::string& path) {
    const std::string name = fileNameOf(path);
    if (name == "ogrobase.pcx" || name == "abarlith.pcx" || name == "fire.bmp" || name == "builtInFont.bmp")
        return kMsgPngNeedsPalette;
    return nullptr;
}

// Mean absolute difference in green between vertically adjacent pixels: small
// for the smooth photograph and height map below, large when rows are misplaced.
double verticalRoughness(const Skin& s) {
    auto green = [&](int x, int y) {
        return s.palette[s.pixels[static_cast<std::size_t>(y * s.width + x)] * 3u + 1];
    };
    long sum = 0;
    for (int y = 1; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) sum += std::abs(green(x, y) - green(x, y - 1));
    return static_cast<double>(sum) / (static_cast<double>(s.width) * (s.height - 1));
}

TEST(RealImages, EveryImageLoadsOrIsRefusedWithItsReason) {
    const auto files = realImages();
    if (files.empty()) GTEST_SKIP() << "real test data not present";
    int loaded = 0;
    for (const auto& path : files) {
        SCOPED_TRACE(path);
        test::ScriptedUi ui;
        auto skin = LoadSkinImage(ui, path);
        if (const char* reason = expectedRefusal(path)) {
            EXPECT_EQ(skin, nullptr);
            EXPECT_EQ(ui.messages(), std::vector<std::string>{std::string(reason) + "\n" + path});
            const ColourMatcher grey = [] { return std::optional<ColourMatch>(ColourMatch{}); };
            skin = LoadSkinImage(ui, path, &grey);
            ASSERT_NE(skin, nullptr);
            EXPECT_EQ(skin->pixels.size(), skin->pixelCount());
            ++loaded;
            continue;
        }
        ASSERT_NE(skin, nullptr) << (ui.messages().empty() ? "" : ui.messages()[0]);
        EXPECT_TRUE(ui.messages().empty());
        EXPECT_EQ(skin->pixels.size(), skin->pixelCount());
        EXPECT_EQ(skin->backup, skin->pixels);
        EXPECT_TRUE(skin->hasFile);
        EXPECT_FALSE(skin->external);
        EXPECT_EQ(skin->name, path);
        ++loaded;

        // What TARN writes decodes to the same image, in both formats.
        for (auto encode : {encodePcx, encodeBmp}) {
            DecodedImage again = decodeImage(encode(skin->width, skin->height, skin->pixels.data(), skin->palette));
            ASSERT_TRUE(again.ok());
            EXPECT_EQ(again.image.pixels, skin->pixels);
            EXPECT_EQ(again.image.palette, skin->palette);
        }
    }
    EXPECT_GE(loaded, 49);
}

TEST(RealImages, KnownFilesDecodeToTheirKnownShapes) {
    struct Known {
        const char* path;
        int width;
        int height;
        SkinFileType type;
    };
    const Known known[] = {
        {"images/ch6.pcx", 23, 50, SkinFileType::Pcx},            // lines padded to 24
        {"images/m_banner_options.pcx", 275, 32, SkinFileType::Pcx},
        {"images/colormap.pcx", 256, 320, SkinFileType::Pcx},
        {"images/terrain-heightmap.bmp", 256, 256, SkinFileType::Bmp},  // RLE8
        {"images/testimg.bmp", 227, 149, SkinFileType::Bmp},           // rows padded to 228
        {"irrlicht/media/sydney.bmp", 308, 193, SkinFileType::Bmp},
        {"3dengine/models/sodf8/weapon.pcx", 128, 128, SkinFileType::Pcx},  // no runs at all
    };
    for (const auto& k : known) {
        SCOPED_TRACE(k.path);
        const std::string path = test::realTestData(k.path);
        if (path.empty()) GTEST_SKIP() << "real test data not present";
        test::ScriptedUi ui;
        auto skin = LoadSkinImage(ui, path);
        ASSERT_NE(skin, nullptr);
        EXPECT_EQ(skin->width, k.width);
        EXPECT_EQ(skin->height, k.height);
        EXPECT_EQ(skin->fileType, k.type);
        EXPECT_EQ(skin->rowTable[static_cast<std::size_t>(k.height - 1)], (k.height - 1) * k.width);
    }

    // A height map and a photograph: misplaced rows or a wrong stride would
    // make neighbouring rows unrelated.
    test::ScriptedUi ui;
    for (const char* smooth : {"images/terrain-heightmap.bmp", "images/testimg.bmp"}) {
        auto skin = LoadSkinImage(ui, test::realTestData(smooth));
        ASSERT_NE(skin, nullptr);
        EXPECT_LT(verticalRoughness(*skin), 12.0) << smooth;
    }

    // sydney.bmp carries the exact Quake II palette.
    Palette q2{};
    ASSERT_TRUE(LoadPaletteFile(test::realTestData("images/Quake2.dat"), q2));
    auto sydney = LoadSkinImage(ui, test::realTestData("irrlicht/media/sydney.bmp"));
    ASSERT_NE(sydney, nullptr);
    EXPECT_EQ(sydney->palette, q2);
}

// A cut either loses pixels and is refused with a reason, or loses only what
// carries no pixels (the padding after a BMP's last row) and reads whole.
TEST(RealImages, EveryCutIsRefusedUnlessNothingWasLost) {
    const auto files = realImages();
    if (files.empty()) GTEST_SKIP() << "real test data not present";
    for (const auto& path : files) {
        if (expectedRefusal(path)) continue;
        const Bytes whole = readFile(path).bytes;
        const DecodedImage full = decodeImage(whole);
        ASSERT_TRUE(full.ok()) << path;
        const std::size_t n = whole.size();
        for (std::size_t length : {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{20},
                                   std::size_t{60}, std::size_t{127}, std::size_t{128}, n / 3, n / 2,
                                   n - 769, n - 768, n - 100, n - 1}) {
            if (length >= n) continue;
            // Without its last byte a PCX is a PCX without the palette marker
            // whose palette begins with the marker's value: the game reads
            // such files, and so does TARN.
            if (length == n - 1 && looksLikePcx(whole)) continue;
            SCOPED_TRACE(path + " cut at " + std::to_string(length));
            const DecodedImage d = decodeImage(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)));
            if (d.ok()) {
                EXPECT_EQ(d.image.pixels, full.image.pixels);
                EXPECT_EQ(d.image.palette, full.image.palette);
            } else {
                EXPECT_FALSE(d.error.empty());
            }
        }
    }
}

}  // namespace
}  // namespace tarn
