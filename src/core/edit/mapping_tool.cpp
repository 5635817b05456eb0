#include "edit/mapping_tool.h"

#include <algorithm>

#include "edit/mapping_geometry.h"
#include "platform/refresh.h"
#include "render/iso_view_context.h"

namespace tarn {

namespace {

// Both displays: picks and selection steps, and the end of every drag.
constexpr int kPanesMapping = kPanesSkinIso;
// Both displays during drag steps.
constexpr int kPanesMappingStep = kPanesSkinIso16;

// Stands in when no window gave its pointer: nothing to warp, so each move is
// measured from the one before.
struct UnwarpedPointer final : PointerControl {
    void capture() override {}
    void releaseCapture() override {}
    void hideCursor() override {}
    void showCursor() override {}
    bool warpTo(int, int) override { return false; }
};

}  // namespace

MappingTool::MappingTool(const SkinView& view, PaneContext context, const bool& skinFollowsMapping)
    : view_(view), context_(std::move(context)), skinFollowsMapping_(skinFollowsMapping) {}

void MappingTool::beginStep(const char* step) {
    step_ = step;
    mappingEdit_.emplace(context_.history, context_.mesh);
}

void MappingTool::endStep() {
    if (step_ == nullptr) return;
    {
        // The texels that followed undo together with the mapping.
        HistoryGroup group(context_.history, step_);
        if (skinEdit_) skinEdit_->commit(step_);
        if (mappingEdit_) mappingEdit_->commit(step_);
    }
    skinEdit_.reset();
    mappingEdit_.reset();
    step_ = nullptr;
}

bool MappingTool::press(const MouseEvent& e) {
    if (mode_ != Mode::None) return false;
    if (e.button == kLeftButton) return pressLeft(e);
    if (e.button == kRightButton) return pressRight(e);
    return false;
}

bool MappingTool::pressLeft(const MouseEvent& e) {
    Mesh& mesh = context_.mesh;
    if (e.shift || e.ctrl) {
        // Shift wins when both are held.
        mode_ = e.shift ? Mode::Select : Mode::Deselect;
        selectUnder(e.x, e.y);
        return true;
    }
    const int picked = VertDrag::pick(view_, mesh, e.x, e.y);
    if (picked < 0) return false;
    beginStep(kStepMoveVertex);
    vertDrag_.start(mesh, picked);
    mode_ = Mode::VertDrag;
    context_.refresh.refresh(kRedrawQuick, kPanesMapping);
    if (skinFollowsMapping_) {
        const int count = std::clamp<int>(mesh.mappingVertCount, 0, static_cast<int>(mesh.mappingVerts.size()));
        vertPressTable_.assign(mesh.mappingVerts.begin(), mesh.mappingVerts.begin() + count);
        startFollowing(&vertPressTable_);
    }
    return true;
}

bool MappingTool::pressRight(const MouseEvent& e) {
    const TransformKind kind = e.shift ? TransformKind::Rotate : e.ctrl ? TransformKind::Scale : TransformKind::Move;
    static constexpr const char* kNames[] = {kStepMoveSelection, kStepRotateSelection, kStepScaleSelection};
    beginStep(kNames[static_cast<int>(kind)]);
    transform_.press(view_, context_.mesh, e.x, e.y, kind);
    mode_ = Mode::Transform;
    if (skinFollowsMapping_) startFollowing(&transform_.pressTable());
    context_.refresh.refresh(kRedrawQuick, kPanesMappingStep);
    warp_.start(e.x, e.y);
    if (pointer_ != nullptr) pointer_->hideCursor();
    return true;
}

bool MappingTool::nudge(int dx, int dy) {
    if (mode_ != Mode::None) return false;
    beginStep(kStepMoveSelection);
    transform_.begin(context_.mesh, TransformKind::Move, 0, 0);
    mode_ = Mode::Nudge;
    if (skinFollowsMapping_) startFollowing(&transform_.pressTable());
    const bool moved = transform_.nudge(context_.mesh, dx, dy);
    if (moved) stepDone();
    end();
    return moved;
}

void MappingTool::startFollowing(const std::vector<MappingVert>* pressTable) {
    Skin* skin = context_.currentSkin ? context_.currentSkin() : nullptr;
    follow_.start(skin, context_.mesh);
    followFrom_ = follow_.active() ? pressTable : nullptr;
    if (follow_.active()) skinEdit_.emplace(context_.history, *skin);
}

void MappingTool::selectUnder(int x, int y) {
    Mesh& mesh = context_.mesh;
    const int triangles = std::clamp<int>(mesh.triangleCount, 0, static_cast<int>(mesh.triangles.size()));
    std::array<ScreenPoint, 3> corners;
    for (int i = 0; i < triangles; ++i) {
        Triangle& tri = mesh.triangles[static_cast<std::size_t>(i)];
        if (!screenTriangle(view_, mesh, tri, corners) ||
            !pointInTriangle(static_cast<float>(x), static_cast<float>(y), corners))
            continue;
        if (mode_ == Mode::Select)
            tri.flags |= kTriSelected;
        else
            tri.flags &= ~std::uint32_t{kTriSelected};
    }
    context_.refresh.refresh(kRedrawQuick, kPanesMapping);
}

void MappingTool::move(const MouseEvent& e) {
    switch (mode_) {
    case Mode::Select:
    case Mode::Deselect:
        selectUnder(e.x, e.y);
        break;
    case Mode::VertDrag:
        if (vertDrag_.move(view_, context_.mesh, e.x, e.y)) stepDone();
        break;
    case Mode::Transform: {
        // The pointer is put back at the press point after every move, so
        // each event carries only the latest movement.
        if (warp_.atAnchor(e.x, e.y)) break;
        int dx = 0, dy = 0;
        UnwarpedPointer unwarped;
        warp_.step(e.x, e.y, pointer_ != nullptr ? *pointer_ : unwarped, dx, dy);
        if (transform_.step(view_, context_.mesh, dx, dy)) stepDone();
        break;
    }
    case Mode::None:
    case Mode::Nudge:
        break;
    }
}

void MappingTool::stepDone() {
    if (followFrom_ != nullptr) follow_.retexture(context_.mesh, *followFrom_);
    context_.refresh.refresh(kRedrawQuick, kPanesMappingStep);
}

void MappingTool::release(const MouseEvent&) { end(); }

void MappingTool::cancel() { end(); }

void MappingTool::end() {
    const Mode was = mode_;
    mode_ = Mode::None;
    follow_.stop();
    followFrom_ = nullptr;
    if (was == Mode::VertDrag) vertDrag_.finish(context_.mesh);
    if (was == Mode::Transform || was == Mode::Nudge) transform_.finish(context_.mesh);
    if (was == Mode::None) return;
    endStep();
    context_.refresh.refresh(kRedrawFull, kPanesMapping);
    if (was == Mode::Transform && pointer_ != nullptr) {
        warp_.finish(*pointer_);
        pointer_->showCursor();
    }
}

}  // namespace tarn
