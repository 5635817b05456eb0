#include "render/mode_wireframe.h"

#include "render/shading.h"

namespace tarn {

namespace {

constexpr std::uint32_t kFlagsSelectedOnly = kTriSelected;
// Keys of Companion triangles start below "nothing" (-1); each Companion
// takes a block as large as the triangle capacity.
constexpr std::int32_t kFirstCompanionKey = -2;

template <class Accept>
void meshEdges(RenderPass& pass, std::uint8_t colour, Accept accept) {
    const Mesh& mesh = pass.mesh();
    for (const std::int16_t i : pass.drawableTriangles()) {
        const Triangle& t = mesh.triangles[std::size_t(i)];
        if (accept(t.flags)) pass.drawTriangleEdges(pass.target().transformed.data(), t.vertex, colour);
    }
}

void companionEdges(RenderPass& pass, std::uint8_t colour) {
    for (const auto& shown : pass.shownCompanions())
        for (const auto& t : shown.companion->triangles)
            pass.drawTriangleEdges(shown.companion->cameraPositions.data(), t.vertex, colour);
}

}  // namespace

void WireframeMode::drawMesh(RenderPass& pass) {
    const ColorSlots& slots = pass.slots();
    if (!pass.mappingMode()) {
        meshEdges(pass, slots[kSlotEdge], [](std::uint32_t f) { return !(f & kTriHidden); });
        companionEdges(pass, slots[kSlotEdge]);
        return;
    }
    meshEdges(pass, slots[kSlotEdge], [](std::uint32_t f) { return f == 0; });
    companionEdges(pass, slots[kSlotEdge]);
    meshEdges(pass, slots[kSlotSelected], [](std::uint32_t f) { return f == kFlagsSelectedOnly; });
    meshEdges(pass, slots[kSlotDragged],
              [](std::uint32_t f) { return (f & kTriDragMark) && !(f & kTriHidden); });
}

std::int32_t WireframeSolidMode::companionKey(int listIndex, int triangle) {
    return kFirstCompanionKey - listIndex * kMaxCompanionTriangles - triangle;
}

void WireframeSolidMode::drawMesh(RenderPass& pass) {
    const Mesh& mesh = pass.mesh();
    const ColorSlots& slots = pass.slots();
    for (const std::int16_t i : pass.visibleTriangles()) {
        const auto c = pass.meshCorners(i);
        const auto colour = slots[wireSlot(mesh.triangles[std::size_t(i)].flags, pass.mappingMode())];
        pass.raster().FillFlatPick(flatFill(c), colour, i);
    }
    for (const std::int16_t i : pass.visibleTriangles())
        pass.drawTriangleEdges(pass.target().transformed.data(),
                               mesh.triangles[std::size_t(i)].vertex, slots[kSlotBackground], i);
}

void WireframeSolidMode::drawCompanions(RenderPass& pass) {
    const ColorSlots& slots = pass.slots();
    for (const auto& shown : pass.shownCompanions()) {
        const Companion& c = *shown.companion;
        for (const std::int16_t j : c.visible) {
            const auto corners = pass.companionCorners(c, j);
            const std::int32_t key = companionKey(shown.listIndex, j);
            pass.raster().FillFlatPick(flatFill(corners), slots[kSlotEdge], key);
            pass.drawTriangleEdges(c.cameraPositions.data(), c.triangles[std::size_t(j)].vertex,
                                   slots[kSlotBackground], key);
        }
    }
}

}  // namespace tarn
