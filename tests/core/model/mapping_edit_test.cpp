#include "model/mapping_edit.h"

#include <gtest/gtest.h>

#include "image/skin_list.h"

namespace tarn {
namespace {

// A vert dragged onto its neighbour welds on the merge: the MappingVert count
// drops and the indices are renumbered. Undo gives back the count and every
// index and coordinate; redo the merged state; a Store joins the same step.
TEST(MappingEdit, DragWeldUndoneRestoresCountAndEveryIndex) {
    Mesh mesh;
    const MappingVert table[5] = {{0, 0}, {8, 0}, {0, 8}, {8, 8}, {4, 12}};
    for (int i = 0; i < 5; ++i) mesh.mappingVerts[static_cast<std::size_t>(i)] = table[i];
    mesh.mappingVertCount = 5;
    mesh.triangleCount = 3;
    const std::array<std::int16_t, 3> corners[3] = {{0, 1, 2}, {1, 3, 2}, {2, 3, 4}};
    for (int i = 0; i < 3; ++i) mesh.triangles[static_cast<std::size_t>(i)].mapping = corners[i];
    StoreMapping(mesh);
    const MappingTables original = MappingTables::of(mesh);

    SkinList skins;
    History history(skins);
    MappingEdit edit(&history, mesh);
    mesh.mappingVerts[3] = {0, 8};  // onto vert 2
    StoreMapping(mesh);
    edit.commit("Drag verts");
    const MappingTables dragged = MappingTables::of(mesh);
    ASSERT_EQ(mesh.mappingVertCount, 4);

    ASSERT_TRUE(history.undo());
    EXPECT_EQ(mesh.mappingVertCount, 5);
    EXPECT_EQ(MappingTables::of(mesh), original);
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(MappingTables::of(mesh), dragged);

    MappingEdit nothing(&history, mesh);
    nothing.commit("Nothing");
    EXPECT_EQ(history.stepCount(), 1u);
}

}  // namespace
}  // namespace tarn
