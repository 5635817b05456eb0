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

bool LoadPaletteFile(const std::string& path, Palette& destination, int* readError) {
    // A damaged PAK is named by the skin loads that share the shelf; a
    // palette read says nothing of its own.
    std::ostream discard(nullptr);
    BatchUi quiet(discard);
    const ReadResult file = readGamePath(quiet, path).file;
    if (readError) *readError = file.error;
    return file.ok() && readPaletteFile(file.bytes, destination);
}

bool readPaletteFile(const Bytes& file, Palette& destination) {
    if (file.size() < kPaletteBytes) return false;
    Palette result = destination;
    bool ok = false;
    // The size decides first: an ACT file's colours may begin with any bytes,
    // "BM" or 10, 5 included, while an 8-bit PCX is at least 897 bytes and a
    // BMP with a whole colour table at least 1078.
    if (file.size() == kPaletteBytes || file.size() == kActWithTrailer) {
        std::copy_n(file.begin(), kPaletteBytes, result.begin());
        ok = true;
    } else if (looksLikeBmp(file)) {
        ok = readBmpPalette(file, result);
    } else if (looksLikePcx(file)) {
        ok = readPcxPalette(file, result);
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
