// The file layer against what a hostile or unlucky path can be: devices,
// pipes, folders, huge files, names that climb out of their folder, and saves
// onto long names, links, protected files and disks that fail to flush.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/fs.h"
#include "test_files.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

Bytes contentOf(const std::string& path) { return readFile(path).bytes; }

TEST(HostileFiles, ReadTakesOnlyRegularFilesWithinTheCap) {
    test::TempDir dir;
    const std::string plain = dir.file("plain.bin");
    ASSERT_EQ(writeFileAtomic(plain, Bytes{1, 2, 3}), 0);
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);  // no writer: opening must not wait
    const std::string huge = dir.file("huge.pcx");
    { std::ofstream create(huge); }
    fs::resize_file(huge, kMaxReadBytes + 1);  // sparse: costs no disk

    struct Case {
        std::string path;
        int error;
        bool refused;
    };
    const Case cases[] = {
        {plain, 0, false},           {dir.path(), EISDIR, false},
        {dir.file("none"), ENOENT, false}, {fifo, kErrNotRegularFile, true},
        {"/dev/zero", kErrNotRegularFile, true}, {huge, EFBIG, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const ReadResult r = readFile(c.path);
        EXPECT_EQ(r.error, c.error);
        EXPECT_EQ(r.refused(), c.refused);
        EXPECT_EQ(r.bytes.empty(), c.error != 0);
        const std::string why = readRefusalMessage(c.path, r.error);
        EXPECT_EQ(why.empty(), !c.refused);
        if (c.refused) {
            EXPECT_EQ(why.rfind(c.path, 0), 0u) << why;
        }
    }
    EXPECT_EQ(contentOf(plain), (Bytes{1, 2, 3}));
}

TEST(HostileFiles, ModelNamesAreConfinedToTheirFolder) {
    const std::pair<const char*, std::string> cases[] = {
        {"models/a/skin.pcx", "models/a/skin.pcx"},
        {"models\\a\\skin.pcx", "models/a/skin.pcx"},
        {"../../../../dev/zero", "dev/zero"},
        {"/etc/passwd", "etc/passwd"},
        {"C:\\x\\..\\..\\y.pcx", "y.pcx"},
        {"a/./b/../../../c", "c"},
        {"..", ""},
        {"", ""},
    };
    for (const auto& [name, expected] : cases) EXPECT_EQ(confinedName(name), toNative(expected)) << name;
}

TEST(HostileFiles, SavesReplaceWhatTheUserMeant) {
    test::TempDir dir;
    const Bytes old{1}, fresh{2, 2};
    const std::string target = dir.file("real.pcx");

    // A name as long as the file system allows still saves: the temporary
    // file beside it has a short name of its own.
    const std::string longName = dir.file(std::string(250, 'n') + ".pcx");
    EXPECT_EQ(writeFileAtomic(longName, fresh), 0);
    EXPECT_EQ(contentOf(longName), fresh);

    // Through a link: the file it names changes, the link stays a link.
    ASSERT_EQ(writeFileAtomic(target, old), 0);
    const std::string link = dir.file("link.pcx");
    fs::create_symlink("real.pcx", link);
    EXPECT_EQ(writeFileAtomic(link, fresh), 0);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contentOf(target), fresh);

    // A protected file is not replaced, whoever runs the save.
    ASSERT_EQ(writeFileAtomic(target, old), 0);
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(writeFileAtomic(target, fresh), EACCES);
    EXPECT_EQ(contentOf(target), old);
    EXPECT_NE(errorSavingMessage(EACCES, target).find("\n" + target), std::string::npos);

    // Nothing but the files written is left behind.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 3u);
}

int g_flushedFd = -1;
int failingFlush(int fd) {
    g_flushedFd = fd;
    errno = EIO;
    return -1;
}

TEST(HostileFiles, AFailedFlushClosesTheFileAndKeepsTheOldOne) {
    test::TempDir dir;
    const std::string target = dir.file("model.md2");
    ASSERT_EQ(writeFileAtomic(target, Bytes{7}), 0);
    const FlushFunction real = setFlushFunction(failingFlush);
    EXPECT_EQ(writeFileAtomic(target, Bytes{8, 8}), EIO);
    setFlushFunction(real);
    ASSERT_GE(g_flushedFd, 0);
    EXPECT_EQ(::fcntl(g_flushedFd, F_GETFD), -1) << "descriptor left open";
    EXPECT_EQ(contentOf(target), Bytes{7});
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 1u);
}

}  // namespace
}  // namespace tarn
