#include "edit/skin_follow.h"

#include <algorithm>

namespace tarn {

void SkinFollow::start(Skin* skin, const Mesh& mesh) {
    stop();
    if (skin == nullptr || skin->width != mesh.skinWidth || skin->height != mesh.skinHeight ||
        skin->pixels.size() < skin->pixelCount() || skin->pixelCount() == 0)
        return;
    snapshot_ = skin->pixels;
    if (rebake_.setImages(skin->pixels, skin->width, skin->height, snapshot_, skin->width, skin->height))
        skin_ = skin;
}

void SkinFollow::retexture(const Mesh& mesh, const std::vector<MappingVert>& pressTable) {
    if (skin_ == nullptr) return;
    std::copy(snapshot_.begin(), snapshot_.end(), skin_->pixels.begin());
    const int triangles = std::clamp<int>(mesh.triangleCount, 0, static_cast<int>(mesh.triangles.size()));
    const int pressCount = static_cast<int>(pressTable.size());
    // Last to first, each texel once: piled-up Triangles cannot stall a drag.
    rebake_.writeEachTexelOnce();
    for (int i = triangles; i-- > 0;) {
        const Triangle& tri = mesh.triangles[static_cast<std::size_t>(i)];
        if ((tri.flags & kTriDragMark) == 0) continue;
        std::array<MappingVert, 3> now{}, then{};
        if (cornersIn(tri, mesh.mappingVerts, mesh.mappingVertCount, now) && cornersIn(tri, pressTable, pressCount, then))
            rebake_.triangle(now, then);
    }
}

void SkinFollow::stop() {
    skin_ = nullptr;
    snapshot_.clear();
    snapshot_.shrink_to_fit();
}

}  // namespace tarn
