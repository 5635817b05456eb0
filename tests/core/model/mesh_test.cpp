#include "model/mesh.h"

#include <gtest/gtest.h>

namespace tarn {
namespace {

void setTriangle(Mesh& mesh, int i, std::array<std::int16_t, 3> vertex,
                 std::array<std::int16_t, 3> mapping) {
    Triangle& tri = mesh.triangles[static_cast<std::size_t>(i)];
    tri.vertex = vertex;
    tri.mapping = mapping;
}

TEST(MappingMerge, WeldsDuplicatesDropsUnusedAndNumbersByFirstUse) {
    Mesh mesh;
    // Index 3 and 7 hold the same coordinates; 5 is used by nobody.
    const MappingVert table[8] = {{0, 0}, {1, 1}, {2, 2}, {10, 20}, {4, 4}, {99, 99}, {6, 6}, {10, 20}};
    for (int i = 0; i < 8; ++i) mesh.mappingVerts[static_cast<std::size_t>(i)] = table[i];
    mesh.mappingVertCount = 8;
    mesh.triangleCount = 3;
    setTriangle(mesh, 0, {0, 1, 2}, {6, 7, 0});
    setTriangle(mesh, 1, {0, 2, 3}, {3, 4, 1});
    setTriangle(mesh, 2, {1, 2, 3}, {2, 7, 6});

    StoreMapping(mesh);

    EXPECT_EQ(mesh.mappingVertCount, 6);
    // Renumbered in order of first use: 6, 7, 0, (3 = 7), 4, 1, 2.
    EXPECT_EQ(mesh.triangles[0].mapping, (std::array<std::int16_t, 3>{0, 1, 2}));
    EXPECT_EQ(mesh.triangles[1].mapping, (std::array<std::int16_t, 3>{1, 3, 4}));
    EXPECT_EQ(mesh.triangles[2].mapping, (std::array<std::int16_t, 3>{5, 1, 0}));
    EXPECT_EQ(mesh.mappingVerts[1], (MappingVert{10, 20}));
    EXPECT_EQ(mesh.triangles[1].corner[0], (MappingVert{10, 20}));
    for (int i = 0; i < mesh.mappingVertCount; ++i)
        EXPECT_NE(mesh.mappingVerts[static_cast<std::size_t>(i)], (MappingVert{99, 99}));

    // The backup holds the merged state.
    EXPECT_EQ(mesh.mappingBackupCount, 6);
    EXPECT_EQ(mesh.mappingBackup[1], (MappingVert{10, 20}));
    EXPECT_EQ(mesh.triangles[2].backupMapping, mesh.triangles[2].mapping);
}

TEST(MappingMerge, MergeAloneLeavesTheBackup) {
    Mesh mesh;
    mesh.mappingVerts[0] = {5, 5};
    mesh.mappingVerts[1] = {6, 6};
    mesh.mappingVerts[2] = {7, 7};
    mesh.mappingVertCount = 3;
    mesh.triangleCount = 1;
    setTriangle(mesh, 0, {0, 1, 2}, {0, 1, 2});
    StoreMapping(mesh);

    mesh.mappingVerts[1] = {5, 5};  // an edit welds corner 1 onto corner 0
    MergeMappingVerts(mesh);
    EXPECT_EQ(mesh.mappingVertCount, 2);
    EXPECT_EQ(mesh.triangles[0].mapping, (std::array<std::int16_t, 3>{0, 0, 1}));
    EXPECT_EQ(mesh.mappingBackupCount, 3);
    EXPECT_EQ(mesh.mappingBackup[1], (MappingVert{6, 6}));
    EXPECT_EQ(mesh.triangles[0].backupMapping, (std::array<std::int16_t, 3>{0, 1, 2}));
}

TEST(FaceNormals, UnitNormalsPerFrameAndDegenerateKeepsOldValue) {
    Mesh mesh;
    mesh.vertexCount = 4;
    mesh.triangleCount = 2;
    setTriangle(mesh, 0, {0, 1, 2}, {0, 0, 0});
    setTriangle(mesh, 1, {0, 0, 3}, {0, 0, 0});  // two equal corners
    mesh.triangles[1].normal = {0.25f, 0.5f, 0.75f};
    mesh.frames.push_back({"a", {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {1, 1, 1}}});
    mesh.frames.push_back({"b", {{0, 0, 0}, {0, 0, 3}, {0, 3, 3}, {1, 1, 1}}});

    ComputeFaceNormals(mesh);
    EXPECT_EQ(mesh.triangles[0].normal, (Vec3f{0, 0, 1}));
    EXPECT_EQ(mesh.triangles[1].normal, (Vec3f{0.25f, 0.5f, 0.75f}));

    const auto mappingBefore = mesh.triangles[0].mapping;
    ASSERT_TRUE(SelectFrame(mesh, 1));
    EXPECT_EQ(mesh.currentFrame, 1);
    EXPECT_EQ(mesh.triangles[0].normal, (Vec3f{-1, 0, 0}));
    EXPECT_EQ(mesh.triangles[0].mapping, mappingBefore);

    EXPECT_FALSE(SelectFrame(mesh, 2));
    EXPECT_FALSE(SelectFrame(mesh, -1));
    EXPECT_EQ(mesh.currentFrame, 1);
}

TEST(FaceNormals, NothingWithoutFrames) {
    Mesh mesh;
    mesh.triangleCount = 1;
    mesh.triangles[0].normal = {1, 2, 3};
    EXPECT_EQ(mesh.currentPositions(), nullptr);
    ComputeFaceNormals(mesh);
    EXPECT_EQ(mesh.triangles[0].normal, (Vec3f{1, 2, 3}));
}

}  // namespace
}  // namespace tarn
