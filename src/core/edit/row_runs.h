#pragma once
// Texels taken so far, row by row, as sorted runs that share no texel: what a
// pile of Triangles covers, at a cost that follows their rows and how the
// runs split, never their texels, and without a grid of the whole area.
#include <algorithm>
#include <cstdint>
#include <vector>

namespace tarn {

class RowRuns {
public:
    struct Run {
        std::int32_t left, right;  // both included
        std::int32_t owner;        // one of the owners whose spans overlap into this run
    };

    explicit RowRuns(int rows) : rows_(std::size_t(std::max(rows, 0))) {}
    int rows() const { return static_cast<int>(rows_.size()); }
    const std::vector<Run>& row(int y) const { return rows_[std::size_t(y)]; }

    // Takes left..right of row `y` for `owner`: calls fresh(from, to) for each
    // part no run held yet, and met(o) with the owner of each run it shares a
    // texel with; those runs become one with the span, owned by `owner`.
    // Runs that only touch stay apart, so an owner is met only through a
    // shared texel.
    template <class Fresh, class Met>
    void take(int y, std::int32_t left, std::int32_t right, std::int32_t owner, Fresh fresh, Met met) {
        auto& runs = rows_[std::size_t(y)];
        const auto first =
            std::lower_bound(runs.begin(), runs.end(), left, [](const Run& r, std::int32_t x) { return r.right < x; });
        std::int32_t x = left;
        auto it = first;
        for (; it != runs.end() && it->left <= right; ++it) {
            met(it->owner);
            if (it->left > x) fresh(x, it->left - 1);
            x = std::max(x, it->right + 1);
        }
        if (x <= right) fresh(x, right);
        Run joined{left, right, owner};
        if (first != it) joined = {std::min(first->left, left), std::max(std::prev(it)->right, right), owner};
        runs.insert(runs.erase(first, it), joined);
    }
    void take(int y, std::int32_t left, std::int32_t right) {
        take(y, left, right, 0, [](std::int32_t, std::int32_t) {}, [](std::int32_t) {});
    }

private:
    std::vector<std::vector<Run>> rows_;
};

}  // namespace tarn
