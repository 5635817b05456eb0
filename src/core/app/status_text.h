#pragma once
// The status bar's texts: what is under the pointer, the zoom, and what the
// mouse does in the pane under it in the present modes.
#include <string>

#include "edit/map_rect.h"
#include "image/skin.h"
#include "render/iso_view_context.h"
#include "render/model_probe.h"
#include "render/render_target.h"

namespace tarn {

// Skin pixel (x, y) with its palette index and colour; empty outside the skin.
std::string skinPointerText(const Skin* skin, int x, int y);
// The Triangle and texel under the pointer in the 3D pane; empty over nothing.
std::string modelPointerText(const ModelHit& hit);
std::string skinZoomText(float zoom);
// The MapRect's corners and size while rectangle mode is on.
std::string mapRectText(const MapRect& rect);
std::string modelViewText(const RenderTarget& target);

enum class StatusPane { Skin, Model };
// One line: which button and modifier does what in `pane` now.
std::string mouseHint(StatusPane pane, const PaneModes& modes, bool rectangleMode);

}  // namespace tarn
