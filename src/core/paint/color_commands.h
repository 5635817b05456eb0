#pragma once
// The main window's colour keys and blend-mode buttons: they change the paint
// state directly and ask for the derived tables and redraws they invalidate.
#include "paint/paint_state.h"

namespace tarn {

class RefreshSink;

// Command ids of the four colour keys and the two blend-mode buttons.
inline constexpr int kCmdColorUp = 32832;        // "."
inline constexpr int kCmdColorDown = 32833;      // ","
inline constexpr int kCmdColorUp16 = 32834;      // "'"
inline constexpr int kCmdColorDown16 = 32835;    // ";"
inline constexpr int kCmdBlendRgb = 32868;
inline constexpr int kCmdBlendKeepBrightness = 32869;

// Adds `delta` to the active slot's index, modulo 256.
void stepActiveColor(PaintState& state, int delta, RefreshSink& refresh);

// The step of colour key `commandId`, or 0 when it is not one of them.
int colorKeyStep(int commandId);

// Chooses a blend mode; choosing the current one does nothing. Returns
// whether the mode changed.
bool chooseBlendMode(PaintState& state, int mode, RefreshSink& refresh);

// Whether the button of `mode` shows checked.
inline bool blendModeChecked(const PaintState& state, int mode) { return state.blendMode == mode; }

}  // namespace tarn
