// tarn-cli export on a real model: the files have exactly the sizes their
// layouts give for its counts.
#include <gtest/gtest.h>

#include "cli_run.h"
#include "platform/fs.h"
#include "test_files.h"

namespace tarn::cli {
namespace {

TEST(ExportCli, RealModelGivesTheLayoutSizes) {
    const std::string model = test::realTestData("q2-didux/baseq2/players/male/tris.md2");
    if (model.empty()) GTEST_SKIP() << "no real test data";
    // The model's counts: 323 vertices, 608 triangles, 198 frames.
    constexpr std::size_t V = 323, T = 608, F = 198;
    test::TempDir dir;
    struct Case {
        Args args;
        std::string out;
        std::size_t size;
    };
    const Case cases[] = {
        {{"export", "ssm", model, dir.file("m.ssm")}, dir.file("m.ssm"),
         22 + 36 * T + 22 + F * (9 + 12 * V) + (19 + 6 * F) + 32},
        {{"export", "dh2", model, dir.file("m.d2m"), "--frame", "197"}, dir.file("m.d2m"), 12 + 12 * V + 32 * T},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(readFile(c.out).bytes.size(), c.size) << c.out;
    }
    EXPECT_EQ(runCli({"export", "dh2", model, dir.file("x.d2m"), "--frame", "198"}).code, 1);
    EXPECT_EQ(runCli({"export", "stl", model, dir.file("x.stl")}).code, 2);
}

TEST(ExportCli, ObjOfAFrameComesBackAsTheSameModelAndARebakeWritesTheSkinBeside) {
    const std::string model = test::realTestData("q2-didux/baseq2/players/male/tris.md2");
    if (model.empty()) GTEST_SKIP() << "no real test data";
    test::TempDir dir;
    ASSERT_EQ(runCli({"resave", model, dir.file("orig.md2")}).code, 0);
    ASSERT_EQ(runCli({"export", "obj", model, dir.file("m.obj"), "--frame", "40"}).code, 0);
    ASSERT_EQ(runCli({"export", "gltf", model, dir.file("m.glb"), "--fps", "5", "--step"}).code, 0);
    // Frame 0 is not where the OBJ's corners lie: nothing matches there.
    EXPECT_EQ(runCli({"import-mapping", model, dir.file("m.obj"), "-o", dir.file("x.md2")}).code, 1);
    const CliRun back = runCli({"import-mapping", model, dir.file("m.obj"), "-o", dir.file("back.md2"), "--frame", "40",
                                "--rebake"});
    ASSERT_EQ(back.code, 0) << back.err;
    EXPECT_EQ(readFile(dir.file("back.md2")).bytes, readFile(dir.file("orig.md2")).bytes);
    EXPECT_TRUE(isRegularFile(dir.file("usmc.pcx"))) << back.out;
}

}  // namespace
}  // namespace tarn::cli
