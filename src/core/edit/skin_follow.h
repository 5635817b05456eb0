#pragma once
// Skin Follows Mapping: while a mapping drag is under way the painted texels
// of the dragged Triangles travel with their corners. The skin as it stood at
// the press is kept, and every step paints it back, then re-bakes each dragged
// Triangle at its new place from the texels it covered at the press.
#include <cstdint>
#include <vector>

#include "image/skin.h"
#include "model/mesh.h"
#include "edit/rebake.h"

namespace tarn {

class SkinFollow {
public:
    // Keeps `skin`'s pixels. Nothing is kept (and nothing will follow) without
    // a skin or when its size is not the Mesh's skin size.
    void start(Skin* skin, const Mesh& mesh);
    bool active() const { return skin_ != nullptr; }
    // Repaints the kept pixels, then every Triangle with the drag mark at its
    // current MappingVerts from its MappingVerts in `pressTable`.
    void retexture(const Mesh& mesh, const std::vector<MappingVert>& pressTable);
    // Forgets the kept pixels; the skin keeps what the last step painted.
    void stop();

private:
    Skin* skin_ = nullptr;
    std::vector<std::uint8_t> snapshot_;
    Rebake rebake_;
};

}  // namespace tarn
