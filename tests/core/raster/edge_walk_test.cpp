// The edge walk against the rule it implements, pixel by pixel: Bresenham
// steps along each edge in turn, the first pixel to reach a new extreme of
// its row keeps it with its attribute, and each row's span steps
// (right - left) / n from the left value. The engine takes shortcuts (whole
// runs of an x-major edge at once); here every step is taken.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "planes.h"
#include "raster/rasterizer.h"

namespace tarn {
namespace {

class ReferenceFill {
public:
    ReferenceFill(int width, int height)
        : width_(width), left_(std::size_t(height), kEdgeIdleLeft), right_(std::size_t(height), kEdgeIdleRight),
          leftShade_(std::size_t(height)), rightShade_(std::size_t(height)) {}

    // FillShade2D of a triangle inside the target, into `colour`. The side
    // clip hands the edges on starting from the second corner.
    void shade(const FillTriangle<ShadeVertex2D>& t, std::uint8_t* colour) {
        walk(t[1], t[2]);
        walk(t[2], t[0]);
        walk(t[0], t[1]);
        for (std::size_t row = 0; row < left_.size(); ++row) {
            if (left_[row] <= right_[row]) {
                const int n = right_[row] - left_[row] + 1;
                const std::uint32_t step =
                    n == 1 ? 0 : std::uint32_t((std::int64_t(rightShade_[row]) - leftShade_[row]) / n);
                std::uint32_t value = std::uint32_t(leftShade_[row]);
                for (int x = left_[row]; x <= right_[row]; ++x, value += step)
                    colour[row * std::size_t(width_) + std::size_t(x)] = std::uint8_t(value >> 16);
            }
            left_[row] = kEdgeIdleLeft;
            right_[row] = kEdgeIdleRight;
        }
    }

private:
    void walk(const ShadeVertex2D& a, const ShadeVertex2D& b) {
        const int dx = std::abs(b.x - a.x);
        const int dy = std::abs(b.y - a.y);
        const bool xMajor = dx > dy;
        const int major = xMajor ? dx : dy;
        const int minor = xMajor ? dy : dx;
        const int sx = b.x < a.x ? -1 : 1;
        const int sy = b.y < a.y ? -1 : 1;
        const std::uint32_t step = major > 0 ? std::uint32_t((std::int64_t(b.c) - a.c) / major) : 0;
        std::uint32_t c = std::uint32_t(a.c);
        int x = a.x;
        int y = a.y;
        int error = 2 * minor - major;
        for (int i = 0;; ++i) {
            const std::size_t row = std::size_t(y);
            if (x < left_[row]) left_[row] = x, leftShade_[row] = std::int32_t(c);
            if (x > right_[row]) right_[row] = x, rightShade_[row] = std::int32_t(c);
            if (i == major) break;
            if (error >= 0) {
                (xMajor ? y : x) += xMajor ? sy : sx;
                error -= 2 * major;
            }
            (xMajor ? x : y) += xMajor ? sx : sy;
            error += 2 * minor;
            c += step;
        }
    }

    int width_;
    std::vector<std::int32_t> left_, right_, leftShade_, rightShade_;
};

TEST(EdgeWalk, EveryEdgeShapeFillsAsStepByStepBresenham) {
    constexpr int kWidth = 96;
    constexpr int kHeight = 40;
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> x(0, kWidth - 1), y(0, kHeight - 1), shade(0, 255 << 16);
    std::uniform_int_distribution<int> shape(0, 4), near(-3, 3);
    test::Planes planes(kWidth, kHeight);
    std::vector<std::uint8_t> expected(planes.colour.count);
    Rasterizer raster;
    ASSERT_TRUE(raster.SetTarget(planes.target()));
    ReferenceFill reference(kWidth, kHeight);
    for (int round = 0; round < 4000; ++round) {
        FillTriangle<ShadeVertex2D> t;
        for (int i = 0; i < 3; ++i) t[std::size_t(i)] = {x(rng), y(rng), shade(rng)};
        // Flat, thin and tiny triangles: long x-major runs, one-row edges, single pixels.
        switch (shape(rng)) {
            case 0: t[1].y = t[0].y; break;
            case 1: t[2].y = std::clamp(t[0].y + near(rng), 0, kHeight - 1); break;
            case 2:
                for (int i = 1; i < 3; ++i)
                    t[std::size_t(i)] = {std::clamp(t[0].x + near(rng), 0, kWidth - 1),
                                         std::clamp(t[0].y + near(rng), 0, kHeight - 1), shade(rng)};
                break;
            default: break;
        }
        t[3] = t[0];
        std::fill(expected.begin(), expected.end(), test::kBackground);
        std::fill_n(planes.colour.data(), planes.colour.count, test::kBackground);
        reference.shade(t, expected.data());
        raster.FillShade2D(t);
        ASSERT_TRUE(std::equal(expected.begin(), expected.end(), planes.colour.data()))
            << "round " << round << ": (" << t[0].x << "," << t[0].y << ") (" << t[1].x << "," << t[1].y << ") ("
            << t[2].x << "," << t[2].y << ")";
    }
}

}  // namespace
}  // namespace tarn
