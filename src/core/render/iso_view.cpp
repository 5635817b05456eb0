#include "render/iso_view.h"

#include <algorithm>

#include "image/palette_file.h"
#include "image/skin.h"
#include "model/mesh.h"
#include "paint/paint_state.h"
#include "platform/refresh.h"
#include "render/iso_view_line.h"
#include "render/render_mode.h"
#include "render/texel_mirror.h"
#include "render/view_moves.h"

namespace tarn {
namespace {

constexpr unsigned kDragButtons = kLeftButton | kRightButton;

// The pick plane holds skin texel offsets only while a textured mode draws in
// Paint Mode; elsewhere it holds Triangle indices, which must never be taken
// for skin pixels.
bool modeWritesTexels(int mode) {
    return mode == kModeTextured || mode == kModeTexturedGShade || mode == kModeTexturedPShade;
}

}  // namespace

IsoView::IsoView(PaneContext context, std::function<RenderScene()> scene, std::function<RenderMode*()> currentMode)
    : context_(std::move(context)), scene_(std::move(scene)), currentMode_(std::move(currentMode)) {}

void IsoView::resize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    const bool same = planeWidthFor(width) == frame_.width() && height == frame_.height() && clientHeight_ >= 0;
    clientWidth_ = width;
    clientHeight_ = height;
    if (same) return;
    frame_.resize(width, height);
    render();
}

void IsoView::render() {
    if (frame_.width() <= 0 || frame_.height() <= 0) return;
    RenderMode* mode = currentMode_ ? currentMode_() : nullptr;
    if (mode == nullptr) return;
    target_.colour = frame_.colour();
    target_.depth = frame_.depth();
    target_.pick = frame_.pick();
    target_.width = frame_.width();
    target_.height = frame_.height();
    RenderScene scene = scene_();
    mode->Draw(target_, scene);
    markSelection();
    ++renderCount_;
}

// In Paint Mode the textured modes name the texel under every pixel in the
// pick plane: the selected texels are tinted there.
bool IsoView::markSelectedTexels() {
    const SkinSelection& selection = context_.paint.selection;
    const int mode = context_.renderMode ? context_.renderMode() : -1;
    const bool textured = mode == kModeTextured || mode == kModeTexturedGShade || mode == kModeTexturedPShade;
    if (context_.modes.mappingMode || !selection.active() || !textured) return false;
    const std::size_t n = static_cast<std::size_t>(frame_.width()) * static_cast<std::size_t>(frame_.height());
    tint_.resize(n);
    const std::int32_t* pick = frame_.pick();
    const std::vector<std::uint8_t>& mask = selection.mask();
    for (std::size_t i = 0; i < n; ++i) {
        const auto texel = static_cast<std::uint32_t>(pick[i]);  // "nothing" (-1) wraps past every texel
        tint_[i] = texel < mask.size() ? mask[texel] : 0;
    }
    return true;
}

void IsoView::markSelection() {
    if (markSelectedTexels()) return;
    const Mesh& mesh = context_.mesh;
    const int triangles = std::clamp<int>(mesh.triangleCount, 0, static_cast<int>(mesh.triangles.size()));
    bool any = false;
    chosen_.assign(context_.modes.mappingMode ? static_cast<std::size_t>(triangles) : 0, 0);
    for (std::size_t i = 0; i < chosen_.size(); ++i) {
        chosen_[i] = (mesh.triangles[i].flags & kTriSelected) != 0;
        any = any || chosen_[i] != 0;
    }
    if (!any) {
        tint_.clear();
        return;
    }
    // In Mapping Mode the pick plane names the Triangle under every pixel.
    // The mapping edges are drawn in the three edge colours over it and keep
    // them (as does a texel of the same index, which is rare enough).
    std::array<std::uint8_t, kPaletteColors> plain;
    plain.fill(1);
    const ColorSlots& slots = context_.paint.colorSlots;
    for (int slot : {kSlotEdge, kSlotSelected, kSlotDragged}) plain[slots[static_cast<std::size_t>(slot)]] = 0;
    const std::size_t n = static_cast<std::size_t>(frame_.width()) * static_cast<std::size_t>(frame_.height());
    tint_.resize(n);
    const std::int32_t* pick = frame_.pick();
    const std::uint8_t* colour = frame_.colour();
    const auto count = static_cast<std::uint32_t>(triangles);
    for (std::size_t i = 0; i < n; ++i) {
        const auto key = static_cast<std::uint32_t>(pick[i]);  // "nothing" (-1) wraps past every Triangle
        tint_[i] = key < count ? static_cast<std::uint8_t>(chosen_[key] & plain[colour[i]]) : 0;
    }
}

const Palette& IsoView::palette() const {
    static const Palette grey = greyRampPalette();
    RenderMode* mode = currentMode_ ? currentMode_() : nullptr;
    return mode != nullptr ? mode->palette : grey;
}

void IsoView::rotateByWheel(int delta) {
    CameraPose pose{target_.eye, target_.lookAt, target_.fieldOfView};
    tarn::rotateByWheel(pose, delta);
    target_.eye = pose.eye;
    render();
}

void IsoView::zoomTowards(int delta, int x, int y) {
    const Mesh& mesh = context_.mesh;
    if (!mesh.hasCurrentFrame()) return;
    const std::vector<Vec3f>& positions = mesh.frames[std::size_t(mesh.currentFrame)].positions;
    const Vec3f point = pointUnder(mesh, positions.data(), static_cast<int>(positions.size()), target_, x,
                                   target_.height - 1 - y);
    CameraPose pose{target_.eye, target_.lookAt, target_.fieldOfView};
    dollyTowards(pose, point, delta);
    target_.eye = pose.eye;
    target_.lookAt = pose.lookAt;
    render();
}

std::int32_t IsoView::pickAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= clientWidth_ || y >= clientHeight_) return kPickNothing;
    const auto element = frame_.elementAt(x, y);
    return element ? frame_.pick()[*element] : kPickNothing;
}

Skin* IsoView::paintableSkin() const {
    Skin* s = context_.currentSkin ? context_.currentSkin() : nullptr;
    if (s == nullptr || s->pixels.size() < s->pixelCount() || s->pixelCount() == 0) return nullptr;
    return s;
}

// ---- mouse ----

void IsoView::mousePress(const MouseEvent& e, PointerControl& pointer) {
    if (drag_ != Drag::Idle) return;
    const bool left = e.button == kLeftButton;
    if (!left && e.button != kRightButton) return;
    pressX_ = e.x;
    pressY_ = e.y;
    const PaneModes& modes = context_.modes;
    if (modes.cameraOverride) {
        const Drag kind = left ? (e.shift ? Drag::FieldOfView : Drag::OrbitZoom)
                               : (e.shift ? Drag::Light : Drag::LookAroundDolly);
        startCameraDrag(kind, pointer);
        return;
    }
    if (modes.mappingMode) {
        drag_ = left ? Drag::Select : Drag::Deselect;
        pointer.capture();
        selectAt(e.x, e.y, left);
        return;
    }
    if (!left || e.alt) {
        drag_ = Drag::ColorPick;
        pointer.capture();
        pickColor(e.x, e.y);
        return;
    }
    drag_ = Drag::Painting;
    pointer.capture();
    context_.paint.shadeDarker = e.ctrl;
    Skin* s = paintableSkin();
    if (s == nullptr) return;
    TexelMirror mirror;
    if (modes.mirror && context_.symmetry != nullptr)
        mirror = surfaceTexelMirror(context_.mesh, *context_.symmetry, s->width, s->height);
    const BrushSegment seg = stroke_.begin(*s, modes.brush, e.x, e.y, context_.history, std::move(mirror));
    paintLine(seg.ax, seg.ay, seg.bx, seg.by);
}

void IsoView::startCameraDrag(Drag kind, PointerControl& pointer) {
    drag_ = kind;
    camera_.begin(static_cast<CameraDragKind>(kind), CameraPose{target_.eye, target_.lookAt, target_.fieldOfView});
    warp_.start(pressX_, pressY_);
    dragRestX_ = dragRestY_ = 0.0f;
    pointer.hideCursor();
    pointer.capture();
}

void IsoView::cameraMove(const MouseEvent& e, PointerControl& pointer) {
    if (warp_.atAnchor(e.x, e.y)) return;
    int dx = 0, dy = 0;
    warp_.step(e.x, e.y, pointer, dx, dy);
    // Device pixels back to pointer units, the fractions kept for the next move.
    const float sx = float(dx) / pointerScale_ + dragRestX_;
    const float sy = float(dy) / pointerScale_ + dragRestY_;
    dx = static_cast<int>(sx);
    dy = static_cast<int>(sy);
    dragRestX_ = sx - float(dx);
    dragRestY_ = sy - float(dy);
    const bool other = drag_ == Drag::OrbitZoom ? (e.buttons & kRightButton) != 0 : (e.buttons & kLeftButton) != 0;
    CameraPose pose{target_.eye, target_.lookAt, target_.fieldOfView};
    RenderScene scene = scene_();
    Vec3f unused{};
    Vec3f& light = scene.lighting != nullptr ? scene.lighting->lightVector : unused;
    camera_.move(dx, dy, other, pose, light);
    target_.eye = pose.eye;
    target_.lookAt = pose.lookAt;
    target_.fieldOfView = pose.fieldOfView;
    context_.refresh.refresh(kRedrawQuick, kPanesIso16);
}

void IsoView::mouseMove(const MouseEvent& e, PointerControl& pointer) {
    switch (drag_) {
    case Drag::OrbitZoom:
    case Drag::LookAroundDolly:
    case Drag::FieldOfView:
    case Drag::Light:
        cameraMove(e, pointer);
        return;
    case Drag::Painting:
        stroke_.moveTo(paintableSkin(), e.x, e.y, context_.refresh,
                       [this](const BrushSegment& seg) { return paintLine(seg.ax, seg.ay, seg.bx, seg.by); });
        break;
    case Drag::ColorPick:
        pickColor(e.x, e.y);
        break;
    case Drag::Select:
    case Drag::Deselect:
        selectAt(e.x, e.y, drag_ == Drag::Select);
        break;
    default:
        break;
    }
}

void IsoView::mouseRelease(const MouseEvent& e, PointerControl& pointer) {
    const bool left = e.button == kLeftButton;
    switch (drag_) {
    case Drag::OrbitZoom:
    case Drag::FieldOfView:
    case Drag::LookAroundDolly:
    case Drag::Light: {
        // Only the button that started the drag ends it.
        const bool startedLeft = drag_ == Drag::OrbitZoom || drag_ == Drag::FieldOfView;
        if (left != startedLeft) return;
        context_.refresh.refresh(kRedrawFull, kPanesIso);
        drag_ = Drag::CameraEnded;
        break;
    }
    case Drag::Painting:
        if (!left) return;
        stroke_.end();
        drag_ = Drag::OtherEnded;
        break;
    case Drag::ColorPick:
        if (left) return;
        finishColorPick(context_.refresh);
        drag_ = Drag::OtherEnded;
        break;
    case Drag::Select:
    case Drag::Deselect:
        drag_ = Drag::OtherEnded;
        break;
    case Drag::Idle:
        return;
    default:
        break;
    }
    waitOrEnd(e.buttons & kDragButtons, pointer);
}

void IsoView::waitOrEnd(unsigned buttonsHeld, PointerControl& pointer) {
    if (buttonsHeld != 0) return;
    if (drag_ == Drag::CameraEnded) {
        warp_.finish(pointer);
        pointer.showCursor();
    }
    drag_ = Drag::Idle;
    pointer.releaseCapture();
}

void IsoView::captureLost(PointerControl& pointer) {
    switch (drag_) {
    case Drag::OrbitZoom:
    case Drag::LookAroundDolly:
    case Drag::FieldOfView:
    case Drag::Light:
        context_.refresh.refresh(kRedrawFull, kPanesIso);
        pointer.showCursor();
        break;
    case Drag::CameraEnded:
        pointer.showCursor();
        break;
    case Drag::Painting:
        stroke_.end();
        break;
    case Drag::ColorPick:
        finishColorPick(context_.refresh);
        break;
    default:
        break;
    }
    drag_ = Drag::Idle;
}

// ---- painting, picking, selecting ----

bool IsoView::pickHoldsTexels() const {
    const int mode = context_.renderMode ? context_.renderMode() : -1;
    return !context_.modes.mappingMode && modeWritesTexels(mode);
}

bool IsoView::paintLine(int ax, int ay, int bx, int by) {
    if (paintableSkin() == nullptr || !pickHoldsTexels()) return false;
    if (context_.modes.brush == Brush::Fill) return fillOnSurface(ax, ay);
    if (context_.paint.pressedTip().size > 1) return paintWideLine(ax, ay, bx, by);
    return paintBrushRun(clipper_, ax, ay, bx, by, clientWidth_, clientHeight_, context_.refresh,
                         [&](int x, int y) { stroke_.paintTexel(paintableSkin(), pickAt(x, y), context_.paint); });
}

void IsoView::pickColor(int x, int y) {
    if (pickHoldsTexels()) pickTexelColor(context_, paintableSkin(), pickAt(x, y));
}

void IsoView::selectAt(int x, int y, bool select) {
    const std::int32_t v = pickAt(x, y);
    Mesh& mesh = context_.mesh;
    if (v < 0 || v >= mesh.triangleCount || static_cast<std::size_t>(v) >= mesh.triangles.size()) return;
    std::uint32_t& flags = mesh.triangles[static_cast<std::size_t>(v)].flags;
    const bool isSelected = (flags & kTriSelected) != 0;
    if (isSelected == select) return;
    flags = select ? (flags | kTriSelected) : (flags & ~std::uint32_t{kTriSelected});
    context_.refresh.refresh(kRedrawQuick, kPanesSkinIso16);
}

}  // namespace tarn
