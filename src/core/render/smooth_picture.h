#pragma once
// A smoothed snapshot: the view drawn four times larger each way and filtered
// down with a Gaussian, band by band on every core, so that neither the large
// picture nor its filter sums ever exist whole.
#include "render/render_mode.h"
#include "render/render_scene.h"
#include "render/render_target.h"
#include "render/snapshot.h"

namespace tarn {

// The factor's range: the slider's ends.
inline constexpr double kSmoothingFactorMin = 1.0;
inline constexpr double kSmoothingFactorMax = 13.49875;

// The picture of `width` x `height` (each 1..2048) in true colour; `factor`
// sets the filter's width, softest at the minimum. Drawing uses `scene`'s own
// Mesh and Companions on the calling thread; other cores draw copies, each
// with its own Rasterizer and mode of `mode`'s kind.
SnapshotPicture smoothPicture(RenderMode& mode, RenderScene& scene, const RenderTarget& camera, int width, int height,
                              double factor);

}  // namespace tarn
