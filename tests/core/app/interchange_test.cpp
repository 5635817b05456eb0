// Out to other tools and back: the glTF and OBJ exports, read again through
// assimp (also after assimp's own writers reorder them), give back the mapping
// they were written from; bad files are refused without a change; the window
// command re-bakes the skins as one undo step.
#include <gtest/gtest.h>

#include <assimp/Exporter.hpp>
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <tiny_gltf.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>

#include "app/application.h"
#include "app/command_ids.h"
#include "batch_mesh_session.h"
#include "edit/mapping_import.h"
#include "export/gltf_export.h"
#include "export/md2_normals.h"
#include "export/obj_export.h"
#include "export/vertex_split.h"
#include "model/game_folder.h"
#include "model/mapping_edit.h"
#include "scripted_ui.h"
#include "test_files.h"

namespace tarn {
namespace {

using Corners = std::vector<std::array<MappingVert, 3>>;

Corners cornersOf(const Mesh& mesh) {
    Corners out;
    for (int i = 0; i < mesh.triangleCount; ++i) {
        std::array<MappingVert, 3> c{};
        for (std::size_t k = 0; k < 3; ++k) c[k] = mesh.mappingVerts[std::size_t(mesh.triangles[std::size_t(i)].mapping[k])];
        out.push_back(c);
    }
    return out;
}

// The mapping `file` gives `mesh` when imported in frame 0; empty when refused.
Corners importedCorners(const Mesh& mesh, const std::string& file) {
    const ModelMapping mapping = ReadModelMapping(mesh, 0, file);
    if (!mapping.ok()) return {};
    Mesh copy = mesh;
    SkinList none;
    ApplyModelMapping(copy, none, mapping, std::nullopt, nullptr);
    return cornersOf(copy);
}

// `in` written again by assimp's own `format` writer with the faces in
// reverse order and each face's corners turned by one, as another tool may.
bool rewriteThroughAssimp(const std::string& in, const std::string& out, const char* format) {
    Assimp::Importer importer;
    if (importer.ReadFile(in, 0) == nullptr) return false;
    aiScene* scene = importer.GetOrphanedScene();
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        aiMesh& mesh = *scene->mMeshes[m];
        std::reverse(mesh.mFaces, mesh.mFaces + mesh.mNumFaces);
        for (unsigned f = 0; f < mesh.mNumFaces; ++f)
            std::rotate(mesh.mFaces[f].mIndices, mesh.mFaces[f].mIndices + 1, mesh.mFaces[f].mIndices + 3);
    }
    Assimp::Exporter exporter;
    const bool ok = exporter.Export(scene, format, out) == AI_SUCCESS;
    delete scene;
    return ok;
}

TEST(Interchange, RealModelsComeBackWithTheirMappingOnEveryRoute) {
    const std::string root = test::realTestData("");
    if (root.empty()) GTEST_SKIP() << "no real test data";
    test::TempDir dir;
    const std::vector<std::string> routes = {"obj", "glb", "assimp obj", "assimp gltf2"};
    std::map<std::string, int> identical;
    int loaded = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.path().extension() != ".md2") continue;
        const std::string model = entry.path().string();
        test::BatchMeshSession s(defaultBaseFolder(model));
        if (!LoadMesh(s.c, model)) continue;
        ++loaded;
        const Corners before = cornersOf(s.mesh);
        ASSERT_TRUE(SaveObj(s.mesh, 0, s.skins.current(), dir.file("m.obj")).empty()) << model;
        ASSERT_TRUE(SaveGltf(s.mesh, s.skins, s.source, {}, dir.file("m.glb")).empty()) << model;
        ASSERT_TRUE(rewriteThroughAssimp(dir.file("m.obj"), dir.file("a.obj"), "obj")) << model;
        ASSERT_TRUE(rewriteThroughAssimp(dir.file("m.obj"), dir.file("a.gltf"), "gltf2")) << model;
        const std::string files[] = {"m.obj", "m.glb", "a.obj", "a.gltf"};
        for (std::size_t r = 0; r < routes.size(); ++r) {
            const bool same = importedCorners(s.mesh, dir.file(files[r])) == before;
            identical[routes[r]] += same ? 1 : 0;
            EXPECT_TRUE(same) << routes[r] << ": " << model;
        }
    }
    std::cout << "models loaded: " << loaded;
    for (const auto& [route, count] : identical) std::cout << ", " << route << " identical: " << count;
    std::cout << '\n';
}

// Two Triangles over four vertices; vertex 1 meets the skin at two places,
// so the export splits it. Three Frames form the animations "run" and "pain".
Mesh twoTriangles() {
    Mesh mesh;
    mesh.vertexCount = 4;
    mesh.triangleCount = 2;
    mesh.skinWidth = 8;
    mesh.skinHeight = 4;
    const MappingVert verts[] = {{0, 0}, {3, 0}, {0, 3}, {7, 3}, {4, 0}};
    std::copy(std::begin(verts), std::end(verts), mesh.mappingVerts.begin());
    mesh.mappingVertCount = 5;
    mesh.triangles[0].vertex = {0, 1, 2};
    mesh.triangles[0].mapping = {0, 1, 2};
    mesh.triangles[1].vertex = {1, 3, 2};
    mesh.triangles[1].mapping = {4, 3, 2};
    for (const char* name : {"run1", "run2", "pain1"}) {
        const float z = static_cast<float>(mesh.frames.size());
        mesh.frames.push_back({name, {{0, 0, z}, {10, 0, z}, {0, 10, z}, {10, 10, 2 * z}}});
    }
    mesh.loaded = true;
    MergeMappingVerts(mesh);
    return mesh;
}

TEST(Interchange, GltfSplitsVerticesByMappingAndAnimatesEachFrameGroup) {
    const Mesh mesh = twoTriangles();
    EXPECT_EQ(splitByMapping(mesh).vertices.size(), 5u);
    SkinList skins;
    auto skin = makeBlankSkin(8, 4);
    skin->name = "models\\thing\\skin.pcx";
    skins.append(std::move(skin));
    GltfOptions options;
    options.binary = false;
    options.step = true;
    const GltfEncode encoded = encodeGltf(mesh, skins, {}, options);
    ASSERT_TRUE(encoded.ok()) << encoded.error;

    tinygltf::Model model;
    tinygltf::TinyGLTF reader;
    std::string error, warning;
    ASSERT_TRUE(reader.LoadASCIIFromString(&model, &error, &warning, reinterpret_cast<const char*>(encoded.bytes.data()),
                                           static_cast<unsigned>(encoded.bytes.size()), ""))
        << error;
    const tinygltf::Primitive& p = model.meshes.at(0).primitives.at(0);
    EXPECT_EQ(model.accessors[std::size_t(p.attributes.at("POSITION"))].count, 5u);
    EXPECT_EQ(model.accessors[std::size_t(p.indices)].count, 6u);
    EXPECT_EQ(p.targets.size(), 2u);
    ASSERT_EQ(model.animations.size(), 2u);
    EXPECT_EQ(model.animations[0].name, "run");
    EXPECT_EQ(model.animations[1].name, "pain");
    EXPECT_EQ(model.animations[0].samplers[0].interpolation, "STEP");
    EXPECT_EQ(model.accessors[std::size_t(model.animations[0].samplers[0].output)].count, 2u * 2u);
    EXPECT_EQ(model.animations[1].channels[0].target_path, "weights");
    EXPECT_EQ(model.samplers.at(0).magFilter, TINYGLTF_TEXTURE_FILTER_NEAREST);
    EXPECT_EQ(model.images.at(0).mimeType, "image/png");
    EXPECT_EQ(model.materials.at(0).name, "models/thing/skin.pcx");
}

TEST(Interchange, TheNormalTableAgreesWithTheFacesOfTheMalePlayer) {
    const std::string model = test::realTestData("q2-didux/baseq2/players/male/tris.md2");
    if (model.empty()) GTEST_SKIP() << "no real test data";
    test::BatchMeshSession s(defaultBaseFolder(model));
    ASSERT_TRUE(LoadMesh(s.c, model));
    const Md2NormalTable* table = md2NormalTable();
    ASSERT_NE(table, nullptr);
    const auto indices = md2NormalIndices(s.source, s.mesh);
    ASSERT_TRUE(indices.has_value());
    // The file's normals point the way the faces around each vertex face.
    const std::vector<Vec3f> faces = smoothNormals(s.mesh, s.mesh.frames[0].positions);
    int agree = 0;
    for (int v = 0; v < s.mesh.vertexCount; ++v)
        agree += dot(faces[std::size_t(v)], (*table)[(*indices)[0][std::size_t(v)]]) > 0.0f ? 1 : 0;
    EXPECT_GT(agree, s.mesh.vertexCount * 95 / 100);
}

std::string textOf(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeText(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

// Every line of `text` beginning with `tag` passed through `change`.
std::string editLines(const std::string& text, const std::string& tag, const std::function<std::string(std::string)>& change) {
    std::string out, line;
    std::istringstream in(text);
    while (std::getline(in, line)) out += (line.rfind(tag, 0) == 0 ? change(line) : line) + "\n";
    return out;
}

struct WindowImport : ::testing::Test {
    test::ScriptedUi ui;
    MemorySettings settings;
    RecordingRefresh refresh;
    Application app{ui, settings, refresh};
    test::TempDir dir;

    void SetUp() override {
        app.mesh = twoTriangles();
        auto skin = makeBlankSkin(8, 4);
        for (std::size_t i = 0; i < skin->pixels.size(); ++i) skin->pixels[i] = static_cast<std::uint8_t>(i);
        app.skins.append(std::move(skin));
        ASSERT_TRUE(SaveObj(app.mesh, 0, app.skins.current(), dir.file("m.obj")).empty());
    }
};

TEST_F(WindowImport, BadFilesAreRefusedWithAMessageAndChangeNothing) {
    const std::string obj = textOf(dir.file("m.obj"));
    struct Case {
        std::string name, text, message;
    };
    const Case cases[] = {
        {"garbage.glb", "glTF this is no model at all", kMsgForeignUnreadable},
        {"missing.obj", "", kMsgForeignUnreadable},
        {"other.obj", "v 500 500 500\nv 501 500 500\nv 500 501 500\nvt 0 0\nf 1/1 2/1 3/1\n", kMsgForeignOtherGeometry},
        {"tiled.obj", editLines(obj, "vt ", [](std::string l) { return "vt 3.25" + l.substr(l.find(' ', 3)); }),
         kMsgForeignUvOutside},
        {"nan.obj", editLines(obj, "v ", [](std::string l) { return "v nan" + l.substr(l.find(' ', 2)); }),
         kMsgForeignNotANumber},
        {"bare.obj", editLines(obj, "f ", [](std::string) { return "f 1 2 3"; }), kMsgForeignNoUvs},
    };
    const MappingTables before = MappingTables::of(app.mesh);
    const Bytes pixels(app.skins.at(0)->pixels.begin(), app.skins.at(0)->pixels.end());
    for (const Case& c : cases) {
        if (!c.text.empty()) writeText(dir.file(c.name), c.text);
        ui.openFile(dir.file(c.name));
        app.commands().run(cmd::kImportMappingFromModel);
        ASSERT_FALSE(ui.messages().empty()) << c.name;
        EXPECT_NE(ui.messages().back().find(c.message), std::string::npos) << c.name << ": " << ui.messages().back();
        EXPECT_TRUE(MappingTables::of(app.mesh) == before) << c.name;
        EXPECT_EQ(Bytes(app.skins.at(0)->pixels.begin(), app.skins.at(0)->pixels.end()), pixels) << c.name;
        EXPECT_EQ(app.history.stepCount(), 0u) << c.name;
    }
}

TEST_F(WindowImport, AMirroredMappingComesInWithTheSkinRebakedAsOneUndoStep) {
    // The same mapping mirrored left to right: u becomes 1 - u.
    const std::string mirrored = editLines(textOf(dir.file("m.obj")), "vt ", [](std::string l) {
        std::istringstream in(l.substr(3));
        float u = 0, v = 0;
        in >> u >> v;
        return "vt " + std::to_string(1.0f - u) + " " + std::to_string(v);
    });
    writeText(dir.file("mirrored.obj"), mirrored);
    const Corners before = cornersOf(app.mesh);
    const Bytes pixels(app.skins.at(0)->pixels.begin(), app.skins.at(0)->pixels.end());
    ui.openFile(dir.file("mirrored.obj"));
    ui.answer(Answer::Yes);
    app.commands().run(cmd::kImportMappingFromModel);
    EXPECT_TRUE(ui.messages().empty());
    const Corners after = cornersOf(app.mesh);
    for (std::size_t t = 0; t < before.size(); ++t)
        for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(after[t][k].s, 8 - 1 - before[t][k].s) << t << " " << k;
    EXPECT_NE(Bytes(app.skins.at(0)->pixels.begin(), app.skins.at(0)->pixels.end()), pixels);
    EXPECT_EQ(app.history.stepCount(), 1u);
    EXPECT_EQ(app.history.undoName(), kStepImportFromModel);
    ASSERT_TRUE(app.history.undo());
    EXPECT_EQ(cornersOf(app.mesh), before);
    EXPECT_EQ(Bytes(app.skins.at(0)->pixels.begin(), app.skins.at(0)->pixels.end()), pixels);
}

TEST_F(WindowImport, ExportsWriteWhatTheDialogsName) {
    app.sourceImage.clear();
    app.currentFile = dir.file("model.md2");
    ui.saveFile(dir.file("out"), 2);
    app.commands().run(cmd::kExportGltf);
    EXPECT_EQ(ui.fileRequests.back().initialName, "model.glb");
    ui.saveFile(dir.file("frame"));
    app.commands().run(cmd::kExportObj);
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(textOf(dir.file("out.gltf")).rfind("{", 0), 0u);
    EXPECT_TRUE(isRegularFile(dir.file("frame.obj")));
    EXPECT_TRUE(isRegularFile(dir.file("frame.mtl")));
    EXPECT_TRUE(isRegularFile(dir.file("frame.png")));
}

}  // namespace
}  // namespace tarn
