#include "edit/mapping_selection.h"

#include <algorithm>
#include <vector>

namespace tarn {

namespace {

bool visible(const Triangle& tri) { return (tri.flags & kTriHidden) == 0; }
bool selected(const Triangle& tri) { return (tri.flags & kTriSelected) != 0; }

// Calls `f(triangle)` for every Triangle in use.
template <class F>
void forEachTriangle(Mesh& mesh, F f) {
    const int n = std::clamp<int>(mesh.triangleCount, 0, static_cast<int>(mesh.triangles.size()));
    for (int i = 0; i < n; ++i) f(mesh.triangles[static_cast<std::size_t>(i)]);
}

// The marks of a Triangle's corners; corners outside the table have none.
std::uint8_t* markOf(Mesh& mesh, const Triangle& tri, std::size_t corner) {
    const int m = tri.mapping[corner];
    if (m < 0 || m >= mesh.mappingVertCount || static_cast<std::size_t>(m) >= mesh.mappingSelection.size())
        return nullptr;
    return &mesh.mappingSelection[static_cast<std::size_t>(m)];
}

void addMarks(Mesh& mesh, const Triangle& tri, std::uint8_t bit) {
    for (std::size_t k = 0; k < 3; ++k)
        if (std::uint8_t* mark = markOf(mesh, tri, k)) *mark |= bit;
}

int cornersMarked(Mesh& mesh, const Triangle& tri, std::uint8_t bit) {
    int n = 0;
    for (std::size_t k = 0; k < 3; ++k) {
        const std::uint8_t* mark = markOf(mesh, tri, k);
        if (mark != nullptr && (*mark & bit) != 0) ++n;
    }
    return n;
}

void setSelected(Triangle& tri, bool on) {
    if (on)
        tri.flags |= kTriSelected;
    else
        tri.flags &= ~std::uint32_t{kTriSelected};
}

}  // namespace

int markSelectedMappingVerts(Mesh& mesh, bool visibleOnly) {
    std::fill(mesh.mappingSelection.begin(), mesh.mappingSelection.end(), std::uint8_t{0});
    forEachTriangle(mesh, [&](const Triangle& tri) {
        if (selected(tri) && (!visibleOnly || visible(tri))) addMarks(mesh, tri, kMarkSelected);
    });
    const int count = std::clamp<int>(mesh.mappingVertCount, 0, static_cast<int>(mesh.mappingSelection.size()));
    return static_cast<int>(std::count_if(mesh.mappingSelection.begin(), mesh.mappingSelection.begin() + count,
                                          [](std::uint8_t m) { return (m & kMarkSelected) != 0; }));
}

void finishMappingDrag(Mesh& mesh) {
    MergeMappingVerts(mesh);
    forEachTriangle(mesh, [](Triangle& tri) { tri.flags &= ~std::uint32_t{kTriDragMark}; });
}

void SelectAll(Mesh& mesh) {
    forEachTriangle(mesh, [](Triangle& tri) { setSelected(tri, true); });
}

void SelectNone(Mesh& mesh) {
    forEachTriangle(mesh, [](Triangle& tri) { setSelected(tri, false); });
}

void InvertSelection(Mesh& mesh) {
    forEachTriangle(mesh, [](Triangle& tri) { tri.flags ^= kTriSelected; });
}

// The fixed point of "select every visible Triangle with a corner on a
// MappingVert of the visible selection", reached as a flood over the
// MappingVerts: each Triangle and MappingVert is visited once, where passes
// over the whole mesh would take one pass per ring (thousands on a strip).
void SelectConnected(Mesh& mesh) {
    const int verts = std::clamp<int>(mesh.mappingVertCount, 0, static_cast<int>(mesh.mappingSelection.size()));
    const auto vertOf = [verts](const Triangle& tri, std::size_t k) {
        const int m = tri.mapping[k];
        return m >= 0 && m < verts ? m : -1;
    };
    // The visible Triangles at each MappingVert, as one list cut at `first`.
    std::vector<int> first(static_cast<std::size_t>(verts) + 1, 0);
    std::vector<Triangle*> at;
    forEachTriangle(mesh, [&](const Triangle& tri) {
        for (std::size_t k = 0; visible(tri) && k < 3; ++k)
            if (const int m = vertOf(tri, k); m >= 0) ++first[static_cast<std::size_t>(m) + 1];
    });
    for (std::size_t m = 1; m < first.size(); ++m) first[m] += first[m - 1];
    at.resize(static_cast<std::size_t>(first.back()));
    std::vector<int> filled(first.begin(), first.end() - 1);
    forEachTriangle(mesh, [&](Triangle& tri) {
        for (std::size_t k = 0; visible(tri) && k < 3; ++k)
            if (const int m = vertOf(tri, k); m >= 0) at[static_cast<std::size_t>(filled[static_cast<std::size_t>(m)]++)] = &tri;
    });

    std::vector<std::uint8_t> reached(static_cast<std::size_t>(verts), 0);
    std::vector<int> pending;
    const auto reach = [&](const Triangle& tri) {
        for (std::size_t k = 0; k < 3; ++k) {
            const int m = vertOf(tri, k);
            if (m < 0 || reached[static_cast<std::size_t>(m)]) continue;
            reached[static_cast<std::size_t>(m)] = 1;
            pending.push_back(m);
        }
    };
    forEachTriangle(mesh, [&](const Triangle& tri) {
        if (visible(tri) && selected(tri)) reach(tri);
    });
    while (!pending.empty()) {
        const auto m = static_cast<std::size_t>(pending.back());
        pending.pop_back();
        for (int i = first[m]; i < first[m + 1]; ++i) {
            Triangle& tri = *at[static_cast<std::size_t>(i)];
            if (selected(tri)) continue;
            setSelected(tri, true);
            reach(tri);
        }
    }
    // The marks as the passes would leave them.
    markSelectedMappingVerts(mesh, true);
}

void GrowSelection(Mesh& mesh) {
    markSelectedMappingVerts(mesh, true);
    forEachTriangle(mesh, [&](const Triangle& tri) {
        if (visible(tri) && cornersMarked(mesh, tri, kMarkSelected) > 0) addMarks(mesh, tri, kMarkRing);
    });
    forEachTriangle(mesh, [&](Triangle& tri) {
        if (visible(tri) && cornersMarked(mesh, tri, kMarkRing) == 3) setSelected(tri, true);
    });
}

void ShrinkSelection(Mesh& mesh) {
    markSelectedMappingVerts(mesh, true);
    forEachTriangle(mesh, [&](const Triangle& tri) {
        if (visible(tri) && !selected(tri)) addMarks(mesh, tri, kMarkRing);
    });
    forEachTriangle(mesh, [&](Triangle& tri) {
        if (visible(tri) && cornersMarked(mesh, tri, kMarkRing) > 0) setSelected(tri, false);
    });
}

void HideSelected(Mesh& mesh) {
    forEachTriangle(mesh, [](Triangle& tri) {
        if (selected(tri)) tri.flags = (tri.flags & ~std::uint32_t{kTriSelected}) | kTriHidden;
    });
}

void UnhideAll(Mesh& mesh) {
    forEachTriangle(mesh, [](Triangle& tri) {
        if (!visible(tri)) tri.flags = (tri.flags & ~std::uint32_t{kTriHidden}) | kTriSelected;
    });
}

void RevertMapping(Mesh& mesh) {
    const int count = std::clamp<int>(mesh.mappingBackupCount, 0, static_cast<int>(mesh.mappingVerts.size()));
    // A backup whose indices do not fit its own table (none was ever taken)
    // would send the merge outside the table: leave the mapping as it is.
    bool fits = true;
    forEachTriangle(mesh, [&](const Triangle& tri) {
        for (std::int16_t m : tri.backupMapping) fits = fits && m >= 0 && m < count;
    });
    if (!fits) return;
    mesh.mappingVertCount = static_cast<std::int16_t>(count);
    std::copy(mesh.mappingBackup.begin(), mesh.mappingBackup.begin() + count, mesh.mappingVerts.begin());
    forEachTriangle(mesh, [](Triangle& tri) { tri.mapping = tri.backupMapping; });
    MergeMappingVerts(mesh);
}

}  // namespace tarn
