// tarn-cli on a game folder whose models and skins live only inside a PAK.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_run.h"
#include "image/image_codec.h"
#include "pak_builder.h"
#include "platform/fs.h"
#include "test_files.h"

namespace tarn::cli {
namespace {

namespace fs = std::filesystem;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The sample's whole models folder moved into pak0.pak, a decoy in pak1.pak.
class PackedSample : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new test::TempDir;
        ASSERT_EQ(runCli({"make-sample", dir_->path()}).code, 0);
        std::vector<test::PakItem> items;
        for (const auto& entry : fs::recursive_directory_iterator(joinPath(base(), "models"))) {
            if (!entry.is_regular_file()) continue;
            const std::string name = fs::relative(entry.path(), base()).generic_string();
            items.push_back({name, readFile(entry.path().string()).bytes});
        }
        test::writePak(joinPath(base(), "pak0.pak"), items);
        test::writePak(joinPath(base(), "pak1.pak"), {{"readme.txt", test::textBytes("decoy")}});
        fs::remove_all(joinPath(base(), "models"));
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    static std::string base() { return joinPath(dir_->path(), "baseq2"); }
    static std::string model() { return joinPath(base(), "models/tarnbot/tris.md2"); }
    static test::TempDir* dir_;
};
test::TempDir* PackedSample::dir_ = nullptr;

TEST_F(PackedSample, InfoResaveAndRenderFindModelAndSkinsInThePak) {
    const CliRun info = runCli({"info", model()});
    ASSERT_EQ(info.code, 0) << info.err;
    EXPECT_TRUE(contains(info.out, "pak0.pak : models/tarnbot/")) << info.out;
    EXPECT_FALSE(contains(info.out, "missing")) << info.out;

    test::TempDir out;
    const CliRun resave = runCli({"resave", model(), out.file("tris.md2")});
    ASSERT_EQ(resave.code, 0) << resave.err;
    EXPECT_EQ(resave.err, "");  // no skin went missing
    EXPECT_FALSE(fs::exists(joinPath(base(), "models")));  // nothing written beside the PAK

    const CliRun render = runCli({"render", model(), "-o", out.file("view.pcx"), "--mode", "Textured"});
    ASSERT_EQ(render.code, 0) << render.err;
    EXPECT_TRUE(decodeImage(readFile(out.file("view.pcx")).bytes).ok());
}

TEST_F(PackedSample, ListAndExtract) {
    const CliRun list = runCli({"pak", "list", joinPath(base(), "pak0.pak")});
    ASSERT_EQ(list.code, 0) << list.err;
    EXPECT_TRUE(contains(list.out, "\tmodels/tarnbot/tris.md2\n")) << list.out;

    test::TempDir out;
    const CliRun extract =
        runCli({"pak", "extract", joinPath(base(), "pak0.pak"), "MODELS/TarnBot/tris.md2", "-o", out.file("t.md2")});
    ASSERT_EQ(extract.code, 0) << extract.err;
    const CliRun info = runCli({"info", out.file("t.md2"), "--base", base()});
    EXPECT_EQ(info.code, 0) << info.err;

    EXPECT_EQ(runCli({"pak", "extract", joinPath(base(), "pak0.pak"), "nope.pcx", "-o", out.file("x")}).code, 1);
    EXPECT_EQ(runCli({"pak", "list", model()}).code, 1);
    EXPECT_EQ(runCli({"pak", "frobnicate"}).code, 2);
}

}  // namespace
}  // namespace tarn::cli
