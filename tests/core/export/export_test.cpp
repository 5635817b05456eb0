#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "export/dh2_mesh.h"
#include "export/export_commands.h"
#include "export/ssm_object.h"
#include "image/byte_view.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

// V vertices in F frames (frame f moved by f along x), T triangles over
// MappingVerts placed by `corner`, on a skin of the given size.
Mesh makeMesh(int vertices, int triangles, int frames, int skinW, int skinH,
              const std::vector<MappingVert>& corners = {{0, 0}, {0, 0}, {0, 0}}) {
    Mesh m;
    m.vertexCount = static_cast<std::int16_t>(vertices);
    m.triangleCount = static_cast<std::int16_t>(triangles);
    m.skinWidth = static_cast<std::int16_t>(skinW);
    m.skinHeight = static_cast<std::int16_t>(skinH);
    m.mappingVertCount = static_cast<std::int16_t>(corners.size());
    std::copy(corners.begin(), corners.end(), m.mappingVerts.begin());
    for (int f = 0; f < frames; ++f) {
        Frame frame;
        for (int v = 0; v < vertices; ++v) frame.positions.push_back({float(v + f), float(2 * v), float(-v)});
        m.frames.push_back(frame);
    }
    for (int t = 0; t < triangles; ++t) {
        Triangle& tri = m.triangles[std::size_t(t)];
        for (int c = 0; c < 3; ++c) {
            tri.vertex[std::size_t(c)] = static_cast<std::int16_t>((t + c) % vertices);
            tri.mapping[std::size_t(c)] = static_cast<std::int16_t>(c % int(corners.size()));
        }
    }
    m.loaded = true;
    return m;
}

float f32At(const Bytes& b, std::size_t at) { return std::bit_cast<float>(ByteView(b.data(), b.size()).u32(at)); }
std::int16_t i16At(const Bytes& b, std::size_t at) {
    return static_cast<std::int16_t>(ByteView(b.data(), b.size()).u16(at));
}

TEST(SsmExport, FileSizeFollowsTheLayoutForEveryShape) {
    struct Case { int v, t, f; };
    for (const Case c : {Case{3, 1, 1}, Case{5, 4, 3}, Case{40, 70, 12}}) {
        const Bytes file = encodeSsmObject(buildSsmObject(makeMesh(c.v, c.t, c.f, 256, 256)));
        const std::size_t expected = 4 + 4 + 6 + 6 + 2 + 36 * std::size_t(c.t) + 22 +
                                     std::size_t(c.f) * (9 + 12 * std::size_t(c.v)) + (19 + 6 * std::size_t(c.f)) + 32;
        EXPECT_EQ(file.size(), expected) << c.v << " " << c.t << " " << c.f;
    }
    const Bytes one = encodeSsmObject(buildSsmObject(makeMesh(3, 1, 1, 256, 256)));
    ASSERT_EQ(one.size(), 182u);
    EXPECT_EQ(std::memcmp(one.data(), "SSMO", 4), 0);
    const std::int16_t header[] = {1, 0, 3, 1, 1, 1, 1, 1, 0};
    for (std::size_t i = 0; i < 9; ++i) EXPECT_EQ(i16At(one, 4 + 2 * i), header[i]) << i;
}

TEST(SsmExport, CornersAreFractionsOfTheSkinSidesAndFramesFollowInOrder) {
    const Mesh m = makeMesh(3, 1, 2, 256, 128, {{128, 32}, {0, 127}, {255, 0}});
    const Bytes b = encodeSsmObject(buildSsmObject(m));
    constexpr std::size_t kTri = 22;
    EXPECT_EQ(i16At(b, kTri + 2), 1);  // second corner's vertex
    const float uv[] = {0.5f, 0.25f, 0.0f, 127.0f / 128.0f, 255.0f / 256.0f, 0.0f};
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(f32At(b, kTri + 8 + 4 * i), uv[i]) << i;
    // Second frame, after the label (22 bytes) and the first frame (8 + 1 + 36).
    const std::size_t frame1 = kTri + 36 + 22 + 45;
    EXPECT_EQ(b[frame1 + 8], 1);
    EXPECT_EQ(f32At(b, frame1 + 9), 1.0f);  // vertex 0 of frame 1 sits at x = 1
    // The animation times its two entries 0.1 s each.
    const std::size_t anim = frame1 + 45;
    EXPECT_EQ(i16At(b, anim + 8), 2);
    EXPECT_EQ(f32At(b, anim + 8 + 2 + 9 + 4), 0.1f);
}

TEST(Dh2Export, SizeAndCoordinatesDividedByTheWidth) {
    for (const auto& [v, t] : {std::pair{3, 1}, {17, 30}, {300, 600}}) {
        EXPECT_EQ(encodeDh2Mesh(makeMesh(v, t, 1, 64, 64)).size(), 12u + 12u * v + 32u * t);
    }
    Mesh m = makeMesh(3, 1, 2, 256, 128, {{128, 64}, {0, 0}, {255, 127}});
    const Bytes b = encodeDh2Mesh(m);
    const std::size_t tri = 12 + 36;
    const float st[] = {0.5f, 0.25f, 0.0f, 0.0f, 255.0f / 256.0f, 127.0f / 256.0f};
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(f32At(b, tri + 8 + 4 * i), st[i]) << i;
    EXPECT_LT(f32At(b, tri + 24), 1.0f);
    // Another current frame: its positions, the same triangle records.
    ASSERT_TRUE(SelectFrame(m, 1));
    const Bytes other = encodeDh2Mesh(m);
    EXPECT_EQ(f32At(other, 12), 1.0f);
    EXPECT_TRUE(std::equal(b.begin() + tri, b.end(), other.begin() + tri));
}

TEST(ExportCommands, DialogsExtensionsAndFailures) {
    test::TempDir dir;
    const Mesh m = makeMesh(3, 1, 1, 64, 64);
    MemorySettings settings;
    Folders folders{dir.path(), dir.path(), dir.path()};
    test::ScriptedUi ui;
    ExportContext c{ui, settings, folders, m};

    ui.saveFile(dir.file("thing"));
    ExportSsmObject(c);
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].filter, "SSM Object (*.ssm)|*.ssm|All Files (*.*)|*.*||");
    EXPECT_EQ(ui.fileRequests[0].initialName, "TempObject.ssm");
    EXPECT_EQ(readFile(dir.file("thing.ssm")).bytes.size(), 182u);
    EXPECT_EQ(settings.getString(kProject, "SaveDir", ""), dir.path());

    folders.save = "/elsewhere";
    ui.saveFile(dir.file("mesh"));
    ExportDh2Mesh(c);
    EXPECT_EQ(ui.fileRequests[1].filter, "DH2 Mesh (*.d2m)|*.d2m|All Files (*.*)|*.*||");
    EXPECT_EQ(ui.fileRequests[1].initialName, "*.d2m");
    EXPECT_EQ(ui.fileRequests[1].startFolder, "");
    EXPECT_EQ(readFile(dir.file("mesh.d2m")).bytes.size(), 12u + 36u + 32u);
    EXPECT_EQ(folders.save, "/elsewhere");

    ui.saveFile(dir.file("no/such/folder/mesh.d2m"));
    ExportDh2Mesh(c);
    ui.saveFile(dir.file("no/such/folder/o.ssm"));
    ExportSsmObject(c);
    ASSERT_EQ(ui.messages().size(), 2u);
    EXPECT_EQ(ui.messages()[0], "Unable to create the Dh2 Mesh File!");
    EXPECT_EQ(ui.messages()[1].rfind("Error Saving: ", 0), 0u);

    ui.saveFile(std::nullopt);
    ExportDh2Mesh(c);
    EXPECT_EQ(ui.messages().size(), 2u);
}

}  // namespace
}  // namespace tarn
