#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "edit/retro_map.h"
#include "edit/seam_padding.h"
#include "raster/rasterizer.h"
#include "image/image_codec.h"
#include "image/skin_io.h"
#include "platform/refresh.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

using test::ScriptedUi;

constexpr std::uint8_t kBackground = 3;

// A 16 x 16 skin whose left half, (0, 0)-(8, 16), is mapped by two Triangles.
Mesh leftHalf() {
    Mesh m;
    m.skinWidth = m.skinHeight = 16;
    m.vertexCount = 4;
    m.triangleCount = 2;
    m.mappingVerts[0] = {0, 0};
    m.mappingVerts[1] = {8, 0};
    m.mappingVerts[2] = {8, 16};
    m.mappingVerts[3] = {0, 16};
    m.mappingVertCount = 4;
    m.triangles[0].mapping = {0, 1, 2};
    m.triangles[1].mapping = {0, 2, 3};
    m.triangles[0].vertex = {0, 1, 2};
    m.triangles[1].vertex = {0, 2, 3};
    MergeMappingVerts(m);
    return m;
}

using Corners = std::array<MappingVert, 3>;

// A mesh of `skinWidth` x `skinHeight` whose Triangles sit at `corners`.
Mesh meshAt(const std::vector<Corners>& corners, int skinWidth, int skinHeight) {
    Mesh m;
    m.skinWidth = std::int16_t(skinWidth);
    m.skinHeight = std::int16_t(skinHeight);
    m.vertexCount = 3;
    m.triangleCount = std::int16_t(corners.size());
    for (std::size_t i = 0; i < corners.size(); ++i) {
        m.triangles[i].corner = corners[i];
        m.triangles[i].vertex = {0, 1, 2};
    }
    RebuildMappingVerts(m);
    return m;
}

std::int64_t floorDiv(std::int64_t n, std::int64_t d) { return n / d - (n % d != 0 && (n < 0) != (d < 0)); }

// Re-baking moves texels exactly with their Triangles. Each case maps the
// old skin's Triangles to new corners by a plain transform and names, per
// new texel, the old texel whose centre the transform takes its centre to
// (texel centres lie at +1/2, and a centre landing on a texel border takes
// the texel after it). Every texel the fills would cover must hold exactly
// that old texel; every other texel keeps the background.
TEST(RetroMap, ReBakeTakesEveryCoveredTexelFromTheSamePointOfTheOldSkin) {
    using Point = std::array<int, 2>;
    struct Case {
        const char* what;
        std::vector<Corners> old;
        Point (*toNew)(Point);   // where an old corner goes
        Point (*toOld)(Point);   // the old texel a new texel's centre comes from
        int fileScale = 1;       // the mapping file was written for a skin this many times the old one
    };
    const std::vector<Corners> square = {{{{2, 2}, {14, 2}, {14, 14}}}, {{{2, 2}, {14, 14}, {2, 14}}}};
    const std::vector<Corners> slanted = {{{{1, 3}, {13, 1}, {6, 14}}}};
    const std::vector<Corners> flat = {{{{2, 2}, {8, 5}, {14, 8}}}, {{{3, 12}, {3, 12}, {3, 12}}}};
    const Case cases[] = {
        {"identity", square, [](Point p) { return p; }, [](Point p) { return p; }},
        {"identity, slanted", slanted, [](Point p) { return p; }, [](Point p) { return p; }},
        {"identity, flat Triangles", flat, [](Point p) { return p; }, [](Point p) { return p; }},
        {"file for twice the skin", square, [](Point p) { return p; }, [](Point p) { return p; }, 2},
        {"move by whole texels", slanted, [](Point p) { return Point{p[0] + 20, p[1] - 1}; },
         [](Point p) { return Point{p[0] - 20, p[1] + 1}; }},
        {"move a flat Triangle", flat, [](Point p) { return Point{p[0] + 3, p[1] + 7}; },
         [](Point p) { return Point{p[0] - 3, p[1] - 7}; }},
        {"quarter turn", slanted, [](Point p) { return Point{15 - p[1], p[0]}; },
         [](Point p) { return Point{p[1], 15 - p[0]}; }},
        {"half turn", square, [](Point p) { return Point{30 - p[0], 20 - p[1]}; },
         [](Point p) { return Point{30 - p[0], 20 - p[1]}; }},
        {"quarter turn of a flat Triangle", flat, [](Point p) { return Point{15 - p[1], p[0]}; },
         [](Point p) { return Point{p[1], 15 - p[0]}; }},
        // x = 2 s: the centre x + 1/2 comes from s = x / 2 + 1/4 ... + 1/2.
        {"twice the size", square, [](Point p) { return Point{2 * p[0], 2 * p[1]}; },
         [](Point p) { return Point{int(floorDiv(p[0] + 1, 2)), int(floorDiv(p[1] + 1, 2))}; }},
        {"half the size", square, [](Point p) { return Point{p[0] / 2, p[1] / 2}; },
         [](Point p) { return Point{2 * p[0], 2 * p[1]}; }},
        {"three times as wide", slanted, [](Point p) { return Point{3 * p[0], p[1]}; },
         [](Point p) { return Point{int(floorDiv(2 * p[0] + 3, 6)), p[1]}; }},
    };
    constexpr int kNewWidth = 48, kNewHeight = 32;
    // Each old texel holds its own position: x in the high nibble, y in the low.
    auto old = makeBlankSkin(16, 16);
    for (std::size_t i = 0; i < old->pixels.size(); ++i) old->pixels[i] = std::uint8_t((i % 16) << 4 | i / 16);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Corners> written = c.old, now = c.old;
        for (std::size_t i = 0; i < c.old.size(); ++i)
            for (std::size_t k = 0; k < 3; ++k) {
                const MappingVert v = c.old[i][k];
                written[i][k] = {std::int16_t(v.s * c.fileScale), std::int16_t(v.t * c.fileScale)};
                const Point p = c.toNew({v.s, v.t});
                now[i][k] = {std::int16_t(p[0]), std::int16_t(p[1])};
            }
        const KmapParse file = ParseKmap(EncodeKmap(meshAt(written, 16 * c.fileScale, 16 * c.fileScale)),
                                         int(written.size()));
        ASSERT_TRUE(file.ok());
        const Mesh mesh = meshAt(now, kNewWidth, kNewHeight);
        const std::vector<std::uint8_t> pixels = RetroMapPixels(mesh, *old, file.file, kBackground, 0);

        // The fills' own coverage of the new corners.
        std::vector<std::uint8_t> covered(pixels.size(), 0);
        Rasterizer raster;
        raster.SetTarget(RasterTarget{covered.data(), nullptr, nullptr, nullptr, kNewWidth, kNewHeight});
        for (const Corners& t : now) raster.FillSolid2D({{{t[0].s, t[0].t}, {t[1].s, t[1].t}, {t[2].s, t[2].t}, {t[0].s, t[0].t}}}, 1);

        int wrong = 0, texels = 0;
        for (int y = 0; y < kNewHeight; ++y) {
            for (int x = 0; x < kNewWidth; ++x) {
                const std::size_t at = std::size_t(y * kNewWidth + x);
                const Point from = c.toOld({x, y});
                const int want = covered[at] ? std::clamp(from[0], 0, 15) << 4 | std::clamp(from[1], 0, 15) : kBackground;
                texels += covered[at];
                if (pixels[at] != want && ++wrong <= 5)
                    ADD_FAILURE() << "texel " << x << "," << y << " holds " << int(pixels[at]) << ", not " << want;
            }
        }
        EXPECT_EQ(wrong, 0);
        EXPECT_GT(texels, 0);
    }
}

// Padding grows the islands by rings of the eight neighbours; each padded
// texel takes its nearest covered texel's colour.
TEST(RetroMap, PaddingGrowsTheIslandsByRingsAndStopsAtItsWidth) {
    struct Case {
        int padding;
        const char* covered;  // one row: '#' covered, '.' not
        const char* colours;  // the row's colours before and after
        const char* after;
    };
    const Case cases[] = {
        {0, "...#....", "abcdefgh", "abcdefgh"},
        {2, "...#....", "abcdefgh", "adddddgh"},
        {2, "#......#", "abcdefgh", "aaadehhh"},
        {3, "#.....#.", "abcdefgh", "aaaagggg"},  // at equal distance the first texel in the image wins
        {9, "#.......", "abcdefgh", "aaaaaaaa"},
        {3, "........", "abcdefgh", "abcdefgh"},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> pixels(c.colours, c.colours + 8);
        std::vector<std::uint8_t> covered(8);
        for (std::size_t i = 0; i < 8; ++i) covered[i] = c.covered[i] == '#';
        PadSeams(pixels, covered, 8, 1, c.padding);
        EXPECT_EQ(std::string(pixels.begin(), pixels.end()), c.after) << c.covered << " padded by " << c.padding;
    }
}

TEST(RetroMap, TellsAFileForAnotherModelFromABrokenOne) {
    const Mesh mesh = leftHalf();
    Bytes file = EncodeKmap(mesh);
    auto old = makeBlankSkin(16, 16);
    test::TempDir dir;
    for (const auto& [count, size, why] : {std::tuple{2, file.size() - 1, kMsgKmapInvalid},
                                           std::tuple{3, file.size(), kMsgRetroTriangleCount}}) {
        file[4] = std::uint8_t(count);
        ASSERT_EQ(writeFileAtomic(dir.file("a.kmp"), Bytes(file.begin(), file.begin() + std::ptrdiff_t(size))), 0);
        ScriptedUi ui;
        EXPECT_EQ(RetroMap(ui, mesh, *old, dir.file("a.kmp"), kBackground, 0), nullptr);
        EXPECT_EQ(ui.messages(), std::vector<std::string>{std::string(why) + "\n" + dir.file("a.kmp")});
    }
}

TEST(RetroMap, CommandAsksForTheSkinThenItsMappingAndAppendsTheNewSkin) {
    test::TempDir dir;
    const Mesh mesh = leftHalf();
    auto old = makeBlankSkin(16, 16);
    ScriptedUi ui;
    ASSERT_TRUE(SavePcx(ui, *old, dir.file("old.pcx")));
    ASSERT_EQ(writeFileAtomic(dir.file("old.kmp"), EncodeKmap(mesh)), 0);
    // A true-colour PNG as the old skin: no skin is current, so it is matched
    // to the default palette (the grey ramp here) after the dithering question.
    const Bytes grey(16 * 16 * 3, 40);
    ASSERT_EQ(writeFileAtomic(dir.file("photo.png"), encodePng24(16, 16, grey.data())), 0);
    struct Case {
        const char* image;
        int filterIndex;
        bool cancelMapping;
        std::optional<int> padding;  // nothing: Cancel in the padding dialog
        std::uint8_t covered;        // what the old skin gives the mapped left half
        bool cancelWork = false;     // Cancel while the skin is re-baked
    };
    const Case cases[] = {{"old", 1, true, 0, 0},  {"old", 1, false, std::nullopt, 0}, {"old", 1, false, 0, 0},
                          {"photo", 3, false, 3, 40}, {"old", 1, false, 0, 0, true}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.image);
        MemorySettings settings;
        Folders folders{dir.path(), dir.path(), dir.path()};
        RecordingRefresh refresh;
        SkinList skins;
        RetroMapContext c{ui, settings, folders, refresh, mesh, skins, 9};
        // Names typed without an extension get the chosen filter's.
        ui.openFile(dir.file(k.image), k.filterIndex);
        if (k.filterIndex == 3) ui.answer(Answer::No);
        if (k.cancelMapping)
            ui.openFile(std::nullopt);
        else
            ui.openFile(dir.file("old")).custom("retroMapPadding", k.padding);
        ui.cancelProgress = k.cancelWork;
        retroMapCommand(c);
        const bool made = !k.cancelMapping && k.padding && !k.cancelWork;
        EXPECT_EQ(ui.progressTitles.size(), k.cancelMapping || !k.padding ? 0u : 1u);
        ui.progressTitles.clear();
        ASSERT_EQ(skins.count(), made ? 1 : 0);
        if (!made) continue;
        EXPECT_EQ(ui.shown.back(), "retroMapPadding: 2");  // the default before any was chosen
        EXPECT_EQ(settings.getInt(kProject, kKeyRetroMapPadding, -1), *k.padding);
        EXPECT_EQ(skins.currentIndex(), 0);
        EXPECT_TRUE(skins.current()->external);
        EXPECT_EQ(skins.current()->backup, skins.current()->pixels);
        const std::vector<std::uint8_t>& row = skins.current()->pixels;
        // The Triangles cover columns 0 to 8; the padding grows that by its width.
        EXPECT_EQ(row[0], k.covered);
        EXPECT_EQ(row[std::size_t(8 + *k.padding)], k.covered);
        EXPECT_EQ(row[std::size_t(9 + *k.padding)], 9);
        EXPECT_EQ(refresh.calls, (std::vector<std::string>{"refreshAll", "paintRemap", "shadeRamps"}));
        EXPECT_EQ(ui.fileRequests.back().filter, kKmapFilter);
        EXPECT_EQ(ui.fileRequests[0].filter, kRetroSkinFilter);
    }
    EXPECT_TRUE(ui.allConsumed());
    EXPECT_TRUE(ui.messages().empty());
}

}  // namespace
}  // namespace tarn
