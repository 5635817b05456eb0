#include "raster/frame_buffer.h"

#include <algorithm>
#include <cstring>

#include "raster/rasterizer.h"

namespace tarn {

namespace {
constexpr int kRowAlignment = 4;
// The largest client size whose planes the rasterizer still accepts as a target.
constexpr int kMaxClientSide = kMaxTargetSide / kRowAlignment * kRowAlignment;
}

int planeWidthFor(int clientWidth) {
    if (clientWidth <= 0) return 0;
    return (clientWidth + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
}

void FrameBuffer::resize(int clientWidth, int clientHeight) {
    clientWidth_ = std::clamp(clientWidth, 0, kMaxClientSide);
    width_ = planeWidthFor(clientWidth_);
    height_ = std::clamp(clientHeight, 0, kMaxClientSide);
    const std::size_t count = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    // Fresh vectors rather than resize(): the old contents are worthless and
    // copying them would cost as much as the clear that follows.
    colour_ = std::vector<std::uint8_t>(count);
    depth_ = std::vector<std::uint16_t>(count);
    pick_ = std::vector<std::int32_t>(count);
}

std::optional<std::size_t> FrameBuffer::elementAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= clientWidth_ || y >= height_) return std::nullopt;
    return static_cast<std::size_t>(x) +
           static_cast<std::size_t>(height_ - 1 - y) * static_cast<std::size_t>(width_);
}

void FrameBuffer::clear(std::uint8_t background) {
    clearColour(background);
    clearDepth();
    clearPick();
}

void FrameBuffer::clearColour(std::uint8_t background) {
    if (!colour_.empty()) std::memset(colour_.data(), background, colour_.size());
}

// kDepthFar and kPickNothing are all-ones bit patterns, so a byte fill is the
// fastest way to write them.
static_assert(kDepthFar == 0xFFFF && kPickNothing == -1);

void FrameBuffer::clearDepth() {
    if (!depth_.empty()) std::memset(depth_.data(), 0xFF, depth_.size() * sizeof(std::uint16_t));
}

void FrameBuffer::clearPick() {
    if (!pick_.empty()) std::memset(pick_.data(), 0xFF, pick_.size() * sizeof(std::int32_t));
}

}  // namespace tarn
