// Every command on the costliest generated input within its caps: it either
// finishes with its result or refuses up front, naming the limit. (What they
// cost is measured in bench/bounds, never here.)
#include <gtest/gtest.h>

#include "cli_run.h"
#include "edit/layout_export.h"
#include "hostile_models.h"
#include "image/skin_io.h"
#include "model/mesh.h"
#include "platform/fs.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn::cli {
namespace {

TEST(BoundedCli, WorstCasesFinishOrNameTheirLimit) {
    test::TempDir dir;
    const auto model = [&](const std::string& name, const test::PiledModel& recipe, std::size_t keep = 0) {
        Bytes bytes = test::piledModel(recipe);
        if (keep > 0) bytes.resize(keep);
        EXPECT_EQ(writeFileAtomic(dir.file(name), bytes), 0);
        return dir.file(name);
    };
    // 4096 Triangles of their own, piled over the same 4000 x 4000 texels.
    const std::string piled = model("piled.md2", {});
    // The same over the largest skin, and over all of a 640 x 480 one.
    const std::string piledLargest = model("largest.md2", {4096, kMaxImageWidth, kMaxImageRows, 32000, 4000, 1, 3});
    const std::string piledSkin = model("skin.md2", {4096, 640, 480, 1400, 1000, 1, 3});
    // A header naming the largest skin, with a single Triangle.
    const std::string header = model("header.md2", {1, kMaxImageWidth, kMaxImageRows, 10, 10, 1, 3});
    // One frame more than the positions cap allows; the header is refused
    // before any frame is read, so one frame's bytes are enough.
    const int frames = kMaxFramePositions / kMaxFrameVertices + 1;
    const std::string tooManyFrames = model("frames.md2", {1, 64, 64, 10, 10, frames, kMaxFrameVertices}, 1 << 16);

    test::ScriptedUi quiet;
    ASSERT_TRUE(SavePcx(quiet, *makeBlankSkin(640, 480), dir.file("old.pcx")));
    ASSERT_EQ(runCli({"kmap", "export", piledSkin, dir.file("old.kmp")}).code, 0);

    struct Case {
        Args args;
        int code;
        std::string says;
    };
    const Case cases[] = {
        {{"info", piledLargest}, 0, "Wasted Space: 26%"},
        {{"info", tooManyFrames}, 1,
         "This MD2 has " + std::to_string(long(frames) * kMaxFrameVertices) +
             " frame positions (frames x vertices); TARN holds at most " + std::to_string(kMaxFramePositions)},
        {{"layout", header, "-o", dir.file("l.png"), "--scale", "3"}, 1,
         "The layout would be 98301x6144 pixels; a layout holds at most " + std::to_string(kMaxLayoutPixels) + " pixels"},
        {{"layout", piled, "-o", dir.file("l.png"), "--fill"}, 0, "(640x480)"},
        {{"pack", piled, "-o", dir.file("p.md2"), "--skin-out", dir.file("p.pcx"), "--size", "shrink", "--no-limits"},
         1, "The islands do not fit a skin of 32764x2048."},
        {{"retromap", piledSkin, dir.file("old.pcx"), dir.file("old.kmp"), "-o", dir.file("new.pcx")}, 0,
         "(640x480)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.code, c.code) << r.out << r.err;
        EXPECT_NE((r.out + r.err).find(c.says), std::string::npos) << r.out << r.err;
    }
}

}  // namespace
}  // namespace tarn::cli
