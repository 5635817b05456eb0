#pragma once
// The mapping as a picture to paint over in another editor: every Triangle's
// edges, at 1 to 8 times the skin's size, optionally over the skin and with
// each chart filled in a colour of its own.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "image/skin.h"
#include "model/mesh.h"
#include "platform/ui.h"

namespace tarn {

inline constexpr int kMaxLayoutScale = 8;

// Each texel of a skin beneath is a scale x scale block.
struct LayoutOptions : LayoutChoices {
    std::array<std::uint8_t, 3> edge{0, 0, 0};
};

// The largest picture written: the game's largest skin at the largest scale.
// Its bytes, and the time to draw and compress them, stay bounded whatever
// skin size a file's header names.
inline constexpr long long kMaxLayoutPixels = 640LL * 480 * kMaxLayoutScale * kMaxLayoutScale;

// Why the layout of `mesh` at `scale` is not drawn: it would pass
// kMaxLayoutPixels. Empty when it may be drawn.
std::string LayoutTooLarge(const Mesh& mesh, int scale);

// Red, green, blue per pixel, top row first.
struct LayoutPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// The layout of the Mesh's mapping on its skin size; `skin`, when given and
// asked for, lies beneath. At scale 1 the edges are the texels the mapping
// overlay draws at a zoom of 1; above it they join the same texel centres,
// anti-aliased. Empty when the Mesh has no skin size or LayoutTooLarge says why not.
LayoutPicture RenderLayout(const Mesh& mesh, const Skin* skin, const LayoutOptions& options);

// Writes the picture as a 24-bit PNG through an atomic replace; the errno of
// a failure, 0 on success.
int WriteLayout(const std::string& path, const LayoutPicture& picture);

struct SkinEditContext;
inline constexpr const char* kLayoutFilter = "PNG Image (*.png)|*.png|All Files (*.*)|*.*||";

// Mapping > "Export Layout...": the choices, then where to write; the edges
// in the skin pane's edge colour over the current skin's palette.
void exportLayoutCommand(SkinEditContext& c);

}  // namespace tarn
