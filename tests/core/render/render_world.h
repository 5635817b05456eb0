#pragma once
// Small scenes for the render tests: a session with a hand-made Mesh, a skin
// whose every texel has its own colour pattern, and helpers to read planes.
#include <array>
#include <cstdint>
#include <vector>

#include "render/render_session.h"

namespace tarn::test {

struct TriangleSpec {
    std::array<std::int16_t, 3> vertex;
    std::array<std::int16_t, 3> mapping;
};

// A session of `width` x `height` with the default camera (eye 100,0,0 looking
// at the origin, fov 33) and a 64 x 32 skin whose texel (s, t) has index
// (s + t) & 0xFF, with a grey palette.
class RenderWorld {
public:
    explicit RenderWorld(int width = 64, int height = 48);

    void setMesh(const std::vector<Vec3f>& positions, const std::vector<TriangleSpec>& triangles,
                 const std::vector<MappingVert>& mapping);
    // One square in the plane x = 0, facing the eye, from (y, z) = (-s, -s) to
    // (s, s), as two Triangles mapped onto the whole skin.
    void setFacingSquare(float s = 10.0f);
    void removeSkin();
    // A Companion holding one frame of the given triangles, with a skin of
    // the same pattern.
    Companion& addCompanion(const std::vector<Vec3f>& positions,
                            const std::vector<std::array<std::int16_t, 3>>& triangles);

    void draw(int mode) { session.draw(mode); }
    std::int32_t pick(int x, int row) const;
    std::uint8_t colour(int x, int row) const;
    std::uint16_t depth(int x, int row) const;
    std::vector<std::int32_t> picks() const;
    int count(std::int32_t pickValue) const;

    RenderSession session;
    static constexpr int kSkinWidth = 64;
    static constexpr int kSkinHeight = 32;
};

// The modes whose fills write Triangle indices or texel offsets into the pick plane.
inline constexpr std::array<int, 4> kFilledModes = {kModeWireframeSolid, kModeFlat, kModeGouraud,
                                                     kModeTextured};

}  // namespace tarn::test
