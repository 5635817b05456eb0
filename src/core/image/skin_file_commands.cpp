// The Skin-menu commands that read or write skin files.
#include <utility>

#include "image/skin_commands.h"
#include "image/skin_io.h"
#include "platform/fs.h"
#include "platform/game_files.h"

namespace tarn {

namespace {

// The filter positions of the skin dialogs.
constexpr int kFilterPcx = 1;
constexpr int kFilterBmp = 2;
constexpr int kFilterAll = 3;

FileDialogRequest skinRequest(const char* filter, bool mustExist) {
    FileDialogRequest r;
    r.filter = filter;
    r.initialName = kSkinInitialName;
    r.mustExist = mustExist;
    return r;
}

bool writeAs(Ui& ui, Skin& skin, const std::string& path, SkinFileType type) {
    return type == SkinFileType::Bmp ? SaveBmp(ui, skin, path) : SavePcx(ui, skin, path);
}

// The format Save As writes for the chosen filter.
SkinFileType formatForFilter(const Skin& skin, int filterIndex) {
    if (filterIndex == kFilterBmp) return SkinFileType::Bmp;
    if (filterIndex == kFilterAll && skin.fileType != SkinFileType::None) return skin.fileType;
    return SkinFileType::Pcx;
}

}  // namespace

bool saveSkin(SkinContext& c) {
    Skin* skin = c.skins.current();
    if (!skin) return false;
    if (!skin->hasFile) return saveSkinAs(c);
    // A skin read out of a PAK is saved as a loose file at its place below
    // the base folder, which the game reads first; the PAK is never written.
    const bool packed = !skin->packedIn.empty();
    const bool ok = (skin->fileType == SkinFileType::Pcx || skin->fileType == SkinFileType::Bmp) &&
                    (!packed || makeFolderFor(skin->filePath)) &&
                    writeAs(c.ui, *skin, skin->filePath, skin->fileType);
    if (!ok) {
        c.ui.message(kMsgSaveFailed);
        return false;
    }
    skin->store();
    if (packed) {
        skin->packedIn.clear();
        c.ui.message(looseSaveMessage(skin->filePath));
    }
    return true;
}

bool saveSkinAs(SkinContext& c) {
    Skin* skin = c.skins.current();
    if (!skin) return false;
    auto chosen = askSavePath(c.ui, c.settings, c.folders, skinRequest(kSkinFilter, false));
    if (!chosen) return false;
    const SkinFileType type = formatForFilter(*skin, chosen->filterIndex);
    const std::string path =
        appendExtensionIfNone(chosen->path, chosen->filterIndex == kFilterBmp ? ".bmp" : ".pcx");

    if (!skin->external && !confirmBelowBase(c.ui, path, c.folders.base)) return false;
    // A failed write leaves the Skin as it was: still unsaved, under its old name.
    if (!writeAs(c.ui, *skin, path, type)) {
        c.ui.message(kMsgSaveFailed);
        return false;
    }
    skin->filePath = path;
    skin->name = skin->external ? path : relativeToBase(path, c.folders.base);
    skin->hasFile = true;
    skin->packedIn.clear();
    skin->store();
    c.refresh.refillLists();
    return true;
}

void openSkin(SkinContext& c) {
    auto chosen = askOpenPath(c.ui, c.settings, c.folders, skinRequest(kSkinFilter, true));
    if (!chosen) return;
    const std::string path =
        appendExtensionIfNone(chosen->path, chosen->filterIndex == kFilterBmp ? ".bmp" : ".pcx");
    auto skin = LoadSkinImage(c.ui, path);
    if (!skin) return;
    if (skin->width != c.skinWidth || skin->height != c.skinHeight) {
        c.ui.message(kMsgWrongDimensions);
        return;
    }
    skin->name = skin->filePath;
    skin->external = true;
    c.skins.append(std::move(skin));
    c.skins.makeCurrent(c.skins.count() - 1);
    c.refresh.refreshAll();
    rebuildSkinTables(c.refresh);
}

bool linkSkin(SkinContext& c) {
    Skin* skin = c.skins.current();
    if (!skin || !skin->external) return false;
    auto chosen = askSavePath(c.ui, c.settings, c.folders, skinRequest(kLinkFilter, false));
    if (!chosen) return false;
    const std::string path = appendExtensionIfNone(chosen->path, ".pcx");
    if (!confirmBelowBase(c.ui, path, c.folders.base)) return false;
    if (!SavePcx(c.ui, *skin, path)) {
        c.ui.message(kMsgSaveFailed);
        return false;
    }
    skin->filePath = path;
    skin->name = relativeToBase(path, c.folders.base);
    skin->hasFile = true;
    skin->external = false;
    skin->store();
    c.refresh.refreshAll();
    return true;
}

}  // namespace tarn
