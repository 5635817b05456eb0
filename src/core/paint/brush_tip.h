#pragma once
// The brush's tip: how wide a point of a stroke is and its shape. In the
// skin pane the size counts texels; on the model it counts the pointer's
// pixels, and every visible texel whose centre lies inside the tip is painted.
#include <utility>
#include <vector>

namespace tarn {

class SettingsStore;

enum class BrushShape : int { Round = 0, Square = 1 };

inline constexpr int kMinBrushSize = 1;
inline constexpr int kMaxBrushSize = 64;
inline constexpr const char* kBrushSizeKey = "Brush Size";
inline constexpr const char* kBrushShapeKey = "Brush Shape";

struct BrushTip {
    int size = 1;
    BrushShape shape = BrushShape::Round;

    // Whether a point (dx, dy) from the tip's centre lies inside it, for a
    // tip `size` units across.
    bool contains(float dx, float dy) const;
    // The texel offsets a stamp at a texel covers: size x size texels, those
    // of a round tip with their centres inside the disc.
    std::vector<std::pair<int, int>> footprint() const;
    // Kept in section "Preferences" as "Brush Size" and "Brush Shape"
    // ("round" or "square"); what is missing or out of range keeps the default.
    void load(const SettingsStore& store);
    void store(SettingsStore& store) const;
};

}  // namespace tarn
