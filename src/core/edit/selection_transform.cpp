#include "edit/selection_transform.h"

#include <algorithm>
#include <cmath>

#include "edit/mapping_selection.h"

namespace tarn {

namespace {

// The empty box starts this far outside the skin, so that any MappingVert
// widens it.
constexpr int kBoxMargin = 5;

bool usesMarked(const Mesh& mesh, const Triangle& tri) {
    for (std::int16_t m : tri.mapping)
        if (m >= 0 && m < mesh.mappingVertCount && (mesh.mappingSelection[static_cast<std::size_t>(m)] & kMarkSelected))
            return true;
    return false;
}

std::int16_t truncated(double v) { return static_cast<std::int16_t>(std::trunc(v)); }

// A move of `d` whole skin pixels cut short where the box [lo, hi] would
// leave the skin's `size`.
int clampStep(int d, int lo, int hi, int size) {
    if (lo + d < 0) return -lo;
    if (hi + d >= size) return size - hi - 1;
    return d;
}

}  // namespace

void SelectionTransform::press(const SkinView& view, Mesh& mesh, int x, int y, TransformKind kind) {
    begin(mesh, kind, view.skinXAt(x), view.skinYAt(y));
}

void SelectionTransform::begin(Mesh& mesh, TransformKind kind, int pivotX, int pivotY) {
    kind_ = kind;
    if (kind == TransformKind::Rotate) angle_ = 0.0;
    if (kind == TransformKind::Scale) scaleX_ = scaleY_ = 1.0;
    restX_ = restY_ = 0.0;
    pivotX_ = pivotX;
    pivotY_ = pivotY;
    skinWidth_ = mesh.skinWidth;
    skinHeight_ = mesh.skinHeight;
    const int count = std::clamp<int>(mesh.mappingVertCount, 0, static_cast<int>(mesh.mappingVerts.size()));
    pressTable_.assign(mesh.mappingVerts.begin(), mesh.mappingVerts.begin() + count);

    marked_ = markSelectedMappingVerts(mesh, false);
    const int triangles = std::clamp<int>(mesh.triangleCount, 0, static_cast<int>(mesh.triangles.size()));
    for (int i = 0; i < triangles; ++i) {
        Triangle& tri = mesh.triangles[static_cast<std::size_t>(i)];
        if (usesMarked(mesh, tri))
            tri.flags |= kTriDragMark;
        else
            tri.flags &= ~std::uint32_t{kTriDragMark};
    }
    box_ = {skinWidth_ + kBoxMargin, -kBoxMargin, skinHeight_ + kBoxMargin, -kBoxMargin};
    for (int i = 0; i < count; ++i) {
        if (!(mesh.mappingSelection[static_cast<std::size_t>(i)] & kMarkSelected)) continue;
        const MappingVert m = mesh.mappingVerts[static_cast<std::size_t>(i)];
        box_.minX = std::min<int>(box_.minX, m.s);
        box_.maxX = std::max<int>(box_.maxX, m.s);
        box_.minY = std::min<int>(box_.minY, m.t);
        box_.maxY = std::max<int>(box_.maxY, m.t);
    }
}

bool SelectionTransform::step(const SkinView& view, Mesh& mesh, int dx, int dy) {
    // Without a selection the empty box refuses every rotation and scale, and
    // a move has nothing to carry.
    if (marked_ == 0) return false;
    switch (kind_) {
    case TransformKind::Rotate: return rotate(mesh, dy);
    case TransformKind::Scale: return scale(mesh, dx, dy);
    case TransformKind::Move: return move(view, mesh, dx, dy);
    }
    return false;
}

template <class F>
void SelectionTransform::placeFromPress(Mesh& mesh, F f) {
    const int count = std::min<int>(static_cast<int>(pressTable_.size()), mesh.mappingVertCount);
    for (int i = 0; i < count; ++i) {
        if (!(mesh.mappingSelection[static_cast<std::size_t>(i)] & kMarkSelected)) continue;
        const MappingVert from = pressTable_[static_cast<std::size_t>(i)];
        double x = 0.0, y = 0.0;
        f(from.s, from.t, x, y);
        mesh.mappingVerts[static_cast<std::size_t>(i)] = {truncated(x), truncated(y)};
    }
}

bool SelectionTransform::rotate(Mesh& mesh, int dy) {
    const double a = angle_ + dy * kRadiansPerPixel;
    const double c = std::cos(a);
    const double s = std::sin(a);
    const double px = pivotX_;
    const double py = pivotY_;
    const auto turn = [&](double x, double y, double& ox, double& oy) {
        ox = px + (x - px) * c + (y - py) * s;
        oy = py + (y - py) * c - (x - px) * s;
    };
    for (int cx : {box_.minX, box_.maxX}) {
        for (int cy : {box_.minY, box_.maxY}) {
            double x = 0.0, y = 0.0;
            turn(cx, cy, x, y);
            if (!(x >= 0.0 && x < skinWidth_ && y >= 0.0 && y < skinHeight_)) return false;
        }
    }
    angle_ = a;
    placeFromPress(mesh, turn);
    return true;
}

bool SelectionTransform::scale(Mesh& mesh, int dx, int dy) {
    const double sx = scaleX_ + dx * kScalePerPixel;
    const double sy = scaleY_ + dy * kScalePerPixel;
    const double px = pivotX_;
    const double py = pivotY_;
    const auto inside = [](double v, int size) { return v >= 0.0 && v < size; };
    if (!inside(px + (box_.minX - px) * sx, skinWidth_) || !inside(px + (box_.maxX - px) * sx, skinWidth_) ||
        !inside(py + (box_.minY - py) * sy, skinHeight_) || !inside(py + (box_.maxY - py) * sy, skinHeight_))
        return false;
    scaleX_ = sx;
    scaleY_ = sy;
    placeFromPress(mesh, [&](double x, double y, double& ox, double& oy) {
        ox = px + (x - px) * sx;
        oy = py + (y - py) * sy;
    });
    return true;
}

bool SelectionTransform::move(const SkinView& view, Mesh& mesh, int dx, int dy) {
    // The mapping moves by whole skin pixels; what an event's motion holds
    // beyond them waits for the next event, so slow drags move as far as fast
    // ones. Motion the border cuts off is dropped.
    const auto take = [zoom = static_cast<double>(view.zoom())](double& rest, int d) {
        rest += d;
        const int whole = zoom > 0.0 ? static_cast<int>(std::trunc(rest / zoom)) : 0;
        rest -= whole * zoom;
        return whole;
    };
    const int mx = take(restX_, dx);
    const int my = take(restY_, dy);
    return shift(mesh, mx, my);
}

bool SelectionTransform::nudge(Mesh& mesh, int dx, int dy) {
    if (marked_ == 0) return false;
    return shift(mesh, dx, dy);
}

bool SelectionTransform::shift(Mesh& mesh, int dx, int dy) {
    const int mx = clampStep(dx, box_.minX, box_.maxX, skinWidth_);
    const int my = clampStep(dy, box_.minY, box_.maxY, skinHeight_);
    if (mx == 0 && my == 0) return false;
    box_.minX += mx;
    box_.maxX += mx;
    box_.minY += my;
    box_.maxY += my;
    const int count = std::clamp<int>(mesh.mappingVertCount, 0, static_cast<int>(mesh.mappingVerts.size()));
    for (int i = 0; i < count; ++i) {
        if (!(mesh.mappingSelection[static_cast<std::size_t>(i)] & kMarkSelected)) continue;
        MappingVert& m = mesh.mappingVerts[static_cast<std::size_t>(i)];
        m.s = static_cast<std::int16_t>(m.s + mx);
        m.t = static_cast<std::int16_t>(m.t + my);
    }
    return true;
}

void SelectionTransform::finish(Mesh& mesh) { finishMappingDrag(mesh); }

}  // namespace tarn
