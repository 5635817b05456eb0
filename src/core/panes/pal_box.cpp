#include "panes/pal_box.h"

#include <algorithm>

#include "paint/paint_state.h"
#include "platform/refresh.h"
#include "render/iso_view_context.h"

namespace tarn {
namespace {

constexpr int kWheelNotch = 120;
constexpr int kWheelColorStep = 16;
constexpr int kProtectLift = 64;  // protected colours show a lighter checker
constexpr int kMarkLift = 128;    // slot colours are framed in their inverse-ish colour
constexpr int kCheckerBit = 2;    // 2 x 2 checker blocks

bool isRampSlot(int slot) { return slot >= kSlotEdge && slot <= kSlotDragged; }

std::uint8_t lift(std::uint8_t v, int by) { return static_cast<std::uint8_t>((v + by) & 0xFF); }

}  // namespace

PalBox::PalBox(PaintState& paint, RefreshSink& refresh, std::function<const Palette*()> palette)
    : paint_(paint), refresh_(refresh), palette_(std::move(palette)) {}

void PalBox::resize(int width, int) {
    width_ = std::max(width, 0);
    image_.resize(width_, kHeight);
    const int paletteWidth = width_ - kSlotAreaWidth;
    columnTable_.assign(static_cast<std::size_t>(std::max(paletteWidth, 0)), 0);
    for (int c = 0; c < paletteWidth; ++c)
        columnTable_[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(c * kBandColors / paletteWidth);
    redraw();
}

Rgb PalBox::colorOf(int index) const {
    const Palette* p = palette_ ? palette_() : nullptr;
    if (p == nullptr) {
        const auto grey = static_cast<std::uint8_t>(index);
        return {grey, grey, grey};
    }
    const auto i = static_cast<std::size_t>(index) * 3;
    return {(*p)[i], (*p)[i + 1], (*p)[i + 2]};
}

int PalBox::slotAt(int x, int y) {
    if (x < 0 || y < 0 || x >= kSlotAreaWidth || y >= kHeight) return -1;
    return (y / kCellSize) * kSlotsPerRow + x / kCellSize;
}

int PalBox::indexAt(int x, int y) const {
    if (x < kSlotAreaWidth || x >= width_ || y < 0 || y >= kHeight) return -1;
    return (y / kBandRows) * kBandColors + columnTable_[static_cast<std::size_t>(x - kSlotAreaWidth)];
}

int PalBox::clampedIndexAt(int x, int y) const {
    if (width_ <= kSlotAreaWidth) return -1;
    return indexAt(std::clamp(x, kSlotAreaWidth, width_ - 1), std::clamp(y, 0, kHeight - 1));
}

void PalBox::redraw() {
    if (width_ == 0) return;
    drawSlots();
    drawPalette();
}

void PalBox::drawSlots() {
    constexpr int kRing = 1;
    for (int slot = 0; slot < 8; ++slot) {
        const int left = (slot % kSlotsPerRow) * kCellSize;
        const int top = (slot / kSlotsPerRow) * kCellSize;
        const Rgb color = colorOf(paint_.colorSlots[slot]);
        const Rgb inner = slot == paint_.activeSlot ? Rgb{255, 255, 255} : color;
        for (int y = 0; y < kCellSize; ++y) {
            for (int x = 0; x < kCellSize; ++x) {
                const int ring = std::min(std::min(x, y), std::min(kCellSize - 1 - x, kCellSize - 1 - y));
                image_.put(left + x, top + y, ring < kRing ? Rgb{} : ring < 2 * kRing ? inner : color);
            }
        }
    }
}

void PalBox::drawPalette() {
    for (int y = 0; y < kHeight; ++y) {
        for (int x = kSlotAreaWidth; x < width_; ++x) {
            const int index = indexAt(x, y);
            Rgb c = colorOf(index);
            if (paint_.protectedColors[static_cast<std::size_t>(index)] && (((x - kSlotAreaWidth) ^ y) & kCheckerBit) == 0)
                c = {lift(c.r, kProtectLift), lift(c.g, kProtectLift), lift(c.b, kProtectLift)};
            image_.put(x, y, c);
        }
    }
    // Frame each slot's colour where it sits in the palette.
    const int paletteWidth = width_ - kSlotAreaWidth;
    for (int slot = 0; slot < 8; ++slot) {
        const int index = paint_.colorSlots[slot];
        const int column = index % kBandColors;
        const int top = (index / kBandColors) * kBandRows;
        int first = -1, last = -1;
        for (int c = 0; c < paletteWidth; ++c) {
            if (columnTable_[static_cast<std::size_t>(c)] != column) continue;
            if (first < 0) first = c;
            last = c;
        }
        if (first < 0) continue;
        const Rgb base = colorOf(index);
        const Rgb mark{lift(base.r, kMarkLift), lift(base.g, kMarkLift), lift(base.b, kMarkLift)};
        for (int c = first; c <= last; ++c) {
            image_.put(kSlotAreaWidth + c, top, mark);
            image_.put(kSlotAreaWidth + c, top + kBandRows - 1, mark);
        }
        for (int y = top; y < top + kBandRows; ++y) {
            image_.put(kSlotAreaWidth + first, y, mark);
            image_.put(kSlotAreaWidth + last, y, mark);
        }
    }
}

void PalBox::mousePress(const MouseEvent& e, PointerControl& pointer) {
    if (drag_ != Drag::None) return;
    const bool inSlots = e.x < kSlotAreaWidth;
    if (e.button == kLeftButton) {
        pointer.capture();
        if (inSlots) {
            drag_ = Drag::SlotChoice;
            paint_.activeSlot = std::max(slotAt(std::clamp(e.x, 0, kSlotAreaWidth - 1), std::clamp(e.y, 0, kHeight - 1)), 0);
        } else {
            drag_ = Drag::ColorChoice;
            setActiveColor(e.x, e.y);
        }
        redraw();
    } else if (e.button == kRightButton && !inSlots) {
        const int index = clampedIndexAt(e.x, e.y);
        if (index < 0) return;
        auto& flag = paint_.protectedColors[static_cast<std::size_t>(index)];
        flag = !flag;
        drag_ = flag ? Drag::Protecting : Drag::Unprotecting;
        pointer.capture();
        redraw();
    }
}

void PalBox::mouseMove(const MouseEvent& e, PointerControl&) {
    switch (drag_) {
    case Drag::SlotChoice:
        paint_.activeSlot = slotAt(std::clamp(e.x, 0, kSlotAreaWidth - 1), std::clamp(e.y, 0, kHeight - 1));
        break;
    case Drag::ColorChoice:
        setActiveColor(e.x, e.y);
        break;
    case Drag::Protecting:
    case Drag::Unprotecting:
        protectAt(e.x, e.y);
        break;
    default:
        return;
    }
    redraw();
}

void PalBox::protectAt(int x, int y) {
    const int index = clampedIndexAt(x, y);
    if (index >= 0) paint_.protectedColors[static_cast<std::size_t>(index)] = drag_ == Drag::Protecting;
}

void PalBox::setActiveColor(int x, int y) {
    const int index = clampedIndexAt(x, y);
    if (index < 0) return;
    auto& slot = paint_.colorSlots[paint_.activeSlot];
    if (slot == index) return;
    slot = static_cast<std::uint8_t>(index);
    colorChanged();
}

// What depends on the active slot's colour while it changes.
void PalBox::colorChanged() {
    if (paint_.activeSlot == kSlotBackground) {
        refresh_.refresh(kRedrawBackground, kPanesSkinIso16);
    } else if (isRampSlot(paint_.activeSlot)) {
        refresh_.rebuildShadeRamps();
        refresh_.refresh(kRedrawQuick, kPanesIso16);
    }
}

void PalBox::finishColorChoice() {
    redraw();
    if (paint_.activeSlot == kSlotBackground) refresh_.refresh(kRedrawBackground, kPanesSkinIso);
    else if (isRampSlot(paint_.activeSlot)) refresh_.refresh(kRedrawQuick, kPanesIso16);
    else refresh_.refresh(kRedrawFull, kPanesSkinIso);
    refresh_.rebuildPaintRemap();
}

void PalBox::mouseRelease(const MouseEvent& e, PointerControl& pointer) {
    switch (drag_) {
    case Drag::None:
        return;
    case Drag::SlotChoice:
        refresh_.rebuildPaintRemap();
        break;
    case Drag::ColorChoice:
        finishColorChoice();
        break;
    default:
        break;
    }
    if ((e.buttons & (kLeftButton | kRightButton)) != 0) {
        drag_ = Drag::Ending;
        return;
    }
    drag_ = Drag::None;
    pointer.releaseCapture();
}

void PalBox::captureLost(PointerControl&) {
    if (drag_ == Drag::ColorChoice) finishColorChoice();
    else if (drag_ == Drag::SlotChoice) refresh_.rebuildPaintRemap();
    drag_ = Drag::None;
}

void PalBox::wheel(int delta) {
    auto& slot = paint_.colorSlots[paint_.activeSlot];
    slot = static_cast<std::uint8_t>((slot + kWheelColorStep * (delta / kWheelNotch)) & 0xFF);
    redraw();
    if (paint_.activeSlot == kSlotBackground) {
        refresh_.refresh(kRedrawBackground, kPanesSkinIso16);
    } else if (isRampSlot(paint_.activeSlot)) {
        // The 3D pane shades with slots 1 to 3: keep it in step with the strip.
        refresh_.rebuildShadeRamps();
        refresh_.refresh(kRedrawQuick, kPanesIso16);
    }
    refresh_.rebuildPaintRemap();
}

}  // namespace tarn
