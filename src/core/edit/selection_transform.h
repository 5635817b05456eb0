#pragma once
// The right-button drag of Mapping Mode: moves (no modifier), rotates (Shift)
// or scales (Ctrl) every MappingVert of the selected Triangles about the
// press point. Rotation and scale are always worked out from the table as it
// stood at the press, so no rounding builds up; the move adds up in the live
// table. A step that would take a corner of the selection box off the skin is
// refused (rotation and scale) or cut short at the border (move).
#include <vector>

#include "edit/skin_view.h"
#include "model/mesh.h"

namespace tarn {

enum class TransformKind { Move, Rotate, Scale };

// The box of the selected MappingVerts in skin pixels, taken at the press;
// the move carries it along, rotation and scale leave it as it was.
struct SelectionBox {
    int minX = 0;
    int maxX = 0;
    int minY = 0;
    int maxY = 0;
    bool operator==(const SelectionBox&) const = default;
};

class SelectionTransform {
public:
    static constexpr double kRadiansPerPixel = 0.005;
    static constexpr double kScalePerPixel = 0.004;

    // Marks the MappingVerts of the selected Triangles (hidden ones too), gives
    // every Triangle using one of them the drag mark, keeps the table and
    // measures the selection box. The pivot is the skin pixel under (x, y).
    void press(const SkinView& view, Mesh& mesh, int x, int y, TransformKind kind);
    // The same with the pivot given in skin pixels.
    void begin(Mesh& mesh, TransformKind kind, int pivotX, int pivotY);
    // One step of (dx, dy) view pixels; false when nothing moved. A move
    // keeps the part of a step short of a whole skin pixel for the next one.
    bool step(const SkinView& view, Mesh& mesh, int dx, int dy);
    // Moves the selection (dx, dy) whole skin pixels, cut short at the skin's
    // border; false when nothing moved.
    bool nudge(Mesh& mesh, int dx, int dy);
    // Ends the drag: merge, drag marks cleared.
    void finish(Mesh& mesh);

    TransformKind kind() const { return kind_; }
    const SelectionBox& box() const { return box_; }
    double angle() const { return angle_; }
    // The table as it stood at the press.
    const std::vector<MappingVert>& pressTable() const { return pressTable_; }

private:
    bool rotate(Mesh& mesh, int dy);
    bool scale(Mesh& mesh, int dx, int dy);
    bool move(const SkinView& view, Mesh& mesh, int dx, int dy);
    // Adds (dx, dy) skin pixels, cut at the border, to the box and every marked MappingVert.
    bool shift(Mesh& mesh, int dx, int dy);
    // Every marked MappingVert becomes `f(press position)`, truncated.
    template <class F>
    void placeFromPress(Mesh& mesh, F f);

    TransformKind kind_ = TransformKind::Move;
    int pivotX_ = 0;
    int pivotY_ = 0;
    double angle_ = 0.0;
    double scaleX_ = 1.0;
    double scaleY_ = 1.0;
    SelectionBox box_;
    // View pixels of the move not yet taken as whole skin pixels.
    double restX_ = 0.0;
    double restY_ = 0.0;
    int marked_ = 0;
    std::vector<MappingVert> pressTable_;
    int skinWidth_ = 0;
    int skinHeight_ = 0;
};

}  // namespace tarn
