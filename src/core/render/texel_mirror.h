#pragma once
// Where a stroke in Mirror mode paints a second time: the texel at the
// mirror of each painted texel, across the model's symmetry (the 3D pane) or
// across a line of the skin (the skin pane).
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "model/symmetry.h"

namespace tarn {

// Skin pixel offset to its mirror's offset, or -1 for none.
using TexelMirror = std::function<std::int32_t(std::int32_t)>;

// Across a line of a skin of `width` x `height`.
TexelMirror lineTexelMirror(const SkinMirrorLine& line, int width, int height);

// Across the model's symmetry: each texel's surface point (the first Triangle
// whose mapping covers the texel's centre) is mirrored (see Mirror::of), and
// the texel the mapping puts there is the answer. Texels are looked up
// as the stroke reaches them, each once.
class SurfaceTexelMirror {
public:
    SurfaceTexelMirror(const Mesh& mesh, const SymmetrySetting& symmetry, int width, int height);
    std::int32_t operator()(std::int32_t texel);

private:
    const Mesh& mesh_;
    Mirror mirror_;
    int width_, height_;
    std::vector<SurfacePoint> owner_;   // per texel; triangle -1 where none covers it
    std::vector<std::int32_t> answer_;  // per texel; -2 until asked
};

// The 3D pane's mirror as a TexelMirror (shared, so copies of it keep the
// lookups); empty when the Mesh has no symmetry frame.
TexelMirror surfaceTexelMirror(const Mesh& mesh, const SymmetrySetting& symmetry, int width, int height);

}  // namespace tarn
