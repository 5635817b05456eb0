#pragma once
// Connects the PhongMap and EnvMap lists and the held Colormap to the render
// modes: what a draw reads, and what the mode switch checks, takes and frees.
#include "image/map_colormap.h"
#include "image/maps.h"
#include "render/render_modes.h"
#include "render/render_scene.h"

namespace tarn {

class SettingsStore;
class Ui;

// The current PhongMap's texels (nothing when none is current).
RenderMap currentPhongMap(const MapList& phongMaps);
// The current EnvMap's texels and palette.
RenderMap currentEnvMap(const MapList& envMaps);
// The current PhongMap's PhongShadeTable once it has been built.
const std::uint8_t* currentPhongShadeTable(const MapList& phongMaps);

// Points the map and Colormap inputs of a RenderScene or RenderSession at the
// current entries.
template <class Inputs>
void attachMapInputs(Inputs& into, const MapList& phongMaps, const MapList& envMaps,
                     const HeldColormap& colormap) {
    into.phongMap = currentPhongMap(phongMaps);
    into.phongShadeTable = currentPhongShadeTable(phongMaps);
    into.envMap = currentEnvMap(envMaps);
    into.colormap = colormap.rows();
}

// Whether `mode` draws through the Colormap.
bool usesColormap(int mode);

// Fills in the map rules of the mode switch: which maps are current, whether
// "Palette Path" names a readable Colormap of a usable shape, and taking the
// Colormap on entering a colormap-shaded mode and freeing it on leaving.
// The lists, the Colormap, the settings and `ui` must outlive `resources`.
void addMapResources(ModeResources& resources, const MapList& phongMaps, const MapList& envMaps,
                     HeldColormap& colormap, const SettingsStore& settings, Ui& ui);

}  // namespace tarn
