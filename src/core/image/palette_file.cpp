#include "image/palette_file.h"

#include <algorithm>
#include <ostream>

#include "image/image_codec.h"
#include "image/skin_io.h"
#include "platform/batch_ui.h"
#include "platform/fs.h"
#include "platform/game_files.h"

namespace tarn {

namespace {

constexpr std::size_t kPaletteBytes = kPaletteColors * 3;
// Photoshop may append the number of colours and the transparent index.
constexpr std::size_t kActWithTrailer = kPaletteBytes + 4;

}  // namespace

bool LoadPaletteFile(const std::string& path, Palette& destination) {
    // A damaged PAK is named by the skin loads that share the shelf; a
    // palette read says nothing of its own.
    std::ostream discard(nullptr);
    BatchUi quiet(discard);
    const ReadResult file = readGamePath(quiet, path).file;
    if (!file.ok() || file.bytes.size() < kPaletteBytes) return false;
    Palette result = destination;
    bool ok = false;
    if (file.bytes.size() == kPaletteBytes) {
        std::copy_n(file.bytes.begin(), kPaletteBytes, result.begin());
        ok = true;
    } else if (looksLikeBmp(file.bytes)) {
        ok = readBmpPalette(file.bytes, result);
    } else if (looksLikePcx(file.bytes)) {
        ok = readPcxPalette(file.bytes, result);
    } else if (file.bytes.size() == kActWithTrailer) {
        std::copy_n(file.bytes.begin(), kPaletteBytes, result.begin());
        ok = true;
    }
    if (ok) destination = result;
    return ok;
}

Palette greyRampPalette() {
    Palette p{};
    for (int i = 0; i < kPaletteColors; ++i)
        for (int c = 0; c < 3; ++c) p[static_cast<std::size_t>(i * 3 + c)] = static_cast<std::uint8_t>(i);
    return p;
}

void LoadDefaultPalette(const SettingsStore& settings, Palette& destination) {
    const std::string path = settings.getString(kPreferences, kPalettePathKey, "");
    if (!LoadPaletteFile(path, destination)) destination = greyRampPalette();
}

std::unique_ptr<Skin> LoadColormap(Ui& ui, const SettingsStore& settings) {
    const std::string path = settings.getString(kPreferences, kPalettePathKey, "");
    if (path.empty()) return nullptr;
    auto image = LoadSkinImage(ui, path);
    // The shaded modes index 256 columns of at least 64 light rows.
    if (!image || image->width != kColormapColumns || image->height < kColormapLightRows)
        return nullptr;
    return image;
}

}  // namespace tarn
