#pragma once
// The narrow column between the displays: a level well whose fill height is
// PaintStrength (left drag) and whose shading is the LightTable of ShadeGamma
// (right drag), the splitter handle (left: drag the splitter, right: Swap
// Displays) and two splitter presets (left: apply, right: store).
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "panes/rgb_image.h"
#include "render/iso_view_input.h"

namespace tarn {

class RefreshSink;
class ShellLayout;
struct PaintState;

// What the column asks of the shell window.
class ShellControl {
public:
    virtual ~ShellControl() = default;
    // "TARN-BarAdjust" 0: the shell runs the splitter drag from here on.
    virtual void startSplitterDrag() = 0;
    // "TARN-BarAdjust" 1: lay out again with the current splitter fraction.
    virtual void relayout() = 0;
    // The Swap Displays command.
    virtual void swapDisplays() = 0;
};

// The system colours the buttons are drawn in.
struct ButtonColors {
    Rgb face{192, 192, 192};
    Rgb highlight{255, 255, 255};
    Rgb shadow{128, 128, 128};
    Rgb text{0, 0, 0};
};

class GradientBox final : public PaneInput {
public:
    static constexpr int kWellTop = 2;
    static constexpr int kWellSide = 2;
    // Rows from the bottom: the handle starts kHandleFromBottom up, the presets kPresetRows up.
    static constexpr int kHandleFromBottom = 27;
    static constexpr int kPresetRows = 12;
    static constexpr double kMaxGamma = 20.0;
    static constexpr double kFirstPreset = 0.25;
    static constexpr double kSecondPreset = 0.75;

    enum class Part {
        None,
        StrengthDrag,
        GammaDrag,
        HandleLeft,   // during the shell's splitter drag
        HandleRight,  // Swap Displays on release
        PresetLeft,   // apply the preset on release
        PresetRight,  // store into the preset on release
        ReleasePending,
    };

    GradientBox(PaintState& paint, RefreshSink& refresh, ShellLayout& layout, ShellControl& shell,
                std::function<int()> renderMode);

    void resize(int width, int height);
    void redraw();
    void setColors(const ButtonColors& colors) {
        colors_ = colors;
        redraw();
    }

    const RgbImage& image() const { return image_; }
    int width() const { return width_; }
    int height() const { return height_; }
    Rgb pixel(int x, int y) const { return image_.pixel(x, y); }

    void mousePress(const MouseEvent& e, PointerControl& pointer) override;
    void mouseMove(const MouseEvent& e, PointerControl& pointer) override;
    void mouseRelease(const MouseEvent& e, PointerControl& pointer) override;
    void captureLost(PointerControl& pointer) override;

    // The shell's splitter drag ended: the handle comes up again.
    void endSplitterLook();
    bool handlePressed() const { return part_ == Part::HandleLeft || part_ == Part::HandleRight; }
    Part part() const { return part_; }
    int pressedPreset() const { return preset_; }

    // The two presets; right clicks change them for this run only.
    std::array<double, 2> presets{kFirstPreset, kSecondPreset};

private:
    double levelAt(int y) const;
    void applyStrength(int y);
    void applyGamma(int y);
    bool modeUsesGamma() const;
    void restorePointer(PointerControl& pointer);
    void finish(const MouseEvent& e, PointerControl& pointer);
    void drawButton(int left, int top, int right, int bottom, bool pressed, int glyph);

    PaintState& paint_;
    RefreshSink& refresh_;
    ShellLayout& layout_;
    ShellControl& shell_;
    std::function<int()> renderMode_;
    ButtonColors colors_;
    int width_ = 0;
    int height_ = 0;
    RgbImage image_;
    Part part_ = Part::None;
    int preset_ = -1;
    int pressX_ = 0, pressY_ = 0;
    bool captured_ = false;
};

}  // namespace tarn
