#include "square_model.h"

#include "image/skin.h"

namespace tarn::test {

std::unique_ptr<Skin> makeSquareSkin(int hueShift) {
    auto skin = makeBlankSkin(kSquareSkinSide, kSquareSkinSide);
    for (int i = 0; i < kPaletteColors; ++i) {
        const std::array<int, 3> rgb = {i, 255 - i, i / 3};
        for (int ch = 0; ch < 3; ++ch)
            skin->palette[static_cast<std::size_t>(i * 3 + ch)] =
                static_cast<std::uint8_t>(rgb[static_cast<std::size_t>((ch + hueShift) % 3)]);
    }
    for (std::size_t i = 0; i < skin->pixels.size(); ++i) skin->pixels[i] = static_cast<std::uint8_t>(i % 150 + 20);
    skin->store();
    return skin;
}

// Both windings, so that one of each pair is in front whatever the culling
// rule keeps.
void makeSquareModel(Application& app) {
    app.skins.append(makeSquareSkin());
    Mesh& mesh = app.mesh;
    mesh.vertexCount = 4;
    mesh.skinWidth = kSquareSkinSide;
    mesh.skinHeight = kSquareSkinSide;
    Frame frame;
    frame.name = "square";
    frame.positions = {{0, -20, -20}, {0, 20, -20}, {0, 20, 20}, {0, -20, 20}};
    mesh.frames.push_back(frame);
    mesh.mappingVertCount = 4;
    mesh.mappingVerts[0] = {0, kSquareSkinSide - 1};
    mesh.mappingVerts[1] = {kSquareSkinSide - 1, kSquareSkinSide - 1};
    mesh.mappingVerts[2] = {kSquareSkinSide - 1, 0};
    mesh.mappingVerts[3] = {0, 0};
    const std::array<std::array<std::int16_t, 3>, 4> corners = {{{0, 1, 2}, {0, 2, 3}, {2, 1, 0}, {3, 2, 0}}};
    mesh.triangleCount = 4;
    for (std::size_t t = 0; t < corners.size(); ++t) {
        mesh.triangles[t].vertex = corners[t];
        mesh.triangles[t].mapping = corners[t];
    }
    ComputeFaceNormals(mesh);
    mesh.loaded = true;
}

}  // namespace tarn::test
