#include "render/mode_textured.h"

#include <utility>

#include "raster/frame_buffer.h"

namespace tarn {

namespace {
constexpr std::uint32_t kFlagsNone = 0;
constexpr std::uint32_t kFlagsSelectedOnly = kTriSelected;
}  // namespace

TexVertex texturedCorner(const PixelCorner& p, const MappingVert& st) {
    return {p.p.x, p.p.y, toFixed16(st.s), toFixed16(st.t), p.z};
}

MappingVert TexturedMode::meshCornerTexel(const Mesh& mesh, int triangle, int k) {
    const std::int16_t index = mesh.triangles[std::size_t(triangle)].mapping[std::size_t(k)];
    if (index < 0 || index >= mesh.mappingVertCount || std::size_t(index) >= mesh.mappingVerts.size())
        return {};
    return mesh.mappingVerts[std::size_t(index)];
}

bool TexturedMode::bindSkin(RenderPass& pass) {
    const Skin* skin = pass.scene().skin;
    if (skin == nullptr || skin->width <= 0 || skin->height <= 0) return false;
    // Rebuilt at every draw: a skin whose size changed is addressed right.
    rowOffsets_.resize(std::size_t(skin->height));
    for (std::size_t r = 0; r < rowOffsets_.size(); ++r)
        rowOffsets_[r] = static_cast<std::int32_t>(r) * skin->width;
    return pass.raster().SetTexture(std::as_const(skin->pixels), skin->width, skin->height, rowOffsets_);
}

bool TexturedMode::bindCompanionSkin(RenderPass& pass, const Companion& c) {
    return c.hasSkin() &&
           pass.raster().SetTexture(c.skinPixels, c.skinWidth, c.skinHeight, c.rowTable);
}

bool TexturedMode::bindSource(RenderPass& pass) { return bindSkin(pass); }

void TexturedMode::drawMesh(RenderPass& pass) {
    const Mesh& mesh = pass.mesh();
    for (const std::int16_t i : pass.visibleTriangles()) {
        const auto fill = fillTriangle<TexVertex>(pass.meshCorners(i), [&](const PixelCorner& p, int k) {
            return texturedCorner(p, meshCornerTexel(mesh, i, k));
        });
        if (pass.mappingMode())
            pass.raster().FillTexturedPick(fill, i);
        else
            pass.raster().FillTexturedTexel(fill);
    }
    if (pass.mappingMode()) drawMappingEdges(pass);
}

void TexturedMode::drawMappingEdges(RenderPass& pass) {
    const Mesh& mesh = pass.mesh();
    const ColorSlots& slots = pass.slots();
    auto edges = [&](std::uint8_t colour, auto accept) {
        for (const std::int16_t i : pass.visibleTriangles()) {
            const Triangle& t = mesh.triangles[std::size_t(i)];
            if (accept(t.flags))
                pass.drawTriangleEdges(pass.target().transformed.data(), t.vertex, colour, i);
        }
    };
    edges(slots[kSlotEdge], [](std::uint32_t f) { return f == kFlagsNone; });
    edges(slots[kSlotSelected], [](std::uint32_t f) { return f == kFlagsSelectedOnly; });
    edges(slots[kSlotDragged], [](std::uint32_t f) { return (f & kTriDragMark) != 0; });
}

void TexturedMode::drawCompanions(RenderPass& pass) {
    for (const auto& shown : pass.shownCompanions()) {
        const Companion& c = *shown.companion;
        if (!bindCompanionSkin(pass, c)) continue;
        for (const std::int16_t j : c.visible) {
            const auto& corner = c.triangles[std::size_t(j)].corner;
            pass.raster().FillTexturedPick(
                fillTriangle<TexVertex>(pass.companionCorners(c, j),
                                        [&](const PixelCorner& p, int k) {
                                            return texturedCorner(p, corner[std::size_t(k)]);
                                        }),
                kPickCompanion);
        }
    }
}

}  // namespace tarn
