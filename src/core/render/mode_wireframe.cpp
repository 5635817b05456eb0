#include "render/mode_wireframe.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

#include "render/shading.h"

namespace tarn {

namespace {

constexpr std::uint32_t kFlagsSelectedOnly = kTriSelected;
// Keys of Companion triangles start below "nothing" (-1); each Companion
// takes a block as large as the triangle capacity.
constexpr std::int32_t kFirstCompanionKey = -2;

// The undirected edges drawn so far in one colour. Most edges are shared by
// two triangles, and an edge gives the same pixels whichever triangle draws
// it (lines put their ends in order, and the near and border clips do not
// depend on it), so within one colour each is drawn once: half the lines.
class DrawnEdges {
public:
    explicit DrawnEdges(std::size_t edges) : slots_(std::bit_ceil(std::max<std::size_t>(2 * edges, 16)), 0) {}

    // True the first time an edge comes, either way round.
    bool firstTime(std::size_t a, std::size_t b) {
        const std::uint32_t key = (std::uint32_t(std::min(a, b)) << 16 | std::uint32_t(std::max(a, b))) + 1;
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = (key * kMix) >> kMixShift & mask;; i = (i + 1) & mask) {
            if (slots_[i] == key) return false;
            if (slots_[i] == 0) {
                slots_[i] = key;
                return true;
            }
        }
    }

private:
    static constexpr std::uint32_t kMix = 2654435761u;  // Knuth's multiplicative hash
    static constexpr int kMixShift = 8;
    std::vector<std::uint32_t> slots_;  // key + 1 of each edge seen; 0 for free
};

template <class Accept>
void meshEdges(RenderPass& pass, std::uint8_t colour, Accept accept) {
    const Mesh& mesh = pass.mesh();
    const Vec3f* positions = pass.target().transformed.data();
    DrawnEdges drawn(3 * pass.drawableTriangles().size());
    for (const std::int16_t i : pass.drawableTriangles()) {
        const Triangle& t = mesh.triangles[std::size_t(i)];
        if (!accept(t.flags)) continue;
        for (std::size_t k = 0; k < 3; ++k) {
            const auto a = std::size_t(t.vertex[k]);
            const auto b = std::size_t(t.vertex[(k + 1) % 3]);
            if (drawn.firstTime(a, b)) pass.drawVertexEdge(positions, a, b, colour);
        }
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
