#pragma once
// Visits the pixels of a segment in the order and with the stepping of the
// rasterizer's Line, so that brushes paint exactly what a line would draw.
// Integer only: a 16-bit carry accumulator decides the minor-axis steps.
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "platform/refresh.h"
#include "raster/rasterizer.h"
#include "render/iso_view_context.h"

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

// A brush segment from A to B in a client area `width` x `height`, painted
// pixel by pixel with `paint(x, y)`: a point inside is painted once; a point
// outside paints nothing; a segment is clipped to the area by `clipper` and
// walked as Line walks it. Returns whether anything was walked (the caller
// then asks for the redraw of the painted run).
template <typename Paint>
bool paintBrushSegment(Rasterizer& clipper, int ax, int ay, int bx, int by, int width, int height, Paint&& paint) {
    const auto inside = [&](int x, int y) { return x >= 0 && y >= 0 && x < width && y < height; };
    const bool bothInside = inside(ax, ay) && inside(bx, by);
    if (ax == bx && ay == by) {
        if (!bothInside) return false;
        paint(ax, ay);
        return true;
    }
    if (!bothInside) {
        clipper.SetTarget(RasterTarget{nullptr, nullptr, nullptr, nullptr, width, height});
        Segment2D segment{ax, ay, bx, by};
        if (!clipper.ClipLine(segment)) return false;
        forEachLinePixel(segment.x0, segment.y0, segment.x1, segment.y1, paint);
        return true;
    }
    forEachLinePixel(ax, ay, bx, by, paint);
    return true;
}

// paintBrushSegment for a display: a walked run asks for the redraw of the
// skin and of both views. Returns whether it walked one.
template <typename Paint>
bool paintBrushRun(Rasterizer& clipper, int ax, int ay, int bx, int by, int width, int height, RefreshSink& refresh,
                   Paint&& paint) {
    if (!paintBrushSegment(clipper, ax, ay, bx, by, width, height, paint)) return false;
    refresh.refresh(kRedrawFromSkin, kPanesSkinIso16);
    return true;
}

}  // namespace tarn
