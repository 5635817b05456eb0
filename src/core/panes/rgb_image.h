#pragma once
// The 24-bit images of the palette strip and the gradient column: rows
// top-down, red, green, blue per pixel, each row padded to a width that is a
// multiple of 4 pixels (so every row starts on a 4-byte boundary).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarn {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

class RgbImage {
public:
    void resize(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }
    int stride() const { return paddedWidth_ * 3; }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

    // Points outside the image read black and are not written.
    Rgb pixel(int x, int y) const;
    void put(int x, int y, Rgb c);
    void fill(int left, int top, int right, int bottom, Rgb c);  // inclusive

private:
    std::size_t offset(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(stride()) + static_cast<std::size_t>(x) * 3;
    }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    int width_ = 0;
    int height_ = 0;
    int paddedWidth_ = 0;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace tarn
