#pragma once
// Light levels and shading ramps of the shaded modes.
#include <cstdint>
#include <memory>
#include <vector>

#include "render/camera.h"
#include "render/render_scene.h"

namespace tarn {

enum class LightingKind { Flat, Smooth, Map };

// Rebuilds the three ramps from ColorSlots 1..3 in `skinPalette` (greys of the
// slot values without a Skin) through the light table.
ShadeRamps BuildShadeRamps(const Palette* skinPalette, const ColorSlots& slots,
                           const LightTable& lightTable);

// Palette index base of a Mesh Triangle's ramp: marked Triangles keep their
// colours in Mapping Mode only.
int shadeRampBase(std::uint32_t flags, bool mappingMode);
// The ColorSlots entry (1, 2 or 3) of a Triangle's wire or edge colour.
int wireSlot(std::uint32_t flags, bool mappingMode);

// Writes the light bytes (Flat, Smooth) or map coordinates (Map) of every Mesh
// Triangle and of the triangles of the shown Companions. `frame` holds the
// Mesh's current positions; Triangles naming vertices outside them are skipped.
void ComputeLighting(LightingKind kind, RenderScene& scene, const CameraTransform& camera);

}  // namespace tarn
