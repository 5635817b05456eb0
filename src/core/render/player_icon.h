#pragma once
// The 32 x 32 picture the game's player setup shows beside each skin: the
// skin's name with "_i" before ".pcx", beside the skin.
#include <functional>
#include <string>

#include "platform/dialogs.h"
#include "platform/settings.h"
#include "platform/ui.h"

#include "render/render_mode.h"
#include "render/render_scene.h"
#include "render/render_target.h"
#include "render/snapshot.h"

namespace tarn {

inline constexpr int kIconSide = 32;
// The game draws its menu pictures with this index left out.
inline constexpr std::uint8_t kIconTransparent = 255;

// The model drawn by `textured` (the skin's palette) from the direction of
// `view`, framed to fill the square, on the transparent index.
SnapshotPicture renderPlayerIcon(RenderMode& textured, RenderScene scene, const RenderTarget& view);

// "players/male/grunt.pcx" -> "players/male/grunt_i.pcx".
std::string iconPathFor(const std::string& skinPath);

inline constexpr const char* kIconFilter = "ZSoft PCX (*.pcx)|*.pcx|All Files (*.*)|*.*||";

// Skins > Make Icon: a save dialog proposing the skin's icon beside it, then
// the picture `draw` makes written there as PCX. False when nothing was written.
bool makeIconCommand(Ui& ui, SettingsStore& settings, Folders& folders, const std::string& skinPath,
                     const std::function<SnapshotPicture()>& draw);

}  // namespace tarn
