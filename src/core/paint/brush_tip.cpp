#include "paint/brush_tip.h"

#include <algorithm>
#include <cmath>

#include "platform/settings.h"

namespace tarn {

bool BrushTip::contains(float dx, float dy) const {
    const float r = 0.5f * float(size);
    if (shape == BrushShape::Square) return std::fabs(dx) <= r && std::fabs(dy) <= r;
    return dx * dx + dy * dy <= r * r;
}

std::vector<std::pair<int, int>> BrushTip::footprint() const {
    // An even size centres the tip on a texel corner, an odd one on a texel.
    const int lo = -(size - 1) / 2;
    const int hi = size / 2;
    const float centre = 0.5f * float(lo + hi);
    std::vector<std::pair<int, int>> offsets;
    for (int dy = lo; dy <= hi; ++dy)
        for (int dx = lo; dx <= hi; ++dx)
            if (contains(float(dx) - centre, float(dy) - centre)) offsets.emplace_back(dx, dy);
    return offsets;
}

void BrushTip::load(const SettingsStore& store) {
    const int stored = store.getInt(kPreferences, kBrushSizeKey, size);
    if (stored >= kMinBrushSize && stored <= kMaxBrushSize) size = stored;
    const std::string name = store.getString(kPreferences, kBrushShapeKey, "");
    if (name == "round") shape = BrushShape::Round;
    if (name == "square") shape = BrushShape::Square;
}

void BrushTip::store(SettingsStore& store) const {
    store.setInt(kPreferences, kBrushSizeKey, size);
    store.setString(kPreferences, kBrushShapeKey, shape == BrushShape::Square ? "square" : "round");
}

}  // namespace tarn
