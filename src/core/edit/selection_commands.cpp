#include "edit/selection_commands.h"

#include "image/image_codec.h"
#include "image/skin.h"
#include "image/skin_commands.h"

namespace tarn {

namespace {

Skin* usableSkin(SelectionContext& c) {
    Skin* skin = c.edit.skins.current();
    return skin != nullptr && skin->width > 0 && skin->pixels.size() == skin->pixelCount() ? skin : nullptr;
}

// The outline shows in the skin pane and the tint on the model.
void selectionChanged(SelectionContext& c) { c.edit.refresh.refresh(kRedrawFull, kPanesSkinIso); }

void floatMoved(SelectionContext& c) { c.edit.refresh.refresh(kRedrawFull, kPanesSkinIso); }

std::uint8_t background(const SelectionContext& c) { return c.edit.paint.colorSlots[kSlotBackground]; }

// TARN's own image keeps its indices; another program's is matched to the
// skin's palette, nearest or dithered as the user answers.
std::optional<SkinPatch> clipboardPatch(SelectionContext& c, const Skin& skin) {
    const std::optional<ClipboardImage> clip = c.edit.ui.clipboardImage();
    if (!clip || (clip->tarnPng.empty() && clip->rgba.empty())) {
        c.edit.ui.message(kMsgNoClipboardImage);
        return std::nullopt;
    }
    SkinPatch patch;
    if (!clip->tarnPng.empty()) {
        const StoredImage own = decodePng(clip->tarnPng);
        if (!own.indexed || own.image.pixels.empty()) {
            c.edit.ui.message(kMsgNoClipboardImage);
            return std::nullopt;
        }
        patch.width = own.image.width;
        patch.height = own.image.height;
        patch.pixels = own.image.pixels;
        patch.opaque.assign(patch.pixels.size(), 1);
        return patch;
    }
    if (clip->width <= 0 || clip->height <= 0 || clip->width > kMaxImageWidth || clip->height > kMaxImageRows ||
        clip->rgba.size() != std::size_t(clip->width) * std::size_t(clip->height) * 4) {
        c.edit.ui.message(kMsgClipboardTooLarge);
        return std::nullopt;
    }
    const Answer dither = c.edit.ui.ask(kAskPngDither, QuestionKind::YesNoCancel);
    if (dither == Answer::Cancel) return std::nullopt;
    ColourMatch match;
    match.palette = skin.palette;
    match.dither = dither == Answer::Yes;
    match.transparentIndex = background(c);
    const RgbaImage image{clip->width, clip->height, clip->rgba};
    patch.width = clip->width;
    patch.height = clip->height;
    patch.pixels = matchToPalette(image, match);
    patch.opaque.resize(patch.pixels.size());
    // What matching turns into the transparent index is left out of the patch.
    constexpr std::uint8_t kHalfOpaque = 128;
    for (std::size_t i = 0; i < patch.opaque.size(); ++i) patch.opaque[i] = clip->rgba[i * 4 + 3] >= kHalfOpaque;
    return patch;
}

}  // namespace

void selectAllTexels(SelectionContext& c) {
    if (Skin* skin = usableSkin(c)) c.edit.paint.selection.selectAll(skin->width, skin->height);
    selectionChanged(c);
}

void deselectTexels(SelectionContext& c) {
    c.edit.paint.selection.clear();
    selectionChanged(c);
}

void invertTexelSelection(SelectionContext& c) {
    if (Skin* skin = usableSkin(c)) c.edit.paint.selection.invert(skin->width, skin->height);
    selectionChanged(c);
}

void selectFromTriangles(SelectionContext& c) {
    Skin* skin = usableSkin(c);
    if (skin == nullptr) return;
    c.edit.paint.selection.combine(selectedTrianglesShape(c.edit.mesh, skin->width, skin->height), skin->width,
                                   skin->height, SelectCombine::Replace);
    selectionChanged(c);
}

void copySelection(SelectionContext& c) {
    const Skin* skin = usableSkin(c);
    if (skin == nullptr) return;
    const SkinPatch patch = c.floating.active() ? c.floating.patch() : copySelected(*skin, c.edit.paint.selection);
    if (patch.pixels.empty()) return;
    // A texel the selection leaves out of its box goes as the background colour.
    std::vector<std::uint8_t> pixels = patch.pixels;
    for (std::size_t i = 0; i < pixels.size(); ++i)
        if (!patch.opaque[i]) pixels[i] = background(c);
    const Bytes png = encodePng8(patch.width, patch.height, pixels.data(), skin->palette);
    if (!png.empty()) c.edit.ui.putClipboardImage(png);
}

void deleteSelection(SelectionContext& c) {
    if (c.floating.active()) {
        c.floating.discard(kStepDelete);
        c.edit.paint.selection.clear();
        c.edit.refresh.rebuildPaintRemap();
        c.edit.refresh.refreshAll();
        return;
    }
    Skin* skin = usableSkin(c);
    const SkinSelection& selection = c.edit.paint.selection;
    if (skin == nullptr || !selection.active() || selection.mask().size() != skin->pixelCount()) return;
    changeSkin(c.edit, *skin, kStepDelete, SkinTables::Remap, [&] {
        std::vector<std::uint8_t>& pixels = skin->pixels.edit();
        for (std::size_t i = 0; i < pixels.size(); ++i)
            if (selection.mask()[i]) pixels[i] = background(c);
    });
}

void cutSelection(SelectionContext& c) {
    if (!c.floating.active() && !c.edit.paint.selection.active()) return;
    copySelection(c);
    deleteSelection(c);
}

void pasteClipboard(SelectionContext& c) {
    Skin* skin = usableSkin(c);
    if (skin == nullptr) return;
    std::optional<SkinPatch> patch = clipboardPatch(c, *skin);
    if (!patch) return;
    if (c.floating.active()) dropFloating(c);
    c.edit.paint.selection.clear();
    c.floating.paste(*skin, std::move(*patch), c.pastePlace.first, c.pastePlace.second, c.edit.history);
    floatMoved(c);
}

void transformSelection(SelectionContext& c, PatchTransform how) {
    if (!c.floating.active()) {
        Skin* skin = usableSkin(c);
        if (skin == nullptr) return;
        c.floating.lift(*skin, c.edit.paint.selection, background(c), c.edit.history);
    }
    c.floating.transform(how);
    floatMoved(c);
}

void moveFloating(SelectionContext& c, int dx, int dy) {
    c.floating.moveBy(dx, dy);
    floatMoved(c);
}

void dropFloating(SelectionContext& c) {
    if (!c.floating.active()) return;
    c.floating.drop(c.edit.paint.selection);
    c.edit.refresh.rebuildPaintRemap();
    c.edit.refresh.refreshAll();
}

void cancelFloating(SelectionContext& c) {
    if (!c.floating.active()) return;
    c.floating.cancel();
    c.edit.refresh.refreshAll();
}

}  // namespace tarn
