#pragma once
// Reading and writing Skins as files. Readers check the whole file before a
// Skin exists; writers go through an atomic replace, so a failed save leaves
// the old file as it was.
#include <cstdint>
#include <memory>
#include <string>

#include "image/image_codec.h"
#include "image/skin.h"
#include "platform/game_files.h"
#include "platform/ui.h"

namespace tarn {

// Reads an image file (PCX, BMP, PNG, TGA or JPEG) into a new linked Skin named `path` exactly as
// given, with its absolute file path, file type, palette, pixels, equal
// backup pixels and row table. A path that does not name a file exactly falls
// back to a case-insensitive match, then to the PAK files of the nearest
// folder above it that has any. A file that cannot be opened returns
// nullptr silently (the caller reports it); a file that opens but is refused
// (not a regular file, too large, not a usable image) shows why through `ui`
// and returns nullptr. A true-colour image takes the palette `matcher` chooses;
// a cancelled choice returns nullptr silently. `readError`, when given,
// receives the errno of a read that failed (0 otherwise), so a caller can say
// why without reading again.
std::unique_ptr<Skin> LoadSkinImage(Ui& ui, const std::string& path, const ColourMatcher* matcher = nullptr,
                                    int* readError = nullptr);

// Loads the skin `name` (relative, '/' or '\\' separated) below `baseFolder`
// as the game finds it: a loose file in any case, else the base folder's PAK
// files. The name is confined to the base folder whatever ".." or root it
// holds. The Skin keeps `name` as its name; a packed one names its PAK and
// has its loose place as its file path. A true-colour image takes the
// palette `matcher` chooses and is refused without one.
std::unique_ptr<Skin> LoadLinkedSkin(Ui& ui, const std::string& baseFolder, const std::string& name,
                                     const ColourMatcher* matcher = nullptr);
// The same for a file already found and read (readGameFile), for a caller
// that wanted to know where it lies first.
std::unique_ptr<Skin> LinkedSkinOf(Ui& ui, const GameFile& found, const std::string& name,
                                   const ColourMatcher* matcher = nullptr);

// Write the Skin's pixels and palette; on success set its file type. A failed
// write shows "Error Saving: " with the cause and returns false.
bool SavePcx(Ui& ui, Skin& skin, const std::string& path);
bool SaveBmp(Ui& ui, Skin& skin, const std::string& path);
bool SavePngSkin(Ui& ui, Skin& skin, const std::string& path);

// Writes an 8-bit indexed PNG; reports a failure like the skin writers.
bool SavePng8(Ui& ui, const std::string& path, int width, int height,
              const std::uint8_t* pixels, const Palette& palette);

}  // namespace tarn
