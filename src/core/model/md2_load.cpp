#include <algorithm>
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

// The skins of one load that could not be used, reported once per kind with
// their names on the following lines, in the order the kinds first came up.
class SkinProblems {
public:
    void add(const char* text, const std::string& name) {
        for (auto& [kind, names] : kinds_) {
            if (kind == text) {
                names += "\n" + name;
                return;
            }
        }
        kinds_.emplace_back(text, "\n" + name);
    }
    void report(Ui& ui) const {
        for (const auto& [kind, names] : kinds_) ui.message(kind + names);
    }

private:
    std::vector<std::pair<std::string, std::string>> kinds_;
};

// What tells the file behind a skin name: the loose file by device and inode
// (so other spellings and links of it match), else the name as the PAK lookup
// takes it.
std::string skinFileKey(const std::string& base, const std::string& name) {
    FileIdentity id;
    if (identifyFile(resolveBelow(base, name), id))
        return "file:" + std::to_string(id.device) + ":" + std::to_string(id.inode);
    return "pak:" + pakKey(confinedName(name));
}

// Every skin the file names, in file order: the image when it loads with the
// header's size, a temporary checkerboard otherwise.
std::vector<std::unique_ptr<Skin>> loadNamedSkins(MeshFileContext& c, const Md2Contents& md2) {
    const int width = md2.header.skinWidth;
    const int height = md2.header.skinHeight;
    std::vector<std::unique_ptr<Skin>> skins;
    SkinProblems problems;
    PixelBuffer checkerboard;  // one for every temporary skin of this load
    // A file named by several skins is read and decoded once; the skins share
    // its pixels until one of them is painted.
    std::vector<std::pair<std::string, std::unique_ptr<Skin>>> decoded;
    // No one is asked in the middle of a load: a true-colour skin takes the
    // nearest colours of the default palette, which new skins get too.
    const ColourMatcher defaultPalette = [&c]() -> std::optional<ColourMatch> {
        ColourMatch match;
        LoadDefaultPalette(c.settings, match.palette);
        return match;
    };
    for (const std::string& name : md2.skinNames) {
        const std::string key = skinFileKey(c.folders.base, name);
        auto same = std::find_if(decoded.begin(), decoded.end(), [&](const auto& d) { return d.first == key; });
        if (same == decoded.end()) {
            decoded.emplace_back(key, LoadLinkedSkin(c.ui, c.folders.base, name, &defaultPalette));
            same = decoded.end() - 1;
        }
        std::unique_ptr<Skin> skin = same->second ? std::make_unique<Skin>(*same->second) : nullptr;
        if (skin) skin->name = name;
        if (skin && skin->width == width && skin->height == height) {
            skins.push_back(std::move(skin));
            continue;
        }
        problems.add(skin ? kMsgSkinWrongSize : kMsgSkinMissing, name);
        if (checkerboard.empty()) checkerboard = temporarySkinPixels(width, height);
        skins.push_back(makeTemporarySkin(c.settings, c.folders.base, name, width, height, checkerboard));
    }
    problems.report(c.ui);
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

PixelBuffer temporarySkinPixels(int width, int height) {
    if (width <= 0 || height <= 0) return {};
    // Two kinds of row: those whose cell band is even start with a cell of A.
    const auto w = static_cast<std::size_t>(width);
    Bytes evenRow(w), oddRow(w);
    for (std::size_t x = 0; x < w; ++x) {
        const bool evenCell = (x / kTempSkinCell) % 2 == 0;
        evenRow[x] = evenCell ? kTempSkinCellA : kTempSkinCellB;
        oddRow[x] = evenCell ? kTempSkinCellB : kTempSkinCellA;
    }
    Bytes pixels(w * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const Bytes& row = (y / kTempSkinCell) % 2 == 0 ? evenRow : oddRow;
        std::copy(row.begin(), row.end(), pixels.begin() + static_cast<std::ptrdiff_t>(w * std::size_t(y)));
    }
    return PixelBuffer(std::move(pixels));
}

std::unique_ptr<Skin> makeTemporarySkin(const SettingsStore& settings, const std::string& baseFolder,
                                        const std::string& name, int width, int height,
                                        PixelBuffer checkerboard) {
    auto skin = std::make_unique<Skin>();
    if (width > 0 && width <= kMaxImageWidth && height > 0 && height <= kMaxImageRows) {
        skin->width = width;
        skin->height = height;
    }
    skin->name = name;
    // Saving writes below the base folder, wherever the name tried to point.
    skin->filePath = joinPath(baseFolder, confinedName(name));
    skin->hasFile = false;
    skin->external = false;
    LoadDefaultPalette(settings, skin->palette);
    const bool fits = checkerboard.size() == skin->pixelCount();
    skin->pixels = fits ? std::move(checkerboard) : temporarySkinPixels(skin->width, skin->height);
    skin->backup = skin->pixels;
    skin->buildRowTable();
    return skin;
}

bool LoadMesh(MeshFileContext& c, const std::string& path) {
    const std::string fullPath = pathFromBase(c.folders.base, path);
    GameFile found = readGamePath(c.ui, fullPath);
    ReadResult& file = found.file;
    if (!file.ok()) {
        c.ui.message(withReadRefusal(kMsgLoadError, fullPath, file.error));
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
        ScanSkins(c.ui, c.refresh, c.skins, folderOf(fullPath), c.mesh.skinWidth, c.mesh.skinHeight, c.folders.base);
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
