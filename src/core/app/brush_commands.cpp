// Options > Brush Size and Brush Shape: the tip of both panes' brushes.
#include "app/application.h"

#include <algorithm>

#include "app/command_ids.h"

namespace tarn {

void Application::setBrushSize(int size) {
    paint.tip.size = std::clamp(size, kMinBrushSize, kMaxBrushSize);
    paint.tip.store(settings_);
    // The outline under the pointer follows the size.
    refresh_.refresh(kRedrawFull, kPaneSkinView | kPaneIsoView);
}

void Application::setBrushShape(BrushShape shape) {
    paint.tip.shape = shape;
    paint.tip.store(settings_);
    refresh_.refresh(kRedrawFull, kPaneSkinView | kPaneIsoView);
}

void Application::bindBrushCommands() {
    // Small sizes one at a time, larger ones by a step that reaches 64 in a few presses.
    const auto step = [](int size) { return std::max(1, size / 4); };
    commands_.bind(cmd::kBrushSmaller, [this, step] { setBrushSize(paint.tip.size - step(paint.tip.size - 1)); });
    commands_.bind(cmd::kBrushLarger, [this, step] { setBrushSize(paint.tip.size + step(paint.tip.size)); });
    commands_.bind(cmd::kBrushRound, [this] { setBrushShape(BrushShape::Round); });
    commands_.bind(cmd::kBrushSquare, [this] { setBrushShape(BrushShape::Square); });
    commands_.bind(cmd::kFilledShapes, [this] { paneModes.filledShapes = !paneModes.filledShapes; });
    const auto ink = [this](Ink chosen, int ditherSize) {
        return [this, chosen, ditherSize] {
            paint.ink = chosen;
            paint.ditherSize = ditherSize;
        };
    };
    commands_.bind(cmd::kInkPaint, ink(Ink::Paint, paint.ditherSize));
    commands_.bind(cmd::kInkShade, ink(Ink::Shade, paint.ditherSize));
    commands_.bind(cmd::kInkDither2, ink(Ink::Dither, 2));
    commands_.bind(cmd::kInkDither4, ink(Ink::Dither, 4));
    commands_.report(cmd::kBrushSmaller, [this] { return "Brush size " + std::to_string(paint.tip.size); });
    commands_.report(cmd::kBrushLarger, [this] { return "Brush size " + std::to_string(paint.tip.size); });
}

}  // namespace tarn
