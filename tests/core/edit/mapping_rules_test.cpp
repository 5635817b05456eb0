// The Mapping menu's rules, on meshes described by their MappingVert indices
// alone: connectivity never looks at positions or 3D vertices.
#include <gtest/gtest.h>

#include "edit/mapping_state.h"
#include "model/mapping_edit.h"
#include "edit/mapping_selection.h"
#include "model/mesh.h"

namespace tarn {
namespace {

using Corners = std::array<std::int16_t, 3>;
using Rule = void (*)(Mesh&);

// One letter per Triangle: '.' plain, 's' selected, 'h' hidden, 'b' both.
std::uint32_t flagsOf(char c) {
    switch (c) {
    case 's': return kTriSelected;
    case 'h': return kTriHidden;
    case 'b': return kTriSelected | kTriHidden;
    default: return 0;
    }
}

std::string letters(const Mesh& mesh) {
    std::string out;
    for (int i = 0; i < mesh.triangleCount; ++i) {
        const std::uint32_t f = mesh.triangles[static_cast<std::size_t>(i)].flags;
        out += f == kTriSelected ? 's' : f == kTriHidden ? 'h' : f == (kTriSelected | kTriHidden) ? 'b' : '.';
    }
    return out;
}

// Every Triangle uses the same three 3D vertices, so the model joins all of
// them; MappingVert i sits at (i, 2 i).
Mesh meshOf(const std::vector<Corners>& triangles, const std::string& flags) {
    Mesh mesh;
    mesh.skinWidth = mesh.skinHeight = 64;
    int verts = 0;
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        Triangle& tri = mesh.triangles[i];
        tri.vertex = {0, 1, 2};
        tri.mapping = triangles[i];
        tri.flags = flagsOf(flags[i]);
        for (std::int16_t m : triangles[i]) verts = std::max(verts, m + 1);
    }
    for (int i = 0; i < verts; ++i)
        mesh.mappingVerts[static_cast<std::size_t>(i)] = {static_cast<std::int16_t>(i), static_cast<std::int16_t>(2 * i)};
    mesh.mappingVertCount = static_cast<std::int16_t>(verts);
    mesh.triangleCount = static_cast<std::int16_t>(triangles.size());
    return mesh;
}

// Two islands of two Triangles each, sharing 3D vertices but no MappingVert.
const std::vector<Corners> kIslands = {{0, 1, 2}, {0, 2, 3}, {4, 5, 6}, {4, 6, 7}};
// A strip: each Triangle shares an edge with the next.
const std::vector<Corners> kStrip = {{0, 1, 2}, {1, 3, 2}, {2, 3, 4}, {3, 5, 4}};
// A chain: the first and last Triangle meet only through the middle one.
const std::vector<Corners> kChain = {{0, 1, 2}, {2, 3, 4}, {4, 5, 6}};
// T0 in the middle, three neighbours each sharing one of its MappingVerts, an
// inner Triangle made only of the neighbours' other corners, and a Triangle
// reaching outward from one of them.
const std::vector<Corners> kTriforce = {{0, 1, 2}, {0, 3, 4}, {1, 4, 5}, {2, 5, 3}, {3, 4, 5}, {5, 9, 10}};

struct RuleCase {
    const char* what;
    const std::vector<Corners>* triangles;
    const char* before;
    std::vector<Rule> rules;
    const char* after;
};

TEST(MappingRules, SelectionRulesFollowSharedMappingVertsAndLeaveHiddenTrianglesOut) {
    const RuleCase cases[] = {
        {"connected stays on its island", &kIslands, "s...", {SelectConnected}, "ss.."},
        {"connected without a selection", &kIslands, "....", {SelectConnected}, "...."},
        {"connected does not pass a hidden Triangle", &kChain, "sh.", {SelectConnected}, "sh."},
        {"connected passes a visible one", &kChain, "s..", {SelectConnected}, "sss"},
        {"grow takes neighbours and what lies between them", &kTriforce, "s.....", {GrowSelection}, "sssss."},
        {"grow leaves a hidden neighbour", &kTriforce, "sh....", {GrowSelection}, "shsss."},
        {"shrink keeps a whole island", &kIslands, "ss..", {ShrinkSelection}, "ss.."},
        {"shrink drops the border", &kStrip, "sss.", {ShrinkSelection}, "s..."},
        {"a hidden neighbour is no border", &kStrip, "sssh", {ShrinkSelection}, "sssh"},
        {"hide then unhide brings back every hidden one selected", &kStrip, "s.h.", {HideSelected}, "h.h."},
        {"", &kStrip, "s.h.", {HideSelected, UnhideAll}, "s.s."},
        {"select all selects hidden ones too", &kStrip, ".h.h", {SelectAll}, "sbsb"},
        {"select none", &kStrip, "sb.h", {SelectNone}, ".h.h"},
        {"invert", &kStrip, "sh.b", {InvertSelection}, ".bsh"},
    };
    for (const RuleCase& c : cases) {
        Mesh mesh = meshOf(*c.triangles, c.before);
        for (Rule rule : c.rules) rule(mesh);
        EXPECT_EQ(letters(mesh), c.after) << c.what << " from " << c.before;
    }
}

// Revert returns the count, the table and every index of the last Store,
// whatever happened since; the file's mapping is then no longer changed.
TEST(MappingRules, RevertReturnsToTheLastStore) {
    Mesh mesh = meshOf(kIslands, "s...");
    StoreMapping(mesh);
    SavedMapping saved(mesh);
    saved.mark();
    const MappingTables stored = MappingTables::of(mesh);

    // A split left in the table: a new MappingVert and a corner on it.
    mesh.mappingVerts[8] = {40, 40};
    mesh.mappingVertCount = 9;
    mesh.triangles[3].mapping[2] = 8;
    MergeMappingVerts(mesh);
    EXPECT_EQ(mesh.mappingVertCount, 8);  // MappingVert 7 fell out of use
    EXPECT_TRUE(saved.changed());

    RevertMapping(mesh);
    EXPECT_EQ(MappingTables::of(mesh), stored);
    EXPECT_FALSE(saved.changed());
}

}  // namespace
}  // namespace tarn
