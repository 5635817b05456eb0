#include <gtest/gtest.h>

#include "batch_mesh_session.h"
#include "edit/mapping_file.h"
#include "edit/retro_map.h"
#include "image/skin_list.h"
#include "platform/refresh.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

using test::ScriptedUi;
using test::TempDir;

// Two Triangles sharing the MappingVert at (100, 50) and the edge 1-2 in 3D,
// on a 256 x 256 skin, merged as a load leaves them.
Mesh twoTriangles() {
    Mesh m;
    m.skinWidth = m.skinHeight = 256;
    m.vertexCount = 4;
    m.triangleCount = 2;
    m.triangles[0].vertex = {0, 1, 2};
    m.triangles[1].vertex = {2, 1, 3};
    m.mappingVerts[0] = {0, 0};
    m.mappingVerts[1] = {100, 50};
    m.mappingVerts[2] = {255, 255};
    m.mappingVerts[3] = {10, 200};
    m.mappingVertCount = 4;
    m.triangles[0].mapping = {0, 1, 2};
    m.triangles[1].mapping = {3, 1, 2};
    StoreMapping(m);
    return m;
}

struct MappingState {
    std::int16_t count;
    std::vector<MappingVert> verts;
    std::vector<std::array<std::int16_t, 3>> mapping, vertex, backup;
    std::vector<std::array<MappingVert, 3>> corners;
    bool operator==(const MappingState&) const = default;
};

MappingState stateOf(const Mesh& m) {
    MappingState s{m.mappingVertCount, {m.mappingVerts.begin(), m.mappingVerts.begin() + m.mappingVertCount}, {}, {}, {}, {}};
    for (int i = 0; i < m.triangleCount; ++i) {
        const Triangle& t = m.triangles[std::size_t(i)];
        s.mapping.push_back(t.mapping);
        s.vertex.push_back(t.vertex);
        s.backup.push_back(t.backupMapping);
        s.corners.push_back(t.corner);
    }
    return s;
}

Bytes written(Mesh m) {
    MergeMappingVerts(m);
    return EncodeKmap(m);
}

void setI16(Bytes& b, std::size_t at, int v) {
    b[at] = std::uint8_t(v & 0xFF);
    b[at + 1] = std::uint8_t((v >> 8) & 0xFF);
}

TEST(MappingFile, RealModelRoundTripsUnchangedAndReplacesVertexIndices) {
    const std::string model = test::realTestData("q2-didux/baseq2/players/male/tris.md2");
    if (model.empty()) GTEST_SKIP() << "no real test data";
    TempDir dir;
    test::BatchMeshSession s(test::realTestData("q2-didux/baseq2"));
    ASSERT_TRUE(LoadMesh(s.c, model));
    ScriptedUi ui;
    ASSERT_TRUE(ExportMapping(ui, s.mesh, dir.file("male.kmp")));
    const MappingState before = stateOf(s.mesh);
    ASSERT_TRUE(ImportMapping(ui, s.mesh, dir.file("male.kmp"), ImportScope::Whole, MappingEditor{}));
    EXPECT_EQ(stateOf(s.mesh), before);
    EXPECT_TRUE(ui.shown.empty());

    // The file's vertex indices win over the model's.
    Bytes file = readFile(dir.file("male.kmp")).bytes;
    setI16(file, kKmapHeaderBytes + 18, 7);
    ASSERT_EQ(writeFileAtomic(dir.file("moved.kmp"), file), 0);
    ASSERT_TRUE(ImportMapping(ui, s.mesh, dir.file("moved.kmp"), ImportScope::Whole, MappingEditor{}));
    EXPECT_EQ(s.mesh.triangles[0].vertex[0], 7);
}

TEST(MappingFile, ImportRescalesToTheModelsSkinTruncating) {
    Mesh m = twoTriangles();
    const Bytes file = written(m);
    m.skinWidth = m.skinHeight = 128;
    TempDir dir;
    ASSERT_EQ(writeFileAtomic(dir.file("a.kmp"), file), 0);
    ScriptedUi ui;
    SkinList skins;
    History history(skins);
    const MappingState before = stateOf(m);
    ASSERT_TRUE(ImportMapping(ui, m, dir.file("a.kmp"), ImportScope::Whole, MappingEditor{&history}));
    const std::vector<MappingVert> halved = {{0, 0}, {50, 25}, {127, 127}, {5, 100}};
    EXPECT_EQ(std::vector<MappingVert>(m.mappingVerts.begin(), m.mappingVerts.begin() + 4), halved);
    // One step, which undoes the whole import.
    EXPECT_EQ(history.undoName(), kStepImportMapping);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(stateOf(m), before);
    EXPECT_EQ(RescaleCoordinate(-255, 256, 128), -127);   // toward zero, not down
    EXPECT_EQ(RescaleCoordinate(30000, 1, 100), 32767);   // kept within the table's range
}

TEST(MappingFile, ImportToSelectedSplitsSharedVertsAndRebuildsTheTable) {
    Mesh m = twoTriangles();
    Mesh moved = twoTriangles();
    moved.mappingVerts[1] = {120, 60};
    const Bytes file = written(moved);
    TempDir dir;
    ASSERT_EQ(writeFileAtomic(dir.file("a.kmp"), file), 0);
    ScriptedUi ui;

    m.triangles[0].flags = kTriSelected;
    const MappingState before = stateOf(m);
    ASSERT_TRUE(ImportMapping(ui, m, dir.file("a.kmp"), ImportScope::Selected, MappingEditor{}));
    EXPECT_EQ(m.mappingVertCount, 5);  // (100, 50) split: one for each Triangle
    EXPECT_EQ(m.mappingVerts[std::size_t(m.triangles[0].mapping[1])], (MappingVert{120, 60}));
    EXPECT_EQ(m.mappingVerts[std::size_t(m.triangles[1].mapping[1])], (MappingVert{100, 50}));
    // The backup holds the mapping from before the import.
    EXPECT_EQ(stateOf(m).backup, before.mapping);

    // Nothing selected: no coordinate moves, but twins weld and unused verts go.
    Mesh welded = twoTriangles();
    welded.mappingVerts[4] = {100, 50};
    welded.mappingVerts[5] = {7, 7};
    welded.triangles[1].mapping = {3, 4, 2};
    welded.mappingVertCount = 6;
    ASSERT_TRUE(ImportMapping(ui, welded, dir.file("a.kmp"), ImportScope::Selected, MappingEditor{}));
    EXPECT_EQ(welded.mappingVertCount, 4);
    EXPECT_EQ(stateOf(welded).corners, before.corners);
}

// A file laid out byte by byte as the format says, not by the writer (a
// swap in both writer and reader would pass a round trip): s comes before t
// in every corner. Only the whole Import takes the file's MappingVert count;
// Import to Selected and Retro-Map never use it and read past any value.
TEST(MappingFile, RecordsHoldSBeforeTAndOnlyTheWholeImportReadsTheVertCount) {
    const auto file = [](int vertCount) {
        Bytes b = {'K', 'M', 'A', 'P'};
        const auto put = [&b](int v) {
            b.push_back(std::uint8_t(v & 0xFF));
            b.push_back(std::uint8_t((v >> 8) & 0xFF));
        };
        for (int v : {2, vertCount, 256, 256}) put(v);
        for (int v : {11, 22, 33, 44, 55, 66, 0, 1, 2, 0, 1, 2}) put(v);  // Triangle 0: corners, indices, vertices
        for (int v : {77, 88, 33, 44, 55, 66, 3, 1, 2, 2, 1, 3}) put(v);
        return b;
    };
    struct Case {
        const char* what;
        int vertCount;
        ImportScope scope;  // or Retro-Map when `retro`
        bool retro;
        bool accepted;
    };
    const Case cases[] = {
        {"import", 4, ImportScope::Whole, false, true},
        {"import, count past the table", 32767, ImportScope::Whole, false, false},
        {"to selected, count past the table", 32767, ImportScope::Selected, false, true},
        {"to selected, negative count", -5, ImportScope::Selected, false, true},
        {"retro-map, count past the table", 32767, ImportScope::Whole, true, true},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(writeFileAtomic(dir.file("a.kmp"), file(c.vertCount)), 0);
        Mesh m = twoTriangles();
        m.triangles[0].flags = kTriSelected;
        ScriptedUi ui;
        if (c.retro) {
            const auto old = makeBlankSkin(256, 256);
            EXPECT_NE(RetroMap(ui, m, *old, dir.file("a.kmp"), 0, 0), nullptr);
        } else {
            EXPECT_EQ(ImportMapping(ui, m, dir.file("a.kmp"), c.scope, MappingEditor{}), c.accepted);
            if (c.accepted) {
                EXPECT_EQ(m.triangles[0].corner, (std::array<MappingVert, 3>{{{11, 22}, {33, 44}, {55, 66}}}));
            }
        }
        EXPECT_EQ(ui.messages().empty(), c.accepted);
    }
}

TEST(MappingFile, MalformedFilesAreRefusedAndChangeNothing) {
    const Mesh original = twoTriangles();
    const Bytes good = written(original);
    std::vector<std::pair<Bytes, const char*>> cases;
    for (std::size_t n = 0; n < good.size(); ++n)
        cases.push_back({Bytes(good.begin(), good.begin() + std::ptrdiff_t(n)), kMsgKmapInvalid});
    auto patched = [&](std::size_t at, int v, const char* why) {
        Bytes b = good;
        setI16(b, at, v);
        cases.push_back({b, why});
    };
    patched(0, 'K' | ('X' << 8), kMsgKmapInvalid);   // magic
    patched(4, 32767, kMsgKmapTriangleCount);         // huge triangle count
    patched(4, -2, kMsgKmapTriangleCount);
    patched(6, 32767, kMsgKmapInvalid);               // more MappingVerts than the table holds
    patched(8, 0, kMsgKmapInvalid);                   // no skin width to rescale from
    patched(10, -256, kMsgKmapInvalid);
    patched(kKmapHeaderBytes + 12, kMaxMappingVerts, kMsgKmapInvalid);  // index past the table
    patched(kKmapHeaderBytes + 24 + 22, 4, kMsgKmapInvalid);           // vertex past the model's
    patched(kKmapHeaderBytes + 18, -1, kMsgKmapInvalid);

    TempDir dir;
    for (const auto& [bytes, why] : cases) {
        SCOPED_TRACE(testing::Message() << bytes.size() << " bytes, expecting " << why);
        ASSERT_EQ(writeFileAtomic(dir.file("bad.kmp"), bytes), 0);
        Mesh m = twoTriangles();
        ScriptedUi ui;
        EXPECT_FALSE(ImportMapping(ui, m, dir.file("bad.kmp"), ImportScope::Whole, MappingEditor{}));
        EXPECT_EQ(ui.messages(), std::vector<std::string>{std::string(why) + "\n" + dir.file("bad.kmp")});
        EXPECT_EQ(stateOf(m), stateOf(original));
    }
}

TEST(MappingFile, CommandsUseTheKmapDialogsAndAppendTheExtension) {
    TempDir dir;
    MemorySettings settings;
    Folders folders{dir.path(), dir.path(), dir.path()};
    RecordingRefresh refresh;
    Mesh m = twoTriangles();
    ScriptedUi ui;
    MappingEditor editor;
    MappingFileContext c{ui, settings, folders, refresh, m, editor};
    ui.saveFile(dir.file("typed"));
    exportMappingCommand(c);
    EXPECT_TRUE(isRegularFile(dir.file("typed.kmp")));
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].filter, "TARN Mapping (*.kmp)|*.kmp|All Files (*.*)|*.*||");
    EXPECT_EQ(ui.fileRequests[0].initialName, "*.kmp");

    ui.openFile(dir.file("typed"));
    importMappingCommand(c);
    EXPECT_TRUE(ui.fileRequests[1].mustExist);
    EXPECT_EQ(refresh.calls, std::vector<std::string>{"refreshAll"});

    // A failed export reports the cause and leaves no file behind.
    ui.saveFile(dir.file("missing/out.kmp"));
    exportMappingCommand(c);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].rfind("Error Saving: ", 0), 0u);
    EXPECT_TRUE(ui.allConsumed());
}

}  // namespace
}  // namespace tarn
