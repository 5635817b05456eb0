#pragma once
// Mapping Mode in the skin pane: the tool the pane hands both buttons to while
// Mapping Mode is on. The left button drags one MappingVert, or with Shift or
// Ctrl adds the Triangles under the pointer to the selection or takes them
// out; the right button moves, rotates (Shift) or scales (Ctrl) the
// selection with the pointer hidden and held at the press point. Each drag
// that moves the mapping is one step of the history, and with Skin Follows
// Mapping on the painted texels of the dragged Triangles travel with them
// (in the same step).
#include <optional>
#include <vector>

#include "edit/selection_transform.h"
#include "edit/skin_follow.h"
#include "edit/skin_view.h"
#include "edit/vert_drag.h"
#include "image/history.h"
#include "model/mapping_edit.h"

namespace tarn {

// Names of the steps a mapping drag records.
inline constexpr const char* kStepMoveVertex = "Move vertex";
inline constexpr const char* kStepMoveSelection = "Move selection";
inline constexpr const char* kStepRotateSelection = "Rotate selection";
inline constexpr const char* kStepScaleSelection = "Scale selection";

class MappingTool final : public SkinViewTool {
public:
    // `skinFollowsMapping` is read at each press.
    MappingTool(const SkinView& view, PaneContext context, const bool& skinFollowsMapping);

    void usePointer(PointerControl& pointer) override { pointer_ = &pointer; }
    bool press(const MouseEvent& e) override;
    void move(const MouseEvent& e) override;
    void release(const MouseEvent& e) override;
    void cancel() override;
    // Moves the selection (dx, dy) skin pixels, cut short at the skin's
    // border, as one step of the history (the skin following when it is to);
    // nothing during a drag. False when nothing moved.
    bool nudge(int dx, int dy);

    enum class Mode { None, Select, Deselect, VertDrag, Transform, Nudge };
    Mode mode() const { return mode_; }
    const SelectionTransform& transform() const { return transform_; }

private:
    bool pressLeft(const MouseEvent& e);
    bool pressRight(const MouseEvent& e);
    // Sets or clears the selected flag of every Triangle under (x, y).
    void selectUnder(int x, int y);
    // Takes the skin and the table as they stand, when the skin is to follow.
    void startFollowing(const std::vector<MappingVert>* pressTable);
    void stepDone();
    void end();
    // A mapping drag is one step of the history, from the press to the end.
    void beginStep(const char* step);
    void endStep();

    const SkinView& view_;
    PaneContext context_;
    const char* step_ = nullptr;
    std::optional<MappingEdit> mappingEdit_;
    std::optional<SkinEdit> skinEdit_;
    const bool& skinFollowsMapping_;
    PointerControl* pointer_ = nullptr;

    Mode mode_ = Mode::None;
    VertDrag vertDrag_;
    SelectionTransform transform_;
    WarpedDrag warp_;
    SkinFollow follow_;
    // The table at the press of a vert drag, for the skin to follow from.
    std::vector<MappingVert> vertPressTable_;
    const std::vector<MappingVert>* followFrom_ = nullptr;
};

}  // namespace tarn
