#pragma once
// The left-button drag of one MappingVert in Mapping Mode. The press picks the
// MappingVert under the pointer, copies it into the spare entry just past the
// table and points the dragged corners at the copy, so that a MappingVert
// shared by selected and unselected Triangles splits: only the selected ones
// follow (all of its users when none of them is selected). The moves put the
// copy under the pointer; the release merges, welding it with any MappingVert
// it was dropped on.
#include "edit/skin_view.h"
#include "model/mesh.h"

namespace tarn {

class VertDrag {
public:
    // The MappingVert a press at client point (x, y) would drag: -1 when the
    // point lies outside the skin, no MappingVert is within reach, or the
    // table is full and has no spare entry.
    static int pick(const SkinView& view, const Mesh& mesh, int x, int y);
    // Starts dragging MappingVert `picked` (as pick() gave it).
    void start(Mesh& mesh, int picked);
    // Puts the dragged copy at the skin pixel under (x, y), kept on the skin;
    // false when it was already there.
    bool move(const SkinView& view, Mesh& mesh, int x, int y);
    // Ends the drag: merge, drag marks cleared.
    void finish(Mesh& mesh);

    // The MappingVert picked by the last press, and its copy being dragged.
    int picked() const { return picked_; }
    int spare() const { return spare_; }

private:
    int picked_ = -1;
    int spare_ = -1;
};

}  // namespace tarn
