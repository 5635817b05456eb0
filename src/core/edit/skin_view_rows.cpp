// Which skin pixel each pixel of the skin pane shows, and which rows of the
// pane's picture were drawn since the pane last showed it.
#include <algorithm>
#include <utility>

#include "edit/skin_view.h"

namespace tarn {

std::int32_t SkinView::SkinSources::at(std::size_t row, std::size_t x, std::size_t width) const {
    const std::int32_t r = rows[row];
    if (r <= -2) return exact[static_cast<std::size_t>(-2 - r) * width + x];
    return r < 0 || columns[x] < 0 ? -1 : r + columns[x];
}

std::int32_t SkinView::sourceAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= clientWidth_ || y >= viewHeight_) return -1;
    return sources_.at(static_cast<std::size_t>(viewHeight_ - 1 - y), static_cast<std::size_t>(x),
                       static_cast<std::size_t>(viewWidth_));
}

const std::vector<std::int32_t>& SkinView::sourceMap() const {
    if (sourceMapBuilt_) return sourceMap_;
    const auto width = static_cast<std::size_t>(viewWidth_);
    sourceMap_.resize(image_.size());
    for (std::size_t r = 0; r < sources_.rows.size(); ++r)
        for (std::size_t x = 0; x < width; ++x) sourceMap_[r * width + x] = sources_.at(r, x, width);
    sourceMapBuilt_ = true;
    return sourceMap_;
}

void SkinView::markDrawn(int first, int end) {
    first = std::max(first, 0);
    end = std::min(end, viewHeight_);
    if (first >= end) return;
    if (drawnRows_.first >= drawnRows_.end) drawnRows_ = {first, end};
    else drawnRows_ = {std::min(drawnRows_.first, first), std::max(drawnRows_.end, end)};
}

SkinView::RowSpan SkinView::takeDrawnRows() { return std::exchange(drawnRows_, RowSpan{}); }

}  // namespace tarn
