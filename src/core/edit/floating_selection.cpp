#include "edit/floating_selection.h"

#include <algorithm>

#include "image/skin.h"

namespace tarn {

SkinPatch transformed(const SkinPatch& patch, PatchTransform how) {
    const bool turn = how == PatchTransform::TurnClockwise || how == PatchTransform::TurnCounterClockwise;
    SkinPatch out;
    out.width = turn ? patch.height : patch.width;
    out.height = turn ? patch.width : patch.height;
    out.pixels.resize(patch.pixels.size());
    out.opaque.resize(patch.opaque.size());
    const int w = patch.width, h = patch.height;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int tx = x, ty = y;
            switch (how) {
            case PatchTransform::FlipHorizontal: tx = w - 1 - x; break;
            case PatchTransform::FlipVertical: ty = h - 1 - y; break;
            case PatchTransform::TurnClockwise: tx = h - 1 - y; ty = x; break;
            case PatchTransform::TurnCounterClockwise: tx = y; ty = w - 1 - x; break;
            }
            const std::size_t from = std::size_t(y) * std::size_t(w) + std::size_t(x);
            const std::size_t to = std::size_t(ty) * std::size_t(out.width) + std::size_t(tx);
            out.pixels[to] = patch.pixels[from];
            out.opaque[to] = patch.opaque[from];
        }
    return out;
}

SkinPatch copySelected(const Skin& skin, const SkinSelection& selection) {
    const bool all = !selection.active() || selection.mask().size() != skin.pixelCount();
    const SelectionBounds b = all ? SelectionBounds{0, 0, skin.width - 1, skin.height - 1} : selection.bounds();
    SkinPatch patch;
    if (b.width() <= 0 || b.height() <= 0) return patch;
    patch.width = b.width();
    patch.height = b.height();
    patch.pixels.resize(std::size_t(patch.width) * std::size_t(patch.height));
    patch.opaque.resize(patch.pixels.size());
    const std::vector<std::uint8_t>& pixels = skin.pixels.bytes();
    for (int y = 0; y < patch.height; ++y)
        for (int x = 0; x < patch.width; ++x) {
            const std::size_t at = std::size_t(y) * std::size_t(patch.width) + std::size_t(x);
            const std::size_t from = std::size_t(b.top + y) * std::size_t(skin.width) + std::size_t(b.left + x);
            patch.pixels[at] = pixels[from];
            patch.opaque[at] = all || selection.mask()[from] ? 1 : 0;
        }
    return patch;
}

bool FloatingSelection::covers(int x, int y) const {
    const int px = x - x_, py = y - y_;
    if (!active() || px < 0 || py < 0 || px >= patch_.width || py >= patch_.height) return false;
    return patch_.opaque[std::size_t(py) * std::size_t(patch_.width) + std::size_t(px)] != 0;
}

void FloatingSelection::begin(Skin& skin, History* history) {
    skin_ = &skin;
    edit_.reset();
    edit_.emplace(history, skin);
    before_ = skin.pixels.bytes();
}

void FloatingSelection::lift(Skin& skin, SkinSelection& selection, std::uint8_t background, History* history) {
    SkinPatch patch = copySelected(skin, selection);
    if (patch.pixels.empty()) return;
    const bool all = !selection.active() || selection.mask().size() != skin.pixelCount();
    const SelectionBounds b = all ? SelectionBounds{0, 0, skin.width - 1, skin.height - 1} : selection.bounds();
    begin(skin, history);
    beneath_ = before_;
    for (std::size_t i = 0; i < beneath_.size(); ++i)
        if (all || selection.mask()[i]) beneath_[i] = background;
    patch_ = std::move(patch);
    step_ = kStepFloat;
    x_ = b.left;
    y_ = b.top;
    selection.clear();
    show();
}

void FloatingSelection::paste(Skin& skin, SkinPatch patch, int x, int y, History* history) {
    if (patch.pixels.empty() || patch.pixels.size() != std::size_t(patch.width) * std::size_t(patch.height)) return;
    begin(skin, history);
    beneath_ = before_;
    patch_ = std::move(patch);
    step_ = kStepPaste;
    x_ = x;
    y_ = y;
    show();
}

void FloatingSelection::show() {
    if (!active() || beneath_.size() != skin_->pixelCount()) return;
    std::vector<std::uint8_t>& pixels = skin_->pixels.edit();
    pixels = beneath_;
    const int left = std::max(0, x_), right = std::min(skin_->width, x_ + patch_.width);
    const int top = std::max(0, y_), bottom = std::min(skin_->height, y_ + patch_.height);
    for (int y = top; y < bottom; ++y) {
        const std::size_t from = std::size_t(y - y_) * std::size_t(patch_.width);
        const std::size_t to = std::size_t(y) * std::size_t(skin_->width);
        for (int x = left; x < right; ++x)
            if (patch_.opaque[from + std::size_t(x - x_)]) pixels[to + std::size_t(x)] = patch_.pixels[from + std::size_t(x - x_)];
    }
}

void FloatingSelection::moveBy(int dx, int dy) {
    if (!active()) return;
    // At least one texel of the patch stays on the skin, so it can be fetched back.
    x_ = std::clamp(x_ + dx, 1 - patch_.width, skin_->width - 1);
    y_ = std::clamp(y_ + dy, 1 - patch_.height, skin_->height - 1);
    show();
}

void FloatingSelection::transform(PatchTransform how) {
    if (!active()) return;
    const int cx2 = 2 * x_ + patch_.width, cy2 = 2 * y_ + patch_.height;
    patch_ = transformed(patch_, how);
    x_ = (cx2 - patch_.width) / 2;
    y_ = (cy2 - patch_.height) / 2;
    show();
}

void FloatingSelection::drop(SkinSelection& selection) {
    if (!active()) return;
    std::vector<std::uint8_t> shape(skin_->pixelCount(), 0);
    for (int y = 0; y < skin_->height; ++y)
        for (int x = 0; x < skin_->width; ++x)
            shape[std::size_t(y) * std::size_t(skin_->width) + std::size_t(x)] = covers(x, y) ? 1 : 0;
    selection.combine(shape, skin_->width, skin_->height, SelectCombine::Replace);
    if (edit_) edit_->commit(step_);
    end();
}

void FloatingSelection::cancel() {
    if (!active()) return;
    if (before_.size() == skin_->pixelCount()) skin_->pixels.edit() = before_;
    // Nothing changed: the edit records nothing.
    if (edit_) edit_->commit(kStepFloat);
    end();
}

void FloatingSelection::discard(const char* step) {
    if (!active()) return;
    if (beneath_.size() == skin_->pixelCount()) skin_->pixels.edit() = beneath_;
    if (edit_) edit_->commit(step);
    end();
}

void FloatingSelection::end() {
    skin_ = nullptr;
    edit_.reset();
    patch_ = {};
    before_.clear();
    beneath_.clear();
}

}  // namespace tarn
