#pragma once
// What the panes read and edit of the application's state: the one Mesh, the
// paint state, the interaction modes and the current Skin, plus the refresh
// requests they send. The application fills one of these for its panes.
#include <functional>

#include "platform/refresh.h"

namespace tarn {

class History;
class RefreshSink;
struct Mesh;
struct PaintState;
struct SymmetrySetting;
struct Skin;

// Pane combinations of the panes' own refresh requests.
inline constexpr int kPanesSkinIso16 = kPaneSkinView | kPaneIsoView | kPaneOption16;  // 19: painted runs
inline constexpr int kPanesIso16 = kPaneIsoView | kPaneOption16;                      // 18: camera and ramp steps
inline constexpr int kPanesPalette16 = kPanePalette | kPaneOption16;                  // 24: colour picked
inline constexpr int kPanesSkin32 = kPaneSkinView | kPaneOption32;                    // 33: skin camera
inline constexpr int kPanesDisplaysGradient = kPaneSkinView | kPaneIsoView | kPaneGradient | kPaneOption32;  // 39

enum class Brush : int { Point = 0, Pencil = 1, Line = 2, Fill = 3, Rectangle = 4, Ellipse = 5 };

// The skin pane's select tools; while one is chosen the left button selects
// texels there instead of painting.
enum class SelectTool : int { None = 0, Rectangle = 1, Lasso = 2, Colour = 3 };

// Brushes drawn from the press point to the pointer, shown afresh at each move.
inline bool drawnFromPress(Brush b) { return b == Brush::Line || b == Brush::Rectangle || b == Brush::Ellipse; }

// The interaction modes both displays follow.
struct PaneModes {
    bool cameraOverride = false;
    bool mappingMode = false;  // Paint Mode while false
    Brush brush = Brush::Pencil;
    bool mappingOverlayInPaint = false;
    // Strokes paint at the mirror of each point as well.
    bool mirror = false;
    // Rectangles and ellipses filled rather than outlined.
    bool filledShapes = false;
    SelectTool select = SelectTool::None;
};

// The pointer shape over a display's client area.
enum class PaneCursor { Camera, Paint, Mapping };

inline PaneCursor paneCursor(const PaneModes& modes) {
    if (modes.cameraOverride) return PaneCursor::Camera;
    return modes.mappingMode ? PaneCursor::Mapping : PaneCursor::Paint;
}

struct PaneContext {
    Mesh& mesh;
    PaintState& paint;
    PaneModes& modes;
    RefreshSink& refresh;
    // The current Skin of the skin list, or null while there is none.
    std::function<Skin*()> currentSkin;
    // Index of the current render mode.
    std::function<int()> renderMode;
    // Where each stroke is recorded as one step; none records nothing.
    History* history = nullptr;
    // The symmetry Mirror mode paints across; none paints no mirror.
    SymmetrySetting* symmetry = nullptr;
};

}  // namespace tarn
