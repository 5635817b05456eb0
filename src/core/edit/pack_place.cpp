#include "edit/pack_place.h"

#include <algorithm>
#include <bit>

namespace tarn {

namespace {
constexpr int kWordBits = 64;
}  // namespace

Occupancy::Occupancy(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      rows_(std::size_t(height_)),
      widestFree_(std::size_t(height_), width_) {}

std::optional<Place> Occupancy::lowestFree(const Shape& shape) const {
    const int lastX = width_ - shape.width;
    const int lastY = height_ - shape.height;
    if (shape.height == 0 || lastX < 0) return std::nullopt;
    longest_.assign(std::size_t(shape.height), 0);
    for (int r = 0; r < shape.height; ++r)
        for (const Span& s : shape.rows[std::size_t(r)])
            longest_[std::size_t(r)] = std::max(longest_[std::size_t(r)], s.right - s.left + 1);
    int narrowest = width_ + 1;
    for (const int l : longest_)
        if (l > 0) narrowest = std::min(narrowest, l);
    const std::size_t words = std::size_t(lastX) / kWordBits + 1;
    // Every corner column blocked: the last word counts only columns up to lastX.
    const std::uint64_t lastWord =
        lastX % kWordBits == kWordBits - 1 ? ~std::uint64_t{0} : (std::uint64_t{1} << (lastX % kWordBits + 1)) - 1;
    const auto allBlocked = [&] {
        for (std::size_t w = 0; w + 1 < words; ++w)
            if (blocked_[w] != ~std::uint64_t{0}) return false;
        return (blocked_[words - 1] & lastWord) == lastWord;
    };
    for (int y = 0; y <= lastY; ++y) {
        // A row whose longest free run is shorter than the shape's span there
        // rules the place out at once; shorter than every span of the shape,
        // it rules out every place whose rows cross it.
        bool hopeless = false;
        int looked = 0;
        for (; looked < shape.height && !hopeless; ++looked)
            hopeless = widestFree_[std::size_t(y + looked)] < longest_[std::size_t(looked)];
        work_ += looked;
        if (hopeless) {
            const int row = y + looked - 1;
            if (widestFree_[std::size_t(row)] < narrowest) y = row;
            continue;
        }
        // The corner columns at which a shape span would meet a taken one:
        // span [a, b] at corner x meets taken [p, q] when x + a <= q and x + b >= p.
        blocked_.assign(words, 0);
        bool full = false;
        for (int r = 0; r < shape.height && !full; ++r) {
            const auto& taken = rows_[std::size_t(y + r)];
            if (taken.empty()) continue;
            work_ += static_cast<long long>(taken.size() * shape.rows[std::size_t(r)].size()) +
                     static_cast<long long>(words);
            for (const Span& s : shape.rows[std::size_t(r)])
                for (const Span& t : taken) {
                    const int from = std::max(t.left - s.right, 0), to = std::min(t.right - s.left, lastX);
                    for (int x = from; x <= to;) {
                        const int bit = x % kWordBits;
                        const int n = std::min(kWordBits - bit, to - x + 1);
                        const std::uint64_t run = n == kWordBits ? ~std::uint64_t{0} : ((std::uint64_t{1} << n) - 1);
                        blocked_[std::size_t(x / kWordBits)] |= run << bit;
                        x += n;
                    }
                }
            // On a crowded skin a few rows of the shape often rule out every column.
            full = allBlocked();
        }
        if (full) continue;
        for (std::size_t w = 0; w < words; ++w) {
            if (blocked_[w] == ~std::uint64_t{0}) continue;
            const int x = static_cast<int>(w) * kWordBits + std::countr_one(blocked_[w]);
            if (x <= lastX) return Place{x, y};
            break;
        }
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
        MergeSpans(row);
        int widest = 0, from = 0;
        for (const Span& t : row) {
            widest = std::max(widest, t.left - from);
            from = t.right + 1;
        }
        widestFree_[std::size_t(y)] = std::max(widest, width_ - from);
        usedHeight_ = std::max(usedHeight_, y + 1);
    }
}

}  // namespace tarn
