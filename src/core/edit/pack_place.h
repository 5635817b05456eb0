#pragma once
// Where a Shape goes on a skin: the lowest row, then the leftmost column,
// where none of its texels meets a texel already taken. Shapes interlock,
// since only their texels count, not their boxes.
#include <cstdint>
#include <optional>
#include <vector>

#include "edit/pack_charts.h"

namespace tarn {

struct Place {
    int x = 0;
    int y = 0;
};

class Occupancy {
public:
    // A skin `width` wide and at most `height` tall, nothing taken.
    Occupancy(int width, int height);

    // The top-left corner of the lowest, then leftmost, place inside the
    // skin where `shape` meets no taken texel; nothing when there is none.
    std::optional<Place> lowestFree(const Shape& shape) const;
    // Takes the texels of `shape` with its corner at `at`; texels outside the
    // skin are dropped.
    void take(const Shape& shape, Place at);
    // One more than the lowest row taken; 0 when nothing is.
    int usedHeight() const { return usedHeight_; }
    // The steps lowestFree has taken so far (rows looked at and spans met):
    // a measure of the work that is the same on every machine.
    long long work() const { return work_; }

private:
    int width_;
    int height_;
    int usedHeight_ = 0;
    mutable long long work_ = 0;
    std::vector<std::vector<Span>> rows_;  // per row, sorted and apart
    std::vector<int> widestFree_;          // per row, the longest run nothing took
    mutable std::vector<int> longest_;     // scratch of lowestFree: the shape's longest span per row
    mutable std::vector<std::uint64_t> blocked_;  // scratch of lowestFree: one bit per corner column
};

}  // namespace tarn
