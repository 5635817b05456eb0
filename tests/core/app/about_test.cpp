#include <gtest/gtest.h>

#include "app/about.h"
#include "app/application.h"
#include "app/command_ids.h"
#include "platform/refresh.h"
#include "scripted_ui.h"

namespace tarn {
namespace {

Mesh squareMesh(int side, int triangles) {
    Mesh mesh;
    mesh.skinWidth = static_cast<std::int16_t>(side);
    mesh.skinHeight = static_cast<std::int16_t>(side);
    mesh.mappingVertCount = 4;
    const std::int16_t s = static_cast<std::int16_t>(side);
    mesh.mappingVerts[0] = {0, 0};
    mesh.mappingVerts[1] = {s, 0};
    mesh.mappingVerts[2] = {s, s};
    mesh.mappingVerts[3] = {0, s};
    mesh.triangleCount = static_cast<std::int16_t>(triangles);
    mesh.triangles[0].mapping = {0, 1, 2};
    mesh.triangles[1].mapping = {0, 2, 3};
    return mesh;
}

TEST(WastedSpace, CountsTheSkinNoTriangleCovers) {
    EXPECT_EQ(WastedSpace(squareMesh(16, 2)), 0);
    EXPECT_EQ(WastedSpace(squareMesh(16, 0)), 100);
    int half = WastedSpace(squareMesh(16, 1));
    EXPECT_GE(half, 40);
    EXPECT_LE(half, 60);
    Mesh hidden = squareMesh(16, 2);
    hidden.triangles[0].flags = kTriHidden;
    hidden.triangles[1].flags = kTriHidden;
    EXPECT_EQ(WastedSpace(hidden), 0);
    // A broken index covers nothing rather than reading past the table.
    Mesh broken = squareMesh(16, 1);
    broken.triangles[0].mapping = {0, 1, 9000};
    EXPECT_EQ(WastedSpace(broken), 100);
    EXPECT_EQ(WastedSpace(Mesh{}), 0);
}

TEST(AboutBox, ReportsCountsAgainstTheFormatLimits) {
    test::ScriptedUi ui;
    MemorySettings settings;
    RecordingRefresh refresh;
    Application app(ui, settings, refresh);
    app.mesh = squareMesh(16, 2);
    app.mesh.vertexCount = 4;
    for (bool external : {false, true, true}) {
        auto skin = makeBlankSkin(16, 16);
        skin->external = external;
        app.skins.append(std::move(skin));
    }
    app.commands().run(cmd::kAbout);
    ASSERT_EQ(ui.aboutRows.size(), 9u);
    auto row = [&](int i) {
        const auto& r = ui.aboutRows[static_cast<std::size_t>(i)];
        return r.data + "|" + r.current + "|" + r.limit;
    };
    EXPECT_EQ(row(0), "Vertices|4|2048");
    EXPECT_EQ(row(2), "Triangles|2|4096");
    EXPECT_EQ(row(4), "Linked Skins|1|32");
    EXPECT_EQ(row(5), "External Skins|2|Unlimited");
    EXPECT_EQ(row(7), "Skin Height|16|480");
    EXPECT_EQ(row(8), "Wasted Space|0%|Undecided");
}

}  // namespace
}  // namespace tarn
