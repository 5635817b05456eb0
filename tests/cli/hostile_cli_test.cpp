// tarn-cli against hostile inputs: each command ends at once, with a message
// and the right exit code, whatever path or model it is handed.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "cli_run.h"
#include "model/md2_commands.h"
#include "platform/fs.h"
#include "hostile_models.h"
#include "test_files.h"

namespace tarn::cli {
namespace {

TEST(HostileCli, DevicesPipesAndClimbingNamesEndAtOnce) {
    test::TempDir dir;
    const std::string base = dir.file("baseq2");
    std::filesystem::create_directories(base);
    const std::string model = joinPath(base, "tris.md2");
    ASSERT_EQ(writeFileAtomic(model, test::devZeroModel()), 0);
    const std::string fifo = dir.file("pipe.pcx");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A model whose skin is a pipe, the pipe found once and named as refused.
    const std::string pipeSkinModel = joinPath(base, "piped.md2");
    ASSERT_EQ(writeFileAtomic(pipeSkinModel, test::skinNamesModel({"piped.pcx"})), 0);
    ASSERT_EQ(::mkfifo(joinPath(base, "piped.pcx").c_str(), 0600), 0);

    struct Case {
        Args args;
        int code;
        std::string says;
    };
    const Case cases[] = {
        {{"resave", model, dir.file("out.md2"), "--base", base}, 0,
         std::string(kMsgSkinMissing) + "\n../../../../../../../../dev/zero"},
        {{"info", model, "--base", base}, 0, "-> missing"},
        {{"info", pipeSkinModel, "--base", base}, 0, "piped.pcx (unreadable: " + joinPath(base, "piped.pcx") +
                                                        " is not a regular file"},
        {{"convert", fifo, dir.file("out.pcx")}, 1, fifo + " is not a regular file"},
        {{"convert", "/dev/zero", dir.file("out.pcx")}, 1, "/dev/zero is not a regular file"},
        {{"resave", fifo, dir.file("out2.md2"), "--base", base}, 1, "is not a regular file"},
        {{"info", "/dev/urandom"}, 1, "/dev/urandom is not a regular file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.code, c.code) << r.err;
        const std::string said = r.out + r.err;
        EXPECT_NE(said.find(c.says), std::string::npos) << said;
        // A refused file is named once, not once more in front of the reason.
        if (c.code != 0) {
            EXPECT_EQ(said.find(c.args[1]), said.rfind(c.args[1])) << said;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.pcx")));
}

}  // namespace
}  // namespace tarn::cli
