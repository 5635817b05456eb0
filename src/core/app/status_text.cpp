#include "app/status_text.h"

#include <cmath>
#include <cstdio>

namespace tarn {

namespace {

const char* brushName(Brush brush) {
    switch (brush) {
    case Brush::Point: return "point";
    case Brush::Line: return "line";
    case Brush::Fill: return "fill";
    case Brush::Rectangle: return "rectangle";
    case Brush::Ellipse: return "ellipse";
    default: return "pencil";
    }
}

// One decimal, as a status bar needs.
std::string oneDecimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

}  // namespace

std::string skinPointerText(const Skin* skin, int x, int y) {
    if (!skin || x < 0 || y < 0 || x >= skin->width || y >= skin->height || skin->pixels.size() < skin->pixelCount())
        return {};
    const int index = skin->pixels[std::size_t(y) * std::size_t(skin->width) + std::size_t(x)];
    const std::size_t at = std::size_t(index) * 3;
    return "Skin " + std::to_string(x) + ", " + std::to_string(y) + "   Index " + std::to_string(index) + "   RGB " +
           std::to_string(skin->palette[at]) + ", " + std::to_string(skin->palette[at + 1]) + ", " +
           std::to_string(skin->palette[at + 2]);
}

std::string modelPointerText(const ModelHit& hit) {
    if (hit.triangle < 0) return {};
    return "Triangle " + std::to_string(hit.triangle) + "   Texel " + std::to_string(hit.texelX) + ", " +
           std::to_string(hit.texelY);
}

std::string skinZoomText(float zoom) { return "Zoom " + oneDecimal(zoom) + "x"; }

std::string mapRectText(const MapRect& rect) {
    const auto pair = [](int a, int b) { return std::to_string(a) + ", " + std::to_string(b); };
    return "Rectangle " + pair(rect.left, rect.top) + " to " + pair(rect.right, rect.bottom) + " (" +
           std::to_string(rect.right - rect.left + 1) + " x " + std::to_string(rect.bottom - rect.top + 1) + ")";
}

std::string modelViewText(const RenderTarget& target) {
    const Vec3f d = target.eye - target.lookAt;
    return "Distance " + oneDecimal(std::sqrt(dot(d, d))) + "   Field of view " + oneDecimal(target.fieldOfView) +
           "\xC2\xB0";
}

std::string mouseHint(StatusPane pane, const PaneModes& modes, bool rectangleMode) {
    if (pane == StatusPane::Skin) {
        if (modes.cameraOverride) return "Drag: pan   Right drag: zoom   Wheel: zoom   Space: leave Camera Override";
        if (rectangleMode)
            return modes.mappingMode ? "Left drag: move the rectangle or its edges   Shift+drag: a new rectangle   "
                                       "Shift+click: select   Ctrl+Left: deselect   Wheel: zoom"
                                     : "Left drag: move the rectangle or its edges   Shift+drag: a new rectangle   "
                                       "Wheel: zoom";
        if (modes.mappingMode)
            return "Left drag: move a vert   Shift+Left: select   Ctrl+Left: deselect   Right drag: move "
                   "selection   Shift+Right: rotate   Ctrl+Right: scale";
        if (modes.select == SelectTool::Colour)
            return "Left: select a colour's region   Shift: every texel of it, added   Ctrl: take away   Wheel: zoom";
        if (modes.select != SelectTool::None)
            return "Left drag: select   Shift: add   Ctrl: take away   Ctrl+C, Ctrl+X, Ctrl+V: clipboard   Wheel: zoom";
        return std::string("Left: paint (") + brushName(modes.brush) +
               " brush)   Right: pick colour   Wheel: zoom   Space: camera";
    }
    if (modes.cameraOverride)
        return "Left drag: orbit (+Right: zoom)   Shift+Left: field of view   Right drag: look around (+Left: "
               "dolly)   Shift+Right: light   Wheel: turn";
    if (modes.mappingMode) return "Left: select triangles   Right: deselect   Wheel: turn   Space: camera";
    return std::string("Left: paint on the model (") + brushName(modes.brush) +
           " brush)   Right: pick colour   Wheel: turn   Space: camera";
}

}  // namespace tarn
