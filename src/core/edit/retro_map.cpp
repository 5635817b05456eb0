#include "edit/retro_map.h"

#include "image/skin_commands.h"
#include "platform/refresh.h"
#include "raster/fixed.h"
#include "raster/rasterizer.h"

namespace tarn {

namespace {

// Texture coordinates sample just short of the texel's centre, so that the
// steps across a triangle never truncate into the next texel too early.
constexpr Fixed16 kTexelCentre = kFixed16Half - 1;

Fixed16 texelCentre(int coordinate) { return toFixed16(coordinate) + kTexelCentre; }

}  // namespace

std::vector<std::uint8_t> RetroMapPixels(const Mesh& mesh, const Skin& old, const KmapFile& file,
                                         std::uint8_t background) {
    const int width = mesh.skinWidth;
    const int height = mesh.skinHeight;
    std::vector<std::uint8_t> pixels(std::size_t(std::max(width, 0)) * std::size_t(std::max(height, 0)), background);
    if (pixels.empty() || old.pixels.size() < old.pixelCount()) return pixels;

    std::vector<std::int32_t> rows(std::size_t(old.height));
    for (int r = 0; r < old.height; ++r) rows[std::size_t(r)] = r * old.width;
    Rasterizer raster;
    if (!raster.SetTexture(old.pixels, old.width, old.height, rows) ||
        !raster.SetTarget(RasterTarget{pixels.data(), nullptr, nullptr, nullptr, width, height}))
        return pixels;

    const std::size_t triangles =
        std::min(file.records.size(), std::size_t(std::max<int>(mesh.triangleCount, 0)));
    for (std::size_t i = 0; i < triangles; ++i) {
        const Triangle& tri = mesh.triangles[i];
        FillTriangle<TexVertex2D> fill{};
        bool inside = true;
        for (std::size_t k = 0; k < 3; ++k) {
            const int m = tri.mapping[k];
            if (m < 0 || m >= mesh.mappingVertCount) inside = false;
            if (!inside) break;
            const MappingVert at = mesh.mappingVerts[std::size_t(m)];
            const MappingVert from = RescaleVert(file.records[i].corner[k], file.width, file.height, old.width, old.height);
            fill[k] = {at.s, at.t, texelCentre(from.s), texelCentre(from.t)};
        }
        if (!inside) continue;
        fill[3] = fill[0];
        raster.FillTexture2DSmooth(fill);
    }
    return pixels;
}

std::unique_ptr<Skin> RetroMap(Ui& ui, const Mesh& mesh, const Skin& old, const std::string& kmapPath,
                               std::uint8_t background) {
    const ReadResult read = readFile(kmapPath);
    if (!read.ok()) {
        ui.message(readFailureMessage(kmapPath, read.error));
        return nullptr;
    }
    const KmapParse parsed = ParseKmap(read.bytes, mesh.triangleCount);
    if (parsed.refusal == KmapRefusal::TriangleCount) {
        ui.message(kMsgRetroTriangleCount);
        return nullptr;
    }
    if (!parsed.ok()) {
        ui.message(kMsgKmapInvalid);
        return nullptr;
    }
    auto skin = makeBlankSkin(mesh.skinWidth, mesh.skinHeight);
    if (skin->pixelCount() == 0) return nullptr;
    skin->pixels = RetroMapPixels(mesh, old, parsed.file, background);
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
    const std::unique_ptr<Skin> old =
        askSkinImage(c.ui, c.settings, c.folders, imageRequest, c.skins.current(), c.background);
    if (!old) return;

    FileDialogRequest kmapRequest;
    kmapRequest.filter = kKmapFilter;
    kmapRequest.initialName = kKmapInitialName;
    kmapRequest.mustExist = true;
    const auto kmap = askOpenPath(c.ui, c.settings, c.folders, kmapRequest);
    if (!kmap) return;
    std::unique_ptr<Skin> skin =
        RetroMap(c.ui, c.mesh, *old, appendExtensionIfNone(kmap->path, kKmapExtension), c.background);
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
