// The Skin-menu commands that read or write skin files.
#include <utility>

#include "image/skin_commands.h"
#include "image/palette_file.h"
#include "image/skin_io.h"
#include "platform/fs.h"
#include "platform/game_files.h"

namespace tarn {

namespace {


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

SkinFileType typeOfExtension(const std::string& extension) {
    const std::string ext = lowerCase(extension);
    return ext == ".pcx" ? SkinFileType::Pcx : ext == ".bmp" ? SkinFileType::Bmp : ext == ".png" ? SkinFileType::Png
                                                                                      : SkinFileType::None;
}

const char* extensionOf(SkinFileType type) {
    return type == SkinFileType::Bmp ? ".bmp" : type == SkinFileType::Png ? ".png" : ".pcx";
}

struct SaveTarget {
    std::string path;
    SkinFileType type;
};

// Where a skin save writes and in which format: the one a typed .pcx, .bmp or
// .png names, whatever filter is chosen; otherwise the chosen filter's (under
// All Files, the skin's own), whose extension a name without one gets.
SaveTarget saveTargetOf(const FileDialogResult& chosen, const char* filter, SkinFileType own) {
    const std::string name = fileNameOf(chosen.path);
    const auto dot = name.rfind('.');
    const std::string typed = dot == std::string::npos ? std::string() : name.substr(dot);
    if (const SkinFileType named = typeOfExtension(typed); named != SkinFileType::None) return {chosen.path, named};
    SkinFileType type = typeOfExtension(filterExtension(filter, chosen.filterIndex));
    if (type == SkinFileType::None) type = own == SkinFileType::None ? SkinFileType::Pcx : own;
    return {appendExtensionIfNone(chosen.path, extensionOf(type)), type};
}

}  // namespace

bool saveSkin(SkinContext& c) {
    Skin* skin = c.skins.current();
    if (!skin) return false;
    // A skin read from a format TARN cannot write (TGA, JPEG) is saved as
    // the user chooses.
    if (!skin->hasFile || skin->fileType == SkinFileType::None) return saveSkinAs(c);
    // A skin read out of a PAK is saved as a loose file at its place below
    // the base folder, which the game reads first; the PAK is never written.
    const bool packed = !skin->packedIn.empty();
    if (!packed && skin->fileChangedSinceSeen() &&
        c.ui.ask(skin->filePath + kAskWriteOverChanged, QuestionKind::YesNo) != Answer::Yes)
        return false;
    const bool ok = skin->fileType != SkinFileType::None && (!packed || makeFolderFor(skin->filePath)) &&
                    writeAs(c.ui, *skin, skin->filePath, skin->fileType);
    if (!ok) {
        c.ui.message(kMsgSaveFailed);
        return false;
    }
    skin->written();
    if (packed) {
        skin->packedIn.clear();
        c.ui.message(looseSaveMessage(skin->filePath));
    }
    return true;
}

bool saveSkinAs(SkinContext& c) {
    Skin* skin = c.skins.current();
    if (!skin) return false;
    FileDialogRequest request = skinRequest(kSkinFilter, false);
    proposeFile(request, skin->filePath);
    request.title = "Save the skin " + displayName(*skin) + " as";
    auto chosen = askSavePath(c.ui, c.settings, c.folders, request);
    if (!chosen) return false;
    const auto [path, type] = saveTargetOf(*chosen, kSkinFilter, skin->fileType);

    if (!skin->external && !confirmBelowBase(c.ui, path, c.folders.base)) return false;
    // A failed write leaves the Skin as it was: still unsaved, under its old name.
    if (!writeAs(c.ui, *skin, path, type)) {
        c.ui.message(kMsgSaveFailed);
        return false;
    }
    skin->filePath = path;
    skin->seeFile();
    skin->name = skin->external ? path : relativeToBase(path, c.folders.base);
    skin->hasFile = true;
    skin->packedIn.clear();
    skin->written();
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
    FileDialogRequest request = skinRequest(kLinkFilter, false);
    proposeFile(request, skin->filePath);
    request.title = "Link the skin " + displayName(*skin) + " into the model as";
    auto chosen = askSavePath(c.ui, c.settings, c.folders, request);
    if (!chosen) return false;
    // The game reads PCX; a name typed with another image extension still
    // gets that format's bytes.
    const auto [path, type] = saveTargetOf(*chosen, kLinkFilter, SkinFileType::Pcx);
    if (!confirmBelowBase(c.ui, path, c.folders.base)) return false;
    if (!writeAs(c.ui, *skin, path, type)) {
        c.ui.message(kMsgSaveFailed);
        return false;
    }
    skin->filePath = path;
    skin->seeFile();
    skin->name = relativeToBase(path, c.folders.base);
    skin->hasFile = true;
    skin->external = false;
    skin->written();
    c.refresh.refreshAll();
    return true;
}

}  // namespace tarn
