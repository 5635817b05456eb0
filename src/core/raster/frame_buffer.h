#pragma once
// The three planes the 3D pane draws into: colour (palette indices), depth
// (smaller is nearer) and pick (what was drawn at each pixel). Rows are stored
// row 0 first and row 0 is the bottom row of the pane, because the colour
// plane is shown as a bottom-up device-independent bitmap.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarn {

inline constexpr std::uint16_t kDepthFar = 0xFFFF;
inline constexpr std::int32_t kPickNothing = -1;
inline constexpr std::int32_t kPickCompanion = -2;

// Bitmap rows are padded to a multiple of 4 bytes: the plane width for a pane
// `clientWidth` pixels wide (301 -> 304, 300 -> 300). Negative widths give 0.
int planeWidthFor(int clientWidth);

class FrameBuffer {
public:
    FrameBuffer() = default;

    // Reallocates all three planes for a client area of the given size; the
    // contents are undefined until the next clear. Negative sizes count as 0;
    // sizes beyond what the Rasterizer can target are cut to its limit.
    void resize(int clientWidth, int clientHeight);

    int width() const { return width_; }    // plane width: the row pitch
    int height() const { return height_; }
    int clientWidth() const { return clientWidth_; }
    std::size_t elementCount() const { return colour_.size(); }

    std::uint8_t* colour() { return colour_.data(); }
    std::uint16_t* depth() { return depth_.data(); }
    std::int32_t* pick() { return pick_.data(); }
    const std::uint8_t* colour() const { return colour_.data(); }
    const std::uint16_t* depth() const { return depth_.data(); }
    const std::int32_t* pick() const { return pick_.data(); }

    // Plane element shown at client pixel (x, y), y downwards; nothing for a
    // pixel outside the client area.
    std::optional<std::size_t> elementAt(int x, int y) const;

    // The clear every render mode starts from: colour to `background`, depth
    // to kDepthFar, pick to kPickNothing.
    void clear(std::uint8_t background);
    void clearColour(std::uint8_t background);
    void clearDepth();
    void clearPick();

private:
    int width_ = 0;
    int height_ = 0;
    int clientWidth_ = 0;
    std::vector<std::uint8_t> colour_;
    std::vector<std::uint16_t> depth_;
    std::vector<std::int32_t> pick_;
};

}  // namespace tarn
