#include "edit/skin_view.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "edit/mirror_mapping.h"
#include "image/skin.h"
#include "model/mesh.h"
#include "paint/paint_state.h"
#include "platform/refresh.h"
#include "render/iso_view_context.h"
#include "render/iso_view_line.h"
#include "render/texel_mirror.h"

namespace tarn {
namespace {

constexpr int kRowAlign = 4;
constexpr float kWheelZoomIn = 1.1f;
constexpr float kWheelZoomOut = 0.9090909f;
// Per pixel of vertical drag; the single-precision constant users are used to.
constexpr float kDragZoomOut = 0.99900097f;
constexpr float kDragZoomIn = 1.001f;
constexpr int kWheelNotch = 120;

// Positions far outside any view are kept finite and inside int range, so that a
// wild pan never makes a conversion undefined.
constexpr float kCoordLimit = 1.0e8f;

int toPixel(float v) { return static_cast<int>(std::clamp(v, -kCoordLimit, kCoordLimit)); }

// 16.16 texture coordinates of the skin quad: texel centres a quarter in from
// each edge, so that truncation never leaves the skin.
constexpr Fixed16 kTexInset = 0x4000;
constexpr Fixed16 kTexFarInset = 0xFFFE;

constexpr unsigned kDragButtons = kLeftButton | kRightButton;

}  // namespace

SkinView::SkinView(PaneContext context) : context_(std::move(context)) {}

Skin* SkinView::skin() const {
    Skin* s = context_.currentSkin ? context_.currentSkin() : nullptr;
    if (s == nullptr || s->width <= 0 || s->height <= 0 || s->pixels.size() < s->pixelCount()) return nullptr;
    return s;
}

void SkinView::resize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    clientWidth_ = width;
    const int rounded = (width + kRowAlign - 1) / kRowAlign * kRowAlign;
    if (rounded == viewWidth_ && height == viewHeight_) return;
    viewWidth_ = rounded;
    viewHeight_ = height;
    const auto n = static_cast<std::size_t>(viewWidth_) * static_cast<std::size_t>(viewHeight_);
    image_.assign(n, 0);
    sources_.columns.assign(static_cast<std::size_t>(viewWidth_), -1);
    sources_.rows.assign(static_cast<std::size_t>(viewHeight_), -1);
    sources_.exact.clear();
    sourceMapBuilt_ = false;
    redraw(kRedrawFull);
}

void SkinView::setZoom(float z) { zoom_ = std::clamp(z, kMinZoom, kMaxZoom); }

int SkinView::clientXOfSkin(float s) const { return toPixel(viewWidth_ / 2 + (s + 0.5f - panX_) * zoom_); }
int SkinView::clientYOfSkin(float t) const { return toPixel(viewHeight_ / 2 + (t + 0.5f - panY_) * zoom_); }
int SkinView::skinXAt(int x) const { return toPixel((x - viewWidth_ / 2) / zoom_ + panX_); }
int SkinView::skinYAt(int y) const { return toPixel((y - viewHeight_ / 2) / zoom_ + panY_); }

void SkinView::redraw(int kind) {
    if (viewWidth_ == 0 || viewHeight_ == 0) return;
    Skin* s = skin();
    if (s != nullptr) clampMapRect(*s);
    const std::uint8_t background = context_.paint.colorSlots[kSlotBackground];
    if (kind != kRedrawFromSkin) markDrawn(0, viewHeight_);
    switch (kind) {
    case kRedrawFull:
    case kRedrawQuick:
        if (s != nullptr) {
            drawSkinQuad(*s, kind == kRedrawFull);
        } else {
            std::fill(image_.begin(), image_.end(), background);
            if (kind == kRedrawFull) {
                std::fill(sources_.columns.begin(), sources_.columns.end(), -1);
                std::fill(sources_.rows.begin(), sources_.rows.end(), -1);
                sources_.exact.clear();
                sourceMapBuilt_ = false;
            }
        }
        shownSkin_ = s != nullptr ? s->pixels.bytes() : std::vector<std::uint8_t>{};
        break;
    case kRedrawBackground:
        for (std::size_t r = 0; r < sources_.rows.size(); ++r) {
            const auto width = static_cast<std::size_t>(viewWidth_);
            std::uint8_t* out = image_.data() + r * width;
            if (sources_.rows[r] == -1) {
                std::fill_n(out, width, background);
                continue;
            }
            for (std::size_t x = 0; x < width; ++x)
                if (sources_.at(r, x, width) < 0) out[x] = background;
        }
        break;
    case kRedrawFromSkin:
        if (s != nullptr) copyFromSkin(*s);
        break;
    default:
        return;
    }
    if (s != nullptr) drawOverlays(*s);
}

void SkinView::copyFromSkin(const Skin& s) {
    // The map may predate a change of skin size: never read past the pixels.
    const auto count = static_cast<std::int32_t>(std::min(s.pixelCount(), s.pixels.size()));
    int left = 0, right = viewWidth_ - 1, bottom = 0, top = viewHeight_ - 1;
    // Overlays may have moved since they were drawn; only a full copy erases
    // their old lines, so the narrow copy is for views without them.
    const bool overlays = context_.modes.mappingMode || context_.modes.mappingOverlayInPaint || rectangleMode;
    if (!overlays && shownSkin_.size() == s.pixels.size() && s.width > 0 && s.pixelCount() == s.pixels.size()) {
        // The texels that changed since the view last showed the skin...
        int firstRow = s.height, lastRow = -1, firstColumn = s.width, lastColumn = -1;
        const auto w = static_cast<std::size_t>(s.width);
        for (int r = 0; r < s.height; ++r) {
            const std::uint8_t* now = s.pixels.data() + static_cast<std::size_t>(r) * w;
            const std::uint8_t* was = shownSkin_.data() + static_cast<std::size_t>(r) * w;
            if (std::equal(now, now + w, was)) continue;
            firstRow = std::min(firstRow, r);
            lastRow = r;
            for (int c = 0; c < s.width; ++c)
                if (now[c] != was[c]) {
                    firstColumn = std::min(firstColumn, c);
                    lastColumn = std::max(lastColumn, c);
                }
        }
        if (lastRow < 0) return;
        // ...and the view pixels that can show them, with a margin for rounding.
        constexpr int kMargin = 2;
        const float hw = static_cast<float>(viewWidth_ / 2), hh = static_cast<float>(viewHeight_ / 2);
        left = std::max(0, toPixel(hw + (static_cast<float>(firstColumn) - panX_) * zoom_) - kMargin);
        right = std::min(viewWidth_ - 1, toPixel(hw + (static_cast<float>(lastColumn + 1) - panX_) * zoom_) + kMargin);
        bottom = std::max(0, toPixel(hh - (static_cast<float>(lastRow + 1) - panY_) * zoom_) - kMargin);
        top = std::min(viewHeight_ - 1, toPixel(hh - (static_cast<float>(firstRow) - panY_) * zoom_) + kMargin);
    }
    markDrawn(bottom, top + 1);
    const auto width = static_cast<std::size_t>(viewWidth_);
    for (int y = bottom; y <= top; ++y) {
        if (sources_.rows[static_cast<std::size_t>(y)] == -1) continue;
        std::uint8_t* out = image_.data() + static_cast<std::size_t>(y) * width;
        for (int x = left; x <= right; ++x) {
            const std::int32_t src = sources_.at(static_cast<std::size_t>(y), static_cast<std::size_t>(x), width);
            if (src >= 0 && src < count) out[x] = s.pixels[static_cast<std::size_t>(src)];
        }
    }
    shownSkin_ = s.pixels;
}

// Each view row is the background, a copy of the row below when that shows
// the same texel row the same way (a magnified skin repeats every row zoom
// times), or its span read as the fill reads it.
void SkinView::drawSkinQuad(const Skin& s, bool keep) {
    const auto width = static_cast<std::size_t>(viewWidth_);
    const std::uint8_t background = context_.paint.colorSlots[kSlotBackground];
    drawn_.columns.assign(width, -1);
    drawn_.rows.assign(static_cast<std::size_t>(viewHeight_), -1);
    drawn_.exact.clear();
    spans_.clear();
    rowOffsets_.resize(static_cast<std::size_t>(s.height));
    for (int r = 0; r < s.height; ++r) rowOffsets_[static_cast<std::size_t>(r)] = r * s.width;
    if (raster_.SetTexture(s.pixels, s.width, s.height, rowOffsets_) &&
        raster_.SetTarget(RasterTarget{image_.data(), nullptr, nullptr, nullptr, viewWidth_, viewHeight_})) {
        const int hw = viewWidth_ / 2;
        const int hh = viewHeight_ / 2;
        const int x0 = toPixel(hw + (0.0f - panX_) * zoom_);
        const int x1 = toPixel(hw + (static_cast<float>(s.width) - panX_) * zoom_);
        const int rowTop = toPixel(hh - (0.0f - panY_) * zoom_);
        const int rowBottom = toPixel(hh - (static_cast<float>(s.height) - panY_) * zoom_);
        const Fixed16 uMax = toFixed16(s.width - 1) + kTexFarInset;
        const Fixed16 vMax = toFixed16(s.height - 1) + kTexFarInset;
        const TexVertex2D a{x0, rowTop, kTexInset, kTexInset};
        raster_.TraceTexture2D({a, TexVertex2D{x1, rowTop, uMax, kTexInset}, TexVertex2D{x1, rowBottom, uMax, vMax},
                                TexVertex2D{x0, rowBottom, kTexInset, vMax}, a},
                               spans_);
    }
    // The first span's columns are every row's that spans the same way.
    const TextureSpan* common = spans_.empty() ? nullptr : &spans_.front();
    if (common != nullptr)
        for (std::int32_t i = 0; i < common->count; ++i)
            drawn_.columns[static_cast<std::size_t>(common->left + i)] =
                static_cast<std::int32_t>((common->u + static_cast<std::uint32_t>(i) * common->uStep) >> 16);
    const std::uint8_t* texels = s.pixels.data();
    std::size_t next = 0;  // the first row no span has reached
    for (const TextureSpan& span : spans_) {
        const auto r = static_cast<std::size_t>(span.row);
        std::fill(image_.begin() + std::ptrdiff_t(next * width), image_.begin() + std::ptrdiff_t(r * width), background);
        next = r + 1;
        std::uint8_t* out = image_.data() + r * width;
        const std::uint32_t lastV = span.v + static_cast<std::uint32_t>(span.count - 1) * span.vStep;
        const bool same = span.left == common->left && span.count == common->count && span.u == common->u &&
                          span.uStep == common->uStep && (span.v >> 16) == (lastV >> 16);
        if (same) {
            const std::int32_t texelRow = rowOffsets_[span.v >> 16];
            drawn_.rows[r] = texelRow;
            if (r > 0 && drawn_.rows[r - 1] == texelRow) {
                std::memcpy(out, out - width, width);
                continue;
            }
            std::fill_n(out, span.left, background);
            for (std::int32_t x = span.left; x < span.left + span.count; ++x)
                out[x] = texels[texelRow + drawn_.columns[static_cast<std::size_t>(x)]];
            std::fill(out + span.left + span.count, out + width, background);
            continue;
        }
        std::fill_n(out, width, background);
        const std::size_t k = drawn_.exact.size() / width;
        drawn_.rows[r] = -2 - static_cast<std::int32_t>(k);
        drawn_.exact.resize((k + 1) * width, -1);
        std::int32_t* exact = drawn_.exact.data() + k * width;
        std::uint32_t u = span.u, v = span.v;
        for (std::int32_t x = span.left; x < span.left + span.count; ++x, u += span.uStep, v += span.vStep) {
            const std::int32_t at = rowOffsets_[v >> 16] + static_cast<std::int32_t>(u >> 16);
            exact[x] = at;
            out[x] = texels[at];
        }
    }
    std::fill(image_.begin() + std::ptrdiff_t(next * width), image_.end(), background);
    if (!keep) return;
    std::swap(sources_, drawn_);
    sourceMapBuilt_ = false;
}

void SkinView::drawLine(int x0, int y0, int x1, int y1, std::uint8_t color) {
    raster_.Line(Segment2D{x0, y0, x1, y1}, color);
    // Lines keep their own colours under the tint.
    if (!tint_.empty()) tintRaster_.Line(Segment2D{x0, y0, x1, y1}, 0);
}

void SkinView::drawOverlays(const Skin& s) {
    raster_.SetTarget(RasterTarget{image_.data(), nullptr, nullptr, nullptr, viewWidth_, viewHeight_});
    const bool mapping = context_.modes.mappingMode || context_.modes.mappingOverlayInPaint;
    drawSelectionTint(mapping);
    if (mapping) drawMappingEdges();
    if (rectangleMode) drawMapRect();
    drawMirrorLine(s);
}

void SkinView::drawMirrorLine(const Skin& s) {
    const SymmetrySetting* symmetry = context_.symmetry;
    if (!context_.modes.mirror || symmetry == nullptr || !symmetry->skinLine) return;
    markDrawn(0, viewHeight_);
    const SkinMirrorLine& line = *symmetry->skinLine;
    const int hw = viewWidth_ / 2;
    const int hh = viewHeight_ / 2;
    const std::uint8_t color = context_.paint.colorSlots[kSlotSelected];
    if (line.vertical) {
        const int x = toPixel(hw + (float(line.position) - panX_) * zoom_);
        drawLine(x, toPixel(hh - (0.0f - panY_) * zoom_), x, toPixel(hh - (float(s.height) - panY_) * zoom_), color);
    } else {
        const int y = toPixel(hh - (float(line.position) - panY_) * zoom_);
        drawLine(toPixel(hw + (0.0f - panX_) * zoom_), y, toPixel(hw + (float(s.width) - panX_) * zoom_), y, color);
    }
}

bool SkinView::viewCorners(const Triangle& tri, std::array<int, 3>& cx, std::array<int, 3>& cy) const {
    const Mesh& mesh = context_.mesh;
    const int verts = std::clamp<int>(mesh.mappingVertCount, 0, static_cast<int>(mesh.mappingVerts.size()));
    const int hw = viewWidth_ / 2;
    const int hh = viewHeight_ / 2;
    for (std::size_t k = 0; k < 3; ++k) {
        const int m = tri.mapping[k];
        if (m < 0 || m >= verts) return false;
        const MappingVert& mv = mesh.mappingVerts[static_cast<std::size_t>(m)];
        cx[k] = toPixel(hw + (mv.s + 0.5f - panX_) * zoom_);
        cy[k] = toPixel(hh - (mv.t + 0.5f - panY_) * zoom_);
    }
    return true;
}

void SkinView::drawSelectionTint(bool shown) {
    const Mesh& mesh = context_.mesh;
    const int triangles = std::clamp<int>(mesh.triangleCount, 0, static_cast<int>(mesh.triangles.size()));
    const auto tinted = [](const Triangle& t) { return (t.flags & (kTriSelected | kTriHidden)) == kTriSelected; };
    if (!shown || std::none_of(mesh.triangles.begin(), mesh.triangles.begin() + triangles, tinted)) {
        tint_.clear();
        return;
    }
    tint_.assign(image_.size(), 0);
    tintRaster_.SetTarget(RasterTarget{tint_.data(), nullptr, nullptr, nullptr, viewWidth_, viewHeight_});
    for (int i = 0; i < triangles; ++i) {
        const Triangle& tri = mesh.triangles[static_cast<std::size_t>(i)];
        std::array<int, 3> cx{}, cy{};
        if (!tinted(tri) || !viewCorners(tri, cx, cy)) continue;
        tintRaster_.FillSolid2D({{{cx[0], cy[0]}, {cx[1], cy[1]}, {cx[2], cy[2]}, {cx[0], cy[0]}}}, 1);
    }
}

void SkinView::drawMappingEdges() {
    const Mesh& mesh = context_.mesh;
    const int triangles = std::clamp<int>(mesh.triangleCount, 0, static_cast<int>(mesh.triangles.size()));
    // Plain triangles first, then selected, then dragged ones on top.
    struct Pass {
        bool (*match)(std::uint32_t);
        int slot;
    };
    const Pass passes[] = {
        {[](std::uint32_t f) { return f == 0; }, kSlotEdge},
        {[](std::uint32_t f) { return f == kTriSelected; }, kSlotSelected},
        {[](std::uint32_t f) { return (f & kTriDragMark) != 0; }, kSlotDragged},
    };
    for (const Pass& pass : passes) {
        const std::uint8_t color = context_.paint.colorSlots[pass.slot];
        for (int i = 0; i < triangles; ++i) {
            const Triangle& tri = mesh.triangles[static_cast<std::size_t>(i)];
            std::array<int, 3> cx{}, cy{};
            if (!pass.match(tri.flags) || !viewCorners(tri, cx, cy)) continue;
            for (std::size_t k = 0; k < 3; ++k) drawLine(cx[k], cy[k], cx[(k + 1) % 3], cy[(k + 1) % 3], color);
        }
    }
}

void SkinView::drawMapRect() {
    const int hw = viewWidth_ / 2;
    const int hh = viewHeight_ / 2;
    const int l = toPixel(hw + (mapRect.left - panX_) * zoom_);
    const int r = toPixel(hw + (mapRect.right - panX_) * zoom_);
    const int t = toPixel(hh - (mapRect.top - panY_) * zoom_);
    const int b = toPixel(hh - (mapRect.bottom - panY_) * zoom_);
    const std::uint8_t color = context_.paint.colorSlots[kSlotEdge];
    drawLine(l, t, r, t, color);
    drawLine(r, t, r, b, color);
    drawLine(r, b, l, b, color);
    drawLine(l, b, l, t, color);
}

void SkinView::clampMapRect(const Skin& s) { mapRect.clampTo(s.width, s.height); }

// ---- mouse ----

void SkinView::mousePress(const MouseEvent& e, PointerControl& pointer) {
    if (drag_ != Drag::Idle) return;
    if (e.button != kLeftButton && e.button != kRightButton) return;
    ctrl_ = e.ctrl;
    shift_ = e.shift;
    const PaneModes& modes = context_.modes;
    if (modes.cameraOverride) {
        drag_ = Drag::Camera;
        warp_.start(e.x, e.y);
        pointer.hideCursor();
        pointer.capture();
        return;
    }
    SkinViewTool* tool = nullptr;
    // Rectangle mode takes the left button, but for Ctrl alone: in Mapping
    // Mode that still takes Triangles out of the selection.
    const bool deselecting = modes.mappingMode && e.ctrl && !e.shift;
    if (rectangleMode && e.button == kLeftButton && !deselecting) {
        tool = rectangleTool_;
    } else if (!modes.mappingMode) {
        if (selectTool_ != nullptr && e.button == kLeftButton && !e.alt && selectTool_->press(e)) {
            tool = selectTool_;
        } else if (e.button == kLeftButton && !e.alt) {
            startPainting(e, pointer);
            return;
        } else {
            drag_ = Drag::ColorPick;
            pointer.capture();
            pickColor(e.x, e.y);
            return;
        }
    } else {
        tool = mappingTool_;
    }
    if (tool == nullptr) return;
    tool->usePointer(pointer);
    if (tool == selectTool_ || tool->press(e)) {
        activeTool_ = tool;
        drag_ = Drag::Tool;
        pointer.capture();
    }
}

void SkinView::mouseMove(const MouseEvent& e, PointerControl& pointer) {
    switch (drag_) {
    case Drag::Camera:
        cameraStep(e, pointer);
        return;
    case Drag::Painting: {
        int x = e.x, y = e.y;
        // Shift keeps a rectangle square and an ellipse round.
        if (e.shift && (context_.modes.brush == Brush::Rectangle || context_.modes.brush == Brush::Ellipse))
            squareFromPress(x, y);
        stroke_.moveTo(skin(), x, y, context_.refresh,
                       [this](const BrushSegment& seg) { return paintSegment(seg.ax, seg.ay, seg.bx, seg.by); });
        break;
    }
    case Drag::ColorPick:
        pickColor(e.x, e.y);
        break;
    case Drag::Tool:
        if (activeTool_ != nullptr) {
            activeTool_->usePointer(pointer);
            activeTool_->move(e);
        }
        break;
    default:
        break;
    }
}

void SkinView::mouseRelease(const MouseEvent& e, PointerControl& pointer) {
    const unsigned held = e.buttons & kDragButtons;
    if (drag_ == Drag::Idle) return;
    if (drag_ == Drag::Camera) {
        // The drag goes on while the other button is still down.
        if (held != 0) return;
        endCamera(pointer);
        endDrag(pointer, false, held);
        return;
    }
    finishDragWork(&e);
    endDrag(pointer, true, held);
}

void SkinView::endCamera(PointerControl& pointer) {
    warp_.finish(pointer);
    pointer.showCursor();
    context_.refresh.refresh(kRedrawFull, kPanesSkin32);
}

void SkinView::finishDragWork(const MouseEvent* release) {
    switch (drag_) {
    case Drag::Painting:
        stroke_.end();
        break;
    case Drag::ColorPick:
        finishColorPick(context_.refresh);
        break;
    case Drag::Tool:
        if (activeTool_ != nullptr) {
            if (release != nullptr)
                activeTool_->release(*release);
            else
                activeTool_->cancel();
        }
        activeTool_ = nullptr;
        break;
    default:
        break;
    }
}

void SkinView::endDrag(PointerControl& pointer, bool waitForButtons, unsigned buttonsHeld) {
    if (waitForButtons && buttonsHeld != 0) {
        drag_ = Drag::ReleasePendingQuiet;
        return;
    }
    pointer.releaseCapture();
    resetDrag();
}

void SkinView::resetDrag() {
    drag_ = Drag::Idle;
    ctrl_ = shift_ = false;
}

void SkinView::captureLost(PointerControl& pointer) {
    if (drag_ == Drag::Camera)
        endCamera(pointer);
    else
        finishDragWork(nullptr);
    resetDrag();
}

void SkinView::cameraStep(const MouseEvent& e, PointerControl& pointer) {
    if (warp_.atAnchor(e.x, e.y)) return;
    int dx = 0, dy = 0;
    warp_.step(e.x, e.y, pointer, dx, dy);
    if ((e.buttons & kRightButton) != 0) {
        float z = zoom_;
        const float f = dy > 0 ? kDragZoomOut : kDragZoomIn;
        for (int i = 0, n = std::abs(dy); i < n; ++i) z *= f;
        setZoom(z);
    } else {
        panX_ -= dx / zoom_;
        panY_ -= dy / zoom_;
    }
    context_.refresh.refresh(kRedrawQuick, kPanesSkin32);
}

void SkinView::fit() {
    // A thin border of background shows where the skin ends.
    constexpr float kFitMargin = 0.96f;
    const Skin* s = skin();
    if (s != nullptr && s->width > 0 && s->height > 0 && clientWidth_ > 0 && viewHeight_ > 0) {
        setZoom(kFitMargin * std::min(float(clientWidth_) / float(s->width), float(viewHeight_) / float(s->height)));
        setPan(float(s->width) * 0.5f, float(s->height) * 0.5f);
    }
    redraw(kRedrawFull);
}

void SkinView::wheel(int delta, int x, int y) {
    const int n = delta / kWheelNotch;
    float z = zoom_;
    for (int i = 0; i < n; ++i) z *= kWheelZoomIn;
    for (int i = 0; i < -n; ++i) z *= kWheelZoomOut;
    // The skin point under the centre of pixel (x, y) before and after is
    // the same: pan + offset / zoom.
    const float ox = float(x) + 0.5f - float(viewWidth_ / 2);
    const float oy = float(y) + 0.5f - float(viewHeight_ / 2);
    const float sx = panX_ + ox / zoom_;
    const float sy = panY_ + oy / zoom_;
    setZoom(z);
    setPan(sx - ox / zoom_, sy - oy / zoom_);
    redraw(kRedrawFull);
}

}  // namespace tarn
