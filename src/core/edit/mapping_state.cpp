#include "edit/mapping_state.h"

#include <algorithm>

namespace tarn {

namespace {

constexpr std::uint32_t kKeptFlags = kTriSelected | kTriHidden;

int triangleCount(const Mesh& mesh) {
    return std::clamp<int>(mesh.triangleCount, 0, static_cast<int>(mesh.triangles.size()));
}

// Where each corner lies on the skin; a corner whose index is out of the
// table compares as a position no corner can have.
std::vector<std::array<MappingVert, 3>> cornerPositions(const Mesh& mesh) {
    const int count = std::clamp<int>(mesh.mappingVertCount, 0, static_cast<int>(mesh.mappingVerts.size()));
    std::vector<std::array<MappingVert, 3>> out(static_cast<std::size_t>(triangleCount(mesh)));
    for (std::size_t i = 0; i < out.size(); ++i) {
        for (std::size_t k = 0; k < 3; ++k) {
            const int m = mesh.triangles[i].mapping[k];
            out[i][k] = m >= 0 && m < count ? mesh.mappingVerts[static_cast<std::size_t>(m)]
                                            : MappingVert{-1, -1};
        }
    }
    return out;
}

}  // namespace

MappingState captureMapping(const Mesh& mesh) {
    MappingState state;
    const int count = std::clamp<int>(mesh.mappingVertCount, 0, static_cast<int>(mesh.mappingVerts.size()));
    state.verts.assign(mesh.mappingVerts.begin(), mesh.mappingVerts.begin() + count);
    const int triangles = triangleCount(mesh);
    state.mapping.reserve(static_cast<std::size_t>(triangles));
    state.flags.reserve(static_cast<std::size_t>(triangles));
    for (int i = 0; i < triangles; ++i) {
        const Triangle& tri = mesh.triangles[static_cast<std::size_t>(i)];
        state.mapping.push_back(tri.mapping);
        state.flags.push_back(tri.flags & kKeptFlags);
    }
    return state;
}

bool restoreMapping(Mesh& mesh, const MappingState& state) {
    if (static_cast<int>(state.mapping.size()) != triangleCount(mesh) || state.flags.size() != state.mapping.size() ||
        state.verts.size() > mesh.mappingVerts.size())
        return false;
    const auto count = static_cast<int>(state.verts.size());
    for (const auto& corners : state.mapping)
        for (std::int16_t m : corners)
            if (m < 0 || m >= count) return false;
    std::copy(state.verts.begin(), state.verts.end(), mesh.mappingVerts.begin());
    mesh.mappingVertCount = static_cast<std::int16_t>(count);
    for (std::size_t i = 0; i < state.mapping.size(); ++i) {
        Triangle& tri = mesh.triangles[i];
        tri.mapping = state.mapping[i];
        tri.flags = state.flags[i];
        for (std::size_t k = 0; k < 3; ++k) tri.corner[k] = mesh.mappingVerts[static_cast<std::size_t>(tri.mapping[k])];
    }
    return true;
}

void SavedMapping::mark() {
    corners_ = cornerPositions(mesh_);
    known_ = true;
}

bool SavedMapping::changed() const { return known_ && cornerPositions(mesh_) != corners_; }

}  // namespace tarn
