// tarn-cli info, resave and make-sample, run in-process.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "batch_mesh_session.h"
#include "cli_commands.h"
#include "cli_run.h"
#include "image/image_codec.h"
#include "image/skin_io.h"
#include "model/md2_format.h"
#include "test_files.h"

namespace tarn::cli {
namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// One sample folder for every test of this file: generating it is not free.
class Sample : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new test::TempDir;
        made_ = runCli({"make-sample", dir_->path()});
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    static std::string root() { return dir_->path(); }
    static std::string base() { return joinPath(root(), "baseq2"); }
    static std::string model() { return joinPath(base(), "models/tarnbot/tris.md2"); }
    static std::string weapon() { return joinPath(base(), "models/tarnbot/weapon.md2"); }

    static test::TempDir* dir_;
    static CliRun made_;
};
test::TempDir* Sample::dir_ = nullptr;
CliRun Sample::made_;

using Loaded = test::BatchMeshSession;

DecodedImage readImage(const std::string& path) { return decodeImage(readFile(path).bytes); }

TEST_F(Sample, WritesAGameFolderThatLoadsCleanly) {
    ASSERT_EQ(made_.code, 0) << made_.err;
    const Bytes line = readFile(joinPath(root(), "MODEL")).bytes;
    EXPECT_EQ(std::string(line.begin(), line.end()), "models/tarnbot/tris.md2\n");

    Loaded robot(base());
    ASSERT_TRUE(LoadMesh(robot.c, model()));
    EXPECT_EQ(robot.log.str(), "");
    EXPECT_GE(robot.mesh.frames.size(), 20u);
    EXPECT_GE(robot.mesh.triangleCount, 600);
    EXPECT_LE(robot.mesh.triangleCount, 1200);
    EXPECT_EQ(robot.mesh.skinWidth % 4, 0);
    ASSERT_EQ(robot.skins.count(), 2);
    for (int i = 0; i < 2; ++i) EXPECT_TRUE(robot.skins.at(i)->hasFile);

    // Faces wind like game models: their normals point into the solid.
    int inward = 0;
    const Vec3f* p = robot.mesh.currentPositions();
    Vec3f centre{};
    for (int v = 0; v < robot.mesh.vertexCount; ++v) centre = centre + p[v];
    centre = centre * (1.0f / static_cast<float>(robot.mesh.vertexCount));
    for (int t = 0; t < robot.mesh.triangleCount; ++t) {
        const Triangle& tri = robot.mesh.triangles[static_cast<std::size_t>(t)];
        if (dot(tri.normal, p[tri.vertex[0]] - centre) < 0.0f) ++inward;
    }
    EXPECT_GT(inward, robot.mesh.triangleCount / 2);

    Loaded blaster(base());
    ASSERT_TRUE(LoadMesh(blaster.c, weapon()));
    EXPECT_EQ(blaster.log.str(), "");
    EXPECT_EQ(blaster.mesh.frames.size(), robot.mesh.frames.size());
}

TEST_F(Sample, ColormapAndLightingMapsHaveTheirShapes) {
    ASSERT_EQ(made_.code, 0);
    const DecodedImage colormap = readImage(joinPath(base(), "pics/colormap.pcx"));
    ASSERT_TRUE(colormap.ok());
    EXPECT_EQ(colormap.image.width, 256);
    EXPECT_EQ(colormap.image.height, 64);
    // Brightness falls row by row; the last row is the darkest.
    auto rowBrightness = [&](int row) {
        long sum = 0;
        for (int c = 0; c < 256; ++c) {
            const std::size_t index = colormap.image.pixels[static_cast<std::size_t>(row * 256 + c)];
            for (std::size_t k = 0; k < 3; ++k) sum += colormap.image.palette[index * 3 + k];
        }
        return sum;
    };
    for (int row = 1; row < 64; ++row) EXPECT_LE(rowBrightness(row), rowBrightness(row - 1)) << row;
    EXPECT_LT(rowBrightness(63), rowBrightness(31) / 8);

    for (const char* map : {"phongs/phong_glossy.pcx", "phongs/phong_soft.pcx", "enviros/env_sky.pcx",
                            "enviros/env_chrome.pcx"}) {
        const DecodedImage image = readImage(joinPath(root(), map));
        ASSERT_TRUE(image.ok()) << map;
        EXPECT_EQ(image.image.width, 256) << map;
        EXPECT_EQ(image.image.height, 256) << map;
    }
}

TEST_F(Sample, IsTheSameEveryTime) {
    ASSERT_EQ(made_.code, 0);
    test::TempDir again;
    ASSERT_EQ(runCli({"make-sample", again.path()}).code, 0);
    for (const char* file : {"baseq2/models/tarnbot/tris.md2", "baseq2/models/tarnbot/skin.pcx",
                             "baseq2/models/tarnbot/weapon.md2", "enviros/env_sky.pcx"})
        EXPECT_EQ(readFile(joinPath(again.path(), file)).bytes, readFile(joinPath(root(), file)).bytes) << file;
}

TEST_F(Sample, InfoDescribesHeaderFramesAndSkins) {
    ASSERT_EQ(made_.code, 0);
    const CliRun r = runCli({"info", model()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "skin size: 256 x 256"));
    EXPECT_TRUE(contains(r.out, "frames (30): stand01 stand02"));
    EXPECT_TRUE(contains(r.out, "base folder: " + base()));
    EXPECT_TRUE(contains(r.out, "1. models/tarnbot/skin.pcx -> " + joinPath(base(), "models/tarnbot/skin.pcx") +
                                    " (256 x 256)"));
    EXPECT_TRUE(contains(r.out, "after the mapping merge: "));

    const CliRun moved = runCli({"info", model(), "--base", root()});
    EXPECT_TRUE(contains(moved.out, "models/tarnbot/skin.pcx -> missing"));

    // The blaster's skin is another size than the robot's header asks.
    test::TempDir dir;
    std::filesystem::create_directories(joinPath(dir.path(), "baseq2/models/tarnbot"));
    std::filesystem::copy_file(model(), joinPath(dir.path(), "baseq2/models/tarnbot/tris.md2"));
    std::filesystem::copy_file(joinPath(base(), "models/tarnbot/weapon.pcx"),
                               joinPath(dir.path(), "baseq2/models/tarnbot/skin.pcx"));
    const CliRun wrong = runCli({"info", joinPath(dir.path(), "baseq2/models/tarnbot/tris.md2")});
    EXPECT_TRUE(contains(wrong.out, "(128 x 64, the wrong size)")) << wrong.out;
}

TEST(InfoCommand, ReportsBadInputAndUsage) {
    test::TempDir dir;
    const CliRun missing = runCli({"info", dir.file("none.md2")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(contains(missing.err, "Error Loading: "));
    ASSERT_EQ(writeFileAtomic(dir.file("bad.md2"), Bytes{'I', 'D', 'P', '2', 1, 2}), 0);
    const CliRun bad = runCli({"info", dir.file("bad.md2")});
    EXPECT_EQ(bad.code, 1);
    EXPECT_TRUE(contains(bad.err, "damaged"));
    EXPECT_EQ(runCli({"info"}).code, 2);
    EXPECT_EQ(runCli({"info", "a.md2", "--base"}).code, 2);
    EXPECT_EQ(runCli({"info", "a.md2", "--frobnicate"}).code, 2);
}

TEST_F(Sample, ResaveKeepsFramesAndLoadsAgain) {
    ASSERT_EQ(made_.code, 0);
    test::TempDir dir;
    const std::string out = dir.file("copy.md2");
    const CliRun r = runCli({"resave", model(), out});
    ASSERT_EQ(r.code, 0) << r.err;
    const Bytes before = readFile(model()).bytes;
    const Bytes after = readFile(out).bytes;
    EXPECT_EQ(after, before);  // a file this tool wrote comes back byte for byte

    Loaded again(base());
    ASSERT_TRUE(LoadMesh(again.c, out));
    EXPECT_EQ(again.skins.count(), 2);
}

TEST(ResaveCommand, BrokenInputFailsAndLeavesTheOutputAlone) {
    const std::string male = test::realTestData("q2-didux/baseq2/players/male/tris.md2");
    const std::string malformed = test::realTestData("assimp/test/models/MD2/malformed_zero_numvertices.md2");
    if (male.empty() || malformed.empty()) GTEST_SKIP() << "no real test data";
    test::TempDir dir;
    const std::string out = dir.file("out.md2");
    ASSERT_EQ(writeFileAtomic(out, Bytes{1, 2, 3}), 0);

    const CliRun r = runCli({"resave", malformed, out});
    EXPECT_NE(r.code, 0);
    EXPECT_TRUE(contains(r.err, "damaged"));
    EXPECT_EQ(readFile(out).bytes, (Bytes{1, 2, 3}));

    const Bytes file = readFile(male).bytes;
    const auto framesEnd = static_cast<std::size_t>(readMd2Header(file).offsetGlCommands);
    const std::string cut = dir.file("cut.md2");
    for (std::size_t length = 0; length < framesEnd; length += 1 + length / 3) {
        ASSERT_EQ(writeFileAtomic(cut, file.data(), length), 0);
        const CliRun c = runCli({"resave", cut, out, "--base", dir.path()});
        EXPECT_EQ(c.code, 1) << length;
        EXPECT_FALSE(c.err.empty()) << length;
    }
    EXPECT_EQ(readFile(out).bytes, (Bytes{1, 2, 3}));
}

}  // namespace
}  // namespace tarn::cli
