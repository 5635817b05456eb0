#include <filesystem>
#include <utility>

#include "image/palette_file.h"
#include "platform/game_files.h"
#include "image/skin_io.h"
#include "model/md2_commands.h"
#include "model/md2_format.h"

namespace tarn {

namespace {

std::string pathFromBase(const std::string& base, const std::string& path) {
    if (base.empty() || path.empty() || std::filesystem::path(path).is_absolute()) return path;
    return joinPath(base, path);
}

// Every skin the file names, in file order: the image when it loads with the
// header's size, a temporary checkerboard otherwise.
std::vector<std::unique_ptr<Skin>> loadNamedSkins(MeshFileContext& c, const Md2Contents& md2) {
    const int width = md2.header.skinWidth;
    const int height = md2.header.skinHeight;
    std::vector<std::unique_ptr<Skin>> skins;
    for (const std::string& name : md2.skinNames) {
        std::unique_ptr<Skin> skin = LoadLinkedSkin(c.ui, c.folders.base, name);
        if (skin && skin->width == width && skin->height == height) {
            skins.push_back(std::move(skin));
            continue;
        }
        c.ui.message(skin ? kMsgSkinWrongSize : kMsgSkinMissing);
        skins.push_back(makeTemporarySkin(c.settings, c.folders.base, name, width, height));
    }
    return skins;
}

bool wantsFolderScan(MeshFileContext& c) {
    enum DirScanPrompt { kScan = 0, kDoNotScan = 1, kAsk = 2 };
    switch (c.settings.getInt(kPreferences, kDirScanPromptKey, kAsk)) {
        case kDoNotScan: return false;
        case kAsk: return c.ui.ask(kAskNoSkinsScan, QuestionKind::YesNo) == Answer::Yes;
        default: return true;
    }
}

}  // namespace

std::unique_ptr<Skin> makeTemporarySkin(const SettingsStore& settings, const std::string& baseFolder,
                                        const std::string& name, int width, int height) {
    std::unique_ptr<Skin> skin = makeBlankSkin(width, height);
    skin->name = name;
    skin->filePath = joinPath(baseFolder, toNative(name));
    skin->hasFile = false;
    skin->external = false;
    LoadDefaultPalette(settings, skin->palette);
    for (int y = 0; y < skin->height; ++y) {
        for (int x = 0; x < skin->width; ++x) {
            const bool sameParity = (x / kTempSkinCell) % 2 == (y / kTempSkinCell) % 2;
            skin->pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(skin->width) +
                         static_cast<std::size_t>(x)] = sameParity ? kTempSkinCellA : kTempSkinCellB;
        }
    }
    skin->backup = skin->pixels;
    return skin;
}

bool LoadMesh(MeshFileContext& c, const std::string& path) {
    const std::string fullPath = pathFromBase(c.folders.base, path);
    GameFile found = readGamePath(c.ui, fullPath);
    ReadResult& file = found.file;
    if (!file.ok()) {
        c.ui.message(kMsgLoadError);
        return false;
    }
    Md2Parse parsed = parseMd2(file.bytes);
    if (!parsed.ok()) {
        c.ui.message(parsed.error);
        return false;
    }

    // The file is sound: from here on the load replaces the old model.
    std::vector<std::unique_ptr<Skin>> named = loadNamedSkins(c, parsed.contents);
    if (c.history) c.history->clear();
    applyMd2ToMesh(std::move(parsed.contents), c.mesh);
    c.skins.clear();
    for (auto& skin : named) c.skins.append(std::move(skin));
    if (c.skins.empty() && wantsFolderScan(c))
        ScanSkins(c.ui, c.refresh, c.skins, folderOf(fullPath), c.mesh.skinWidth, c.mesh.skinHeight);
    c.skins.makeCurrent(c.skins.empty() ? -1 : 0);
    c.sourceImage = std::move(file.bytes);
    if (c.sourcePak) *c.sourcePak = found.pakPath;

    c.refresh.rebuildPaintRemap();
    if (c.companions) {
        for (auto& companion : *c.companions)
            if (companion && companion->shownAt(c.mesh.currentFrame))
                companion->computeFaceNormals(c.mesh.currentFrame);
    }
    c.refresh.rebuildShadeRamps();
    if (c.matchesFile) c.matchesFile();
    c.refresh.meshLoaded();
    return true;
}

}  // namespace tarn
