#pragma once
// The palette strip: the eight colour slots on the left, the current Skin's
// palette in four bands of 64 on the right. Left clicks choose the active slot
// or its colour, right drags protect or unprotect colours, the wheel steps the
// active colour by 16. Draws a 24-bit image the widget blits 1:1.
#include <cstdint>
#include <functional>
#include <vector>

#include "image/palette.h"
#include "panes/rgb_image.h"
#include "render/iso_view_input.h"

namespace tarn {

class RefreshSink;
struct PaintState;

class PalBox final : public PaneInput {
public:
    static constexpr int kHeight = 32;
    static constexpr int kSlotAreaWidth = 64;
    static constexpr int kCellSize = 16;
    static constexpr int kSlotsPerRow = 4;
    static constexpr int kBandRows = 8;
    static constexpr int kBandColors = 64;

    enum class Drag { None, SlotChoice, ColorChoice, Protecting, Unprotecting, Ending };

    // `palette` gives the current Skin's palette, or null for the grey ramp.
    PalBox(PaintState& paint, RefreshSink& refresh, std::function<const Palette*()> palette);

    void resize(int width, int height);
    void redraw();

        const RgbImage& image() const { return image_; }
    int width() const { return width_; }
    Rgb pixel(int x, int y) const { return image_.pixel(x, y); }

    // The slot under a point of the slot area, and the palette index under a
    // point of the palette area (x at or right of kSlotAreaWidth); -1 outside.
    static int slotAt(int x, int y);
    int indexAt(int x, int y) const;

    void mousePress(const MouseEvent& e, PointerControl& pointer) override;
    void mouseMove(const MouseEvent& e, PointerControl& pointer) override;
    void mouseRelease(const MouseEvent& e, PointerControl& pointer) override;
    void captureLost(PointerControl& pointer) override;
    void wheel(int delta);

    Drag drag() const { return drag_; }

private:
    Rgb colorOf(int index) const;
    void setActiveColor(int x, int y);
    void colorChanged();
    void finishColorChoice();
    void protectAt(int x, int y);
    int clampedIndexAt(int x, int y) const;
    void drawSlots();
    void drawPalette();

    PaintState& paint_;
    RefreshSink& refresh_;
    std::function<const Palette*()> palette_;
    int width_ = 0;
    RgbImage image_;
    std::vector<std::uint8_t> columnTable_;
    Drag drag_ = Drag::None;
};

}  // namespace tarn
