#include "edit/pack_place.h"

#include <algorithm>

namespace tarn {

Occupancy::Occupancy(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), rows_(std::size_t(height_)) {}

std::optional<Place> Occupancy::lowestFree(const Shape& shape) const {
    const int lastX = width_ - shape.width;
    const int lastY = height_ - shape.height;
    if (shape.height == 0 || lastX < 0) return std::nullopt;
    for (int y = 0; y <= lastY; ++y) {
        // The corner columns at which a shape span would meet a taken one:
        // span [a, b] at corner x meets taken [p, q] when x + a <= q and x + b >= p.
        blocked_.clear();
        for (int r = 0; r < shape.height; ++r) {
            const auto& taken = rows_[std::size_t(y + r)];
            if (taken.empty()) continue;
            for (const Span& s : shape.rows[std::size_t(r)])
                for (const Span& t : taken) {
                    const int from = t.left - s.right, to = t.right - s.left;
                    if (to >= 0 && from <= lastX) blocked_.push_back({from, to});
                }
        }
        std::sort(blocked_.begin(), blocked_.end(), [](const Span& a, const Span& b) { return a.left < b.left; });
        int x = 0;
        for (const Span& b : blocked_) {
            if (b.left > x) break;
            x = std::max(x, b.right + 1);
        }
        if (x <= lastX) return Place{x, y};
    }
    return std::nullopt;
}

void Occupancy::take(const Shape& shape, Place at) {
    for (int r = 0; r < shape.height; ++r) {
        const int y = at.y + r;
        if (y < 0 || y >= height_ || shape.rows[std::size_t(r)].empty()) continue;
        auto& row = rows_[std::size_t(y)];
        for (const Span& s : shape.rows[std::size_t(r)]) {
            const Span placed{std::max(at.x + s.left, 0), std::min(at.x + s.right, width_ - 1)};
            if (placed.left <= placed.right) row.push_back(placed);
        }
        std::sort(row.begin(), row.end(), [](const Span& a, const Span& b) { return a.left < b.left; });
        std::size_t kept = 0;
        for (const Span& s : row) {
            if (kept > 0 && s.left <= row[kept - 1].right + 1)
                row[kept - 1].right = std::max(row[kept - 1].right, s.right);
            else
                row[kept++] = s;
        }
        row.resize(kept);
        usedHeight_ = std::max(usedHeight_, y + 1);
    }
}

}  // namespace tarn
