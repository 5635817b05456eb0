#include "paint/color_commands.h"

#include "platform/refresh.h"

namespace tarn {

namespace {
constexpr int kSmallStep = 1;
constexpr int kLargeStep = 16;
}  // namespace

void stepActiveColor(PaintState& state, int delta, RefreshSink& refresh) {
    std::uint8_t& slot = state.colorSlots[state.activeSlot];
    slot = static_cast<std::uint8_t>(((slot + delta) % kPaletteColors + kPaletteColors) %
                                     kPaletteColors);
    refresh.rebuildPaintRemap();
    if (state.activeSlot >= kSlotEdge && state.activeSlot <= kSlotDragged)
        refresh.rebuildShadeRamps();
    refresh.refresh(kRedrawFull, kPanesPalette);
}

int colorKeyStep(int commandId) {
    switch (commandId) {
        case kCmdColorUp: return kSmallStep;
        case kCmdColorDown: return -kSmallStep;
        case kCmdColorUp16: return kLargeStep;
        case kCmdColorDown16: return -kLargeStep;
        default: return 0;
    }
}

bool chooseBlendMode(PaintState& state, int mode, RefreshSink& refresh) {
    if (state.blendMode == mode) return false;
    state.blendMode = mode;
    refresh.rebuildPaintRemap();
    return true;
}

}  // namespace tarn
