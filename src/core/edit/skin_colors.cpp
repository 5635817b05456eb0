// Invert and Replace colors: index and palette arithmetic on the current Skin.
#include <algorithm>
#include <utility>

#include "edit/skin_edit.h"

namespace tarn {

namespace {

constexpr int kLastIndex = kPaletteColors - 1;

void reversePalette(Skin& skin) {
    for (int k = 0; k < kPaletteColors / 2; ++k)
        for (int channel = 0; channel < 3; ++channel)
            std::swap(skin.palette[static_cast<std::size_t>(k * 3 + channel)],
                      skin.palette[static_cast<std::size_t>((kLastIndex - k) * 3 + channel)]);
}

void mirrorIndices(std::vector<std::uint8_t>& pixels) {
    for (std::uint8_t& p : pixels) p = static_cast<std::uint8_t>(kLastIndex - p);
}

void mirrorPixels(Skin& skin) {
    mirrorIndices(skin.pixels.edit());
    mirrorIndices(skin.backup.edit());
}

// The three inverts share their door; each marks the Skin, whose stored
// pixels move with the pixels and so cannot show the change.
template <typename Op>
void invertCurrent(SkinEditContext& c, const char* step, Op op) {
    Skin* skin = c.skins.current();
    if (!skin) return;
    changeSkin(c, *skin, step, SkinTables::RemapAndRamps, [&] {
        op(*skin);
        skin->unsavedChange = true;
    });
}

}  // namespace

void invertPalette(SkinEditContext& c) { invertCurrent(c, "Invert palette", reversePalette); }

void invertPixels(SkinEditContext& c) { invertCurrent(c, "Invert pixels", mirrorPixels); }

void invertBoth(SkinEditContext& c) {
    invertCurrent(c, "Invert palette and pixels", [](Skin& skin) {
        reversePalette(skin);
        mirrorPixels(skin);
    });
}

void replaceColors(SkinEditContext& c) {
    Skin* skin = c.skins.current();
    if (!skin) return;
    const ColorSlots& slots = c.paint.colorSlots;
    const int a = slots[3];
    const int b = slots[2];
    const int to = slots[kSlotReplaceLow];
    const int toEnd = slots[kSlotReplaceHigh];
    // Index a goes to `to` and b to `toEnd`, whichever way round the range runs.
    const double f = a == b ? 0.0 : double(toEnd - to) / double(b - a);
    const int low = std::min(a, b);
    const int high = std::max(a, b);
    changeSelectedTexels(c, *skin, "Replace colors", SkinTables::None, [&] {
        for (std::uint8_t& p : skin->pixels)
            if (p >= low && p <= high) p = static_cast<std::uint8_t>(to + static_cast<int>((p - a) * f));
    });
}

}  // namespace tarn
