#include "image/whole_skin.h"

#include <algorithm>

namespace tarn {

namespace {
constexpr int kCheckerShift = 2;  // 4-pixel cells
}  // namespace

void fillCheckerboard(Skin& skin, std::uint8_t first, std::uint8_t second) {
    for (int y = 0; y < skin.height; ++y)
        for (int x = 0; x < skin.width; ++x) {
            const bool same = ((x >> kCheckerShift) & 1) == ((y >> kCheckerShift) & 1);
            skin.pixels[static_cast<std::size_t>(y) * std::size_t(skin.width) + std::size_t(x)] =
                same ? first : second;
        }
}

void fillSolid(Skin& skin, std::uint8_t color) { std::fill(skin.pixels.begin(), skin.pixels.end(), color); }

void drawGrid(Skin& skin, std::uint8_t oddInEvenRows, std::uint8_t evenColumns) {
    for (int y = 0; y < skin.height; ++y) {
        std::uint8_t* row = skin.pixels.data() + static_cast<std::size_t>(y) * std::size_t(skin.width);
        for (int x = 0; x < skin.width; ++x) {
            if (x % 2 == 0)
                row[x] = evenColumns;
            else if (y % 2 == 0)
                row[x] = oddInEvenRows;
        }
    }
}

bool fitsSkinRecord(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxImageWidth && height <= kMaxImageRows;
}

bool resampleSkin(Skin& skin, int width, int height) {
    if (!fitsSkinRecord(width, height) || skin.pixels.size() != skin.pixelCount()) return false;
    std::vector<std::uint8_t> out(static_cast<std::size_t>(width) * std::size_t(height));
    const auto w = static_cast<std::int64_t>(skin.width);
    const auto h = static_cast<std::int64_t>(skin.height);
    for (int y = 0; y < height; ++y) {
        const auto source = static_cast<std::size_t>(y * h / height) * std::size_t(w);
        for (int x = 0; x < width; ++x)
            out[static_cast<std::size_t>(y) * std::size_t(width) + std::size_t(x)] =
                skin.pixels[source + static_cast<std::size_t>(x * w / width)];
    }
    skin.pixels = std::move(out);
    skin.width = width;
    skin.height = height;
    skin.store();
    skin.buildRowTable();
    return true;
}

}  // namespace tarn
