#pragma once
// One brush stroke of either display: the StrokeMask, the Line brush's copy of
// the skin, and which segment each move paints for the current brush.
#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "image/history.h"
#include "paint/stroke.h"
#include "render/iso_view_context.h"
#include "render/texel_mirror.h"

namespace tarn {

struct PaintState;
struct Skin;

// The step name of a stroke of `brush`.
const char* strokeStepName(Brush brush);

struct BrushSegment {
    int ax, ay, bx, by;
};

class BrushStroke {
public:
    // Starts a stroke over `skin` at (x, y); returns the press segment (the
    // point itself). With a history, the whole stroke becomes one step at end().
    // With a `mirror`, every texel painted is painted at its mirror as well,
    // by the same rule and in the same step.
    BrushSegment begin(Skin& skin, Brush brush, int x, int y, History* history = nullptr, TexelMirror mirror = {});
    // The segment a move to (x, y) paints. The Line brush first puts the skin
    // back as it was at the press, so only one line ever shows.
    BrushSegment move(Skin& skin, int x, int y);
    // After the move's segment was painted: the Line brush starts its mask afresh.
    void moved(const Skin& skin, int x, int y);
    void end();

    // One move: paints the brush's segment with `paint` (which returns whether
    // it asked for a redraw) and makes sure an undone line still gets one.
    // Nothing happens without a skin or a stroke under way; a stroke whose
    // skin is no longer the current one ends, so that the Line brush never
    // puts its copy onto another skin.
    template <typename PaintSegment>
    void moveTo(Skin* skin, int x, int y, RefreshSink& refresh, PaintSegment&& paint) {
        if (skin != skin_) end();
        if (skin == nullptr || !active()) return;
        const BrushSegment seg = move(*skin, x, y);
        if (!paint(seg) && restored_) refresh.refresh(kRedrawFromSkin, kPanesSkinIso16);
        moved(*skin, x, y);
    }
    // Paints skin pixel `texel` by the paint rule, once per stroke; nothing
    // without a skin, a stroke under way on that skin or a texel of the skin.
    void paintTexel(Skin* skin, std::int32_t texel, const PaintState& paint);
    // Paints the texels of the brush tip's footprint around `texel` (the
    // skin pane's stamp, whose size counts texels).
    void stampTexel(Skin* skin, std::int32_t texel, const PaintState& paint);
    // A fill paints once per stroke, at the press: true the first time.
    bool takeFill() { return !std::exchange(filled_, true); }

    bool active() const { return mask_.has_value(); }
    int pressX() const { return pressX_; }
    int pressY() const { return pressY_; }
    StrokeMask& mask() { return *mask_; }
    // Whether the last move restored the skin (its views need a redraw even
    // when the new segment painted nothing).
    bool restored() const { return restored_; }

private:
    Brush brush_ = Brush::Pencil;
    // The skin the stroke began on; compared, never used to reach the skin.
    const Skin* skin_ = nullptr;
    std::optional<StrokeMask> mask_;
    TexelMirror mirror_;
    std::optional<SkinEdit> edit_;
    std::vector<std::uint8_t> copy_;
    std::vector<std::pair<int, int>> footprint_;
    std::array<std::vector<std::pair<int, int>>, 9> leadingEdge_;
    std::optional<std::pair<int, int>> lastStamp_;
    int footprintSize_ = 0;
    BrushShape footprintShape_ = BrushShape::Round;
    int pressX_ = 0, pressY_ = 0;
    int lastX_ = 0, lastY_ = 0;
    bool restored_ = false;
    bool filled_ = false;
};

// Both displays' colour pick: the skin pixel `texel` becomes the active
// slot's colour, and the palette shows it. Nothing without a texel of the skin.
void pickTexelColor(PaneContext& context, const Skin* skin, std::int32_t texel);
// The pick is over: the views and the paint remap follow the chosen colour.
void finishColorPick(RefreshSink& refresh);

}  // namespace tarn
