#include "image/history.h"

#include "image/skin_list.h"

#include <utility>

namespace tarn {

// The steps recorded while a HistoryGroup lives, undone last to first.
class GroupStep final : public HistoryStep {
public:
    void add(std::unique_ptr<HistoryStep> step) {
        bytes_ += step->bytes();
        steps_.push_back(std::move(step));
    }
    bool empty() const { return steps_.empty(); }
    void undo() override {
        for (auto it = steps_.rbegin(); it != steps_.rend(); ++it) (*it)->undo();
    }
    void redo() override {
        for (auto& step : steps_) step->redo();
    }
    std::size_t bytes() const override { return bytes_; }

private:
    std::vector<std::unique_ptr<HistoryStep>> steps_;
    std::size_t bytes_ = 0;
};

History::History(SkinList& skins, HistoryLimits limits) : skins_(skins), limits_(limits) {}

History::~History() = default;

void History::record(std::string name, std::unique_ptr<HistoryStep> step, int currentBefore) {
    if (!step) return;
    if (group_ != nullptr) {
        group_->add(std::move(step));
        return;
    }
    while (entries_.size() > done_) {
        bytes_ -= entries_.back().bytes;
        entries_.pop_back();
    }
    const std::size_t size = step->bytes() + name.size();
    const int currentAfter = currentBefore == kCurrentUnknown ? kCurrentUnknown : skins_.currentIndex();
    entries_.push_back(Entry{std::move(name), std::move(step), size, currentBefore, currentAfter});
    bytes_ += size;
    done_ = entries_.size();
    trim();
    notify();
}

void History::trim() {
    while (entries_.size() > 1 && (entries_.size() > limits_.maxSteps || bytes_ > limits_.maxBytes)) {
        bytes_ -= entries_.front().bytes;
        entries_.pop_front();
        if (done_ > 0) --done_;
    }
}

void History::notify() {
    if (changed) changed();
}

std::string History::undoName() const { return canUndo() ? entries_[done_ - 1].name : std::string(); }

std::string History::redoName() const { return canRedo() ? entries_[done_].name : std::string(); }

bool History::undo() {
    if (!canUndo() || group_ != nullptr || openEdits_ > 0) return false;
    --done_;
    entries_[done_].step->undo();
    makeCurrent(entries_[done_].currentBefore);
    notify();
    return true;
}

bool History::redo() {
    if (!canRedo() || group_ != nullptr || openEdits_ > 0) return false;
    entries_[done_].step->redo();
    makeCurrent(entries_[done_].currentAfter);
    ++done_;
    notify();
    return true;
}

void History::makeCurrent(int index) {
    if (index != kCurrentUnknown && index < skins_.count()) skins_.makeCurrent(index);
}

void History::clear() {
    entries_.clear();
    done_ = 0;
    bytes_ = 0;
    notify();
}

void History::setLimits(HistoryLimits limits) {
    limits_ = limits;
    trim();
    notify();
}

HistoryGroup::HistoryGroup(History* history, std::string name)
    : history_(history), name_(std::move(name)) {
    if (history_ == nullptr) return;
    step_ = std::make_unique<GroupStep>();
    currentBefore_ = history_->skins().currentIndex();
    outer_ = history_->group_;
    history_->group_ = step_.get();
}

HistoryGroup::~HistoryGroup() {
    if (history_ == nullptr) return;
    history_->group_ = outer_;
    if (!step_->empty()) history_->record(std::move(name_), std::move(step_), currentBefore_);
}

}  // namespace tarn
