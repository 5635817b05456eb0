#include "render/iso_view_stroke.h"

#include <algorithm>
#include <cstdlib>

#include "image/skin.h"
#include "paint/paint_state.h"
#include "platform/refresh.h"

namespace tarn {

const char* strokeStepName(Brush brush) {
    switch (brush) {
    case Brush::Point: return "Point stroke";
    case Brush::Pencil: return "Pencil stroke";
    case Brush::Line: return "Line stroke";
    case Brush::Fill: return "Fill";
    case Brush::Rectangle: return "Rectangle";
    case Brush::Ellipse: return "Ellipse";
    }
    return "Stroke";
}

BrushSegment BrushStroke::begin(Skin& skin, Brush brush, int x, int y, History* history, TexelMirror mirror) {
    brush_ = brush;
    mirror_ = std::move(mirror);
    skin_ = &skin;
    edit_.reset();
    if (history != nullptr) edit_.emplace(history, skin);
    mask_.emplace(skin.pixelCount());
    copy_.clear();
    if (drawnFromPress(brush)) copy_ = skin.pixels;
    filled_ = false;
    lastStamp_.reset();
    pressX_ = lastX_ = x;
    pressY_ = lastY_ = y;
    restored_ = false;
    return {x, y, x, y};
}

BrushSegment BrushStroke::move(Skin& skin, int x, int y) {
    restored_ = false;
    switch (brush_) {
    case Brush::Point:
    case Brush::Fill:
        return {x, y, x, y};
    case Brush::Pencil:
        return {lastX_, lastY_, x, y};
    case Brush::Line:
    case Brush::Rectangle:
    case Brush::Ellipse:
        // A skin resized under the stroke cannot take the old copy back.
        if (copy_.size() == skin.pixels.size()) {
            std::copy(copy_.begin(), copy_.end(), skin.pixels.begin());
            restored_ = true;
        }
        // What the last shape painted is back as it was: it may be painted again.
        mask_.emplace(skin.pixelCount());
        lastStamp_.reset();
        return {pressX_, pressY_, x, y};
    }
    return {x, y, x, y};
}

void BrushStroke::moved(const Skin&, int x, int y) {
    lastX_ = x;
    lastY_ = y;
}

void BrushStroke::end() {
    skin_ = nullptr;
    if (edit_) edit_->commit(strokeStepName(brush_));
    edit_.reset();
    mask_.reset();
    mirror_ = {};
    copy_.clear();
    copy_.shrink_to_fit();
    restored_ = false;
}

void BrushStroke::paintTexel(Skin* skin, std::int32_t texel, const PaintState& paint) {
    if (skin == nullptr || skin != skin_ || !active() || texel < 0 || static_cast<std::size_t>(texel) >= skin->pixelCount()) return;
    inkPixel(skin->pixels, skin->width, static_cast<std::size_t>(texel), *mask_, paint);
    if (!mirror_) return;
    const std::int32_t image = mirror_(texel);
    if (image < 0 || static_cast<std::size_t>(image) >= skin->pixelCount()) return;
    inkPixel(skin->pixels, skin->width, static_cast<std::size_t>(image), *mask_, paint);
    // Where the other side has more texels to the same area, single mirrored
    // texels would leave gaps: a texel beside the mirror whose own mirror was
    // painted in this stroke is painted too.
    const int x = image % skin->width, y = image / skin->width;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            if ((dx == 0 && dy == 0) || x + dx < 0 || x + dx >= skin->width || y + dy < 0 || y + dy >= skin->height)
                continue;
            const std::int32_t beside = image + dy * skin->width + dx;
            if (mask_->isPainted(std::size_t(beside))) continue;
            const std::int32_t back = mirror_(beside);
            if (back >= 0 && static_cast<std::size_t>(back) < mask_->size() && mask_->isPainted(std::size_t(back)))
                inkPixel(skin->pixels, skin->width, static_cast<std::size_t>(beside), *mask_, paint);
        }
}

void BrushStroke::stampTexel(Skin* skin, std::int32_t texel, const PaintState& paint) {
    if (skin == nullptr || texel < 0 || skin->width <= 0 || static_cast<std::size_t>(texel) >= skin->pixelCount()) return;
    const BrushTip tip = paint.pressedTip();
    if (tip.size != footprintSize_ || tip.shape != footprintShape_) {
        footprint_ = tip.footprint();
        footprintSize_ = tip.size;
        footprintShape_ = tip.shape;
        // For a stamp one texel on from the last, only the texels the last
        // one did not cover: a step then costs the tip's edge, not its area.
        for (int sy = -1; sy <= 1; ++sy)
            for (int sx = -1; sx <= 1; ++sx) {
                auto& edge = leadingEdge_[std::size_t((sy + 1) * 3 + sx + 1)];
                edge.clear();
                for (const auto& [dx, dy] : footprint_)
                    if (std::find(footprint_.begin(), footprint_.end(), std::pair{dx + sx, dy + sy}) == footprint_.end())
                        edge.emplace_back(dx, dy);
            }
        lastStamp_.reset();
    }
    const int x = texel % skin->width, y = texel / skin->width;
    const std::vector<std::pair<int, int>>* offsets = &footprint_;
    if (lastStamp_) {
        const int sx = x - lastStamp_->first, sy = y - lastStamp_->second;
        if (sx == 0 && sy == 0) return;
        if (std::abs(sx) <= 1 && std::abs(sy) <= 1) offsets = &leadingEdge_[std::size_t((sy + 1) * 3 + sx + 1)];
    }
    lastStamp_ = {x, y};
    for (const auto& [dx, dy] : *offsets) {
        if (x + dx < 0 || x + dx >= skin->width || y + dy < 0 || y + dy >= skin->height) continue;
        paintTexel(skin, texel + dy * skin->width + dx, paint);
    }
}

void pickTexelColor(PaneContext& context, const Skin* skin, std::int32_t texel) {
    if (skin == nullptr || texel < 0 || static_cast<std::size_t>(texel) >= skin->pixelCount()) return;
    const std::uint8_t index = skin->pixels[static_cast<std::size_t>(texel)];
    PaintState& paint = context.paint;
    if (paint.colorSlots[paint.activeSlot] == index) return;
    paint.colorSlots[paint.activeSlot] = index;
    context.refresh.refresh(kRedrawFull, kPanesPalette16);
}

void finishColorPick(RefreshSink& refresh) {
    refresh.refresh(kRedrawFull, kPanesSkinIso);
    refresh.rebuildPaintRemap();
}

}  // namespace tarn
