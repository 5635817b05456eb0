#include "edit/skin_follow.h"

#include <algorithm>

namespace tarn {

namespace {

// Source texels are addressed at their centres.
constexpr Fixed16 kTexelCentre = kFixed16Half - 1;

}  // namespace

void SkinFollow::start(Skin* skin, const Mesh& mesh) {
    stop();
    if (skin == nullptr || skin->width != mesh.skinWidth || skin->height != mesh.skinHeight ||
        skin->pixels.size() < skin->pixelCount() || skin->pixelCount() == 0)
        return;
    skin_ = skin;
    snapshot_ = skin->pixels;
    rowOffsets_.resize(static_cast<std::size_t>(skin->height));
    for (int r = 0; r < skin->height; ++r) rowOffsets_[static_cast<std::size_t>(r)] = r * skin->width;
}

void SkinFollow::retexture(const Mesh& mesh, const std::vector<MappingVert>& pressTable) {
    if (skin_ == nullptr) return;
    std::copy(snapshot_.begin(), snapshot_.end(), skin_->pixels.begin());
    if (!raster_.SetTexture(snapshot_, skin_->width, skin_->height, rowOffsets_)) return;
    raster_.SetTarget(RasterTarget{skin_->pixels.data(), nullptr, nullptr, nullptr, skin_->width, skin_->height});
    const int count = std::clamp<int>(mesh.mappingVertCount, 0, static_cast<int>(mesh.mappingVerts.size()));
    const int pressCount = static_cast<int>(std::min(pressTable.size(), mesh.mappingVerts.size()));
    const int triangles = std::clamp<int>(mesh.triangleCount, 0, static_cast<int>(mesh.triangles.size()));
    for (int i = 0; i < triangles; ++i) {
        const Triangle& tri = mesh.triangles[static_cast<std::size_t>(i)];
        if ((tri.flags & kTriDragMark) == 0) continue;
        FillTriangle<TexVertex2D> fill{};
        bool valid = true;
        for (std::size_t k = 0; k < 3 && valid; ++k) {
            const int m = tri.mapping[k];
            valid = m >= 0 && m < count && m < pressCount;
            if (!valid) break;
            const MappingVert now = mesh.mappingVerts[static_cast<std::size_t>(m)];
            const MappingVert then = pressTable[static_cast<std::size_t>(m)];
            fill[k] = TexVertex2D{now.s, now.t, toFixed16(then.s) + kTexelCentre, toFixed16(then.t) + kTexelCentre};
        }
        if (!valid) continue;
        fill[3] = fill[0];
        raster_.FillTexture2DSmooth(fill);
    }
}

void SkinFollow::stop() {
    skin_ = nullptr;
    snapshot_.clear();
    snapshot_.shrink_to_fit();
}

}  // namespace tarn
