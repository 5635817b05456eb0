// Path and name helpers of the file layer.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/fs.h"
#include "test_files.h"

namespace tarn {
namespace {

// A path means what the system makes of it: ".." climbs from where a
// symbolic link leads, not from the text before it.
TEST(FsNames, AbsolutePathMeansWhatTheSystemMeans) {
    const test::TempDir dir;
    namespace fs = std::filesystem;
    const fs::path real = fs::canonical(dir.path());
    fs::create_directories(real / "elsewhere" / "deep");
    fs::create_symlink(real / "elsewhere" / "deep", real / "lnk");
    EXPECT_EQ(absolutePath(dir.file("lnk/../victim.pcx")), (real / "elsewhere" / "victim.pcx").string());
    EXPECT_EQ(absolutePath(dir.file("./lnk//./a.pcx")), (real / "lnk" / "a.pcx").string());
    // A folder that is not there cannot be climbed out of: the text stays.
    EXPECT_EQ(absolutePath("/no-such-tarn-folder/b/../c.md2"), "/no-such-tarn-folder/b/../c.md2");
    const std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(absolutePath("x/y.pcx"), joinPath(cwd, "x/y.pcx"));
}

TEST(FsNames, LowerCaseTouchesOnlyAsciiLetters) {
    EXPECT_EQ(lowerCase("Skin_01.PCX"), "skin_01.pcx");
    EXPECT_EQ(lowerCase("\xC4\xD6-Z"), "\xC4\xD6-z");
}

}  // namespace
}  // namespace tarn
