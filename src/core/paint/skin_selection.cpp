#include "paint/skin_selection.h"

#include <algorithm>
#include <cmath>

#include "image/skin.h"
#include "paint/fill_region.h"

namespace tarn {

namespace {

std::size_t areaOf(int width, int height) { return std::size_t(std::max(width, 0)) * std::size_t(std::max(height, 0)); }

std::vector<std::uint8_t> shapeOf(const std::vector<std::int32_t>& texels, int width, int height) {
    std::vector<std::uint8_t> shape(areaOf(width, height), 0);
    for (const std::int32_t t : texels)
        if (t >= 0 && std::size_t(t) < shape.size()) shape[std::size_t(t)] = 1;
    return shape;
}

}  // namespace

void SkinSelection::recount() {
    count_ = std::size_t(std::count_if(mask_.begin(), mask_.end(), [](std::uint8_t b) { return b != 0; }));
    if (count_ == 0) mask_.clear();
}

void SkinSelection::clear() {
    mask_.clear();
    count_ = 0;
}

void SkinSelection::selectAll(int width, int height) {
    width_ = width;
    height_ = height;
    mask_.assign(areaOf(width, height), 1);
    recount();
}

void SkinSelection::invert(int width, int height) {
    if (!active() || width != width_ || height != height_) return selectAll(width, height);
    for (std::uint8_t& b : mask_) b = b ? 0 : 1;
    recount();
}

void SkinSelection::combine(const std::vector<std::uint8_t>& shape, int width, int height, SelectCombine how) {
    if (shape.size() != areaOf(width, height)) return;
    // A selection of another skin size (the skins were resized) starts afresh.
    if (!active() || width != width_ || height != height_) {
        width_ = width;
        height_ = height;
        mask_.assign(shape.size(), 0);
    }
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const bool in = shape[i] != 0;
        switch (how) {
        case SelectCombine::Replace: mask_[i] = in; break;
        case SelectCombine::Add: mask_[i] = mask_[i] || in; break;
        case SelectCombine::Subtract: mask_[i] = mask_[i] && !in; break;
        }
    }
    recount();
}

SelectionBounds SkinSelection::bounds() const {
    SelectionBounds b{width_, height_, -1, -1};
    for (int y = 0; y < height_ && active(); ++y) {
        const std::uint8_t* row = mask_.data() + std::size_t(y) * std::size_t(width_);
        for (int x = 0; x < width_; ++x)
            if (row[x]) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
            }
    }
    if (b.right < 0) return {};
    return b;
}

std::vector<SelectionEdge> SkinSelection::outline() const {
    std::vector<SelectionEdge> edges;
    if (!active()) return edges;
    // Edge between row y - 1 and y (horizontal), or column x - 1 and x (vertical):
    // drawn where exactly one side is selected; runs are joined.
    for (int y = 0; y <= height_; ++y) {
        int start = -1;
        for (int x = 0; x <= width_; ++x) {
            const bool edge = x < width_ && contains(x, y - 1) != contains(x, y);
            if (edge && start < 0) start = x;
            if (!edge && start >= 0) {
                edges.push_back({start, y, x, y});
                start = -1;
            }
        }
    }
    for (int x = 0; x <= width_; ++x) {
        int start = -1;
        for (int y = 0; y <= height_; ++y) {
            const bool edge = y < height_ && contains(x - 1, y) != contains(x, y);
            if (edge && start < 0) start = y;
            if (!edge && start >= 0) {
                edges.push_back({x, start, x, y});
                start = -1;
            }
        }
    }
    return edges;
}

std::vector<std::uint8_t> rectangleShape(int width, int height, int x0, int y0, int x1, int y1) {
    std::vector<std::uint8_t> shape(areaOf(width, height), 0);
    const int left = std::max(0, std::min(x0, x1)), right = std::min(width - 1, std::max(x0, x1));
    const int top = std::max(0, std::min(y0, y1)), bottom = std::min(height - 1, std::max(y0, y1));
    for (int y = top; y <= bottom; ++y)
        std::fill_n(shape.begin() + std::ptrdiff_t(std::size_t(y) * std::size_t(width) + std::size_t(left)),
                    std::max(0, right - left + 1), std::uint8_t{1});
    return shape;
}

std::vector<std::uint8_t> lassoShape(int width, int height, const std::vector<std::pair<float, float>>& points) {
    std::vector<std::uint8_t> shape(areaOf(width, height), 0);
    if (points.size() < 3) return shape;
    std::vector<float> crossings;
    for (int y = 0; y < height; ++y) {
        // Where the row of texel centres crosses each edge; between pairs of
        // crossings the centres are inside.
        const float cy = float(y) + 0.5f;
        crossings.clear();
        for (std::size_t i = 0; i < points.size(); ++i) {
            const auto& [ax, ay] = points[i];
            const auto& [bx, by] = points[(i + 1) % points.size()];
            if ((ay <= cy) == (by <= cy)) continue;
            crossings.push_back(ax + (cy - ay) * (bx - ax) / (by - ay));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
            const int from = std::max(0, int(std::ceil(crossings[k] - 0.5f)));
            const int to = std::min(width - 1, int(std::ceil(crossings[k + 1] - 0.5f)) - 1);
            for (int x = from; x <= to; ++x) shape[std::size_t(y) * std::size_t(width) + std::size_t(x)] = 1;
        }
    }
    return shape;
}

std::vector<std::uint8_t> colourShape(const Skin& skin, std::int32_t start, bool everyTexelOfIndex) {
    return shapeOf(fillRegion(skin, start, everyTexelOfIndex), skin.width, skin.height);
}

std::vector<std::uint8_t> selectedTrianglesShape(const Mesh& mesh, int width, int height) {
    return coveredTexels(mesh, width, height, true);
}

}  // namespace tarn
