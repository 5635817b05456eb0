// PAK archives: hostile directories refused whole, and the order in which the
// game's files are found (loose, then higher PAK, then lower PAK).
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "pak_builder.h"
#include "platform/game_files.h"
#include "platform/pak.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

using test::buildPak;
using test::PakImage;
using test::textBytes;

std::vector<test::PakItem> twoItems() {
    return {{"models/a/skin.pcx", textBytes("skin-data")}, {"pics/colormap.pcx", textBytes("colormap")}};
}

struct Hostile {
    const char* what;
    std::function<void(PakImage&)> bend;
};

TEST(PakDirectory, EveryHostileShapeIsRefusedWhole) {
    const std::uint32_t dir = static_cast<std::uint32_t>(buildPak(twoItems()).directoryOffset);
    const std::vector<Hostile> cases = {
        {"cut inside the header", [](PakImage& p) { p.bytes.resize(10); }},
        {"cut inside the directory", [](PakImage& p) { p.bytes.resize(p.bytes.size() - 1); }},
        {"wrong magic", [](PakImage& p) { p.bytes[0] = 'X'; }},
        {"directory not whole entries", [](PakImage& p) { p.putU32(8, 64 + 3); }},
        {"directory past the end", [](PakImage& p) { p.putU32(4, 0x7FFFFF00u); }},
        {"directory length negative", [](PakImage& p) { p.putU32(8, 0xFFFFFFC0u); }},
        {"directory over the header", [](PakImage& p) { p.putU32(4, 4); }},
        {"entry past the end", [](PakImage& p) { p.putU32(p.entryAt(1) + 60, 100000); }},
        {"entry offset wraps", [](PakImage& p) { p.putU32(p.entryAt(0) + 56, 0xFFFFFFF0u); }},
        {"entries overlap", [](PakImage& p) { p.putU32(p.entryAt(1) + 56, 14); }},
        {"entry over the directory", [dir](PakImage& p) { p.putU32(p.entryAt(0) + 56, dir); }},
        {"entry over the header", [](PakImage& p) { p.putU32(p.entryAt(0) + 56, 0); }},
        {"climbing name", [](PakImage& p) { p.putRawName(0, std::string("../../etc/passwd\0", 17)); }},
        {"climbing inside", [](PakImage& p) { p.putRawName(0, std::string("models/../../x\0", 15)); }},
        {"absolute name", [](PakImage& p) { p.putRawName(0, std::string("/etc/passwd\0", 12)); }},
        {"backslash root", [](PakImage& p) { p.putRawName(0, std::string("\\x.pcx\0", 7)); }},
        {"drive name", [](PakImage& p) { p.putRawName(0, std::string("C:x.pcx\0", 8)); }},
        {"empty name", [](PakImage& p) { p.putRawName(0, std::string(1, '\0')); }},
        {"name without NUL", [](PakImage& p) { p.putRawName(0, std::string(56, 'a')); }},
        {"control byte", [](PakImage& p) { p.putRawName(0, std::string("a\nb.pcx\0", 8)); }},
        {"empty component", [](PakImage& p) { p.putRawName(0, std::string("a//b.pcx\0", 9)); }},
    };
    for (const Hostile& c : cases) {
        PakImage pak = buildPak(twoItems());
        c.bend(pak);
        const PakArchive::Opened opened = PakArchive::fromBytes("hostile.pak", pak.bytes);
        EXPECT_EQ(opened.archive, nullptr) << c.what;
        EXPECT_FALSE(opened.error.empty()) << c.what;
    }
}

TEST(PakDirectory, SoundArchiveReadsByAnyCaseAndSeparatorFirstEntryWinning) {
    test::TempDir dir;
    auto items = twoItems();
    items.push_back({"Models/A/SKIN.pcx", textBytes("shadowed")});
    items.push_back({"empty.txt", {}});
    // A NUL ends the name; what follows it in the field is the tools' leftovers.
    PakImage image = buildPak(items);
    image.putRawName(1, std::string("pics/colormap.pcx\0junk/../..", 28));
    ASSERT_EQ(writeFileAtomic(dir.file("pak0.pak"), image.bytes), 0);

    const PakArchive::Opened opened = PakArchive::open(dir.file("pak0.pak"));
    ASSERT_NE(opened.archive, nullptr) << opened.error;
    ASSERT_EQ(opened.archive->entries().size(), 4u);
    const PakEntry* skin = opened.archive->find("MODELS\\a\\Skin.PCX");
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(opened.archive->read(*skin).bytes, textBytes("skin-data"));
    EXPECT_EQ(opened.archive->read(*opened.archive->find("pics/colormap.pcx")).bytes, textBytes("colormap"));
    EXPECT_TRUE(opened.archive->read(*opened.archive->find("empty.txt")).ok());
    EXPECT_EQ(opened.archive->find("models/a"), nullptr);

    // A file swapped for another of a different size is not read through the old directory.
    ASSERT_EQ(writeFileAtomic(dir.file("pak0.pak"), textBytes("PACK")), 0);
    EXPECT_FALSE(opened.archive->read(*skin).ok());
}

TEST(PakDirectory, AFolderOrAbsentFileInThePaksPlaceIsRefused) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.file("pak0.pak"));
    EXPECT_EQ(PakArchive::open(dir.file("pak0.pak")).archive, nullptr);
    EXPECT_EQ(PakArchive::open(dir.file("absent.pak")).archive, nullptr);
}

// A base folder with loose files and three PAKs that all hold some names.
class GameFolder : public ::testing::Test {
protected:
    void SetUp() override {
        test::writePak(dir.file("pak0.pak"), {{"a.pcx", textBytes("pak0")},
                                              {"b.pcx", textBytes("pak0")},
                                              {"c.pcx", textBytes("pak0")},
                                              {"d.pcx", textBytes("pak0")}});
        test::writePak(dir.file("pak2.pak"), {{"B.PCX", textBytes("pak2")}, {"c.pcx", textBytes("pak2")}});
        test::writePak(dir.file("PAK10.PAK"), {{"c.pcx", textBytes("pak10")}});
        std::filesystem::create_directories(dir.file("Sub"));
        EXPECT_EQ(writeFileAtomic(dir.file("a.pcx"), textBytes("loose")), 0);
        EXPECT_EQ(writeFileAtomic(dir.file("Sub/E.pcx"), textBytes("loose-e")), 0);
    }
    std::string read(const std::string& name) {
        const GameFile g = readGameFile(ui, dir.path(), name, shelf);
        return g.file.ok() ? std::string(g.file.bytes.begin(), g.file.bytes.end()) + (g.fromPak() ? "@pak" : "")
                           : "missing";
    }
    test::TempDir dir;
    test::ScriptedUi ui;
    PakShelf shelf;
};

TEST_F(GameFolder, LooseThenHigherPakThenLowerPakInAnyCase) {
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"a.pcx", "loose"},       {"A.PCX", "loose"},     {"b.pcx", "pak2@pak"}, {"c.pcx", "pak10@pak"},
        {"D.Pcx", "pak0@pak"},    {"sub/e.pcx", "loose-e"}, {"f.pcx", "missing"},
        // A name that climbs stays inside the base folder.
        {"../a.pcx", "loose"},
    };
    for (const auto& [name, content] : expected) EXPECT_EQ(read(name), content) << name;
    EXPECT_EQ(pakFilesOf(dir.path()),
              (std::vector<std::string>{dir.file("PAK10.PAK"), dir.file("pak2.pak"), dir.file("pak0.pak")}));
    EXPECT_EQ(pakNamesOf(ui, dir.path(), ".PCX", shelf),
              (std::vector<std::string>{"a.pcx", "B.PCX", "c.pcx", "d.pcx"}));
    // Where a save of a packed file goes: loose, at the same place below the base.
    EXPECT_EQ(readGameFile(ui, dir.path(), "d.pcx", shelf).loosePath, joinPath(dir.path(), "d.pcx"));
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(GameFolder, DamagedPakIsSkippedWithOneMessageUntilItChanges) {
    PakImage bad = buildPak({{"c.pcx", textBytes("bad")}});
    bad.putRawName(0, std::string("../c.pcx\0", 9));
    ASSERT_EQ(writeFileAtomic(dir.file("PAK10.PAK"), bad.bytes), 0);

    EXPECT_EQ(read("c.pcx"), "pak2@pak");
    EXPECT_EQ(read("b.pcx"), "pak2@pak");
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_NE(ui.messages()[0].find(dir.file("PAK10.PAK")), std::string::npos);

    test::writePak(dir.file("PAK10.PAK"), {{"c.pcx", textBytes("mended!")}});
    EXPECT_EQ(read("c.pcx"), "mended!@pak");
    EXPECT_EQ(ui.messages().size(), 1u);
}

TEST_F(GameFolder, AFullPathFindsItsFileInThePaksOfTheFolderAbove) {
    const GameFile g = readGamePath(ui, joinPath(dir.path(), "deeper/d.pcx"), shelf);
    EXPECT_FALSE(g.file.ok());
    const GameFile d = readGamePath(ui, dir.file("D.PCX"), shelf);
    ASSERT_TRUE(d.file.ok());
    EXPECT_EQ(d.pakPath, dir.file("pak0.pak"));
    test::writePak(dir.file("pak2.pak"), {{"pics/colormap.pcx", textBytes("cm")}});
    EXPECT_EQ(readGamePath(ui, joinPath(dir.path(), "pics/colormap.pcx"), shelf).file.bytes, textBytes("cm"));
}

// Many names of one PAK open it once; past the bound, PAKs are skipped and
// named in one message, said again only when the surplus changes.
TEST_F(GameFolder, LinksOfOnePakOpenItOnceAndSurplusPaksAreSkipped) {
    for (int i = 100; i < 300; ++i)
        std::filesystem::create_symlink(dir.file("pak0.pak"), dir.file("pak" + std::to_string(i) + ".pak"));
    const auto archives = shelf.archives(dir.path(), ui);
    // pak299 .. pak100 and pak0 are one file: it is searched once, where its
    // highest-numbered name puts it.
    ASSERT_EQ(archives.size(), 3u);
    EXPECT_EQ(archives[0]->path(), dir.file("pak299.pak"));
    EXPECT_TRUE(ui.messages().empty());

    for (std::size_t i = 0; i < kMaxPakFiles + 2; ++i)
        test::writePak(dir.file("pak" + std::to_string(1000 + i) + ".pak"), {{"x.pcx", textBytes("x")}});
    EXPECT_EQ(shelf.archives(dir.path(), ui).size(), kMaxPakFiles);
    EXPECT_EQ(read("d.pcx"), "missing");  // pak0 is past the bound now
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_NE(ui.messages()[0].find("pak1000.pak"), std::string::npos) << ui.messages()[0];
}

}  // namespace
}  // namespace tarn
