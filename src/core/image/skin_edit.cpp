// The skin doors of the history: tile deltas of a Skin's planes and the
// presence of Skins in the list.
#include <algorithm>
#include <cstring>
#include <utility>

#include "image/history.h"
#include "image/skin_list.h"

namespace tarn {

namespace {

// Side of the square tiles a pixel change is kept in: small enough that a
// stroke keeps little beside it, large enough that the tile list stays short.
constexpr int kTileSide = 32;

struct TileRect {
    int x, y, w, h;
};

// The changed tiles of one byte plane (rows of `width` bytes, no padding)
// with their bytes before and after, or both whole planes when the plane
// changed size.
class PlaneDelta {
public:
    static PlaneDelta between(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& after,
                              int width, int height, bool sameShape) {
        PlaneDelta d;
        const std::size_t expected = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
        if (!sameShape || before.size() != after.size() || before.size() != expected) {
            if (before != after) {
                d.whole_ = true;
                d.before_ = before;
                d.after_ = after;
            }
            return d;
        }
        const auto w = static_cast<std::size_t>(width);
        for (int y0 = 0; y0 < height; y0 += kTileSide) {
            const int h = std::min(kTileSide, height - y0);
            const std::size_t band = static_cast<std::size_t>(y0) * w;
            // Bands are contiguous, so most of an unchanged skin is passed over in one compare.
            if (std::memcmp(before.data() + band, after.data() + band, static_cast<std::size_t>(h) * w) == 0) continue;
            for (int x0 = 0; x0 < width; x0 += kTileSide) {
                const TileRect tile{x0, y0, std::min(kTileSide, width - x0), h};
                if (d.tileDiffers(before, after, w, tile)) d.keep(before, after, w, tile);
            }
        }
        return d;
    }

    bool empty() const { return !whole_ && tiles_.empty(); }
    bool whole() const { return whole_; }
    std::size_t bytes() const { return before_.size() + after_.size() + tiles_.size() * sizeof(TileRect); }

    // Puts the plane in its state before or after; a tiled delta needs the
    // plane at the size it was taken at, and leaves any other alone.
    void apply(std::vector<std::uint8_t>& plane, int width, bool toAfter) const {
        const std::vector<std::uint8_t>& source = toAfter ? after_ : before_;
        if (whole_) {
            plane = source;
            return;
        }
        const auto w = static_cast<std::size_t>(width);
        std::size_t at = 0;
        for (const TileRect& t : tiles_) {
            const auto tw = static_cast<std::size_t>(t.w);
            for (int r = 0; r < t.h; ++r) {
                const std::size_t row = static_cast<std::size_t>(t.y + r) * w + static_cast<std::size_t>(t.x);
                if (row + tw > plane.size()) return;
                std::memcpy(plane.data() + row, source.data() + at, tw);
                at += tw;
            }
        }
    }

private:
    static bool tileDiffers(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b, std::size_t w,
                            const TileRect& t) {
        for (int r = 0; r < t.h; ++r) {
            const std::size_t row = static_cast<std::size_t>(t.y + r) * w + static_cast<std::size_t>(t.x);
            if (std::memcmp(a.data() + row, b.data() + row, static_cast<std::size_t>(t.w)) != 0) return true;
        }
        return false;
    }

    void keep(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b, std::size_t w,
              const TileRect& t) {
        tiles_.push_back(t);
        for (int r = 0; r < t.h; ++r) {
            const auto row = static_cast<std::ptrdiff_t>(static_cast<std::size_t>(t.y + r) * w + static_cast<std::size_t>(t.x));
            before_.insert(before_.end(), a.begin() + row, a.begin() + row + t.w);
            after_.insert(after_.end(), b.begin() + row, b.begin() + row + t.w);
        }
    }

    bool whole_ = false;
    std::vector<TileRect> tiles_;
    std::vector<std::uint8_t> before_;
    std::vector<std::uint8_t> after_;
};

class SkinStep final : public HistoryStep {
public:
    SkinStep(SkinList& list, Skin& skin, const SkinState& before)
        : list_(list), skin_(&skin), beforeW_(before.width), beforeH_(before.height),
          afterW_(skin.width), afterH_(skin.height) {
        const bool sameShape = beforeW_ == afterW_ && beforeH_ == afterH_;
        pixels_ = PlaneDelta::between(before.pixels, skin.pixels, afterW_, afterH_, sameShape);
        backup_ = PlaneDelta::between(before.backup, skin.backup, afterW_, afterH_, sameShape);
        if (before.palette != skin.palette) {
            paletteBefore_ = before.palette;
            paletteAfter_ = skin.palette;
            paletteChanged_ = true;
        }
        // The stored palette goes with the stored pixels.
        if (before.storedPalette != skin.storedPalette) {
            storedBefore_ = before.storedPalette;
            storedAfter_ = skin.storedPalette;
            storedChanged_ = true;
        }
        unsavedBefore_ = before.unsavedChange;
        unsavedAfter_ = skin.unsavedChange;
        tagBefore_ = before.storedTag;
        tagAfter_ = skin.storedTag;
    }

    bool empty() const {
        return pixels_.empty() && backup_.empty() && !paletteChanged_ && !storedChanged_ && beforeW_ == afterW_ &&
               beforeH_ == afterH_ && unsavedBefore_ == unsavedAfter_;
    }
    void undo() override { apply(false); }
    void redo() override { apply(true); }
    std::size_t bytes() const override { return sizeof(*this) + pixels_.bytes() + backup_.bytes(); }

private:
    void apply(bool toAfter) {
        // A Skin no longer in the list (the model was replaced under the
        // history) is never touched.
        const int index = list_.indexOf(skin_);
        if (index < 0) return;
        Skin& s = *skin_;
        const int fromW = toAfter ? beforeW_ : afterW_;
        const int fromH = toAfter ? beforeH_ : afterH_;
        if (s.width != fromW || s.height != fromH) return;
        // An unchanged plane is left alone, so pixels it shares stay shared.
        if (!pixels_.empty()) pixels_.apply(s.pixels.edit(), s.width, toAfter);
        // A save since this step replaced the stored state the step knew; the
        // saved state stands, and the unsaved mark then follows the pixels.
        const bool storedKnown = s.storedTag == (toAfter ? tagBefore_ : tagAfter_);
        if (storedKnown) {
            if (!backup_.empty()) backup_.apply(s.backup.edit(), s.width, toAfter);
            if (storedChanged_) s.storedPalette = toAfter ? storedAfter_ : storedBefore_;
            s.unsavedChange = toAfter ? unsavedAfter_ : unsavedBefore_;
            s.storedTag = toAfter ? tagAfter_ : tagBefore_;
        } else if (paletteChanged_ && !s.storedPalette) {
            s.storedPalette = s.palette;
        }
        s.width = toAfter ? afterW_ : beforeW_;
        s.height = toAfter ? afterH_ : beforeH_;
        if (fromW != s.width || fromH != s.height) {
            s.buildRowTable();
            // The saved stored state has the other size: Revert could not
            // return to it, so the pixels become the stored state, unsaved.
            if (!storedKnown) {
                s.backup = s.pixels;
                s.unsavedChange = true;
            }
        }
        if (paletteChanged_) s.palette = toAfter ? paletteAfter_ : paletteBefore_;
        if (!storedKnown && s.storedPalette == s.palette) s.storedPalette.reset();
        list_.makeCurrent(index);
    }

    SkinList& list_;
    Skin* skin_;
    int beforeW_, beforeH_, afterW_, afterH_;
    PlaneDelta pixels_;
    PlaneDelta backup_;
    Palette paletteBefore_{};
    Palette paletteAfter_{};
    bool paletteChanged_ = false;
    std::optional<Palette> storedBefore_;
    std::optional<Palette> storedAfter_;
    bool storedChanged_ = false;
    bool unsavedBefore_ = false;
    bool unsavedAfter_ = false;
    std::uint64_t tagBefore_ = 0;
    std::uint64_t tagAfter_ = 0;
};

// Skins that one direction of the step takes out of the list and the other
// puts back where they were; the step holds them while they are out.
class SkinPresenceStep final : public HistoryStep {
public:
    struct Item {
        Skin* skin;
        int index;
        std::unique_ptr<Skin> held;
    };

    SkinPresenceStep(SkinList& list, std::vector<Item> items, bool presentAfter)
        : list_(list), items_(std::move(items)), presentAfter_(presentAfter) {
        for (const Item& item : items_) bytes_ += item.skin->pixels.size() + item.skin->backup.size() + sizeof(Skin);
    }

    void undo() override { setPresent(!presentAfter_); }
    void redo() override { setPresent(presentAfter_); }
    std::size_t bytes() const override { return bytes_; }

private:
    void setPresent(bool present) {
        if (present) {
            int last = -1;
            for (Item& item : items_) {
                if (!item.held) continue;
                list_.insert(item.index, std::move(item.held));
                last = list_.indexOf(item.skin);
            }
            if (last >= 0) list_.makeCurrent(last);
            return;
        }
        for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
            const int at = list_.indexOf(it->skin);
            if (at < 0) continue;
            it->index = at;
            it->held = list_.remove(at);
        }
    }

    SkinList& list_;
    std::vector<Item> items_;
    bool presentAfter_;
    std::size_t bytes_ = 0;
};

}  // namespace

SkinState SkinState::of(const Skin& skin) {
    return SkinState{skin.width,   skin.height,        skin.pixels,
                     skin.backup,  skin.palette,       skin.storedPalette,
                     skin.unsavedChange, skin.storedTag};
}

SkinEdit::SkinEdit(History* history, Skin& skin) : history_(history), skin_(&skin), open_(history) {
    if (history_ == nullptr) return;
    before_ = SkinState::of(skin);
    currentBefore_ = history_->skins().currentIndex();
}

void SkinEdit::commit(const std::string& name) {
    open_.close();
    if (history_ == nullptr) return;
    auto step = std::make_unique<SkinStep>(history_->skins(), *skin_, before_);
    if (!step->empty()) history_->record(name, std::move(step), currentBefore_);
    history_ = nullptr;
}

std::vector<const Skin*> skinsIn(const SkinList& list) {
    std::vector<const Skin*> skins;
    for (int i = 0; i < list.count(); ++i) skins.push_back(list.at(i));
    return skins;
}

void recordSkinsAdded(History* history, SkinList& list, const std::vector<const Skin*>& before,
                      const std::string& name) {
    if (history == nullptr) return;
    std::vector<SkinPresenceStep::Item> items;
    for (int i = 0; i < list.count(); ++i) {
        Skin* skin = list.at(i);
        if (std::find(before.begin(), before.end(), skin) == before.end()) items.push_back({skin, i, nullptr});
    }
    if (items.empty()) return;
    history->record(name, std::make_unique<SkinPresenceStep>(list, std::move(items), true));
}

void closeSkinRecorded(History* history, SkinList& list, int index, const std::string& name) {
    Skin* skin = list.at(index);
    if (skin == nullptr) return;
    std::unique_ptr<Skin> removed = list.remove(index);
    if (history == nullptr) return;
    std::vector<SkinPresenceStep::Item> items;
    items.push_back({skin, index, std::move(removed)});
    history->record(name, std::make_unique<SkinPresenceStep>(list, std::move(items), false));
}

}  // namespace tarn
