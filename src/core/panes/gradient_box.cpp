#include "panes/gradient_box.h"

#include <algorithm>

#include "paint/paint_state.h"
#include "panes/shell_layout.h"
#include "platform/refresh.h"
#include "render/iso_view_context.h"

namespace tarn {
namespace {

constexpr Rgb kPressedGlyph{32, 32, 224};
constexpr unsigned kDragButtons = kLeftButton | kRightButton;

enum Glyph { kGlyphBoth, kGlyphLeft, kGlyphRight };

}  // namespace

GradientBox::GradientBox(PaintState& paint, RefreshSink& refresh, ShellLayout& layout, ShellControl& shell,
                         std::function<int()> renderMode)
    : paint_(paint), refresh_(refresh), layout_(layout), shell_(shell), renderMode_(std::move(renderMode)) {}

void GradientBox::resize(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    image_.resize(width_, height_);
    redraw();
}

void GradientBox::redraw() {
    if (width_ == 0 || height_ == 0) return;
    image_.fill(0, 0, width_ - 1, height_ - 1, colors_.face);
    // The well, from its bottom row up: the fill height is the strength, its
    // shading the light response of the gamma.
    const int wellBottom = height_ - kHandleFromBottom - 1;
    const int rows = height_ - kHandleFromBottom - kWellTop;
    const int filled = static_cast<int>(rows * paint_.paintStrength);
    for (int d = 0; d < rows; ++d) {
        Rgb c{};
        if (d < filled) {
            const std::uint8_t grey = paint_.lightTable[static_cast<std::size_t>(d * 255 / filled)];
            c = {grey, grey, grey};
        }
        image_.fill(kWellSide, wellBottom - d, width_ - 1 - kWellSide, wellBottom - d, c);
    }
    const int handleTop = height_ - kHandleFromBottom;
    const int presetTop = height_ - kPresetRows;
    drawButton(0, handleTop, width_ - 1, presetTop - 1, handlePressed(), kGlyphBoth);
    const int half = width_ / 2;
    drawButton(0, presetTop, half - 1, height_ - 1, preset_ == 0, kGlyphLeft);
    drawButton(half, presetTop, width_ - 1, height_ - 1, preset_ == 1, kGlyphRight);
}

void GradientBox::drawButton(int left, int top, int right, int bottom, bool pressed, int glyph) {
    if (right < left || bottom < top) return;
    image_.fill(left, top, right, bottom, colors_.face);
    const Rgb lit = pressed ? colors_.shadow : colors_.highlight;
    const Rgb dark = pressed ? colors_.highlight : colors_.shadow;
    image_.fill(left, top, right, top, lit);
    image_.fill(left, top, left, bottom, lit);
    image_.fill(left, bottom, right, bottom, dark);
    image_.fill(right, top, right, bottom, dark);
    // A small arrow head (or two) in the middle of the face.
    const Rgb ink = pressed ? kPressedGlyph : colors_.text;
    const int cx = (left + right) / 2 + (pressed ? 1 : 0);
    const int cy = (top + bottom) / 2 + (pressed ? 1 : 0);
    constexpr int kArm = 3;
    for (int i = 0; i <= kArm; ++i) {
        if (glyph == kGlyphLeft || glyph == kGlyphBoth) {
            const int x = (glyph == kGlyphBoth ? cx - 1 : cx - kArm / 2) - kArm + i;
            image_.fill(x, cy - i, x, cy + i, ink);
        }
        if (glyph == kGlyphRight || glyph == kGlyphBoth) {
            const int x = (glyph == kGlyphBoth ? cx + 1 : cx + kArm / 2) + kArm - i;
            image_.fill(x, cy - i, x, cy + i, ink);
        }
    }
}

double GradientBox::levelAt(int y) const {
    const int span = height_ - kHandleFromBottom;
    if (span <= 0) return 0.0;
    return 1.0 - std::clamp(static_cast<double>(y) / span, 0.0, 1.0);
}

void GradientBox::applyStrength(int y) {
    paint_.paintStrength = levelAt(y);
    redraw();
}

bool GradientBox::modeUsesGamma() const {
    const int mode = renderMode_ ? renderMode_() : -1;
    return mode == 2 || mode == 3 || mode == 4 || mode == 7 || mode == 8;
}

void GradientBox::applyGamma(int y) {
    const double level = levelAt(y);
    paint_.shadeGamma = kMaxGamma * level * level;
    // The well shows the new curve straight away, whatever the sink does.
    paint_.updateLightTable();
    refresh_.rebuildLightTable();
    refresh_.rebuildShadeRamps();
    redraw();
}

void GradientBox::mousePress(const MouseEvent& e, PointerControl& pointer) {
    if (captured_ || part_ != Part::None) return;
    if (e.button != kLeftButton && e.button != kRightButton) return;
    const bool left = e.button == kLeftButton;
    pressX_ = e.x;
    pressY_ = e.y;
    if (e.y < height_ - kHandleFromBottom) {
        captured_ = true;
        pointer.capture();
        pointer.hideCursor();
        if (left) {
            part_ = Part::StrengthDrag;
            applyStrength(e.y);
        } else {
            part_ = Part::GammaDrag;
            applyGamma(e.y);
            if (modeUsesGamma()) refresh_.refresh(kRedrawQuick, kPanesIso16);
        }
        return;
    }
    if (e.y < height_ - kPresetRows) {
        if (left) {
            part_ = Part::HandleLeft;
            redraw();
            shell_.startSplitterDrag();
        } else {
            part_ = Part::HandleRight;
            captured_ = true;
            pointer.capture();
            redraw();
        }
        return;
    }
    preset_ = e.x < width_ / 2 ? 0 : 1;
    part_ = left ? Part::PresetLeft : Part::PresetRight;
    captured_ = true;
    pointer.capture();
    redraw();
}

void GradientBox::mouseMove(const MouseEvent& e, PointerControl&) {
    if (part_ == Part::StrengthDrag) {
        applyStrength(e.y);
    } else if (part_ == Part::GammaDrag) {
        applyGamma(e.y);
        if (modeUsesGamma()) refresh_.refresh(kRedrawQuick, kPanesIso16);
    }
}

void GradientBox::restorePointer(PointerControl& pointer) {
    pointer.warpTo(pressX_, pressY_);
    pointer.showCursor();
}

void GradientBox::mouseRelease(const MouseEvent& e, PointerControl& pointer) {
    if (!captured_) return;
    switch (part_) {
    case Part::StrengthDrag:
        applyStrength(e.y);
        refresh_.rebuildPaintRemap();
        restorePointer(pointer);
        break;
    case Part::GammaDrag:
        applyGamma(e.y);
        if (modeUsesGamma()) refresh_.refresh(kRedrawFull, kPanesIso);
        restorePointer(pointer);
        break;
    case Part::HandleRight:
        part_ = Part::None;
        redraw();
        shell_.swapDisplays();
        break;
    case Part::PresetLeft:
        layout_.setSplitterFraction(presets[static_cast<std::size_t>(preset_)]);
        shell_.relayout();
        break;
    case Part::PresetRight:
        presets[static_cast<std::size_t>(preset_)] = layout_.splitterFraction();
        break;
    default:
        break;
    }
    preset_ = -1;
    finish(e, pointer);
}

void GradientBox::finish(const MouseEvent& e, PointerControl& pointer) {
    if ((e.buttons & kDragButtons) != 0) {
        part_ = Part::ReleasePending;
    } else {
        part_ = Part::None;
        captured_ = false;
        pointer.releaseCapture();
    }
    redraw();
}

void GradientBox::captureLost(PointerControl& pointer) {
    if (!captured_) return;
    if (part_ == Part::StrengthDrag) {
        refresh_.rebuildPaintRemap();
        pointer.showCursor();
    } else if (part_ == Part::GammaDrag) {
        if (modeUsesGamma()) refresh_.refresh(kRedrawFull, kPanesIso);
        pointer.showCursor();
    }
    part_ = Part::None;
    preset_ = -1;
    captured_ = false;
    redraw();
}

void GradientBox::endSplitterLook() {
    if (part_ != Part::HandleLeft) return;
    part_ = Part::None;
    redraw();
}

}  // namespace tarn
