// Models built to hurt: skin names that climb out of the base folder or name
// devices, more skins than the format allows, huge missing skins, padded
// frames. Each is either refused with a message, state untouched, or loaded
// with bounded memory and one message for its missing skins.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "image/image_codec.h"
#include "md2_test_file.h"
#include "model/md2_format.h"
#include "model/mesh_session.h"
#include "pak_builder.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

struct Game {
    test::TempDir dir;
    std::string base = joinPath(dir.path(), "baseq2");
    test::ScriptedUi ui;
    MemorySettings settings;
    MeshSession session{ui, settings, base};

    Game() {
        fs::create_directories(base);
        settings.setInt(kPreferences, kDirScanPromptKey, 1);
    }
    std::string write(const std::string& name, const Bytes& bytes) {
        const std::string path = joinPath(base, name);
        EXPECT_EQ(writeFileAtomic(path, bytes), 0);
        return path;
    }
    bool load(const test::TestMd2& m) { return LoadMesh(session.context, write("m.md2", m.build())); }
};

test::TestMd2 withSkins(std::vector<std::string> names, int width = 64, int height = 32) {
    test::TestMd2 m = test::quadModel();
    m.skins = std::move(names);
    m.skinWidth = width;
    m.skinHeight = height;
    return m;
}

TEST(HostileMd2, SkinNamesLeavingTheBaseFolderAreLookedUpInsideIt) {
    struct Case {
        const char* name;
        const char* lookedUpAs;  // below the base folder
    };
    const Case cases[] = {
        {"../../../../../../../../dev/zero", "dev/zero"},
        {"/dev/urandom", "dev/urandom"},
        {"models/../../../etc/passwd", "etc/passwd"},
        {"C:\\quake2\\baseq2\\skin.pcx", "quake2/baseq2/skin.pcx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Game g;
        ASSERT_TRUE(g.load(withSkins({c.name})));
        EXPECT_EQ(g.ui.messages(),
                  std::vector<std::string>{std::string(kMsgSkinMissing) + "\n" + c.name});
        EXPECT_EQ(g.session.skins.at(0)->filePath, joinPath(g.base, toNative(c.lookedUpAs)));

        // A real skin at the confined place is the one that loads.
        fs::create_directories(folderOf(joinPath(g.base, c.lookedUpAs)));
        const Bytes pixels(64 * 32, 9);
        g.write(c.lookedUpAs, encodePcx(64, 32, pixels.data(), Palette{}));
        g.ui.shown.clear();
        ASSERT_TRUE(g.load(withSkins({c.name})));
        EXPECT_TRUE(g.ui.shown.empty());
        EXPECT_TRUE(g.session.skins.at(0)->hasFile);
    }
}

// The PAK lookup sits behind the same confinement, and anything that is not
// a regular file in the loose place is refused by name rather than skipped.
TEST(HostileMd2, ClimbingNamesReachOnlyTheBaseFoldersPaksAndPipesAreRefused) {
    Game g;
    const Bytes pixels(64 * 32, 9);
    test::writePak(joinPath(g.base, "pak0.pak"), {{"dev/zero", encodePcx(64, 32, pixels.data(), Palette{})}});
    ASSERT_TRUE(g.load(withSkins({"../../../dev/zero"})));
    EXPECT_TRUE(g.ui.shown.empty());
    EXPECT_EQ(g.session.skins.at(0)->packedIn, joinPath(g.base, "pak0.pak"));

    fs::create_directories(joinPath(g.base, "dev"));
    const std::string pipe = joinPath(g.base, toNative("dev/zero"));
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    g.ui.shown.clear();
    ASSERT_TRUE(g.load(withSkins({"../../../dev/zero"})));
    const std::vector<std::string> expected = {readRefusalMessage(pipe, kErrNotRegularFile),
                                               std::string(kMsgSkinMissing) + "\n../../../dev/zero"};
    EXPECT_EQ(g.ui.messages(), expected);
}

TEST(HostileMd2, HeadersBeyondTheFormatAreRefusedAndChangeNothing) {
    struct Case {
        const char* what;
        void (*damage)(Bytes&);
        const char* says;
    };
    const Case cases[] = {
        {"33 skins", [](Bytes& f) { test::patchI32(f, kMd2OfsNumSkins, 33); }, "33 skins"},
        {"20000 skins", [](Bytes& f) { test::patchI32(f, kMd2OfsNumSkins, 20000); }, "20000 skins"},
        {"frame size short of the vertices",
         [](Bytes& f) { test::patchI32(f, kMd2OfsFrameSize, 40 + 4 * 4 - 1); }, "frame size 55"},
        {"padded frames past the end",
         [](Bytes& f) { test::patchI32(f, kMd2OfsFrameSize, 40 + 4 * 4 + 64); }, "frames lie outside"},
        {"skin name without an end",
         [](Bytes& f) { std::fill_n(f.begin() + kMd2HeaderSize, kMd2SkinNameSize, 'a'); }, "no end"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Game g;
        ASSERT_TRUE(g.load(test::quadModel()));
        const Bytes before = g.session.sourceImage;
        Bytes file = test::quadModel().build();
        c.damage(file);
        g.ui.shown.clear();
        EXPECT_FALSE(LoadMesh(g.session.context, g.write("bad.md2", file)));
        ASSERT_EQ(g.ui.messages().size(), 1u);
        EXPECT_NE(g.ui.messages()[0].find(c.says), std::string::npos) << g.ui.messages()[0];
        EXPECT_EQ(g.session.sourceImage, before);
        EXPECT_EQ(g.session.skins.count(), 1);
    }
}

TEST(HostileMd2, MissingSkinsOfOneLoadShareOneImageAndOneMessage) {
    Game g;
    std::vector<std::string> names;
    for (int i = 0; i < kMd2MaxSkins; ++i) names.push_back("models/m/s" + std::to_string(i) + ".pcx");
    test::TestMd2 m = withSkins(names, kMaxImageWidth, kMaxImageRows);
    ASSERT_TRUE(g.load(m));

    std::string expected = kMsgSkinMissing;
    for (const std::string& name : names) expected += "\n" + name;
    EXPECT_EQ(g.ui.messages(), std::vector<std::string>{expected});
    ASSERT_EQ(g.session.skins.count(), kMd2MaxSkins);
    Skin& first = *g.session.skins.at(0);
    for (int i = 1; i < kMd2MaxSkins; ++i)
        EXPECT_TRUE(g.session.skins.at(i)->pixels.sharesWith(first.pixels)) << i;

    // Painting one gives that one its own pixels; the others keep the pattern.
    first.pixels[0] = 1;
    EXPECT_FALSE(g.session.skins.at(1)->pixels.sharesWith(first.pixels));
    EXPECT_EQ(g.session.skins.at(1)->pixels[0], kTempSkinCellA);
    EXPECT_NE(first.pixels, first.backup);
}

// A file named by many skins, loose under other spellings or inside a PAK,
// is decoded once: 32 names of one large image used to hold 32 copies.
TEST(HostileMd2, SkinsNamingOneFileShareItsDecodedPixels) {
    const Bytes pixels(64 * 32, 7);
    const Bytes pcx = encodePcx(64, 32, pixels.data(), Palette{});
    for (const bool packed : {false, true}) {
        SCOPED_TRACE(packed ? "in a PAK" : "loose");
        Game g;
        if (packed) {
            test::writePak(joinPath(g.base, "pak0.pak"), {{"models/m/skin.pcx", pcx}});
        } else {
            fs::create_directories(joinPath(g.base, "models/m"));
            g.write("models/m/skin.pcx", pcx);
        }
        std::vector<std::string> names;
        for (int i = 0; i < kMd2MaxSkins; ++i)
            names.push_back(i % 3 == 0 ? "models/m/skin.pcx" : i % 3 == 1 ? "Models/M/SKIN.PCX" : "./models/x/../m/skin.pcx");
        ASSERT_TRUE(g.load(withSkins(names)));
        EXPECT_TRUE(g.ui.messages().empty());
        ASSERT_EQ(g.session.skins.count(), kMd2MaxSkins);
        Skin& first = *g.session.skins.at(0);
        for (int i = 1; i < kMd2MaxSkins; ++i) {
            EXPECT_TRUE(g.session.skins.at(i)->pixels.sharesWith(first.pixels)) << i;
            EXPECT_EQ(g.session.skins.at(i)->name, names[std::size_t(i)]);
        }
        first.pixels[0] = 1;
        EXPECT_EQ(g.session.skins.at(1)->pixels[0], 7);
    }
}

// A model that names no skins finds those beside it, inside the PAK it came
// from as well as loose; a loose file stands for the PAK's of the same name.
TEST(HostileMd2, TheFolderScanOfAPackedModelLooksInsideThePaks) {
    Game g;
    g.settings.setInt(kPreferences, kDirScanPromptKey, 0);
    const Bytes pixels(64 * 32, 3);
    const Bytes pcx = encodePcx(64, 32, pixels.data(), Palette{});
    test::writePak(joinPath(g.base, "pak0.pak"), {{"players/female/tris.md2", withSkins({}).build()},
                                                  {"players/female/ctf_b.pcx", pcx},
                                                  {"players/female/CTF_R.PCX", pcx},
                                                  {"players/female/deeper/no.pcx", pcx},
                                                  {"players/male/other.pcx", pcx}});
    fs::create_directories(joinPath(g.base, "players/female"));
    g.write("players/female/ctf_r.pcx", pcx);
    ASSERT_TRUE(LoadMesh(g.session.context, joinPath(g.base, "players/female/tris.md2")));
    ASSERT_EQ(g.session.skins.count(), 2);
    EXPECT_EQ(g.session.skins.at(0)->packedIn, "");  // the loose ctf_r.pcx
    EXPECT_EQ(g.session.skins.at(1)->packedIn, joinPath(g.base, "pak0.pak"));
    EXPECT_TRUE(g.ui.messages().empty());
}

TEST(HostileMd2, WrongSizeAndMissingSkinsAreReportedOncePerKind) {
    Game g;
    const Bytes small(8 * 8, 1);
    g.write("small.pcx", encodePcx(8, 8, small.data(), Palette{}));
    ASSERT_TRUE(g.load(withSkins({"a.pcx", "small.pcx", "b.pcx"})));
    EXPECT_EQ(g.ui.messages(), (std::vector<std::string>{std::string(kMsgSkinMissing) + "\na.pcx\nb.pcx",
                                                         std::string(kMsgSkinWrongSize) + "\nsmall.pcx"}));
}

TEST(HostileMd2, PaddedFramesDecodeAtTheHeaderFrameSize) {
    Game g;
    test::TestMd2 m = test::quadModel();
    m.framePadding = 24;
    ASSERT_TRUE(g.load(m));
    ASSERT_EQ(g.session.mesh.frames.size(), 3u);
    for (std::size_t f = 0; f < 3; ++f) {
        EXPECT_EQ(g.session.mesh.frames[f].name, m.frames[f].name);
        EXPECT_FLOAT_EQ(g.session.mesh.frames[f].positions[1].x, 100 * 0.5f - 1.0f);
        EXPECT_FLOAT_EQ(g.session.mesh.frames[f].positions[0].z, float(f * 10) * 0.5f + float(f));
    }
}

}  // namespace
}  // namespace tarn
