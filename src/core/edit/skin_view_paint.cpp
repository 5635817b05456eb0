// The skin pane's painting: where a stroke starts, and what each segment of
// it paints for the brush, the tip and the ink chosen.
#include <algorithm>
#include <cstdlib>

#include "edit/mirror_mapping.h"
#include "edit/skin_view.h"
#include "image/skin.h"
#include "paint/fill_region.h"
#include "paint/paint_state.h"
#include "paint/shape_on_skin.h"
#include "platform/refresh.h"
#include "render/iso_view_line.h"
#include "render/texel_mirror.h"

namespace tarn {

void SkinView::squareFromPress(int& x, int& y) const {
    const int dx = x - stroke_.pressX(), dy = y - stroke_.pressY();
    const int side = std::max(std::abs(dx), std::abs(dy));
    x = stroke_.pressX() + (dx < 0 ? -side : side);
    y = stroke_.pressY() + (dy < 0 ? -side : side);
}

void SkinView::startPainting(const MouseEvent& e, PointerControl& pointer) {
    Skin* s = skin();
    if (s == nullptr) return;
    SymmetrySetting* symmetry = context_.modes.mirror ? context_.symmetry : nullptr;
    if (symmetry != nullptr && e.ctrl) {
        // Ctrl+click sets the mirror line through the texel's centre: a
        // vertical line, or a horizontal one with Shift too.
        const std::int32_t texel = sourceAt(e.x, e.y);
        if (texel < 0 || s->width <= 0) return;
        symmetry->skinLine = e.shift ? SkinMirrorLine{false, texel / s->width + 0.5}
                                     : SkinMirrorLine{true, texel % s->width + 0.5};
        context_.refresh.refresh(kRedrawFull, kPaneSkinView);
        return;
    }
    TexelMirror mirror;
    if (symmetry != nullptr) {
        SkinMirrorLine line{true, s->width * 0.5};
        if (symmetry->skinLine) line = *symmetry->skinLine;
        else if (symmetry->frame >= 0) line = skinMirrorLine(context_.mesh, mirrorOf(context_.mesh, *symmetry));
        mirror = lineTexelMirror(line, s->width, s->height);
    }
    drag_ = Drag::Painting;
    pointer.capture();
    context_.paint.shadeDarker = e.ctrl;
    const BrushSegment seg = stroke_.begin(*s, context_.modes.brush, e.x, e.y, context_.history, std::move(mirror));
    paintSegment(seg.ax, seg.ay, seg.bx, seg.by);
}

bool SkinView::paintSegment(int ax, int ay, int bx, int by) {
    if (context_.modes.brush == Brush::Rectangle || context_.modes.brush == Brush::Ellipse) {
        Skin* s = skin();
        if (s == nullptr || s->width <= 0) return false;
        const auto texelX = [&](int x) { return std::clamp(skinXAt(x), 0, s->width - 1); };
        const auto texelY = [&](int y) { return std::clamp(skinYAt(y), 0, s->height - 1); };
        const ShapeOnSkin shape{texelX(ax), texelY(ay), texelX(bx), texelY(by),
                                context_.modes.brush == Brush::Ellipse, context_.modes.filledShapes};
        // An outline is stamped with the tip; a filled shape takes its texels as they are.
        shape.visit([&](int x, int y, bool edge) {
            const std::int32_t texel = y * s->width + x;
            if (edge && !shape.filled) stroke_.stampTexel(s, texel, context_.paint);
            else stroke_.paintTexel(s, texel, context_.paint);
        });
        context_.refresh.refresh(kRedrawFromSkin, kPanesSkinIso16);
        return true;
    }
    if (context_.modes.brush == Brush::Fill) {
        Skin* s = skin();
        if (s == nullptr || !stroke_.takeFill()) return false;
        for (const std::int32_t texel : fillRegion(*s, sourceAt(ax, ay), shift_)) stroke_.paintTexel(s, texel, context_.paint);
        context_.refresh.refresh(kRedrawFromSkin, kPanesSkinIso16);
        return true;
    }
    // A run crosses each texel over several view pixels: each texel stamps once.
    std::int32_t last = -1;
    return paintBrushRun(raster_, ax, ay, bx, by, clientWidth_, viewHeight_, context_.refresh, [&](int x, int y) {
        const std::int32_t texel = sourceAt(x, y);
        if (texel == last) return;
        last = texel;
        stroke_.stampTexel(skin(), texel, context_.paint);
    });
}

void SkinView::pickColor(int x, int y) { pickTexelColor(context_, skin(), sourceAt(x, y)); }

}  // namespace tarn
