#pragma once
// The lighting options of a headless render (tarn-cli render and bench):
// PhongMaps and EnvMaps to load, the Colormap, ShadeGamma and the light
// vector. Kept apart from the render request so that the commands take them
// as one unit.
#include <optional>
#include <string>
#include <vector>

#include "image/map_colormap.h"
#include "image/maps.h"
#include "model/vec3.h"
#include "platform/settings.h"

namespace tarn {

struct RenderSession;
class Ui;

struct MapRenderOptions {
    std::vector<std::string> phongMaps;  // the first becomes current
    std::vector<std::string> envMaps;    // the first becomes current
    std::string colormap;                // the "Palette Path" of this run
    std::optional<double> gamma;         // ShadeGamma
    std::optional<Vec3f> light;          // LightVector, made unit length
};

inline constexpr const char* kMapRenderUsage =
    "[--phong FILE]... [--env FILE]... [--colormap FILE] [--gamma G] [--light X,Y,Z]";

// ShadeGamma is set in the gradient pane within this range.
inline constexpr double kMaxShadeGamma = 20.0;

// Whether `name` is one of these options (each takes a value).
bool isMapRenderOption(const std::string& name);
// Takes the value of option `name`; returns the complaint, or empty when the
// value is good.
std::string parseMapRenderOption(MapRenderOptions& options, const std::string& name,
                                 const std::string& value);

// What the lit modes of one headless render hold: the lists, the Colormap and
// the settings the Colormap is named in. Must outlive the draws.
struct MapRenderState {
    MapList phongMaps{MapKind::Phong};
    MapList envMaps{MapKind::Env};
    HeldColormap colormap;
    MemorySettings settings;
};

// For applyMapRenderOptions: a run that draws several modes in turn.
inline constexpr int kEveryRenderMode = -1;

// Loads the maps, takes the Colormap when `mode` (or any of kEveryRenderMode)
// draws through it, applies
// gamma and light, rebuilds the tables (with the PhongShadeTable for
// "Textured, P-Shade") and points the session at all of it. Returns why it
// could not (a map or Colormap refused), or empty. Loader messages go to `ui`.
std::string applyMapRenderOptions(RenderSession& session, MapRenderState& state,
                                  const MapRenderOptions& options, int mode, Ui& ui);

// Re-derives the light table, ramps and PhongShadeTable for `mode` after the
// gamma or the light changed, and re-points the session at the maps.
void refreshMapRender(RenderSession& session, MapRenderState& state, int mode);

}  // namespace tarn
