// tarn-cli bench and the lighting options of tarn-cli render, on the sample
// content that make-sample writes.
#include <gtest/gtest.h>

#include <cctype>

#include <sstream>
#include <string>
#include <vector>

#include "cli_commands.h"
#include "platform/fs.h"
#include "raster/rasterizer.h"
#include "test_files.h"

namespace tarn::cli {
namespace {

struct Sample {
    test::TempDir dir;
    std::string model, phong, phongSoft, env, colormap;

    Sample() {
        std::ostringstream out, err;
        EXPECT_EQ(run({"make-sample", dir.path()}, out, err), 0) << err.str();
        model = dir.path() + "/baseq2/models/tarnbot/tris.md2";
        phong = dir.path() + "/phongs/phong_glossy.pcx";
        phongSoft = dir.path() + "/phongs/phong_soft.pcx";
        env = dir.path() + "/enviros/env_sky.pcx";
        colormap = dir.path() + "/baseq2/pics/colormap.pcx";
    }
    std::vector<std::string> withMaps(std::vector<std::string> args) const {
        for (const auto& a : {"--phong", phong.c_str(), "--env", env.c_str(), "--colormap",
                              colormap.c_str()})
            args.emplace_back(a);
        return args;
    }
};

// Shared by the tests below: generating the sample is the slow part.
const Sample& sample() {
    static const Sample s;
    return s;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

// "<N> frames in <ms> milliseconds = <fps with six decimals> fps"; returns N or
// -1. Hand-parsed: std::regex trips GCC's maybe-uninitialized warning at -O1.
long timingFrames(const std::string& line) {
    auto digits = [&](std::size_t& at) {
        std::size_t start = at;
        while (at < line.size() && std::isdigit(static_cast<unsigned char>(line[at]))) ++at;
        return at - start;
    };
    auto literal = [&](std::size_t& at, const char* text) {
        std::string t(text);
        if (line.compare(at, t.size(), t) != 0) return false;
        at += t.size();
        return true;
    };
    std::size_t at = 0;
    if (digits(at) == 0) return -1;
    long frames = std::stol(line.substr(0, at));
    if (!literal(at, " frames in ") || digits(at) == 0 || !literal(at, " milliseconds = ") ||
        digits(at) == 0 || !literal(at, ".") || digits(at) != 6 || !literal(at, " fps") ||
        at != line.size())
        return -1;
    return frames;
}

TEST(BenchCli, OneModeReportsItsFramesAndTime) {
    std::ostringstream out, err;
    ASSERT_EQ(run({"bench", sample().model, "--mode", "Textured", "--frames", "3", "--size", "64x48"},
                  out, err),
              0)
        << err.str();
    const auto got = lines(out.str());
    ASSERT_EQ(got.size(), 2u) << out.str();
    EXPECT_EQ(got[0], std::string("Spans: ") + Rasterizer::SpanPathName(Rasterizer::Spans()));
    EXPECT_EQ(timingFrames(got[1]), 3) << got[1];
}

TEST(BenchCli, EveryAvailableModeGetsALineWithItsName) {
    std::ostringstream out, err;
    ASSERT_EQ(run(sample().withMaps({"bench", sample().model, "--frames", "2", "--size", "32x24"}),
                  out, err),
              0)
        << err.str();
    auto got = lines(out.str());
    ASSERT_FALSE(got.empty());
    got.erase(got.begin());  // the span path
    const std::vector<std::string> names = {
        "Wireframe",   "Wireframe, Solid",   "Flat Shaded",       "Gouraud Shaded",   "Phong Shaded",
        "Textured",    "Environment Mapped", "Textured, G-Shade", "Textured, P-Shade"};
    ASSERT_EQ(got.size(), names.size()) << out.str();
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(got[i].rfind(names[i] + ": ", 0), 0u) << got[i];
        EXPECT_EQ(timingFrames(got[i].substr(names[i].size() + 2)), 2) << got[i];
    }

    // Without maps or Colormap the lit modes are skipped with their reasons.
    std::ostringstream out2, err2;
    ASSERT_EQ(run({"bench", sample().model, "--frames", "1", "--size", "32x24"}, out2, err2), 0);
    EXPECT_EQ(lines(out2.str()).size(), 6u) << out2.str();
    EXPECT_NE(err2.str().find("Phong Shaded: skipped: Phong Shading is not available"),
              std::string::npos)
        << err2.str();
}

TEST(BenchCli, BadLinesAndUnavailableModesFail) {
    const std::vector<std::vector<std::string>> usage = {
        {"bench"},
        {"bench", sample().model, "--frames", "0"},
        {"bench", sample().model, "--mode", "Sepia"},
        {"bench", sample().model, "--size", "64by48"},
        {"bench", sample().model, "--gamma", "-1"},
        {"bench", sample().model, "--light", "0,0,0"},
        {"bench", sample().model, "--frames"},
    };
    for (const auto& args : usage) {
        std::ostringstream out, err;
        EXPECT_EQ(run(args, out, err), 2) << args.back();
        EXPECT_NE(err.str().find("usage: tarn-cli bench"), std::string::npos);
        EXPECT_TRUE(out.str().empty());
    }
    std::ostringstream out, err;
    EXPECT_EQ(run({"bench", sample().model, "--mode", "4"}, out, err), 1);
    EXPECT_EQ(err.str(), "Phong Shading is not available if there are no phong maps loaded.\n");
}

// The colour plane of one render of the sample.
Bytes renderPlane(const std::vector<std::string>& extra, std::string* errText = nullptr) {
    const test::TempDir dir;
    std::vector<std::string> args = {"render", sample().model, "-o", dir.file("x.png"), "--size",
                                     "96x72", "--planes", dir.file("p")};
    args.insert(args.end(), extra.begin(), extra.end());
    std::ostringstream out, err;
    const int code = run(args, out, err);
    if (errText) *errText = err.str();
    if (code != 0) return {};
    return readFile(dir.file("p.colour")).bytes;
}

TEST(RenderCliMaps, GammaAndPhongMapChangeThePShadePicture) {
    const std::vector<std::string> pshade = {"--mode", "Textured, P-Shade", "--phong",
                                             sample().phong, "--colormap", sample().colormap};
    const Bytes normal = renderPlane(pshade);
    ASSERT_FALSE(normal.empty());
    auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), pshade.begin(), pshade.end());
        return renderPlane(more);
    };
    EXPECT_EQ(with({"--gamma", "1"}), normal);
    EXPECT_NE(with({"--gamma", "3"}), normal);
    EXPECT_EQ(with({"--phong", sample().phongSoft}), normal) << "only the first map is current";
    const Bytes soft = renderPlane({"--mode", "8", "--phong", sample().phongSoft, "--colormap",
                                    sample().colormap});
    EXPECT_NE(soft, normal);
}

TEST(RenderCliMaps, LightTurnsTheGouraudShadedTexture) {
    const std::vector<std::string> gshade = {"--mode", "7", "--colormap", sample().colormap};
    const Bytes byDefault = renderPlane(gshade);
    ASSERT_FALSE(byDefault.empty());
    auto lit = gshade;
    lit.insert(lit.end(), {"--light", "0.5,0.5,-2"});
    EXPECT_NE(renderPlane(lit), byDefault);
}

TEST(RenderCliMaps, RefusedMapsAndColormapsSayWhy) {
    std::string err;
    const std::string skin = sample().dir.path() + "/baseq2/models/tarnbot/weapon.pcx";
    EXPECT_TRUE(renderPlane({"--mode", "7", "--colormap", skin}, &err).empty());
    EXPECT_NE(err.find("need a colormap 256 pixels wide and at least 64 rows high"),
              std::string::npos)
        << err;
    EXPECT_TRUE(renderPlane({"--mode", "4", "--phong", skin}, &err).empty());
    EXPECT_NE(err.find("Phong maps must be 256x256"), std::string::npos) << err;
    EXPECT_TRUE(renderPlane({"--mode", "6", "--env", sample().dir.path() + "/none.pcx"}, &err).empty());
    EXPECT_NE(err.find("Error Loading: "), std::string::npos) << err;
    EXPECT_TRUE(renderPlane({"--mode", "7"}, &err).empty());
    EXPECT_NE(err.find("The Colormap.pcx file needed for Tex+G-shaded mode"), std::string::npos);
}

}  // namespace
}  // namespace tarn::cli
