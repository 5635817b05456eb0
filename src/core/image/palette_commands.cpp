// Re-Palette and the default-palette button: a new palette for the current
// Skin, its pixel indices untouched.
#include "image/palette_file.h"
#include "image/skin_commands.h"

namespace tarn {

namespace {

constexpr int kFilterBmp = 2;
constexpr int kFilterAct = 3;

}  // namespace

void rePalette(SkinContext& c) {
    Skin* skin = c.skins.current();
    if (!skin) return;
    FileDialogRequest request;
    request.filter = kPaletteFilter;
    request.initialName = kSkinInitialName;
    auto chosen = askOpenPath(c.ui, c.settings, c.folders, request);
    if (!chosen) return;
    const char* extension = chosen->filterIndex == kFilterBmp   ? ".bmp"
                            : chosen->filterIndex == kFilterAct ? ".act"
                                                                : ".pcx";
    Palette loaded = skin->palette;
    const std::string path = appendExtensionIfNone(chosen->path, extension);
    int readError = 0;
    if (!LoadPaletteFile(path, loaded, &readError)) {
        c.ui.message(withReadRefusal(kMsgNoPalette, path, readError));
        return;
    }
    SkinEdit edit(c.history, *skin);
    skin->keepStoredPalette();
    skin->palette = loaded;
    edit.commit(kStepRepalette);
    // The tables first: no pane may show the new palette through old ramps.
    rebuildSkinTables(c.refresh);
    c.refresh.refresh(kRedrawFull, kPanesAll);
}

void defaultPalette(SkinContext& c) {
    Skin* skin = c.skins.current();
    if (!skin) return;
    SkinEdit edit(c.history, *skin);
    skin->keepStoredPalette();
    LoadDefaultPalette(c.settings, skin->palette);
    edit.commit(kStepDefaultPalette);
    c.refresh.refreshAll();
    rebuildSkinTables(c.refresh);
}

}  // namespace tarn
