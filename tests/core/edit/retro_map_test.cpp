#include <gtest/gtest.h>

#include <tuple>

#include "edit/retro_map.h"
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

TEST(RetroMap, HalfScaleFileSamplesTheOldSkinInPlaceAndLeavesTheRestAtTheBackground) {
    // The file was written for a 32 x 32 skin, with the same mapping at twice
    // the size; the old skin is 16 x 16, so its coordinates halve back.
    Mesh written = leftHalf();
    written.skinWidth = written.skinHeight = 32;
    for (int i = 0; i < 4; ++i) {
        MappingVert& v = written.mappingVerts[std::size_t(i)];
        v = {std::int16_t(v.s * 2), std::int16_t(v.t * 2)};
    }
    MergeMappingVerts(written);
    const KmapParse file = ParseKmap(EncodeKmap(written), 2);
    ASSERT_TRUE(file.ok());

    // Each old texel holds its own position: x in the high nibble, y in the low.
    auto old = makeBlankSkin(16, 16);
    for (std::size_t i = 0; i < old->pixels.size(); ++i) old->pixels[i] = std::uint8_t((i % 16) << 4 | i / 16);
    const std::vector<std::uint8_t> pixels = RetroMapPixels(leftHalf(), *old, file.file, kBackground);
    ASSERT_EQ(pixels.size(), 256u);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const std::uint8_t got = pixels[std::size_t(y * 16 + x)];
            // The fill's rounded steps may land on a neighbouring texel, never further.
            if (x < 7) {
                EXPECT_LE(std::abs((got >> 4) - x), 1) << x << "," << y;
                EXPECT_LE(std::abs((got & 15) - y), 1) << x << "," << y;
            }
            if (x > 8) {
                EXPECT_EQ(got, kBackground) << x << "," << y;
            }
        }
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
        EXPECT_EQ(RetroMap(ui, mesh, *old, dir.file("a.kmp"), kBackground), nullptr);
        EXPECT_EQ(ui.messages(), std::vector<std::string>{why});
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
        std::uint8_t covered;  // what the old skin gives the mapped left half
    };
    for (const Case& k : {Case{"old", 1, true, 0}, Case{"old", 1, false, 0}, Case{"photo", 3, false, 40}}) {
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
            ui.openFile(dir.file("old"));
        retroMapCommand(c);
        ASSERT_EQ(skins.count(), k.cancelMapping ? 0 : 1);
        if (k.cancelMapping) continue;
        EXPECT_EQ(skins.currentIndex(), 0);
        EXPECT_TRUE(skins.current()->external);
        EXPECT_EQ(skins.current()->backup, skins.current()->pixels);
        EXPECT_EQ(skins.current()->pixels[0], k.covered);
        EXPECT_EQ(skins.current()->pixels[15], 9);  // no Triangle covers the right half
        EXPECT_EQ(refresh.calls, (std::vector<std::string>{"refreshAll", "paintRemap", "shadeRamps"}));
        EXPECT_EQ(ui.fileRequests.back().filter, kKmapFilter);
        EXPECT_EQ(ui.fileRequests[0].filter, kRetroSkinFilter);
    }
    EXPECT_TRUE(ui.messages().empty());
}

}  // namespace
}  // namespace tarn
