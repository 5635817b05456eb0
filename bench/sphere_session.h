#pragma once
// The generated model of the render benchmarks: a UV sphere of about 4000
// Triangles with a 256 x 256 skin, every seventh Triangle selected.
#include <cmath>
#include <memory>
#include <numbers>

#include "render/render_session.h"

namespace tarn::bench {

inline constexpr int kRings = 32;
inline constexpr int kSegments = 64;
inline constexpr int kSkinSide = 256;
inline constexpr float kRadius = 30.0f;

inline std::unique_ptr<RenderSession> sphereSession(bool mapping) {
    auto s = std::make_unique<RenderSession>();
    Mesh& m = s->mesh;
    std::vector<Vec3f> positions;
    for (int r = 0; r <= kRings; ++r) {
        const double phi = std::numbers::pi * r / kRings;
        for (int g = 0; g <= kSegments; ++g) {
            const double theta = 2 * std::numbers::pi * g / kSegments;
            positions.push_back({float(kRadius * std::sin(phi) * std::cos(theta)),
                                 float(kRadius * std::sin(phi) * std::sin(theta)),
                                 float(kRadius * std::cos(phi))});
            m.mappingVerts[positions.size() - 1] = {std::int16_t(g * (kSkinSide - 1) / kSegments),
                                                    std::int16_t(r * (kSkinSide - 1) / kRings)};
        }
    }
    int t = 0;
    auto at = [](int r, int g) { return std::int16_t(r * (kSegments + 1) + g); };
    for (int r = 0; r < kRings; ++r)
        for (int g = 0; g < kSegments; ++g) {
            for (const auto& v : {std::array<std::int16_t, 3>{at(r, g), at(r + 1, g), at(r + 1, g + 1)},
                                  std::array<std::int16_t, 3>{at(r, g), at(r + 1, g + 1), at(r, g + 1)}}) {
                m.triangles[std::size_t(t)].vertex = v;
                m.triangles[std::size_t(t)].mapping = v;
                m.triangles[std::size_t(t)].flags = (t % 7 == 0) ? std::uint32_t{kTriSelected} : 0u;
                ++t;
            }
        }
    m.vertexCount = std::int16_t(positions.size());
    m.mappingVertCount = m.vertexCount;
    m.triangleCount = std::int16_t(t);
    m.frames.assign(1, Frame{"sphere", positions});
    m.currentFrame = 0;
    ComputeFaceNormals(m);
    auto skin = makeBlankSkin(kSkinSide, kSkinSide);
    for (std::size_t i = 0; i < skin->pixels.size(); ++i) skin->pixels[i] = std::uint8_t(i * 31 >> 4);
    s->skins.append(std::move(skin));
    s->mappingMode = mapping;
    s->setSize(640, 480);
    s->rebuildTables();
    return s;
}

}  // namespace tarn::bench
