// The Skin-menu commands that read or write skin files.
#include <utility>

#include "image/skin_commands.h"
#include "image/palette_file.h"
#include "image/skin_io.h"
#include "platform/fs.h"
#include "platform/game_files.h"

namespace tarn {

namespace {

// The filter positions of the skin dialogs (the first is PCX).
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
    switch (type) {
    case SkinFileType::Bmp: return SaveBmp(ui, skin, path);
    case SkinFileType::Png: return SavePngSkin(ui, skin, path);
    default: return SavePcx(ui, skin, path);
    }
}

// The format Save As writes for the chosen filter.
SkinFileType formatForFilter(const Skin& skin, int filterIndex) {
    if (filterIndex == kFilterBmp) return SkinFileType::Bmp;
    if (filterIndex == kFilterAll && skin.fileType != SkinFileType::None) return skin.fileType;
    return SkinFileType::Pcx;
}

// A save makes the pixels the stored state; as a step, so that undoing what
// came before it finds the stored state it left.
void storeRecorded(SkinContext& c, Skin& skin) {
    SkinEdit edit(c.history, skin);
    skin.written();
    edit.commit(kStepSaveSkin);
}

}  // namespace

bool saveSkin(SkinContext& c) {
    Skin* skin = c.skins.current();
    if (!skin) return false;
    if (!skin->hasFile) return saveSkinAs(c);
    // A skin read out of a PAK is saved as a loose file at its place below
    // the base folder, which the game reads first; the PAK is never written.
    const bool packed = !skin->packedIn.empty();
    const bool ok = skin->fileType != SkinFileType::None && (!packed || makeFolderFor(skin->filePath)) &&
                    writeAs(c.ui, *skin, skin->filePath, skin->fileType);
    if (!ok) {
        c.ui.message(kMsgSaveFailed);
        return false;
    }
    storeRecorded(c, *skin);
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
    storeRecorded(c, *skin);
    c.refresh.refillLists();
    return true;
}

ColourMatcher askColourMatch(Ui& ui, const SettingsStore& settings, const Skin* current,
                             std::uint8_t transparentIndex) {
    return [&ui, &settings, current, transparentIndex]() -> std::optional<ColourMatch> {
        ColourMatch match;
        match.transparentIndex = transparentIndex;
        Answer which = Answer::No;
        if (current != nullptr) which = ui.ask(kAskPngPalette, QuestionKind::YesNoCancel);
        if (which == Answer::Cancel) return std::nullopt;
        if (which == Answer::Yes)
            match.palette = current->palette;
        else
            LoadDefaultPalette(settings, match.palette);
        const Answer dither = ui.ask(kAskPngDither, QuestionKind::YesNoCancel);
        if (dither == Answer::Cancel) return std::nullopt;
        match.dither = dither == Answer::Yes;
        return match;
    };
}

std::unique_ptr<Skin> askSkinImage(Ui& ui, SettingsStore& settings, Folders& folders,
                                   const FileDialogRequest& request, const Skin* current,
                                   std::uint8_t transparentIndex) {
    const auto chosen = askOpenPath(ui, settings, folders, request);
    if (!chosen) return nullptr;
    std::string extension = filterExtension(request.filter, chosen->filterIndex);
    if (extension.empty()) extension = ".pcx";
    const ColourMatcher matcher = askColourMatch(ui, settings, current, transparentIndex);
    return LoadSkinImage(ui, appendExtensionIfNone(chosen->path, extension), &matcher);
}

void openSkin(SkinContext& c) {
    auto skin = askSkinImage(c.ui, c.settings, c.folders, skinRequest(kSkinOpenFilter, true), c.skins.current(),
                             c.transparentIndex);
    if (!skin) return;
    if (skin->width != c.skinWidth || skin->height != c.skinHeight) {
        c.ui.message(kMsgWrongDimensions);
        return;
    }
    skin->name = skin->filePath;
    skin->external = true;
    const std::vector<const Skin*> before = skinsIn(c.skins);
    c.skins.append(std::move(skin));
    c.skins.makeCurrent(c.skins.count() - 1);
    recordSkinsAdded(c.history, c.skins, before, kStepOpenSkin);
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
    storeRecorded(c, *skin);
    c.refresh.refreshAll();
    return true;
}

}  // namespace tarn
