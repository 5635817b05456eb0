// Palette files, the default palette, the colormap, Re-Palette and the
// default-palette button.
#include "image/palette_file.h"

#include "skin_fixture.h"

namespace tarn::test {
namespace {

using Strings = std::vector<std::string>;

class Palettes : public SkinFixture {
protected:
    std::string writeBytes(const std::string& name, const Bytes& bytes) {
        const std::string path = dir.file(name);
        EXPECT_EQ(writeFileAtomic(path, bytes), 0);
        return path;
    }

    // An 8-bit BMP with `colours` table entries; entry i is (red i+2, green i+1, blue i).
    std::string writeSmallBmp(const std::string& name, std::uint32_t colours) {
        Bytes f = encodeBmp(2, 1, Bytes{0, 1}.data(), Palette{});
        f[46] = static_cast<std::uint8_t>(colours);
        for (std::uint32_t i = 0; i < 256; ++i) {
            f[54 + i * 4] = static_cast<std::uint8_t>(i);
            f[55 + i * 4] = static_cast<std::uint8_t>(i + 1);
            f[56 + i * 4] = static_cast<std::uint8_t>(i + 2);
        }
        return writeBytes(name, f);
    }
};

Palette filled(std::uint8_t v) {
    Palette p{};
    p.fill(v);
    return p;
}

TEST_F(Palettes, FileKindsAreToldApartBySizeAndMagic) {
    // Exactly 768 bytes is an ACT palette whatever it holds, even "BM".
    Bytes act(768, 9);
    act[0] = 'B';
    act[1] = 'M';
    Palette p = filled(0);
    EXPECT_TRUE(LoadPaletteFile(writeBytes("p.act", act), p));
    EXPECT_EQ(p[0], 'B');
    EXPECT_EQ(p[767], 9);
    // Photoshop's 772-byte form with its trailer, whatever its first colours
    // look like: no PCX or BMP with a whole palette is that short.
    for (const Bytes& lead : {Bytes{4, 4}, Bytes{'B', 'M'}, Bytes{10, 5}}) {
        Bytes act772(772, 4);
        std::copy(lead.begin(), lead.end(), act772.begin());
        EXPECT_TRUE(LoadPaletteFile(writeBytes("p772.act", act772), p));
        EXPECT_EQ(p[0], lead[0]);
        EXPECT_EQ(p[767], 4);
    }

    // Too short, or neither BMP nor PCX: refused, palette untouched.
    for (const Bytes& bad : {Bytes(767, 1), Bytes(1000, 1), Bytes{}}) {
        Palette q = filled(5);
        EXPECT_FALSE(LoadPaletteFile(writeBytes("bad", bad), q));
        EXPECT_EQ(q, filled(5));
    }
    Palette q = filled(5);
    EXPECT_FALSE(LoadPaletteFile(dir.file("missing.pcx"), q));

    // A PCX palette is its last 768 bytes, marker or not.
    Bytes pcx = encodePcx(1, 1, Bytes{0}.data(), filled(3));
    pcx[pcx.size() - 769] = 0;
    EXPECT_TRUE(LoadPaletteFile(writeBytes("nomark.pcx", pcx), q));
    EXPECT_EQ(q, filled(3));
    // ... but a 24-bit PCX has none.
    pcx[65] = 3;
    q = filled(5);
    EXPECT_FALSE(LoadPaletteFile(writeBytes("rgb.pcx", pcx), q));
    EXPECT_EQ(q, filled(5));

    // A BMP that is not 8-bit, or whose colour table is cut off, is refused.
    Bytes bmp = readFile(writeSmallBmp("s.bmp", 0)).bytes;
    Bytes bmp24 = bmp;
    bmp24[28] = 24;
    EXPECT_FALSE(LoadPaletteFile(writeBytes("24.bmp", bmp24), q));
    Bytes cut(bmp.begin(), bmp.begin() + 800);
    EXPECT_FALSE(LoadPaletteFile(writeBytes("cut.bmp", cut), q));
    EXPECT_EQ(q, filled(5));
}

TEST_F(Palettes, RePaletteWithSixteenColoursKeepsTheRest) {
    Skin& skin = addSkin("s", false, 7);
    skin.palette = filled(200);
    const auto pixels = skin.pixels;
    writeSmallBmp("sixteen.bmp", 16);
    ui.openFile(dir.file("sixteen"), 2);
    rePalette(ctx);
    EXPECT_EQ(ui.shown, Strings{std::string("open: ") + kPaletteFilter});
    EXPECT_EQ(skin.palette[15 * 3], 17);
    EXPECT_EQ(skin.palette[15 * 3 + 2], 15);
    EXPECT_EQ(skin.palette[16 * 3], 200);
    EXPECT_EQ(skin.pixels, pixels);
    EXPECT_EQ(calls(), (Strings{"paintRemap", "shadeRamps", "refresh 0 47"}));

    // The third filter adds ".act"; a file without a palette is reported.
    ui.openFile(dir.file("nothing"), 3);
    rePalette(ctx);
    EXPECT_EQ(ui.messages(), Strings{kMsgNoPalette});
    EXPECT_TRUE(calls().empty());
    writeBytes("nothing.act", Bytes(768, 1));
    ui.openFile(dir.file("nothing"), 3);
    rePalette(ctx);
    EXPECT_EQ(skin.palette, filled(1));
}

TEST_F(Palettes, DefaultPaletteFallsBackToTheGreyRamp) {
    Skin& skin = addSkin("s", false, 7);
    defaultPalette(ctx);
    EXPECT_EQ(skin.palette, greyRampPalette());
    EXPECT_EQ(skin.palette[100 * 3 + 1], 100);
    EXPECT_EQ(calls(), (Strings{"refreshAll", "paintRemap", "shadeRamps"}));

    settings.setString(kPreferences, kPalettePathKey, writeBytes("q.act", Bytes(768, 6)));
    defaultPalette(ctx);
    EXPECT_EQ(skin.palette, filled(6));

    skins.clear();
    calls();
    defaultPalette(ctx);
    rePalette(ctx);
    EXPECT_TRUE(calls().empty());
}

TEST_F(Palettes, ColormapMustHave256ColumnsAnd64Rows) {
    EXPECT_EQ(LoadColormap(ui, settings), nullptr);  // no "Palette Path"
    settings.setString(kPreferences, kPalettePathKey, writeImage(dir.file("narrow.pcx"), 255, 64, 1));
    EXPECT_EQ(LoadColormap(ui, settings), nullptr);
    settings.setString(kPreferences, kPalettePathKey, writeImage(dir.file("short.pcx"), 256, 63, 1));
    EXPECT_EQ(LoadColormap(ui, settings), nullptr);
    settings.setString(kPreferences, kPalettePathKey, writeImage(dir.file("ok.pcx"), 256, 64, 1));
    auto map = LoadColormap(ui, settings);
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->pixels.size(), 256u * 64u);
    EXPECT_TRUE(ui.messages().empty());

    const std::string real = realTestData("images/colormap.pcx");
    if (real.empty()) GTEST_SKIP() << "real test data not present";
    settings.setString(kPreferences, kPalettePathKey, real);
    map = LoadColormap(ui, settings);
    ASSERT_NE(map, nullptr);
    Palette q2{};
    ASSERT_TRUE(LoadPaletteFile(realTestData("images/Quake2.dat"), q2));
    Palette fromPath{};
    LoadDefaultPalette(settings, fromPath);
    EXPECT_EQ(fromPath, q2);
}

}  // namespace
}  // namespace tarn::test
