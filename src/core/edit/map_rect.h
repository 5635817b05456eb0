#pragma once
// The rectangle of the skin that Map from 3D View lays the projection into,
// in skin pixels. It starts larger than any skin, so that the first clamp
// makes it the whole skin.
#include <algorithm>
#include <utility>

namespace tarn {

struct MapRect {
    int left = -100;
    int top = -100;
    int right = 1000;
    int bottom = 1000;
    bool operator==(const MapRect&) const = default;

    // Left above right and top above bottom are swapped back.
    void normalise() {
        if (left > right) std::swap(left, right);
        if (top > bottom) std::swap(top, bottom);
    }
    // Inside a skin of width x height, then normalised.
    void clampTo(int width, int height) {
        left = std::clamp(left, 0, std::max(width - 1, 0));
        right = std::clamp(right, 0, std::max(width - 1, 0));
        top = std::clamp(top, 0, std::max(height - 1, 0));
        bottom = std::clamp(bottom, 0, std::max(height - 1, 0));
        normalise();
    }
};

}  // namespace tarn
