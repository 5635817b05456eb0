#include "image/map_colormap.h"

#include <memory>

#include "image/skin_io.h"
#include "platform/settings.h"

namespace tarn {

namespace {

std::string palettePath(const SettingsStore& settings) {
    return settings.getString(kPreferences, kPalettePathKey, "");
}

std::unique_ptr<Skin> loadColormapImage(const SettingsStore& settings, Ui& ui) {
    const std::string path = palettePath(settings);
    if (path.empty() || path == kUnknown) return nullptr;
    return LoadSkinImage(ui, path);
}

}  // namespace

std::optional<std::string> colormapShapeProblem(const std::string& path, int width, int height) {
    if (width == kColormapColumns && height >= kColormapLightRows) return std::nullopt;
    return "The Colormap \"" + path + "\" is " + std::to_string(width) + "x" +
           std::to_string(height) +
           " pixels.\nThe colormap-shaded modes need a colormap 256 pixels wide and at least 64 "
           "rows high.";
}

bool HeldColormap::readable(const SettingsStore& settings, Ui& ui) const {
    return loadColormapImage(settings, ui) != nullptr;
}

std::optional<std::string> HeldColormap::shapeProblem(const SettingsStore& settings,
                                                      Ui& ui) const {
    const auto image = loadColormapImage(settings, ui);
    if (!image) return std::nullopt;
    return colormapShapeProblem(palettePath(settings), image->width, image->height);
}

bool HeldColormap::take(const SettingsStore& settings, Ui& ui) {
    auto image = loadColormapImage(settings, ui);
    if (!image || colormapShapeProblem(palettePath(settings), image->width, image->height)) {
        release();
        return false;
    }
    rows_ = image->pixels.take();
    return true;
}

void HeldColormap::release() {
    rows_.clear();
    rows_.shrink_to_fit();
}

}  // namespace tarn
