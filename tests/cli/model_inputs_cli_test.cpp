// A model's own files are inputs of every command that loads it: no output
// may replace one (however spelled or linked, loose or missing), a command
// that writes several files writes all or none, results say what happened,
// and names that are not UTF-8 are printed escaped.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_args.h"
#include "cli_run.h"
#include "hostile_models.h"
#include "platform/fs.h"
#include "platform/utf8.h"
#include "test_files.h"

namespace tarn::cli {
namespace {

namespace fs = std::filesystem;

struct SampleGame {
    test::TempDir dir;
    std::string base = dir.file("baseq2");
    std::string folder = joinPath(base, "models/tarnbot");
    std::string model = joinPath(folder, "tris.md2");
    std::string skin = joinPath(folder, "skin.pcx");
    std::string blue = joinPath(folder, "skin_blue.pcx");
    SampleGame() { EXPECT_EQ(runCli({"make-sample", dir.path()}).code, kExitOk); }
    std::string file(const std::string& name) const { return dir.file(name); }
};

TEST(ModelInputs, NoWritingCommandReplacesAFileTheModelUses) {
    SampleGame g;
    const std::string kmp = g.file("map.kmp");
    ASSERT_EQ(runCli({"kmap", "export", g.model, kmp}).code, kExitOk);
    const std::string oldSkin = g.file("old.pcx");
    fs::copy_file(g.skin, oldSkin);
    // The second skin pack writes is NEWSKIN_2: here a link to the model's
    // second skin. A picture-named link reaches the skin for layout.
    fs::create_symlink(g.blue, g.file("new_2.pcx"));
    fs::create_symlink(g.skin, g.file("skin-link.png"));
    const Bytes skinBytes = readFile(g.skin).bytes;
    const Bytes blueBytes = readFile(g.blue).bytes;
    const std::string out = g.file("out.md2");

    const std::vector<Args> writers = {
        {"pack", g.model, "-o", out, "--skin-out", g.skin},
        {"pack", g.model, "-o", out, "--skin-out", g.file("new.pcx")},
        {"pack", g.model, "-o", g.blue, "--skin-out", g.file("other.pcx")},
        {"render", g.model, "-o", g.skin},
        {"render", g.model, "-o", g.blue, "--planes", g.file("planes")},
        {"resave", g.model, g.skin},
        {"kmap", "export", g.model, g.blue},
        {"kmap", "import", g.model, kmp, "-o", g.skin},
        {"export", "ssm", g.model, g.skin},
        {"export", "dh2", g.model, g.blue},
        {"map-from-view", g.model, "-o", g.skin, "--select", "0", "--rect", "0,0,8,8"},
        {"retromap", g.model, oldSkin, kmp, "-o", g.skin},
        {"mirror-mapping", g.model, "-o", g.blue, "--axis", "y", "--select", "0"},
        {"layout", g.model, "-o", g.file("skin-link.png")},
    };
    for (const Args& args : writers) {
        SCOPED_TRACE(args[0] + " " + args[1] + " " + args.back());
        const CliRun r = runCli(args);
        EXPECT_EQ(r.code, kExitFailed) << r.out << r.err;
        EXPECT_NE(r.err.find("is a skin of the model"), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(out));
        EXPECT_FALSE(fs::exists(g.file("planes.colour")));
        EXPECT_EQ(readFile(g.skin).bytes, skinBytes);
        EXPECT_EQ(readFile(g.blue).bytes, blueBytes);
    }
    // A missing skin's place is the model's too: a file written there would
    // become its skin.
    const std::string bare = joinPath(g.base, "bare.md2");
    ASSERT_EQ(writeFileAtomic(bare, test::skinNamesModel({"gone.pcx"})), 0);
    const CliRun missing = runCli({"resave", bare, joinPath(g.base, "gone.pcx")});
    EXPECT_EQ(missing.code, kExitFailed);
    EXPECT_FALSE(fs::exists(joinPath(g.base, "gone.pcx")));
}

TEST(ModelInputs, PackWritesEverythingOrNothing) {
    SampleGame g;
    // The model cannot be written (its folder is missing): no skin is left behind.
    const CliRun r = runCli({"pack", g.model, "-o", g.file("none/out.md2"), "--skin-out", g.file("new.pcx")});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_NE(r.err.find("nothing was written"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(g.file("new.pcx")));
    EXPECT_FALSE(fs::exists(g.file("new_2.pcx")));
    for (const auto& e : fs::directory_iterator(g.dir.path()))
        EXPECT_EQ(e.path().filename().string().rfind(".tarn-", 0), std::string::npos) << e.path();
    // Two outputs naming one file are refused before anything is made.
    const CliRun twice = runCli({"pack", g.model, "-o", g.file("same.pcx"), "--skin-out", g.file("same.pcx")});
    EXPECT_EQ(twice.code, kExitFailed);
    EXPECT_NE(twice.err.find("named for two outputs"), std::string::npos) << twice.err;
    // Both written when nothing fails.
    const CliRun ok = runCli({"pack", g.model, "-o", g.file("out.md2"), "--skin-out", g.file("new.pcx")});
    EXPECT_EQ(ok.code, kExitOk) << ok.err;
    EXPECT_TRUE(fs::exists(g.file("new.pcx")) && fs::exists(g.file("new_2.pcx")) && fs::exists(g.file("out.md2")));
}

TEST(HonestResults, CommandsSayWhatStoppedThem) {
    SampleGame g;
    const std::string out = g.file("out.md2");
    const Args pack = {"pack", g.model, "-o", out, "--skin-out", g.file("new.pcx")};
    auto expectRefusal = [&](const Args& args, const std::string& says) {
        const CliRun r = runCli(args);
        EXPECT_EQ(r.code, kExitFailed);
        EXPECT_NE(r.err.find(says), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(out));
        EXPECT_FALSE(fs::exists(g.file("new.pcx")));
    };
    Args huge = pack;
    huge.insert(huge.end(), {"--size", "65535x65535"});
    expectRefusal(huge, "cannot be wider than 32767 or taller than 2048 pixels! (65535x65535 was asked for.)");
    fs::remove(g.blue);
    expectRefusal(pack, "the skin models/tarnbot/skin_blue.pcx could not be used");
}

TEST(EscapedNames, NamesThatAreNotUtf8ArePrintedEscaped) {
    test::TempDir dir;
    const std::string model = dir.file("latin.md2");
    ASSERT_EQ(writeFileAtomic(model, test::skinNamesModel({"sk\xE9n.pcx", "\xC3\xA9t\xC3\xA9.pcx"})), 0);
    const CliRun r = runCli({"info", model});
    EXPECT_EQ(r.code, kExitOk) << r.err;
    EXPECT_NE(r.out.find("sk\\xE9n.pcx"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\xC3\xA9t\xC3\xA9.pcx"), std::string::npos) << r.out;  // UTF-8 stays as it is
    EXPECT_EQ(escapeInvalidUtf8(r.out + r.err), r.out + r.err);
    // Over-long forms, surrogates and cut sequences are bytes, not text.
    EXPECT_EQ(escapeInvalidUtf8("a\xC0\xAF" "b\xED\xA0\x80" "c\xE2\x82"), "a\\xC0\\xAFb\\xED\\xA0\\x80c\\xE2\\x82");
}

}  // namespace
}  // namespace tarn::cli
