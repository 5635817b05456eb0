#pragma once
// Which texels of the skin painting may change: one byte per texel of the
// Mesh's skin size. While nothing is selected every texel may change; a
// selection that loses its last texel is no selection any more.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "model/mesh.h"

namespace tarn {

struct Skin;

// How a new shape meets the selection: Shift adds, Ctrl takes away.
enum class SelectCombine { Replace, Add, Subtract };

// A texel-edge segment of the selection's outline, in texel corners:
// (x0, y0) to (x1, y1), either horizontal or vertical.
struct SelectionEdge {
    int x0, y0, x1, y1;
};

struct SelectionBounds {
    int left = 0, top = 0, right = -1, bottom = -1;  // inclusive; empty when right < left
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

class SkinSelection {
public:
    bool active() const { return count_ > 0; }
    int width() const { return width_; }
    int height() const { return height_; }
    std::size_t count() const { return count_; }
    // The painting rule asks this of every texel: true when nothing is
    // selected, or texel `offset` is.
    bool allows(std::size_t offset) const { return count_ == 0 || (offset < mask_.size() && mask_[offset] != 0); }
    bool contains(int x, int y) const {
        return x >= 0 && y >= 0 && x < width_ && y < height_ && mask_[std::size_t(y) * std::size_t(width_) + std::size_t(x)];
    }
    const std::vector<std::uint8_t>& mask() const { return mask_; }

    void clear();
    void selectAll(int width, int height);
    // Every texel that was selected is not, and the other way round; with
    // nothing selected, everything.
    void invert(int width, int height);
    // `shape` (one byte per texel of a width x height skin, non-zero inside)
    // replaces, joins or is taken from the selection.
    void combine(const std::vector<std::uint8_t>& shape, int width, int height, SelectCombine how);
    SelectionBounds bounds() const;
    // The outline between selected and unselected texels (and the skin's
    // border), each straight run as one segment.
    std::vector<SelectionEdge> outline() const;

private:
    void recount();
    std::vector<std::uint8_t> mask_;
    int width_ = 0;
    int height_ = 0;
    std::size_t count_ = 0;
};

// The shapes the select tools make, each one byte per texel of the skin.
// The texels of the rectangle between two corner texels (either order).
std::vector<std::uint8_t> rectangleShape(int width, int height, int x0, int y0, int x1, int y1);
// The texels whose centres lie inside the closed polygon through `points`
// (texel corners), by the even-odd rule.
std::vector<std::uint8_t> lassoShape(int width, int height, const std::vector<std::pair<float, float>>& points);
// The 4-connected texels of the index at `start`, or every texel of it.
std::vector<std::uint8_t> colourShape(const Skin& skin, std::int32_t start, bool everyTexelOfIndex);
// The texels the selected Triangles' mapping covers (centres inside), as the
// surface fill counts them.
std::vector<std::uint8_t> selectedTrianglesShape(const Mesh& mesh, int width, int height);

}  // namespace tarn
