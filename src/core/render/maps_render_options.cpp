#include "render/maps_render_options.h"

#include <charconv>
#include <cmath>

#include "image/map_commands.h"
#include "render/maps_inputs.h"
#include "render/phong_shade.h"
#include "render/render_session.h"

namespace tarn {

namespace {

bool parseDouble(const std::string& text, double& out) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end && std::isfinite(out);
}

// A direction: three finite components, not all zero, scaled to unit length
// so that the light term L.N stays within -1..1.
std::optional<Vec3f> parseDirection(const std::string& text) {
    double c[3] = {0, 0, 0};
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t comma = i < 2 ? text.find(',', start) : text.size();
        if (comma == std::string::npos) return std::nullopt;
        if (!parseDouble(text.substr(start, comma - start), c[i])) return std::nullopt;
        start = comma + 1;
    }
    const double length = std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
    if (!(length > 0.0) || !std::isfinite(length)) return std::nullopt;
    return Vec3f{float(c[0] / length), float(c[1] / length), float(c[2] / length)};
}

// Returns the path of the map refused, or empty when all were taken.
std::string loadInto(MapList& list, const std::vector<std::string>& paths, Ui& ui) {
    for (const std::string& path : paths) {
        auto map = LoadLightingMap(path, list.kind(), ui);
        if (!map) return path;
        list.append(std::move(map));
    }
    if (!list.empty()) list.choose(0);
    return {};
}

}  // namespace

bool isMapRenderOption(const std::string& name) {
    return name == "--phong" || name == "--env" || name == "--colormap" || name == "--gamma" ||
           name == "--light";
}

std::string parseMapRenderOption(MapRenderOptions& options, const std::string& name,
                                 const std::string& value) {
    if (name == "--phong") {
        options.phongMaps.push_back(value);
    } else if (name == "--env") {
        options.envMaps.push_back(value);
    } else if (name == "--colormap") {
        options.colormap = value;
    } else if (name == "--gamma") {
        double g = 0;
        if (!parseDouble(value, g) || g < 0.0 || g > kMaxShadeGamma)
            return "--gamma needs a number from 0 to 20, not '" + value + "'";
        options.gamma = g;
    } else if (name == "--light") {
        const auto light = parseDirection(value);
        if (!light) return "--light needs a direction X,Y,Z other than 0,0,0, not '" + value + "'";
        options.light = light;
    } else {
        return "unknown option '" + name + "'";
    }
    return {};
}

std::string applyMapRenderOptions(RenderSession& session, MapRenderState& state,
                                  const MapRenderOptions& options, int mode, Ui& ui) {
    if (const auto refused = loadInto(state.phongMaps, options.phongMaps, ui); !refused.empty())
        return "cannot use the phong map " + refused;
    if (const auto refused = loadInto(state.envMaps, options.envMaps, ui); !refused.empty())
        return "cannot use the environment map " + refused;
    if (!options.colormap.empty()) {
        state.settings.setString(kPreferences, kPalettePathKey, options.colormap);
        const bool wanted = mode == kEveryRenderMode || usesColormap(mode);
        if (wanted && state.colormap.readable(state.settings, ui)) {
            if (auto problem = state.colormap.shapeProblem(state.settings, ui)) return *problem;
            state.colormap.take(state.settings, ui);
        }
    }
    if (options.gamma) session.paint.shadeGamma = *options.gamma;
    if (options.light) session.lighting.lightVector = *options.light;
    refreshMapRender(session, state, mode);
    return {};
}

void refreshMapRender(RenderSession& session, MapRenderState& state, int mode) {
    session.rebuildTables();
    BuildPhongShadeTable(mode, state.phongMaps, session.paint.lightTable);
    attachMapInputs(session, state.phongMaps, state.envMaps, state.colormap);
}

}  // namespace tarn
