// The Select menu, the clipboard commands of the Edit menu, the select tools
// and Skins > Transform; and the floating selection put down before any
// command that could change the skin under it.
#include <algorithm>

#include "app/application.h"
#include "app/command_ids.h"
#include "edit/selection_commands.h"

namespace tarn {

namespace {

// Commands that leave floating texels floating: they act on them, or change
// only what the panes show and how the next stroke paints.
bool keepsFloat(int id) {
    static const int kKeep[] = {
        cmd::kCut, cmd::kCopy, cmd::kPaste, cmd::kDelete, cmd::kDropFloating, cmd::kCancelFloating,
        cmd::kFlipHorizontal, cmd::kFlipVertical, cmd::kTurnClockwise, cmd::kTurnCounterClockwise,
        cmd::kNudgeLeft, cmd::kNudgeRight, cmd::kNudgeUp, cmd::kNudgeDown, cmd::kNudgeLeft10, cmd::kNudgeRight10,
        cmd::kNudgeUp10, cmd::kNudgeDown10, cmd::kFitSkin, cmd::kFrameModel, cmd::kPixelGrid, cmd::kCameraOverride,
        cmd::kViewFront, cmd::kViewBack, cmd::kViewLeft, cmd::kViewRight, cmd::kViewTop, cmd::kViewBottom,
        cmd::kResetView, cmd::kColorNext, cmd::kColorPrevious, cmd::kColorNextRow, cmd::kColorPreviousRow,
        cmd::kBrushSmaller, cmd::kBrushLarger, cmd::kKeyboardShortcuts, cmd::kUserGuide, cmd::kAbout};
    return std::find(std::begin(kKeep), std::end(kKeep), id) != std::end(kKeep);
}

}  // namespace

void Application::dropFloating() {
    if (!floating.active()) return;
    SkinEditContext edit = skinEditContext();
    SelectionContext c{edit, floating};
    tarn::dropFloating(c);
}

void Application::bindSelectionCommands() {
    commands_.beforeRun([this](int id) {
        if (!keepsFloat(id)) dropFloating();
    });
    const auto on = [this](auto action) {
        return [this, action] {
            SkinEditContext edit = skinEditContext();
            SelectionContext c{edit, floating, pastePlace ? pastePlace() : std::pair{0, 0}};
            action(c);
        };
    };
    commands_.bind(cmd::kCut, on(cutSelection));
    commands_.bind(cmd::kCopy, on(copySelection));
    commands_.bind(cmd::kPaste, on(pasteClipboard));
    commands_.bind(cmd::kDelete, on(deleteSelection));
    commands_.bind(cmd::kDropFloating, on(tarn::dropFloating));
    commands_.bind(cmd::kCancelFloating, on(cancelFloating));
    // In Mapping Mode the Select menu's first three act on the Triangles.
    const auto texelsOrTriangles = [this, on](void (*texels)(SelectionContext&), int triangles) {
        return [this, texels, triangles, run = on(texels)] {
            if (paneModes.mappingMode) commands_.run(triangles);
            else run();
        };
    };
    commands_.bind(cmd::kSelectAllTexels, texelsOrTriangles(selectAllTexels, cmd::kSelectAll));
    commands_.bind(cmd::kDeselectTexels, texelsOrTriangles(deselectTexels, cmd::kSelectNone));
    commands_.bind(cmd::kInvertTexels, texelsOrTriangles(invertTexelSelection, cmd::kInvertSelection));
    commands_.bind(cmd::kSelectFromTriangles, on(selectFromTriangles));
    for (int id : {cmd::kSelectRectangle, cmd::kSelectLasso, cmd::kSelectColour})
        commands_.bind(id, [this, id] { paneModes.select = static_cast<SelectTool>(selectToolOf(id)); });
    const auto transform = [on](PatchTransform how) {
        return on([how](SelectionContext& c) { transformSelection(c, how); });
    };
    commands_.bind(cmd::kFlipHorizontal, transform(PatchTransform::FlipHorizontal));
    commands_.bind(cmd::kFlipVertical, transform(PatchTransform::FlipVertical));
    commands_.bind(cmd::kTurnClockwise, transform(PatchTransform::TurnClockwise));
    commands_.bind(cmd::kTurnCounterClockwise, transform(PatchTransform::TurnCounterClockwise));
}

}  // namespace tarn
