#include "render_world.h"

#include <algorithm>

namespace tarn::test {

RenderWorld::RenderWorld(int width, int height) {
    session.setSize(width, height);
    auto skin = makeBlankSkin(kSkinWidth, kSkinHeight);
    for (int t = 0; t < kSkinHeight; ++t)
        for (int s = 0; s < kSkinWidth; ++s)
            skin->pixels[std::size_t(t * kSkinWidth + s)] = std::uint8_t((s + t) & 0xFF);
    for (int i = 0; i < kPaletteColors; ++i)
        std::fill_n(skin->palette.begin() + i * 3, 3, std::uint8_t(i));
    session.skins.append(std::move(skin));
    session.rebuildTables();
}

void RenderWorld::setMesh(const std::vector<Vec3f>& positions,
                          const std::vector<TriangleSpec>& triangles,
                          const std::vector<MappingVert>& mapping) {
    Mesh& m = session.mesh;
    m.frames.assign(1, Frame{"frame", positions});
    m.currentFrame = 0;
    m.vertexCount = std::int16_t(positions.size());
    m.triangleCount = std::int16_t(triangles.size());
    m.mappingVertCount = std::int16_t(mapping.size());
    std::copy(mapping.begin(), mapping.end(), m.mappingVerts.begin());
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        m.triangles[i] = Triangle{};
        m.triangles[i].vertex = triangles[i].vertex;
        m.triangles[i].mapping = triangles[i].mapping;
    }
    m.skinWidth = kSkinWidth;
    m.skinHeight = kSkinHeight;
    m.loaded = true;
    ComputeFaceNormals(m);
}

void RenderWorld::setFacingSquare(float s) {
    // Seen from +x, +y is to the right and +z up.
    setMesh({{0, -s, -s}, {0, s, -s}, {0, s, s}, {0, -s, s}},
            {{{0, 2, 1}, {0, 2, 1}}, {{0, 3, 2}, {0, 3, 2}}},
            {{0, kSkinHeight - 1}, {kSkinWidth - 1, kSkinHeight - 1}, {kSkinWidth - 1, 0}, {0, 0}});
}

void RenderWorld::removeSkin() {
    session.skins.clear();
    session.rebuildTables();
}

Companion& RenderWorld::addCompanion(const std::vector<Vec3f>& positions,
                                     const std::vector<std::array<std::int16_t, 3>>& triangles) {
    auto c = std::make_unique<Companion>();
    c->vertexCount = std::int16_t(positions.size());
    c->frameCount = 1;
    c->positions = positions;
    c->skinWidth = kSkinWidth;
    c->skinHeight = kSkinHeight;
    c->giveCheckerboard();
    for (const auto& t : triangles) {
        CompanionTriangle ct;
        ct.vertex = t;
        ct.corner = {MappingVert{1, 1}, MappingVert{5, 1}, MappingVert{5, 5}};
        c->triangles.push_back(ct);
    }
    c->triangleCount = std::int16_t(c->triangles.size());
    session.companions.push_back(std::move(c));
    return *session.companions.back();
}

std::int32_t RenderWorld::pick(int x, int row) const {
    return session.frame.pick()[std::size_t(row * session.frame.width() + x)];
}

std::uint8_t RenderWorld::colour(int x, int row) const {
    return session.frame.colour()[std::size_t(row * session.frame.width() + x)];
}

std::uint16_t RenderWorld::depth(int x, int row) const {
    return session.frame.depth()[std::size_t(row * session.frame.width() + x)];
}

std::vector<std::int32_t> RenderWorld::picks() const {
    return {session.frame.pick(), session.frame.pick() + session.frame.elementCount()};
}

int RenderWorld::count(std::int32_t pickValue) const {
    const auto p = picks();
    return int(std::count(p.begin(), p.end(), pickValue));
}

}  // namespace tarn::test
