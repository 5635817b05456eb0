// The Skin-menu commands that only rearrange the list or the stored state.
#include "image/skin_commands.h"

#include "platform/fs.h"

namespace tarn {

void rebuildSkinTables(RefreshSink& refresh) {
    refresh.rebuildPaintRemap();
    refresh.rebuildShadeRamps();
}

void revertSkin(SkinContext& c) {
    Skin* skin = c.skins.current();
    if (!skin) return;
    const bool paletteBack = skin->storedPalette.has_value();
    SkinEdit edit(c.history, *skin);
    skin->revert();
    edit.commit(kStepRevertSkin);
    if (paletteBack) rebuildSkinTables(c.refresh);
    c.refresh.refresh(kRedrawFull, kPanesSkinIsoPalette);
}

void storeSkin(SkinContext& c) {
    Skin* skin = c.skins.current();
    if (!skin) return;
    SkinEdit edit(c.history, *skin);
    skin->store();
    edit.commit(kStepStoreSkin);
}

void closeSkin(SkinContext& c) {
    if (!c.skins.current()) return;
    closeSkinRecorded(c.history, c.skins, c.skins.currentIndex(), kStepCloseSkin);
    c.refresh.refreshAll();
    rebuildSkinTables(c.refresh);
}

void moveSkinUp(SkinContext& c) {
    const int i = c.skins.currentIndex();
    if (i < 1) return;
    c.skins.swap(i, i - 1);
    c.refresh.refreshAll();
    c.refresh.rebuildPaintRemap();
}

void moveSkinDown(SkinContext& c) {
    const int i = c.skins.currentIndex();
    if (i < 0 || i + 1 >= c.skins.count()) return;
    c.skins.swap(i, i + 1);
    c.refresh.refreshAll();
    c.refresh.rebuildPaintRemap();
}

void unlinkSkin(SkinContext& c) {
    Skin* skin = c.skins.current();
    if (!skin || skin->external) return;
    skin->external = true;
    skin->name = skin->filePath;
    c.refresh.refreshAll();
}

void selectSkin(SkinContext& c, int index) {
    if (index < 0 || index >= c.skins.count()) return;
    c.skins.makeCurrent(index);
    // The tables first: the panes draw at once, in the chosen Skin's colours.
    rebuildSkinTables(c.refresh);
    c.refresh.refresh(kRedrawFull, kPanesSkinIsoPalette);
}

void chooseBaseFolder(SkinContext& c) {
    auto folder = c.ui.browseFolder(kBaseFolderTitle);
    if (!folder) return;  // a cancel is not a wrong answer
    if (!isUsableFolder(*folder)) {
        c.ui.message(kMsgFolderNotValid);
        return;
    }
    c.settings.setString(kProject, kBaseDirKey, *folder);
    c.ui.message(kMsgRestartForBase);
}

void scanSkinFolder(SkinContext& c) {
    auto folder = c.ui.browseFolder(kScanFolderTitle);
    if (!folder || !isUsableFolder(*folder)) {
        c.ui.message(kMsgFolderNotValid);
        return;
    }
    const std::vector<const Skin*> before = skinsIn(c.skins);
    ScanSkins(c.ui, c.refresh, c.skins, *folder, c.skinWidth, c.skinHeight, c.folders.base);
    recordSkinsAdded(c.history, c.skins, before, kStepScanSkins);
}

}  // namespace tarn
