#include "app/live_reload.h"

#include <algorithm>

#include "app/application.h"
#include "image/image_codec.h"
#include "image/skin_commands.h"
#include "platform/fs.h"
#include "platform/settings.h"

namespace tarn {

namespace {

bool watchable(const Skin& skin) { return skin.hasFile && skin.packedIn.empty() && !skin.filePath.empty(); }

// What the file holds, or nothing while it cannot be read whole: an editor
// writing in place leaves a short file for a moment, and its last write
// tells again. A true-colour PNG takes the nearest colours of the palette it
// replaces, since no one is there to be asked before the change is known.
std::optional<Image8> readImage(const std::string& path, const Palette& palette, std::uint8_t transparent) {
    const ReadResult file = readFile(path);
    if (!file.ok()) return std::nullopt;
    const ColourMatcher matcher = [&] { return std::optional<ColourMatch>(ColourMatch{palette, false, transparent}); };
    DecodedImage decoded = decodeImage(file.bytes, &matcher);
    if (!decoded.ok()) return std::nullopt;
    return std::move(decoded.image);
}

}  // namespace

bool reloadOutsideEnabled(const SettingsStore& settings) {
    return settings.getInt(kPreferences, kReloadOutsideKey, 1) != 0;
}

std::vector<std::string> LiveReload::shownFiles() const {
    std::vector<std::string> files;
    for (int i = 0; i < app_.skins.count(); ++i)
        if (watchable(*app_.skins.at(i))) files.push_back(app_.skins.at(i)->filePath);
    for (const MapList* list : {&app_.phongMaps, &app_.envMaps})
        for (int i = 0; i < list->count(); ++i)
            if (watchable(list->at(i).image)) files.push_back(list->at(i).image.filePath);
    for (const auto& companion : app_.companions)
        if (!companion->skinFile.empty()) files.push_back(companion->skinFile);
    return files;
}

OutsideChange LiveReload::fileChanged(const std::string& path) {
    if (asking_) {
        if (std::find(pending_.begin(), pending_.end(), path) == pending_.end()) pending_.push_back(path);
        return OutsideChange::None;
    }
    OutsideChange result = judge(path);
    while (!pending_.empty()) {
        const std::string next = pending_.front();
        pending_.erase(pending_.begin());
        if (judge(next) == OutsideChange::Reloaded) result = OutsideChange::Reloaded;
    }
    return result;
}

Answer LiveReload::askAlone(const std::string& text) {
    asking_ = true;
    const Answer answer = app_.ui().ask(text, QuestionKind::YesNo);
    asking_ = false;
    return answer;
}

void LiveReload::tellAlone(const std::string& text) {
    asking_ = true;
    app_.ui().message(text);
    asking_ = false;
}

OutsideChange LiveReload::judge(const std::string& path) {
    if (!reloadOutsideEnabled(app_.settings()) || !isRegularFile(path)) return OutsideChange::None;
    if (app_.history.editOpen()) return OutsideChange::Later;
    FileIdentity now;
    if (!identifyFile(path, now)) return OutsideChange::None;
    const auto judged = judged_.find(path);
    if (judged != judged_.end() && judged->second.sameFileAs(now) && judged->second.size == now.size &&
        judged->second.modified == now.modified)
        return OutsideChange::None;
    judged_[path] = now;
    bool reloaded = false;
    // Indices stay valid: a reload changes an image in place, never the lists.
    for (int i = 0; i < app_.skins.count(); ++i) {
        const Skin& skin = *app_.skins.at(i);
        if (watchable(skin) && sameFile(skin.filePath, path)) reloaded |= reloadSkin(i, path);
    }
    bool mapsReloaded = false;
    for (bool phong : {true, false}) {
        const MapList& list = phong ? app_.phongMaps : app_.envMaps;
        for (int i = 0; i < list.count(); ++i)
            if (watchable(list.at(i).image) && sameFile(list.at(i).image.filePath, path))
                mapsReloaded |= reloadMap(phong, i, path);
    }
    if (mapsReloaded) app_.rebuildPhongShadeTable();
    for (auto& companion : app_.companions)
        if (!companion->skinFile.empty() && sameFile(companion->skinFile, path))
            reloaded |= reloadCompanionSkin(*companion, path);
    if (!reloaded && !mapsReloaded) return OutsideChange::None;
    app_.refresh().refreshAll();
    return OutsideChange::Reloaded;
}

bool LiveReload::reloadSkin(int index, const std::string& path) {
    Skin& skin = *app_.skins.at(index);
    std::optional<Image8> image = readImage(path, skin.palette, app_.paint.colorSlots[kSlotBackground]);
    if (!image) return false;
    const Palette& storedPalette = skin.storedPalette ? *skin.storedPalette : skin.palette;
    // TARN's own save, or a touch that changed nothing: the file holds the
    // stored state.
    if (image->width == skin.width && image->height == skin.height && skin.backup == image->pixels &&
        storedPalette == image->palette)
        return false;
    const auto fits = [&] { return image->width == skin.width && image->height == skin.height; };
    if (!fits()) {
        if (wrongSize_.insert(path).second) tellAlone(std::string(kMsgWrongDimensions) + "\n" + path);
        return false;
    }
    wrongSize_.erase(path);
    if (skin.modified()) {
        const Answer answer = askAlone(path + kAskTakeOutsideFile);
        // The answer is about the file as it is now, however often it was
        // written while the question was open.
        FileIdentity now;
        if (identifyFile(path, now)) judged_[path] = now;
        if (answer != Answer::Yes) return false;
        image = readImage(path, skin.palette, app_.paint.colorSlots[kSlotBackground]);
        if (!image || !fits()) return false;
    }
    SkinEdit edit(&app_.history, skin);
    skin.pixels = std::move(image->pixels);
    skin.palette = image->palette;
    skin.written();
    skin.seeFile();
    edit.commit(kStepReloadSkin);
    if (index == app_.skins.currentIndex()) rebuildSkinTables(app_.refresh());
    return true;
}

// Maps are never painted, so there is nothing of TARN's to keep and nothing
// to ask.
bool LiveReload::reloadMap(bool phong, int index, const std::string& path) {
    MapList& list = phong ? app_.phongMaps : app_.envMaps;
    Skin& shown = list.at(index).image;
    std::optional<Image8> image = readImage(path, shown.palette, 0);
    if (!image) return false;
    Skin read;
    read.name = shown.name;
    read.filePath = shown.filePath;
    read.hasFile = true;
    read.width = image->width;
    read.height = image->height;
    read.palette = image->palette;
    read.pixels = std::move(image->pixels);
    read.fileType = shown.fileType;
    auto map = makeLightingMap(std::move(read), phong ? MapKind::Phong : MapKind::Env);
    if (!map) return false;
    if (map->image.pixels == shown.pixels && map->image.palette == shown.palette) return false;
    shown.pixels = map->image.pixels;
    shown.palette = map->image.palette;
    shown.buildRowTable();
    list.at(index).shadeTable.clear();
    return true;
}

// Companions are only shown, never edited: their skins reload quietly.
bool LiveReload::reloadCompanionSkin(Companion& companion, const std::string& path) {
    std::optional<Image8> image = readImage(path, app_.skins.current() ? app_.skins.current()->palette : Palette{}, 0);
    if (!image || image->pixels == companion.skinPixels) return false;
    return companion.takeSkin(std::move(image->pixels), image->width, image->height);
}

}  // namespace tarn
