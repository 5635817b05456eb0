#include "model/gl_commands.h"

#include <gtest/gtest.h>

#include <bit>
#include <vector>

#include "gl_check.h"

namespace tarn {
namespace {

// A mesh with one MappingVert per vertex (same index), so shared edges match.
Mesh meshOf(const std::vector<std::array<std::int16_t, 3>>& triangles, int vertices) {
    Mesh mesh;
    mesh.skinWidth = 64;
    mesh.skinHeight = 32;
    mesh.vertexCount = static_cast<std::int16_t>(vertices);
    mesh.mappingVertCount = static_cast<std::int16_t>(vertices);
    for (int v = 0; v < vertices; ++v)
        mesh.mappingVerts[static_cast<std::size_t>(v)] = {static_cast<std::int16_t>(v % 64),
                                                          static_cast<std::int16_t>(v / 64)};
    mesh.triangleCount = static_cast<std::int16_t>(triangles.size());
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        mesh.triangles[i].vertex = triangles[i];
        mesh.triangles[i].mapping = triangles[i];
    }
    return mesh;
}

std::vector<std::int32_t> build(const Mesh& mesh) {
    std::vector<std::int32_t> words(kGlCommandCapacity);
    words.resize(static_cast<std::size_t>(BuildGlCommands(mesh, words)));
    return words;
}

std::vector<std::int32_t> vertexOrder(const std::vector<std::int32_t>& words, std::size_t run = 0) {
    std::vector<std::int32_t> out;
    const auto n = static_cast<std::size_t>(std::abs(words[run]));
    for (std::size_t i = 0; i < n; ++i) out.push_back(words[run + 3 + 3 * i]);
    return out;
}

TEST(GlCommands, OneTriangleIsAFanOfThree) {
    Mesh mesh = meshOf({{0, 1, 2}}, 3);
    mesh.mappingVerts[1] = {10, 20};
    const auto words = build(mesh);
    ASSERT_EQ(words.size(), 11u);
    EXPECT_EQ(words[0], -3);
    EXPECT_EQ(vertexOrder(words), (std::vector<std::int32_t>{0, 1, 2}));
    EXPECT_EQ(std::bit_cast<float>(words[4]), 10.5f / 64.0f);
    EXPECT_EQ(std::bit_cast<float>(words[5]), 20.5f / 32.0f);
    EXPECT_EQ(words[10], 0);
}

TEST(GlCommands, TiedFanFromCornerTwoBeatsTheLaterStrip) {
    const auto words = build(meshOf({{0, 1, 2}, {2, 1, 3}}, 4));
    ASSERT_EQ(words.size(), 1u + 12u + 1u);
    EXPECT_EQ(words[0], -4);
    EXPECT_EQ(vertexOrder(words), (std::vector<std::int32_t>{2, 0, 1, 3}));
}

TEST(GlCommands, SharedEdgeNeedsEqualMappingVertsToo) {
    Mesh mesh = meshOf({{0, 1, 2}, {2, 1, 3}}, 5);
    mesh.triangles[1].mapping = {4, 1, 3};  // a seam: vertex 2 sits at another skin spot
    const auto words = build(mesh);
    EXPECT_EQ(words[0], -3);
    EXPECT_EQ(words[10], -3);
    EXPECT_EQ(test::checkGlCover(mesh, words), "");
}

TEST(GlCommands, LongStripIsCutAtTheRunBufferAndStillCoversAll) {
    // A zig-zag band of 300 triangles that only a strip can follow.
    std::vector<std::array<std::int16_t, 3>> tris;
    for (std::int16_t k = 0; k < 300; ++k) {
        if (k % 2 == 0)
            tris.push_back({k, static_cast<std::int16_t>(k + 1), static_cast<std::int16_t>(k + 2)});
        else
            tris.push_back({static_cast<std::int16_t>(k + 1), k, static_cast<std::int16_t>(k + 2)});
    }
    const Mesh mesh = meshOf(tris, 302);
    const auto words = build(mesh);
    EXPECT_EQ(words[0], kGlRunCapacity);
    for (std::size_t at = 0; words[at] != 0; at += 1 + 3 * static_cast<std::size_t>(std::abs(words[at])))
        EXPECT_LE(std::abs(words[at]), kGlRunCapacity);
    EXPECT_EQ(test::checkGlCover(mesh, words), "");
}

TEST(GlCommands, WorstCaseFitsAndASmallBufferStillEndsInZero) {
    // Disconnected triangles: every one its own run.
    std::vector<std::array<std::int16_t, 3>> tris;
    for (std::int16_t k = 0; k < kMaxTriangles; ++k)
        tris.push_back({static_cast<std::int16_t>(k % 1000), static_cast<std::int16_t>(k % 1000 + 1000),
                        static_cast<std::int16_t>(k % 1000 + 2000)});
    Mesh mesh = meshOf(tris, 3000);
    for (int k = 0; k < kMaxTriangles; ++k) mesh.triangles[static_cast<std::size_t>(k)].mapping = {0, 0, 0};
    const auto words = build(mesh);
    EXPECT_EQ(words.size(), static_cast<std::size_t>(kGlCommandCapacity));

    std::vector<std::int32_t> small(25);
    const int written = BuildGlCommands(mesh, small);
    EXPECT_EQ(written, 21);  // two runs of 10 words and the closing 0
    EXPECT_EQ(small[20], 0);
}

}  // namespace
}  // namespace tarn
