#include "render/maps_inputs.h"

namespace tarn {

RenderMap currentPhongMap(const MapList& phongMaps) {
    const LightingMap* map = phongMaps.current();
    if (map == nullptr) return {};
    return {map->image.pixels.data(), &map->image.palette};
}

RenderMap currentEnvMap(const MapList& envMaps) {
    const LightingMap* map = envMaps.current();
    if (map == nullptr) return {};
    return {map->image.pixels.data(), &map->image.palette};
}

const std::uint8_t* currentPhongShadeTable(const MapList& phongMaps) {
    const LightingMap* map = phongMaps.current();
    if (map == nullptr || map->shadeTable.size() != std::size_t(kLightingMapTexels)) return nullptr;
    return map->shadeTable.data();
}

bool usesColormap(int mode) { return mode == kModeTexturedGShade || mode == kModeTexturedPShade; }

void addMapResources(ModeResources& resources, const MapList& phongMaps, const MapList& envMaps,
                     HeldColormap& colormap, const SettingsStore& settings, Ui& ui) {
    resources.phongMapLoaded = phongMaps.current() != nullptr;
    resources.envMapLoaded = envMaps.current() != nullptr;
    resources.colormapReadable = [&colormap, &settings, &ui] {
        return colormap.readable(settings, ui);
    };
    resources.colormapProblem = [&colormap, &settings, &ui] {
        return colormap.shapeProblem(settings, ui);
    };
    resources.switched = [&colormap, &settings, &ui, before = resources.switched](int from,
                                                                                  int to) {
        before(from, to);
        if (usesColormap(from)) colormap.release();
        if (usesColormap(to)) colormap.take(settings, ui);
    };
}

}  // namespace tarn
