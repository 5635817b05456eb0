#pragma once
// The Colormap that "Textured, G-Shade" and "Textured, P-Shade" darken and
// brighten the skin through: taken from the file named by "Palette Path" when
// one of those modes is entered and held until it is left.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "image/palette_file.h"

namespace tarn {

// Why an image of this size cannot serve as the Colormap, or nothing when it
// can. `path` names the file in the message.
std::optional<std::string> colormapShapeProblem(const std::string& path, int width, int height);

class HeldColormap {
public:
    // Whether "Palette Path" names a readable image (the reader reports refused
    // files through `ui`). Nothing is held afterwards.
    bool readable(const SettingsStore& settings, Ui& ui) const;
    // The shape problem of the readable image, or nothing when it fits.
    std::optional<std::string> shapeProblem(const SettingsStore& settings, Ui& ui) const;

    // Reads and keeps the Colormap's pixels; false (and nothing held) when it
    // cannot be read or has the wrong shape.
    bool take(const SettingsStore& settings, Ui& ui);
    void release();

    bool held() const { return !rows_.empty(); }
    // Rows of 256 bytes, at least 64 of them; nullptr when nothing is held.
    const std::uint8_t* rows() const { return rows_.empty() ? nullptr : rows_.data(); }

private:
    std::vector<std::uint8_t> rows_;
};

}  // namespace tarn
