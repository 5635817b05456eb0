// tarn-cli layout on the male player: the edges at scale 1 and 2, and the
// skin beneath a selection.
#include <gtest/gtest.h>

#include "batch_mesh_session.h"
#include "cli_run.h"
#include "image/image_codec.h"
#include "platform/fs.h"
#include "test_files.h"

namespace tarn::cli {
namespace {

RgbaImage readLayout(const std::string& path) {
    const DecodedPng png = decodePng(readFile(path).bytes);
    EXPECT_TRUE(png.error.empty()) << png.error;
    return png.colour;
}

std::uint8_t red(const RgbaImage& image, int x, int y) {
    return image.rgba[(std::size_t(y) * std::size_t(image.width) + std::size_t(x)) * 4];
}

class LayoutCli : public ::testing::Test {
protected:
    void SetUp() override {
        model = test::realTestData("q2-didux/baseq2/players/male/tris.md2");
        base = test::realTestData("q2-didux/baseq2");
        if (model.empty()) GTEST_SKIP() << "no real test data";
    }
    RgbaImage layout(const std::string& name, std::vector<std::string> extra) {
        std::vector<std::string> words{"layout", model, "-o", dir.file(name), "--base", base};
        words.insert(words.end(), extra.begin(), extra.end());
        const CliRun r = runCli(words);
        EXPECT_EQ(r.code, 0) << r.err;
        return readLayout(dir.file(name));
    }
    std::string model, base;
    test::TempDir dir;
};

TEST_F(LayoutCli, EdgesAtScaleTwoFollowTheTexelsOfScaleOneSmoothed) {
    const RgbaImage one = layout("one.png", {});
    const RgbaImage two = layout("two.png", {"--scale", "2"});
    ASSERT_EQ(one.width, 256);
    ASSERT_EQ(two.width, 512);
    int edgeTexels = 0, grey = 0, dark = 0;
    for (int y = 0; y < one.height; ++y)
        for (int x = 0; x < one.width; ++x) {
            EXPECT_TRUE(red(one, x, y) == 0 || red(one, x, y) == 255) << "scale 1 is texel exact";
            edgeTexels += red(one, x, y) == 0;
        }
    auto nearEdge = [&](int s, int t) {
        for (int dt = -1; dt <= 1; ++dt)
            for (int ds = -1; ds <= 1; ++ds) {
                const int a = s + ds, b = t + dt;
                if (a >= 0 && b >= 0 && a < one.width && b < one.height && red(one, a, b) == 0) return true;
            }
        return false;
    };
    for (int y = 0; y < two.height; ++y)
        for (int x = 0; x < two.width; ++x) {
            const std::uint8_t v = red(two, x, y);
            if (v != 0 && v != 255) ++grey;
            if (v < 128) {
                ++dark;
                EXPECT_TRUE(nearEdge(x / 2, y / 2)) << "a scale-2 edge pixel at " << x << "," << y;
            }
        }
    EXPECT_GT(edgeTexels, 1000);
    EXPECT_GT(grey, dark / 4) << "edges are anti-aliased";
    EXPECT_GT(dark, edgeTexels);
}

TEST_F(LayoutCli, SelectedTriangleOverTheSkinLeavesTheRestOfTheSkinAsItIs) {
    const RgbaImage picture = layout("sel.png", {"--over-skin", "--selected", "0", "--scale", "3"});
    test::BatchMeshSession s(base);
    ASSERT_TRUE(LoadMesh(s.c, model)) << s.log.str();
    const Skin& skin = *s.skins.current();
    int left = skin.width, top = skin.height, right = 0, bottom = 0;
    for (std::int16_t m : s.mesh.triangles[0].mapping) {
        const MappingVert& v = s.mesh.mappingVerts[std::size_t(m)];
        left = std::min<int>(left, v.s), right = std::max<int>(right, v.s);
        top = std::min<int>(top, v.t), bottom = std::max<int>(bottom, v.t);
    }
    int changed = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const int s3 = x / 3, t3 = y / 3;
            const std::uint8_t index = skin.pixels[std::size_t(t3) * std::size_t(skin.width) + std::size_t(s3)];
            const bool inside = s3 >= left - 1 && s3 <= right + 1 && t3 >= top - 1 && t3 <= bottom + 1;
            if (red(picture, x, y) == skin.palette[index * 3]) continue;
            ++changed;
            EXPECT_TRUE(inside) << "outside the selected Triangle at " << x << "," << y;
        }
    EXPECT_GT(changed, 3 * (right - left));
}

}  // namespace
}  // namespace tarn::cli
