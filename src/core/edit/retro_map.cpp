#include "edit/retro_map.h"

#include <algorithm>

#include "edit/rebake.h"
#include "edit/seam_padding.h"
#include "image/skin_commands.h"
#include "image/skin_io.h"
#include "platform/game_files.h"
#include "platform/refresh.h"
#include "platform/settings.h"

namespace tarn {

std::vector<std::uint8_t> RetroMapPixels(const Mesh& mesh, const Skin& old, const KmapFile& file,
                                         std::uint8_t background, int padding, Progress* progress) {
    const int width = std::max<int>(mesh.skinWidth, 0);
    const int height = std::max<int>(mesh.skinHeight, 0);
    std::vector<std::uint8_t> pixels(std::size_t(width) * std::size_t(height), background);
    std::vector<std::uint8_t> covered(pixels.size(), 0);
    Rebake rebake;
    if (!rebake.setImages(pixels, width, height, old.pixels, old.width, old.height)) return pixels;
    rebake.markCovered(covered.data());
    // The last Triangle over a texel gives it its colour: drawn last to first,
    // each texel once.
    rebake.writeEachTexelOnce();
    const std::size_t triangles =
        std::min(file.records.size(), std::size_t(std::max<int>(mesh.triangleCount, 0)));
    for (std::size_t i = triangles; i-- > 0;) {
        if (progress != nullptr && !progress->step(static_cast<long long>(triangles - i), static_cast<long long>(triangles)))
            return pixels;
        std::array<MappingVert, 3> to{};
        if (!cornersIn(mesh.triangles[i], mesh.mappingVerts, mesh.mappingVertCount, to)) continue;
        std::array<MappingVert, 3> from{};
        for (std::size_t k = 0; k < 3; ++k)
            from[k] = RescaleVert(file.records[i].corner[k], file.width, file.height, old.width, old.height);
        rebake.triangle(to, from);
    }
    PadSeams(pixels, covered, width, height, padding);
    return pixels;
}

std::unique_ptr<Skin> RetroMap(Ui& ui, const Mesh& mesh, const Skin& old, const std::string& kmapPath,
                               std::uint8_t background, int padding) {
    const ReadResult read = readFile(kmapPath);
    if (!read.ok()) {
        ui.message(readFailureMessage(kmapPath, read.error));
        return nullptr;
    }
    const KmapParse parsed = ParseKmap(read.bytes, mesh.triangleCount, KmapVertCount::Ignored);
    if (parsed.refusal == KmapRefusal::TriangleCount) {
        ui.message(std::string(kMsgRetroTriangleCount) + "\n" + kmapPath);
        return nullptr;
    }
    if (!parsed.ok()) {
        ui.message(std::string(kMsgKmapInvalid) + "\n" + kmapPath);
        return nullptr;
    }
    auto skin = makeBlankSkin(mesh.skinWidth, mesh.skinHeight);
    if (skin->pixelCount() == 0) return nullptr;
    // Away from the window, from copies: Cancel drops the new skin.
    const Mesh model = mesh;
    const Skin source = old;
    std::vector<std::uint8_t> pixels;
    if (!ui.runWithProgress(kStepRetroMap, [&](Progress& progress) {
            pixels = RetroMapPixels(model, source, parsed.file, background, padding, &progress);
        }))
        return nullptr;
    skin->pixels = std::move(pixels);
    skin->backup = skin->pixels;
    skin->palette = old.palette;
    // Named after the skin it came from, and unsaved until the user saves it.
    skin->name = old.name + kRebakedSuffix;
    skin->external = true;
    skin->unsavedChange = true;
    return skin;
}

namespace {

constexpr const char* kChooseFile = "A file...";
constexpr const char* kFromList = "Skins list: ";
constexpr const char* kFromPak = "In the PAKs: ";

bool startsWith(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

// The old skin: one of the open skins, an image inside the PAKs of the base
// folder, or a file, offered in one list when there is more than a file.
std::unique_ptr<Skin> chooseOldSkin(RetroMapContext& c) {
    std::vector<std::string> entries{kChooseFile};
    for (int i = 0; i < c.skins.count(); ++i) entries.push_back(kFromList + displayName(*c.skins.at(i)));
    if (!c.folders.base.empty())
        for (const char* extension : {".pcx", ".bmp"})
            for (const std::string& name : pakNamesOf(c.ui, c.folders.base, extension)) entries.push_back(kFromPak + name);
    std::string chosen = kChooseFile;
    if (entries.size() > 1) {
        const std::optional<std::string> picked = c.ui.chooseFromList(kRetroOldSkinTitle, entries);
        if (!picked) return nullptr;
        chosen = *picked;
    }
    if (startsWith(chosen, kFromList)) {
        const auto at = std::find(entries.begin(), entries.end(), chosen) - entries.begin() - 1;
        if (at < 0 || at >= c.skins.count()) return nullptr;
        return std::make_unique<Skin>(*c.skins.at(static_cast<int>(at)));
    }
    if (startsWith(chosen, kFromPak))
        return LoadLinkedSkin(c.ui, c.folders.base, chosen.substr(std::string(kFromPak).size()));
    FileDialogRequest imageRequest;
    imageRequest.filter = kRetroSkinFilter;
    imageRequest.initialName = kRetroSkinInitialName;
    imageRequest.mustExist = true;
    imageRequest.title = kRetroOldSkinTitle;
    return askSkinImage(c.ui, c.settings, c.folders, imageRequest, c.skins.current(), c.background);
}

}  // namespace

void retroMapCommand(RetroMapContext& c) {
    const std::unique_ptr<Skin> old = chooseOldSkin(c);
    if (!old) return;

    FileDialogRequest kmapRequest;
    kmapRequest.filter = kKmapFilter;
    kmapRequest.initialName = kKmapInitialName;
    kmapRequest.mustExist = true;
    kmapRequest.title = kRetroMappingTitle;
    const auto kmap = askOpenPath(c.ui, c.settings, c.folders, kmapRequest);
    if (!kmap) return;
    const int last = std::clamp(c.settings.getInt(kProject, kKeyRetroMapPadding, kDefaultSeamPadding), 0,
                                kMaxSeamPadding);
    const std::optional<int> padding = c.ui.retroMapPadding(last);
    if (!padding) return;
    c.settings.setInt(kProject, kKeyRetroMapPadding, std::clamp(*padding, 0, kMaxSeamPadding));
    std::unique_ptr<Skin> skin =
        RetroMap(c.ui, c.mesh, *old, appendExtensionIfNone(kmap->path, kKmapExtension), c.background, *padding);
    if (!skin) return;
    const std::vector<const Skin*> before = skinsIn(c.skins);
    c.skins.append(std::move(skin));
    c.skins.makeCurrent(c.skins.count() - 1);
    recordSkinsAdded(c.history, c.skins, before, kStepRetroMap);
    c.refresh.refreshAll();
    c.refresh.rebuildPaintRemap();
    c.refresh.rebuildShadeRamps();
}

}  // namespace tarn
