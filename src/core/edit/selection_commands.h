#pragma once
// The Select menu on the skin's texels, the clipboard commands of the Edit
// menu and the flips and turns of Skins > Transform. Each works on the
// current Skin through the paint state's selection and the floating selection.
#include <utility>

#include "edit/floating_selection.h"
#include "edit/skin_edit.h"

namespace tarn {

struct SelectionContext {
    SkinEditContext& edit;
    FloatingSelection& floating;
    // Where a paste lands: the texel under the pointer over the skin pane,
    // or the top left of the skin it shows.
    std::pair<int, int> pastePlace{0, 0};
};

void selectAllTexels(SelectionContext& c);
void deselectTexels(SelectionContext& c);
void invertTexelSelection(SelectionContext& c);
// The texels the selected Triangles cover.
void selectFromTriangles(SelectionContext& c);

// The selected texels (the float while there is one; the whole skin with
// nothing selected) go to the clipboard.
void copySelection(SelectionContext& c);
// Copy, then the selected texels take ColorSlots[7].
void cutSelection(SelectionContext& c);
// The clipboard's image floats over the current Skin at the paste place.
void pasteClipboard(SelectionContext& c);
// The selected texels take ColorSlots[7]; a float is thrown away.
void deleteSelection(SelectionContext& c);

// A selection lifts first; with nothing selected, the whole skin.
void transformSelection(SelectionContext& c, PatchTransform how);
void moveFloating(SelectionContext& c, int dx, int dy);
void dropFloating(SelectionContext& c);
void cancelFloating(SelectionContext& c);

inline constexpr const char* kMsgNoClipboardImage = "The clipboard holds no image to paste.";
inline constexpr const char* kMsgClipboardTooLarge = "The image on the clipboard is too large to paste.";
inline constexpr const char* kStepCut = "Cut";

}  // namespace tarn
