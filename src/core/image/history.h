#pragma once
// The undo history: named steps, undone and redone in order, bounded in steps
// and bytes (the oldest go first).
//
// Edits reach it through three doors, and a new command uses one of them:
//  - Skin pixels, palette, size or stored state: make a `SkinEdit` of the Skin
//    before touching it, change the Skin in place (never swap the object in the
//    list), then `commit("Name")`. Only the changed tiles are kept, and nothing
//    is recorded when nothing changed.
//  - The mapping tables: a `MappingEdit` of the Mesh (model/mapping_edit.h),
//    taken before and committed after, the same way.
//  - The skin list: take `skinsIn(list)` before adding Skins and call
//    `recordSkinsAdded` after; call `closeSkinRecorded` in place of
//    `SkinList::remove`.
// A command that changes several things at once (every skin, or the skins and
// the mapping) opens a `HistoryGroup` around its edits, so they undo as one step.
// Whatever replaces the model clears the history.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "image/skin.h"

namespace tarn {

class SkinList;

// One recorded change, able to put its state back either way.
class HistoryStep {
public:
    virtual ~HistoryStep() = default;
    virtual void undo() = 0;
    virtual void redo() = 0;
    // What the step keeps in memory, for the history's bound.
    virtual std::size_t bytes() const = 0;
};

struct HistoryLimits {
    std::size_t maxBytes = std::size_t{256} << 20;
    std::size_t maxSteps = 500;
};

class History {
public:
    // `skins` is the list whose Skins the skin steps refer to.
    explicit History(SkinList& skins, HistoryLimits limits = {});
    History(const History&) = delete;
    History& operator=(const History&) = delete;
    ~History();

    SkinList& skins() { return skins_; }

    // Adds a step after the last one done; the steps that were undone are
    // dropped, then the oldest until the bounds hold (the newest always stays).
    // `currentBefore` is the current Skin's index when the step began: undo
    // makes it current again and redo the one current when it was recorded.
    // Steps that add or remove Skins leave the choice to themselves.
    static constexpr int kCurrentUnknown = -2;
    void record(std::string name, std::unique_ptr<HistoryStep> step, int currentBefore = kCurrentUnknown);

    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < entries_.size(); }
    // The name of the step Undo or Redo would take; empty when there is none.
    std::string undoName() const;
    std::string redoName() const;
    // False when there was nothing to undo or redo, or while an edit is open
    // (a stroke or drag under way): its step would record the undo as well.
    bool undo();
    bool redo();
    void clear();

    std::size_t stepCount() const { return entries_.size(); }
    // A stroke or drag holds an edit open; a step recorded now would join it.
    bool editOpen() const { return openEdits_ > 0; }
    std::size_t byteCount() const { return bytes_; }
    void setLimits(HistoryLimits limits);

    // Told after every change to what Undo and Redo would do.
    std::function<void()> changed;

    // Held by each door between taking the state and committing it.
    class OpenEdit {
    public:
        explicit OpenEdit(History* history) : history_(history) {
            if (history_ != nullptr) ++history_->openEdits_;
        }
        OpenEdit(const OpenEdit&) = delete;
        OpenEdit& operator=(const OpenEdit&) = delete;
        ~OpenEdit() { close(); }
        void close() {
            if (history_ != nullptr) --history_->openEdits_;
            history_ = nullptr;
        }

    private:
        History* history_;
    };

private:
    friend class HistoryGroup;
    struct Entry {
        std::string name;
        std::unique_ptr<HistoryStep> step;
        std::size_t bytes = 0;
        int currentBefore = kCurrentUnknown;
        int currentAfter = kCurrentUnknown;
    };
    void makeCurrent(int index);
    void trim();
    void notify();

    SkinList& skins_;
    HistoryLimits limits_;
    std::deque<Entry> entries_;
    std::size_t done_ = 0;  // entries_[0, done_) can be undone, the rest redone
    std::size_t bytes_ = 0;
    class GroupStep* group_ = nullptr;
    int openEdits_ = 0;
};

// While one lives, every step recorded in `history` joins one step named
// `name`, recorded when it ends (nothing when nothing joined). Groups nest:
// an inner group joins the outer one.
class HistoryGroup {
public:
    HistoryGroup(History* history, std::string name);
    HistoryGroup(const HistoryGroup&) = delete;
    HistoryGroup& operator=(const HistoryGroup&) = delete;
    ~HistoryGroup();

private:
    History* history_;
    std::string name_;
    std::unique_ptr<GroupStep> step_;
    GroupStep* outer_ = nullptr;
    int currentBefore_ = History::kCurrentUnknown;
};

// What a Skin holds that a skin step can take back.
struct SkinState {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
    std::vector<std::uint8_t> backup;
    Palette palette{};
    std::optional<Palette> storedPalette;
    // The unsaved mark a size change sets, which the pixels cannot show.
    bool unsavedChange = false;
    std::uint64_t storedTag = 0;
    static SkinState of(const Skin& skin);
};

// The door for changes to one Skin: taken before the change, committed after.
// With a null history it records nothing.
class SkinEdit {
public:
    SkinEdit(History* history, Skin& skin);
    // Records what changed since construction as one step named `name`;
    // nothing when nothing changed. Commit once.
    void commit(const std::string& name);
    Skin& skin() { return *skin_; }

private:
    History* history_;
    Skin* skin_;
    SkinState before_;
    int currentBefore_ = History::kCurrentUnknown;
    History::OpenEdit open_;
};

// The skin-list door. `skinsIn` lists the Skins of the list before an
// addition; `recordSkinsAdded` then records every Skin of the list not among
// them as added, and undo takes them out again.
std::vector<const Skin*> skinsIn(const SkinList& list);
void recordSkinsAdded(History* history, SkinList& list, const std::vector<const Skin*>& before,
                      const std::string& name);
// Removes the Skin at `index` as a step that undo puts back at the same place;
// the step keeps the Skin. Without a history the Skin is simply removed.
void closeSkinRecorded(History* history, SkinList& list, int index, const std::string& name);

// Step names of the skin commands.
inline constexpr const char* kStepStoreSkin = "Store skin";
inline constexpr const char* kStepRevertSkin = "Revert skin";
inline constexpr const char* kStepOpenSkin = "Open skin";
inline constexpr const char* kStepCloseSkin = "Close skin";
inline constexpr const char* kStepScanSkins = "Scan skins";
inline constexpr const char* kStepRepalette = "Re-Palette";
inline constexpr const char* kStepDefaultPalette = "Default palette";

}  // namespace tarn
