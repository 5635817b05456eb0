#include "edit/retro_map.h"

#include <algorithm>

#include "edit/rebake.h"
#include "edit/seam_padding.h"
#include "image/skin_commands.h"
#include "platform/refresh.h"
#include "platform/settings.h"

namespace tarn {

std::vector<std::uint8_t> RetroMapPixels(const Mesh& mesh, const Skin& old, const KmapFile& file,
                                         std::uint8_t background, int padding) {
    const int width = std::max<int>(mesh.skinWidth, 0);
    const int height = std::max<int>(mesh.skinHeight, 0);
    std::vector<std::uint8_t> pixels(std::size_t(width) * std::size_t(height), background);
    std::vector<std::uint8_t> covered(pixels.size(), 0);
    Rebake rebake;
    if (!rebake.setImages(pixels, width, height, old.pixels, old.width, old.height)) return pixels;
    rebake.markCovered(covered.data());

    const std::size_t triangles =
        std::min(file.records.size(), std::size_t(std::max<int>(mesh.triangleCount, 0)));
    for (std::size_t i = 0; i < triangles; ++i) {
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
    skin->pixels = RetroMapPixels(mesh, old, parsed.file, background, padding);
    skin->backup = skin->pixels;
    skin->palette = old.palette;
    skin->name = old.name;
    skin->external = true;
    return skin;
}

void retroMapCommand(RetroMapContext& c) {
    FileDialogRequest imageRequest;
    imageRequest.filter = kRetroSkinFilter;
    imageRequest.initialName = kRetroSkinInitialName;
    imageRequest.mustExist = true;
    imageRequest.title = kRetroOldSkinTitle;
    const std::unique_ptr<Skin> old =
        askSkinImage(c.ui, c.settings, c.folders, imageRequest, c.skins.current(), c.background);
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
