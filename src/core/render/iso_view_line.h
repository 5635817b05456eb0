#pragma once
// Visits the pixels of a segment in the order and with the stepping of the
// rasterizer's Line, so that brushes paint exactly what a line would draw.
// Integer only: a 16-bit carry accumulator decides the minor-axis steps.
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace tarn {

// One minor-axis step per wrap of a 16-bit accumulator that advances by
// minor / major of a full turn per major step.
inline constexpr std::uint32_t kSlopeOne = 1u << 16;

template <typename Visit>
void forEachLinePixel(int x0, int y0, int x1, int y1, Visit&& visit) {
    if (y1 < y0) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    int x = x0;
    int y = y0;
    visit(x, y);
    const int dy = y1 - y0;
    const int dx = x1 - x0;
    const int adx = std::abs(dx);
    const int sx = dx < 0 ? -1 : 1;
    if (dy == 0) {
        for (int i = 0; i < adx; ++i) visit(x += sx, y);
        return;
    }
    if (dx == 0) {
        for (int i = 0; i < dy; ++i) visit(x, ++y);
        return;
    }
    if (adx == dy) {
        for (int i = 0; i < dy; ++i) visit(x += sx, ++y);
        return;
    }
    std::uint16_t acc = 0;
    if (adx < dy) {
        const auto slope = static_cast<std::uint32_t>(adx) * kSlopeOne / static_cast<std::uint32_t>(dy);
        for (int i = 0; i < dy - 1; ++i) {
            const auto next = static_cast<std::uint16_t>(acc + slope);
            if (next <= acc) x += sx;
            acc = next;
            visit(x, ++y);
        }
    } else {
        const auto slope = static_cast<std::uint32_t>(dy) * kSlopeOne / static_cast<std::uint32_t>(adx);
        for (int i = 0; i < adx - 1; ++i) {
            const auto next = static_cast<std::uint16_t>(acc + slope);
            if (next <= acc) ++y;
            acc = next;
            visit(x += sx, y);
        }
    }
    visit(x1, y1);
}

}  // namespace tarn

namespace tarn {

// Clips the segment to [0, xLimit] x [0, yLimit] in place, cutting in x and
// then in y with 16-bit fractions. Returns false, leaving the segment as it
// was, when nothing of it lies inside. The ends may come back swapped.
inline bool clipSegment(int& x0, int& y0, int& x1, int& y1, int xLimit, int yLimit) {
    std::int64_t ax = x0, ay = y0, bx = x1, by = y1;
    const auto cut = [](std::int64_t over, std::int64_t span, std::int64_t delta) {
        const std::int64_t f = (over << 16) / span;
        return (f * delta) >> 16;
    };
    if (ax > bx) {
        std::swap(ax, bx);
        std::swap(ay, by);
    }
    if (bx < 0 || ax > xLimit) return false;
    if (ax < 0) {
        ay += cut(-ax, bx - ax, by - ay);
        ax = 0;
    }
    if (bx > xLimit) {
        by -= cut(bx - xLimit, bx - ax, by - ay);
        bx = xLimit;
    }
    if (ay > by) {
        std::swap(ax, bx);
        std::swap(ay, by);
    }
    if (by < 0 || ay > yLimit) return false;
    if (ay < 0) {
        ax += cut(-ay, by - ay, bx - ax);
        ay = 0;
    }
    if (by > yLimit) {
        bx -= cut(by - yLimit, by - ay, bx - ax);
        by = yLimit;
    }
    // A steep cut can land a hair outside in x; the drawers trust their input.
    if (ax < 0 || ax > xLimit || bx < 0 || bx > xLimit) return false;
    x0 = static_cast<int>(ax);
    y0 = static_cast<int>(ay);
    x1 = static_cast<int>(bx);
    y1 = static_cast<int>(by);
    return true;
}

}  // namespace tarn

namespace tarn {

// A brush segment from A to B in a client area `width` x `height`, painted
// pixel by pixel with `paint(x, y)`: a point inside is painted once; a point
// outside paints nothing; a segment is clipped to the area and walked as Line
// walks it. Returns whether anything was walked (the caller then asks for the
// redraw of the painted run).
template <typename Paint>
bool paintBrushSegment(int ax, int ay, int bx, int by, int width, int height, Paint&& paint) {
    const auto inside = [&](int x, int y) { return x >= 0 && y >= 0 && x < width && y < height; };
    const bool bothInside = inside(ax, ay) && inside(bx, by);
    if (ax == bx && ay == by) {
        if (!bothInside) return false;
        paint(ax, ay);
        return true;
    }
    if (!bothInside && !clipSegment(ax, ay, bx, by, width - 1, height - 1)) return false;
    forEachLinePixel(ax, ay, bx, by, paint);
    return true;
}

}  // namespace tarn
