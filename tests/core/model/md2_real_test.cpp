// Every public model of the shared test data: it loads (or is refused with a
// message where it really is broken), saves with its frames untouched and GL
// commands that cover it, and survives being cut short or having its header
// scrambled.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>

#include "batch_mesh_session.h"
#include "gl_check.h"
#include "md2_test_file.h"
#include "model/md2_format.h"
#include "test_files.h"

namespace tarn {
namespace {

const char* const kRealModels[] = {
    "3dengine/models/ogro/tris.md2",
    "3dengine/models/ogro/weapon.md2",
    "3dengine/models/sodf8/tris.md2",
    "3dengine/models/sodf8/weapon.md2",
    "assimp/test/models-nonbsd/MD2/dolphin.md2",
    "assimp/test/models-nonbsd/MD2/flag.md2",
    "assimp/test/models-nonbsd/MD2/horse.md2",
    "irrlicht/media/faerie.md2",
    "irrlicht/media/gun.md2",
    "irrlicht/media/sydney.md2",
    "osmp/tris.md2",
    "q2-didux/baseq2/models/items/adrenal/tris.md2",
    "q2-didux/baseq2/models/items/armor/band/tris.md2",
    "q2-didux/baseq2/models/items/armor/jacket/tris.md2",
    "q2-didux/baseq2/models/items/armor/screen/tris.md2",
    "q2-didux/baseq2/models/objects/banner/tris.md2",
    "q2-didux/baseq2/models/objects/debris2/tris.md2",
    "q2-didux/baseq2/models/objects/dmspot/tris.md2",
    "q2-didux/baseq2/models/objects/gibs/chest/tris.md2",
    "q2-didux/baseq2/models/objects/gibs/skull/tris.md2",
    "q2-didux/baseq2/models/objects/r_explode/tris.md2",
    "q2-didux/baseq2/models/weapons/g_launch/tris.md2",
    "q2-didux/baseq2/models/weapons/g_rail/tris.md2",
    "q2-didux/baseq2/models/weapons/v_handgr/tris.md2",
    "q2-didux/baseq2/players/female/tris.md2",
    "q2-didux/baseq2/players/female/weapon.md2",
    "q2-didux/baseq2/players/male/tris.md2",
    "q2-didux/baseq2/players/male/w_railgun.md2",
    "q2-didux/baseq2/players/male/weapon.md2",
};

// Skinless models never scan their folder for skins: each file is checked alone.
struct Loaded : test::BatchMeshSession {
    explicit Loaded(const std::string& base) : BatchMeshSession(base) {
        settings.setInt(kPreferences, kDirScanPromptKey, 1);
    }
};

std::string baseOf(const std::string& path) {
    const auto at = path.find("/baseq2/");
    return at == std::string::npos ? folderOf(path) : path.substr(0, at + 7);
}

TEST(RealModels, LoadAndResaveKeepingFramesAndCoveringEveryTriangle) {
    if (test::realTestData("").empty()) GTEST_SKIP() << "no real test data";
    test::TempDir out;
    for (const char* relative : kRealModels) {
        SCOPED_TRACE(relative);
        const std::string path = test::realTestData(relative);
        Loaded l(baseOf(path));
        ASSERT_TRUE(LoadMesh(l.c, path)) << l.log.str();
        const Md2Header in = readMd2Header(l.source);
        EXPECT_EQ(l.mesh.triangleCount, in.numTriangles);
        EXPECT_EQ(static_cast<int>(l.mesh.frames.size()), in.numFrames);
        EXPECT_LE(l.mesh.mappingVertCount, in.numSkinCoords);
        EXPECT_EQ(l.skins.count(), in.numSkins);

        const std::string saved = out.file("resaved.md2");
        ASSERT_TRUE(SaveMesh(l.c, saved)) << l.log.str();
        const Bytes file = readFile(saved).bytes;
        const Md2Parse again = parseMd2(file);
        ASSERT_TRUE(again.ok()) << again.error;
        const Md2Header& h = again.contents.header;
        EXPECT_EQ(h.version, in.version);
        EXPECT_EQ(h.numVertices, in.numVertices);
        EXPECT_EQ(h.numTriangles, in.numTriangles);
        EXPECT_EQ(h.numFrames, in.numFrames);
        EXPECT_EQ(h.numSkinCoords, l.mesh.mappingVertCount);
        EXPECT_EQ(h.offsetEnd, static_cast<std::int32_t>(file.size()));

        const std::size_t frameBytes = md2FrameBytes(in.numVertices) * static_cast<std::size_t>(in.numFrames);
        EXPECT_TRUE(std::equal(l.source.begin() + in.offsetFrames,
                               l.source.begin() + in.offsetFrames + static_cast<std::ptrdiff_t>(frameBytes),
                               file.begin() + h.offsetFrames))
            << "frame records differ";

        std::vector<std::int32_t> gl;
        for (std::size_t at = static_cast<std::size_t>(h.offsetGlCommands); at + 4 <= file.size(); at += 4)
            gl.push_back(test::readI32(file, at));
        EXPECT_EQ(static_cast<std::int32_t>(gl.size()), h.numGlCommands);
        EXPECT_EQ(test::checkGlCover(l.mesh, gl), "");

        // Loading the saved file gives the same model.
        Loaded back(baseOf(path));
        ASSERT_TRUE(LoadMesh(back.c, saved));
        EXPECT_EQ(back.mesh.mappingVertCount, l.mesh.mappingVertCount);
        EXPECT_EQ(back.skins.count(), l.skins.count());
        EXPECT_EQ(back.mesh.frames[0].positions, l.mesh.frames[0].positions);
    }
}

TEST(RealModels, SkinsResolveThroughCaseAndBackslashes) {
    const std::string weapon = test::realTestData("q2-didux/baseq2/players/male/weapon.md2");
    if (weapon.empty()) GTEST_SKIP() << "no real test data";
    Loaded l(baseOf(weapon));
    ASSERT_TRUE(LoadMesh(l.c, weapon));
    EXPECT_TRUE(l.ui.messages().empty()) << l.log.str();  // players/Marine -> players/marine
    EXPECT_TRUE(l.skins.at(0)->hasFile);

    const std::string explode = test::realTestData("q2-didux/baseq2/models/objects/r_explode/tris.md2");
    Loaded e(baseOf(explode));
    ASSERT_TRUE(LoadMesh(e.c, explode));
    EXPECT_EQ(e.skins.count(), 7);
    EXPECT_TRUE(e.ui.messages().empty()) << e.log.str();

    const std::string handgrenade = test::realTestData("q2-didux/baseq2/models/weapons/v_handgr/tris.md2");
    Loaded g(baseOf(handgrenade));
    ASSERT_TRUE(LoadMesh(g.c, handgrenade));
    EXPECT_EQ(g.ui.messages(),
              (std::vector<std::string>{std::string(kMsgSkinWrongSize) + "\nmodels/weapons/v_handgr/skin.pcx"}));
    EXPECT_FALSE(g.skins.at(0)->hasFile);
}

TEST(RealModels, MalformedFileIsRefused) {
    const std::string path = test::realTestData("assimp/test/models/MD2/malformed_zero_numvertices.md2");
    if (path.empty()) GTEST_SKIP() << "no real test data";
    Loaded l(folderOf(path));
    EXPECT_FALSE(LoadMesh(l.c, path));
    ASSERT_EQ(l.ui.messages().size(), 1u);
    EXPECT_NE(l.ui.messages()[0].find("damaged"), std::string::npos) << l.ui.messages()[0];
    EXPECT_FALSE(l.mesh.loaded);
    EXPECT_TRUE(l.source.empty());
}

TEST(RealModels, CutShortOrScrambledFilesNeverGetThrough) {
    const std::string path = test::realTestData("q2-didux/baseq2/players/male/weapon.md2");
    if (path.empty()) GTEST_SKIP() << "no real test data";
    const Bytes file = readFile(path).bytes;
    const Md2Header h = readMd2Header(file);
    const auto framesEnd = static_cast<std::size_t>(h.offsetFrames) +
                           md2FrameBytes(h.numVertices) * static_cast<std::size_t>(h.numFrames);

    for (std::size_t length = 0; length < file.size(); length += length < 200 ? 1 : 97) {
        const Md2Parse parsed = parseMd2(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length)));
        EXPECT_EQ(parsed.ok(), length >= framesEnd) << "length " << length;
        if (!parsed.ok()) {
            EXPECT_FALSE(parsed.error.empty());
        }
    }

    // Scrambled header fields: whatever is accepted must be safe to use.
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> field(1, 16);
    std::uniform_int_distribution<std::int32_t> value(-70000, 400000);
    for (int round = 0; round < 400; ++round) {
        Bytes bad = file;
        for (int k = 0; k < 1 + round % 3; ++k)
            test::patchI32(bad, 4 * static_cast<std::size_t>(field(random)), value(random));
        Md2Parse parsed = parseMd2(bad);
        if (!parsed.ok()) continue;
        Mesh mesh;
        applyMd2ToMesh(std::move(parsed.contents), mesh);
        const Md2Encode encoded = encodeMd2(mesh, {}, bad);
        if (encoded.ok()) {
            EXPECT_TRUE(parseMd2(encoded.bytes).ok());
        }
    }
}

}  // namespace
}  // namespace tarn
