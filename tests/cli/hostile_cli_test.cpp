// tarn-cli against hostile inputs: each command ends at once, with a message
// and the right exit code, whatever path or model it is handed.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>

#include "cli_args.h"
#include "cli_run.h"
#include "model/md2_commands.h"
#include "platform/fs.h"
#include "hostile_models.h"
#include "pak_builder.h"
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
        {{"info", pipeSkinModel, "--base", base}, 0, "piped.pcx (refused: " + joinPath(base, "piped.pcx") +
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

// A socket bound at `path`, left in place; false where sockets cannot be made.
bool makeSocket(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (fd < 0 || path.size() >= sizeof address.sun_path) return false;
    path.copy(address.sun_path, path.size());
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

// Every writer of tarn-cli writes a regular file or a new name, and nothing
// else: a pipe, a socket, a device node (as root) or a link to one is named
// and left as it was, and so is a file the command also reads.
TEST(HostileCli, OutputsThatAreNotFilesOrThatAreInputsAreLeftAlone) {
    test::TempDir dir;
    namespace fs = std::filesystem;
    ASSERT_EQ(runCli({"make-sample", dir.path()}).code, 0);
    const std::string base = dir.file("baseq2");
    const std::string model = joinPath(base, "models/tarnbot/tris.md2");
    const std::string skin = joinPath(base, "models/tarnbot/skin.pcx");
    const std::string pak = dir.file("good.pak");
    test::writePak(pak, {{"models/x/skin.pcx", readFile(skin).bytes}});

    // Named as pictures, so that the commands that choose a format by the
    // extension take them too.
    std::vector<std::string> nodes = {dir.file("fifo.pcx")};
    ASSERT_EQ(::mkfifo(nodes[0].c_str(), 0600), 0);
    if (makeSocket(dir.file("sock.pcx"))) nodes.push_back(dir.file("sock.pcx"));
    // The device /dev/null is: only root may make one, and CI runs as root.
    if (::mknod(dir.file("null.pcx").c_str(), S_IFCHR | 0600, ::makedev(1, 3)) == 0)
        nodes.push_back(dir.file("null.pcx"));
    fs::create_symlink(nodes[0], dir.file("link-to-fifo.pcx"));
    nodes.push_back(dir.file("link-to-fifo.pcx"));

    for (const std::string& node : nodes) {
        const std::vector<Args> writers = {
            {"pak", "extract", pak, "models/x/skin.pcx", "-o", node},
            {"convert", skin, node},
            {"render", model, "-o", node},
            {"resave", model, node},
            {"kmap", "export", model, node},
            {"export", "ssm", model, node},
            {"export", "dh2", model, node},
        };
        for (const Args& args : writers) {
            SCOPED_TRACE(args[0] + " -> " + node);
            const fs::file_type before = fs::status(node).type();
            const CliRun r = runCli(args);
            EXPECT_NE(r.code, 0);
            EXPECT_NE(r.err.find(node + " is not a regular file"), std::string::npos) << r.err;
            EXPECT_EQ(fs::status(node).type(), before);
        }
    }
    const Bytes modelBytes = readFile(model).bytes;
    const Bytes pakBytes = readFile(pak).bytes;
    fs::create_symlink(model, dir.file("model-link.md2"));
    const std::vector<Args> overInputs = {
        {"export", "ssm", model, model},
        {"export", "dh2", model, dir.file("model-link.md2")},
        {"kmap", "export", model, model},
        {"resave", model, dir.file("model-link.md2")},
        {"pak", "extract", pak, "models/x/skin.pcx", "-o", pak},
        {"convert", skin, skin},
    };
    for (const Args& args : overInputs) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        const CliRun r = runCli(args);
        EXPECT_EQ(r.code, kExitFailed);
        EXPECT_NE(r.err.find("is also an input of this command"), std::string::npos) << r.err;
    }
    EXPECT_EQ(readFile(model).bytes, modelBytes);
    EXPECT_EQ(readFile(pak).bytes, pakBytes);

    // A sample or the default content never replaces what is there unless asked.
    const CliRun again = runCli({"make-sample", dir.path()});
    EXPECT_EQ(again.code, kExitFailed);
    EXPECT_NE(again.err.find("--force"), std::string::npos) << again.err;
    EXPECT_EQ(runCli({"make-content", dir.path()}).code, kExitFailed);  // its phong maps would go
    EXPECT_EQ(runCli({"make-sample", dir.path(), "--force"}).code, kExitOk);
}

// Paths on the command line mean what the system means: "lnk/.." is the
// folder above where lnk leads, not the folder lnk stands in.
TEST(HostileCli, DotDotAfterALinkClimbsWhereTheLinkLeads) {
    test::TempDir dir;
    namespace fs = std::filesystem;
    ASSERT_EQ(runCli({"make-sample", dir.path()}).code, 0);
    const std::string skin = dir.file("baseq2/models/tarnbot/skin.pcx");
    fs::create_directories(dir.file("elsewhere/deep"));
    fs::create_symlink(dir.file("elsewhere/deep"), dir.file("lnk"));
    ASSERT_EQ(runCli({"convert", skin, dir.file("lnk/../victim.pcx")}).code, kExitOk);
    EXPECT_TRUE(fs::exists(dir.file("elsewhere/victim.pcx")));
    EXPECT_FALSE(fs::exists(dir.file("victim.pcx")));
}

// Each refusal says what is wrong and with which file, and a failed run
// leaves none of its own files behind.
TEST(HostileCli, RefusalsNameTheFileAndTheReason) {
    test::TempDir dir;
    ASSERT_EQ(runCli({"make-sample", dir.path()}).code, 0);
    const std::string model = dir.file("baseq2/models/tarnbot/tris.md2");
    const std::string skin = dir.file("baseq2/models/tarnbot/skin.pcx");
    const std::string badKmap = dir.file("bad.kmp");
    ASSERT_EQ(writeFileAtomic(badKmap, Bytes{'K', 'M', 'A', 'P', 1, 0}), 0);
    struct Case {
        Args args;
        int code;
        std::string says;
    };
    const Case cases[] = {
        {{"resave", model, dir.file("o.md2"), "--base", dir.file("nowhere")}, kExitUsage, "--base names no folder"},
        {{"render", model, "-o", dir.file("o.png"), "--base", dir.file("nowhere")}, kExitUsage, "bad value for --base"},
        {{"kmap", "export", model, dir.file("o.kmp"), "--base", dir.file("nowhere")}, kExitUsage, "--base"},
        {{"map-from-view", model, "-o", dir.file("o.md2"), "--rect", "0,0,10,10"}, kExitUsage, "--select"},
        {{"convert", skin, dir.file("o.pcx"), "--palette", "/dev/zero"}, kExitFailed, "/dev/zero is not a regular file"},
        {{"kmap", "import", model, badKmap, "-o", dir.file("o.md2")}, kExitFailed, "KMAP file!\n" + badKmap},
        {{"render", model, "-o", dir.file("o.png"), "--planes", dir.file("no/such/folder/p")}, kExitFailed,
         dir.file("no/such/folder/p.colour")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args.back());
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.code, c.code) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    }
    for (const char* left : {"o.md2", "o.png", "o.kmp", "o.pcx"}) EXPECT_FALSE(std::filesystem::exists(dir.file(left))) << left;
}

}  // namespace
}  // namespace tarn::cli
