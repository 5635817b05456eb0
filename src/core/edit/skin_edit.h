#pragma once
// The whole-skin, colour and effect commands of the Skins menu, and the one
// door every change they make passes through.
#include <string>

#include "image/history.h"
#include "image/skin_list.h"
#include "model/mesh.h"
#include "paint/paint_state.h"
#include "platform/dialogs.h"
#include "platform/refresh.h"
#include "platform/settings.h"
#include "platform/ui.h"
#include "render/render_scene.h"

namespace tarn {

// What these commands work on.
struct SkinEditContext {
    Ui& ui;
    SettingsStore& settings;
    Folders& folders;
    Mesh& mesh;
    SkinList& skins;
    PaintState& paint;
    Lighting& lighting;
    RefreshSink& refresh;
    // Where each command's change is recorded as one step; none records nothing.
    History* history = nullptr;
};

// The derived tables a change invalidates.
enum class SkinTables {
    None,
    Remap,          // PaintRemap: the pixels changed under an unchanged palette
    RemapAndRamps,  // PaintRemap and ShadeRamps: the palette or the current Skin changed
};

// The door of every change these commands make: whatever the change records
// through the history's skin, list and mapping doors undoes as one step named
// `step`; then the tables it invalidated are rebuilt and RefreshAll runs. The
// tables are rebuilt before the panes redraw, so no pane is drawn from tables
// older than what it shows.
template <typename Change>
void changeSkins(SkinEditContext& c, const char* step, SkinTables tables, Change&& change) {
    {
        HistoryGroup group(c.history, step);
        change();
    }
    if (tables != SkinTables::None) c.refresh.rebuildPaintRemap();
    if (tables == SkinTables::RemapAndRamps) c.refresh.rebuildShadeRamps();
    c.refresh.refreshAll();
}

// A change of one Skin in place (pixels, stored pixels, palette), through the door.
template <typename Change>
void changeSkin(SkinEditContext& c, Skin& skin, const char* step, SkinTables tables, Change&& change) {
    changeSkins(c, step, tables, [&] {
        SkinEdit edit(c.history, skin);
        change();
        edit.commit(step);
    });
}

// As changeSkin, for the effects that act inside the selection while there
// is one: whatever the change did to texels outside it is put back.
template <typename Change>
void changeSelectedTexels(SkinEditContext& c, Skin& skin, const char* step, SkinTables tables, Change&& change) {
    changeSkin(c, skin, step, tables, [&] {
        const std::vector<std::uint8_t>& inside = c.paint.selection.mask();
        if (!c.paint.selection.active() || inside.size() != skin.pixelCount()) return change();
        const std::vector<std::uint8_t> before = skin.pixels.bytes();
        change();
        std::vector<std::uint8_t>& pixels = skin.pixels.edit();
        for (std::size_t i = 0; i < pixels.size() && i < before.size(); ++i)
            if (!inside[i]) pixels[i] = before[i];
    });
}

// Skins menu: whole skins.
void newSkin(SkinEditContext& c);         // Shift+N
void resizeAllSkins(SkinEditContext& c);  // "Re-size &All..."
void reloadSkin(SkinEditContext& c);      // F5
// Mapping menu: "Pack Islands...", the islands laid out afresh with their texels.
void packIslandsCommand(SkinEditContext& c);

// Records that the Mesh's skin size changed from width x height to what it is
// now, as part of step `name`; nothing without a history.
void recordSkinSize(History* history, Mesh& mesh, int width, int height, const char* name);
void duplicateSkin(SkinEditContext& c);   // Ctrl+D

// Skins menu: colours.
void invertPalette(SkinEditContext& c);
void invertPixels(SkinEditContext& c);
void invertBoth(SkinEditContext& c);
void replaceColors(SkinEditContext& c);

// Skins > Skin F/X: effects inside the selected Triangles.
void outlineSelected(SkinEditContext& c);
void fillSelected(SkinEditContext& c);
void shadeSelected(SkinEditContext& c);
void loadToSelected(SkinEditContext& c);

inline constexpr const char* kStepNewSkin = "New skin";
inline constexpr const char* kStepDuplicateSkin = "Duplicate skin";
inline constexpr const char* kStepResizeSkins = "Resize skins";
inline constexpr const char* kStepPackIslands = "Pack Islands";

inline constexpr const char* kNewSkinName = "newskin";
inline constexpr const char* kDuplicateSkinName = "dupskin";
inline constexpr const char* kAskCheckerboard = "Would you like a checkerboard background skin? (This box is temp)";
inline constexpr const char* kAskGrid = "Would you like a gridded skin? (This box is temp)";
inline constexpr const char* kAskOutline = "Would you like a mesh outlined skin? (This box is temp)";
inline constexpr const char* kMsgNothingToDuplicate = "There's nothing to duplicate...making a new skin.";
inline constexpr const char* kMsgAlreadyThatSize =
    "Try telling me something I don't already know!\nThe skins are already that size =]";
inline constexpr const char* kMsgSizeZero = "Hey!  You really don't want to make your skin size 0!";
inline constexpr const char* kMsgWidthMultipleOf4 = "The Width must be a multiple of 4!";
inline constexpr const char* kMsgAbove640x480 = "Skins should not be larger than 640x480!";
// Without the enforced limits a skin must still fit the Skin record.
inline constexpr const char* kMsgAboveRecordLimits =
    "Skins cannot be wider than 32767 or taller than 2048 pixels!";
inline constexpr const char* kMsgUnableToReload = "Unable to reload the skin!";
inline constexpr const char* kMsgReloadDimensions = "The refreshed skin does not have the same dimensions!";

}  // namespace tarn
