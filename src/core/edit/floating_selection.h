#pragma once
// Texels lifted off the skin, or pasted onto it, that move, flip and turn
// over the skin until they are dropped. While they float the skin shows them
// where they are, so both panes see what a drop would give; the skin as it
// was beneath is kept, and the whole float (lift, moves, turns, drop) is one
// step of the history.
#include <cstdint>
#include <optional>
#include <vector>

#include "image/history.h"
#include "paint/skin_selection.h"

namespace tarn {

struct Skin;

// A rectangle of texels; `opaque` says which of them the patch holds (a
// lasso's corners and transparent pixels hold none).
struct SkinPatch {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    std::vector<std::uint8_t> opaque;
};

inline constexpr const char* kStepPaste = "Paste";
inline constexpr const char* kStepFloat = "Move selection";
inline constexpr const char* kStepDelete = "Delete";

enum class PatchTransform { FlipHorizontal, FlipVertical, TurnClockwise, TurnCounterClockwise };

// The patch flipped or turned a quarter; exact, texel for texel.
SkinPatch transformed(const SkinPatch& patch, PatchTransform how);
// The selected texels of `skin` inside the selection's bounds; with nothing
// selected, the whole skin.
SkinPatch copySelected(const Skin& skin, const SkinSelection& selection);

class FloatingSelection {
public:
    bool active() const { return skin_ != nullptr; }
    const Skin* skin() const { return skin_; }
    int x() const { return x_; }
    int y() const { return y_; }
    const SkinPatch& patch() const { return patch_; }
    // Whether skin texel (x, y) lies on one of the patch's texels.
    bool covers(int x, int y) const;

    // Lifts the selected texels (all, with nothing selected) off `skin`,
    // leaving `background` where they were; the selection is the float now.
    void lift(Skin& skin, SkinSelection& selection, std::uint8_t background, History* history);
    // Puts `patch` over `skin` with its top left at texel (x, y).
    void paste(Skin& skin, SkinPatch patch, int x, int y, History* history);
    void moveBy(int dx, int dy);
    // Flips or turns the patch about its centre.
    void transform(PatchTransform how);
    // The float stays where it is, as one step ("Paste" or "Move
    // selection"); the selection becomes the texels it covers.
    void drop(SkinSelection& selection);
    // The skin goes back to what it was before the float began.
    void cancel();
    // The float is thrown away and what was beneath stays (a lift leaves its hole).
    void discard(const char* step);

private:
    void begin(Skin& skin, History* history);
    // The skin becomes what is beneath with the patch over it.
    void show();
    void end();

    Skin* skin_ = nullptr;
    SkinPatch patch_;
    int x_ = 0, y_ = 0;
    std::vector<std::uint8_t> before_;  // the skin when the float began
    std::vector<std::uint8_t> beneath_; // what the float lies on
    std::optional<SkinEdit> edit_;
    const char* step_ = kStepFloat;
};


}  // namespace tarn
