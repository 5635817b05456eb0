#pragma once
// The texels of a rectangle or an ellipse drawn on the skin between two
// corner texels: every texel of it when filled, its edge otherwise.
#include <algorithm>
#include <cstdlib>

namespace tarn {

struct ShapeOnSkin {
    int x0, y0, x1, y1;  // corner texels, either way round
    bool ellipse = false;
    bool filled = false;

    // Calls visit(x, y, edge) for each texel of the shape; with `filled`
    // false, only for the edge.
    template <typename Visit>
    void visit(Visit&& visit) const {
        const int left = std::min(x0, x1), right = std::max(x0, x1);
        const int top = std::min(y0, y1), bottom = std::max(y0, y1);
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x) {
                if (!inside(x, y)) continue;
                const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
                if (filled || edge) visit(x, y, edge);
            }
    }

    // Whether texel (x, y) lies in the shape: in the rectangle, or with its
    // centre in the ellipse inscribed in it.
    bool inside(int x, int y) const {
        const int left = std::min(x0, x1), right = std::max(x0, x1);
        const int top = std::min(y0, y1), bottom = std::max(y0, y1);
        if (x < left || x > right || y < top || y > bottom) return false;
        if (!ellipse) return true;
        const double rx = 0.5 * (right - left + 1), ry = 0.5 * (bottom - top + 1);
        const double dx = (x + 0.5 - left - rx) / rx, dy = (y + 0.5 - top - ry) / ry;
        return dx * dx + dy * dy <= 1.0;
    }
};

}  // namespace tarn
