#pragma once
// Target planes for rasterizer tests, with guard bands before and after each
// plane so that any write outside the target shows.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "raster/frame_buffer.h"
#include "raster/rasterizer.h"

namespace tarn::test {

inline constexpr std::size_t kGuard = 64;
inline constexpr std::uint8_t kGuardByte = 0xA5;
inline constexpr std::uint8_t kBackground = 200;

template <class T>
struct GuardedPlane {
    std::vector<T> storage;
    T guardValue;
    std::size_t count;

    GuardedPlane(std::size_t n, T fill, T guard) : storage(n + 2 * kGuard, guard), guardValue(guard), count(n) {
        std::fill_n(storage.begin() + kGuard, n, fill);
    }
    T* data() { return storage.data() + kGuard; }
    T& operator[](std::size_t i) { return storage[kGuard + i]; }
    bool guardsIntact() const {
        auto same = [&](T v) { return v == guardValue; };
        return std::all_of(storage.begin(), storage.begin() + kGuard, same) &&
               std::all_of(storage.end() - kGuard, storage.end(), same);
    }
};

// Colour, colour16, depth and pick planes of w x h, cleared as the render modes clear them.
struct Planes {
    int width;
    int height;
    GuardedPlane<std::uint8_t> colour;
    GuardedPlane<std::uint16_t> colour16;
    GuardedPlane<std::uint16_t> depth;
    GuardedPlane<std::int32_t> pick;

    Planes(int w, int h)
        : width(w),
          height(h),
          colour(size(w, h), kBackground, kGuardByte),
          colour16(size(w, h), 0, 0xA5A5),
          depth(size(w, h), kDepthFar, 0xA5A5),
          pick(size(w, h), kPickNothing, 0x5A5A5A5A) {}

    static std::size_t size(int w, int h) {
        return static_cast<std::size_t>(std::clamp(w, 0, kMaxTargetSide)) * static_cast<std::size_t>(std::clamp(h, 0, kMaxTargetSide));
    }
    RasterTarget target() { return RasterTarget{colour.data(), colour16.data(), depth.data(), pick.data(), width, height}; }
    std::size_t at(int x, int y) const { return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x); }
    bool guardsIntact() const {
        return colour.guardsIntact() && colour16.guardsIntact() && depth.guardsIntact() && pick.guardsIntact();
    }
    // Number of colour-plane pixels that differ from the background.
    int drawn() {
        return static_cast<int>(std::count_if(colour.data(), colour.data() + colour.count,
                                              [](std::uint8_t c) { return c != kBackground; }));
    }
};

}  // namespace tarn::test
