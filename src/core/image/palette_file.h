#pragma once
// Palettes read from files, the default palette and the colormap, all named by
// the "Palette Path" preference.
#include <memory>
#include <string>

#include "image/palette.h"
#include "image/skin.h"
#include "platform/fs.h"
#include "platform/settings.h"
#include "platform/ui.h"

namespace tarn {

// Key (section "Preferences") of the file that gives the default palette and
// the colormap.
inline constexpr const char* kPalettePathKey = "Palette Path";

// The colormap is read as 64 light rows of 256 palette indices.
inline constexpr int kColormapColumns = 256;
inline constexpr int kColormapLightRows = 64;

// Fills `destination` from a Photoshop ACT (exactly 768 bytes, or 772 with
// Photoshop's colour-count trailer), an 8-bit BMP (its colour table; entries
// it does not supply are kept) or an 8-bit PCX (its last 768 bytes). Shows
// nothing; on failure `destination` is unchanged and `readError`, when given,
// has the errno of a read that failed (0 when the file read but was unusable).
bool LoadPaletteFile(const std::string& path, Palette& destination, int* readError = nullptr);
// The same on the bytes of such a file.
bool readPaletteFile(const Bytes& file, Palette& destination);

// Entry i is (i, i, i).
Palette greyRampPalette();

// The palette of the "Palette Path" file, or the grey ramp when that fails.
void LoadDefaultPalette(const SettingsStore& settings, Palette& destination);

// The "Palette Path" image when it can serve as a colormap (256 columns, at
// least 64 rows); nullptr otherwise. A file that opens but is refused shows
// the reader's message.
std::unique_ptr<Skin> LoadColormap(Ui& ui, const SettingsStore& settings);

}  // namespace tarn
