// The command-line value parsers tarn-cli's commands share.
#include <gtest/gtest.h>

#include "cli_args.h"

namespace tarn::cli {
namespace {

TEST(CliArgs, NumbersTakeTheWholeTextAndFloatsMustBeFinite) {
    int i = 0;
    EXPECT_TRUE(parseInt("-12", i));
    EXPECT_EQ(i, -12);
    EXPECT_FALSE(parseInt("12x", i));
    EXPECT_FALSE(parseInt("", i));
    float f = 0;
    EXPECT_TRUE(parseFloat("2.5", f));
    EXPECT_FLOAT_EQ(f, 2.5f);
    EXPECT_FALSE(parseFloat("inf", f));
    EXPECT_FALSE(parseFloat("nan", f));
    EXPECT_FALSE(parseFloat("1.5 ", f));
}

TEST(CliArgs, VectorsSizesAndListsNeedEveryPart) {
    Vec3f v{};
    EXPECT_TRUE(parseVector("1,-2,3.5", v));
    EXPECT_FLOAT_EQ(v.y, -2.0f);
    EXPECT_FLOAT_EQ(v.z, 3.5f);
    EXPECT_FALSE(parseVector("1,2", v));
    EXPECT_FALSE(parseVector("1,2,3,4", v));
    EXPECT_FALSE(parseVector("1,,3", v));

    int w = 0, h = 0;
    EXPECT_TRUE(parseSize("320x200", w, h));
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 200);
    EXPECT_FALSE(parseSize("320x200x1", w, h));
    EXPECT_FALSE(parseSize("320", w, h));

    std::vector<int> list;
    EXPECT_TRUE(parseList("3,1,2", list));
    EXPECT_EQ(list, (std::vector<int>{3, 1, 2}));
    EXPECT_FALSE(parseList("3,,2", list));
}

TEST(CliArgs, ModesByIndexOrNameAndExtensionsLowerCased) {
    int mode = -1;
    EXPECT_TRUE(parseMode("2", mode));
    EXPECT_EQ(mode, 2);
    EXPECT_FALSE(parseMode("no such mode", mode));

    EXPECT_EQ(lowerExtension("/a.b/Skin.PCX"), ".pcx");
    EXPECT_EQ(lowerExtension("/a.b/skin"), "");
}

TEST(CliArgs, OneModelIsRequiredAndItsBaseFolderIsTheDefault) {
    std::string model, base;
    EXPECT_EQ(requireModel(model, base), "no model given");
    EXPECT_EQ(takeModelPath(model, "/q2/baseq2/models/a/tris.md2"), "");
    EXPECT_EQ(model, "/q2/baseq2/models/a/tris.md2");
    EXPECT_EQ(takeModelPath(model, "/other.md2"), "more than one model given");
    EXPECT_EQ(model, "/q2/baseq2/models/a/tris.md2");
    EXPECT_EQ(requireModel(model, base), "");
    EXPECT_EQ(base, "/q2/baseq2");

    std::string chosen = "/chosen";
    EXPECT_EQ(requireModel(model, chosen), "");
    EXPECT_EQ(chosen, "/chosen");
}

}  // namespace
}  // namespace tarn::cli
