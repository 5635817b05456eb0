#include "edit/vert_drag.h"

#include <algorithm>

#include "edit/mapping_geometry.h"
#include "edit/mapping_selection.h"

namespace tarn {

namespace {

// Points the first corner of `tri` that uses `from` at `to` and gives the
// Triangle the drag mark; a Triangle that does not use it loses the mark.
bool detachCorner(Triangle& tri, int from, int to) {
    for (auto& m : tri.mapping) {
        if (m == from) {
            m = static_cast<std::int16_t>(to);
            tri.flags |= kTriDragMark;
            return true;
        }
    }
    tri.flags &= ~std::uint32_t{kTriDragMark};
    return false;
}

}  // namespace

int VertDrag::pick(const SkinView& view, const Mesh& mesh, int x, int y) {
    const int u = view.skinXAt(x);
    const int v = view.skinYAt(y);
    const int count = mesh.mappingVertCount;
    if (u < 0 || u >= mesh.skinWidth || v < 0 || v >= mesh.skinHeight || count <= 0) return -1;
    // A full table has no spare entry to drag.
    if (count >= static_cast<int>(mesh.mappingVerts.size())) return -1;
    return pickMappingVert(view, mesh, x, y);
}

void VertDrag::start(Mesh& mesh, int a) {
    const int count = mesh.mappingVertCount;
    picked_ = a;
    spare_ = count;
    mesh.mappingVerts[static_cast<std::size_t>(spare_)] = mesh.mappingVerts[static_cast<std::size_t>(a)];
    // The copy counts as a MappingVert while it is dragged, so that every
    // reader of the table (the overlay, the 3D pane) shows the dragged corners.
    mesh.mappingVertCount = static_cast<std::int16_t>(count + 1);

    const int triangles = std::clamp<int>(mesh.triangleCount, 0, static_cast<int>(mesh.triangles.size()));
    bool marked = false;
    for (int i = 0; i < triangles; ++i) {
        Triangle& tri = mesh.triangles[static_cast<std::size_t>(i)];
        if ((tri.flags & kTriSelected) != 0) marked = detachCorner(tri, a, spare_) || marked;
    }
    if (!marked)
        for (int i = 0; i < triangles; ++i) detachCorner(mesh.triangles[static_cast<std::size_t>(i)], a, spare_);
}

bool VertDrag::move(const SkinView& view, Mesh& mesh, int x, int y) {
    if (spare_ < 0) return false;
    const MappingVert at{static_cast<std::int16_t>(std::clamp(view.skinXAt(x), 0, std::max(mesh.skinWidth - 1, 0))),
                         static_cast<std::int16_t>(std::clamp(view.skinYAt(y), 0, std::max(mesh.skinHeight - 1, 0)))};
    MappingVert& dragged = mesh.mappingVerts[static_cast<std::size_t>(spare_)];
    if (dragged == at) return false;
    dragged = at;
    return true;
}

void VertDrag::finish(Mesh& mesh) {
    if (spare_ >= 0) finishMappingDrag(mesh);
    picked_ = spare_ = -1;
}

}  // namespace tarn
