// Path and name helpers of the file layer.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/fs.h"

namespace tarn {
namespace {

TEST(FsNames, AbsolutePathIsNormalisedAndTakenFromTheWorkingFolder) {
    EXPECT_EQ(absolutePath("/a/b/../c/./d.md2"), "/a/c/d.md2");
    const std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(absolutePath("x/y.pcx"), joinPath(cwd, "x/y.pcx"));
}

TEST(FsNames, LowerCaseTouchesOnlyAsciiLetters) {
    EXPECT_EQ(lowerCase("Skin_01.PCX"), "skin_01.pcx");
    EXPECT_EQ(lowerCase("\xC4\xD6-Z"), "\xC4\xD6-z");
}

}  // namespace
}  // namespace tarn
