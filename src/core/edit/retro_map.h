#pragma once
// Retro-Map: an old skin, painted for the mapping kept in a mapping file, is
// re-baked onto the current mapping as a new external Skin.
#include <cstdint>
#include <memory>
#include <string>

#include "edit/kmap.h"
#include "image/history.h"
#include "image/skin.h"
#include "image/skin_list.h"
#include "platform/dialogs.h"

namespace tarn {

class RefreshSink;

// PNG as Skins > Open offers it: a true-colour one is matched to a palette first.
// The two file dialogs say which file each asks for.
inline constexpr const char* kRetroOldSkinTitle = "Retro-Map: the old skin";
inline constexpr const char* kRetroMappingTitle = "Retro-Map: the mapping file the old skin was painted for";
inline constexpr const char* kRetroSkinFilter =
    "Mesh Skin (*.pcx)|*.pcx|Bitmap (*.bmp)|*.bmp|PNG Image (*.png)|*.png|All Files (*.*)|*.*||";
inline constexpr const char* kRetroSkinInitialName = "*.pcx";
inline constexpr const char* kStepRetroMap = "Retro-Map";
inline constexpr const char* kMsgRetroTriangleCount =
    "The number of triangles in this KMAP file do not match the current model!";

// The settings key of the padding the command last used (section "Project").
inline constexpr const char* kKeyRetroMapPadding = "RetroMapPadding";

// The new pixels, of the mesh's skin size. Every Triangle's current mapping
// is re-baked (edit/rebake.h) from the old image at that Triangle's corners in
// `file`, rescaled from the file's skin size to the old image's; texels within
// `padding` of what the Triangles cover take the nearest covered colour
// (edit/seam_padding.h), and the rest is `background`. Each Triangle is a
// step of `progress`; after a stop the pixels are unfinished.
std::vector<std::uint8_t> RetroMapPixels(const Mesh& mesh, const Skin& old, const KmapFile& file,
                                         std::uint8_t background, int padding, Progress* progress = nullptr);

// Reads the mapping file at `kmapPath` for `old` and makes the new Skin
// (named after the old image, external, its palette the old one's), re-baked
// through `ui`'s progress. Every refusal is reported through `ui` and yields
// nullptr, as does Cancel.
std::unique_ptr<Skin> RetroMap(Ui& ui, const Mesh& mesh, const Skin& old, const std::string& kmapPath,
                               std::uint8_t background, int padding);

// Ends the name of a re-baked skin: the old skin's name, then this.
inline constexpr const char* kRebakedSuffix = " (re-baked)";

struct RetroMapContext {
    Ui& ui;
    SettingsStore& settings;
    Folders& folders;
    RefreshSink& refresh;
    const Mesh& mesh;
    SkinList& skins;
    std::uint8_t background;  // the colour of what no Triangle covers
    History* history = nullptr;  // where adding the Skin is recorded
};

// The command: the old skin's dialog, the mapping file's dialog, the padding
// (the last one used, remembered in the settings), then the new Skin appended
// and made current, RefreshAll, the paint remap and the shade ramps rebuilt.
void retroMapCommand(RetroMapContext& c);

}  // namespace tarn
