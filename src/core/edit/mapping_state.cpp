#include "edit/mapping_state.h"

#include <algorithm>

namespace tarn {

namespace {

// Where each corner lies on the skin; a corner whose index is out of the
// table compares as a position no corner can have.
std::vector<std::array<MappingVert, 3>> cornerPositions(const Mesh& mesh) {
    const int count = std::clamp<int>(mesh.mappingVertCount, 0, static_cast<int>(mesh.mappingVerts.size()));
    const int triangles = std::clamp<int>(mesh.triangleCount, 0, static_cast<int>(mesh.triangles.size()));
    std::vector<std::array<MappingVert, 3>> out(static_cast<std::size_t>(triangles));
    for (std::size_t i = 0; i < out.size(); ++i) {
        for (std::size_t k = 0; k < 3; ++k) {
            const int m = mesh.triangles[i].mapping[k];
            out[i][k] = m >= 0 && m < count ? mesh.mappingVerts[static_cast<std::size_t>(m)] : MappingVert{-1, -1};
        }
    }
    return out;
}

}  // namespace

void SavedMapping::mark() {
    corners_ = cornerPositions(mesh_);
    known_ = true;
}

bool SavedMapping::changed() const { return known_ && cornerPositions(mesh_) != corners_; }

}  // namespace tarn
