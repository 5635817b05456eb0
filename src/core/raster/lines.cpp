// The line drawers: one stepping scheme (a 16-bit carry accumulator on the
// minor axis) with four pixel rules.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "raster/rasterizer.h"

namespace tarn {

namespace {

constexpr std::uint32_t kAccumulatorCarry = 1u << 16;
constexpr int kBlendShift = 5;                 // weights are 0..32
constexpr int kBlendWeightShift = 16 - kBlendShift;  // top 5 bits of the accumulator
constexpr int kBlendWhole = 1 << kBlendShift;
constexpr std::uint16_t kChannelMask = 0x1F;
constexpr int kChannelShifts[] = {0, 5, 10};

// Walks a segment that lies inside a target of the given pitch. Pixels of the
// straight cases and both endpoints go to plot.plain(index); the pixels of the
// accumulator steps go to plot.stepped(index, x, y, accumulator, minorStep),
// where minorStep is the unit step along the minor axis (dx, dy).
template <class Plot>
void walkLine(Segment2D s, std::ptrdiff_t pitch, Plot& plot) {
    if (s.y1 < s.y0) s = Segment2D{s.x1, s.y1, s.x0, s.y0};
    int x = s.x0;
    int y = s.y0;
    std::ptrdiff_t at = x + static_cast<std::ptrdiff_t>(y) * pitch;
    plot.plain(at);
    const int dy = s.y1 - s.y0;
    const int dx = s.x1 - s.x0;
    const int ax = std::abs(dx);
    const int sx = dx < 0 ? -1 : 1;
    if (dy == 0) {
        for (int i = 0; i < ax; ++i) plot.plain(at += sx);
        return;
    }
    if (dx == 0) {
        for (int i = 0; i < dy; ++i) plot.plain(at += pitch);
        return;
    }
    if (ax == dy) {
        for (int i = 0; i < dy; ++i) plot.plain(at += sx + pitch);
        return;
    }
    const bool yMajor = ax < dy;
    const int steps = yMajor ? dy : ax;
    const std::uint32_t slope = static_cast<std::uint32_t>(yMajor ? ax : dy) * kAccumulatorCarry /
                                static_cast<std::uint32_t>(steps);
    std::uint32_t accumulator = 0;
    for (int i = 0; i < steps - 1; ++i) {
        accumulator += slope;
        const bool carry = accumulator >= kAccumulatorCarry;
        accumulator &= kAccumulatorCarry - 1;
        if (yMajor) {
            if (carry) x += sx, at += sx;
            ++y, at += pitch;
            plot.stepped(at, x, y, accumulator, sx, 0);
        } else {
            if (carry) ++y, at += pitch;
            x += sx, at += sx;
            plot.stepped(at, x, y, accumulator, 0, 1);
        }
    }
    plot.plain(s.x1 + static_cast<std::ptrdiff_t>(s.y1) * pitch);
}

template <class Pixel>
struct PlainPlot {
    Pixel pixel;
    void plain(std::ptrdiff_t at) { pixel(at); }
    void stepped(std::ptrdiff_t at, int, int, std::uint32_t, int, int) { pixel(at); }
};

template <class Pixel>
PlainPlot<Pixel> plainPlot(Pixel pixel) {
    return PlainPlot<Pixel>{pixel};
}

// The pixels of a walk over the whole target that fall in the planes' band,
// at their place in the band.
template <class Pixel>
struct BandPlot {
    Pixel pixel;
    std::ptrdiff_t first;  // the band's first element in the whole target
    std::ptrdiff_t end;
    void plain(std::ptrdiff_t at) {
        if (at >= first && at < end) pixel(at - first);
    }
    void stepped(std::ptrdiff_t at, int, int, std::uint32_t, int, int) { plain(at); }
};

// Walks the segment with `pixel`, through the band when the planes hold one.
template <class Pixel>
void walkPlanes(const Rasterizer& r, Segment2D s, Pixel pixel) {
    if (r.bandRows() == r.height()) {
        auto plot = plainPlot(pixel);
        walkLine(s, r.width(), plot);
        return;
    }
    const int bandLast = r.bandFirst() + r.bandRows() - 1;
    if (std::max(s.y0, s.y1) < r.bandFirst() || std::min(s.y0, s.y1) > bandLast) return;
    const std::ptrdiff_t pitch = r.width();
    BandPlot<Pixel> plot{pixel, r.bandFirst() * pitch, (bandLast + 1) * pitch};
    walkLine(s, pitch, plot);
}

// (a x wa + b x wb) >> 5 for each 5-bit channel.
std::uint16_t blend(std::uint16_t a, int wa, std::uint16_t b, int wb) {
    std::uint16_t out = 0;
    for (const int shift : kChannelShifts) {
        const int ca = (a >> shift) & kChannelMask;
        const int cb = (b >> shift) & kChannelMask;
        out = static_cast<std::uint16_t>(out | (((ca * wa + cb * wb) >> kBlendShift) << shift));
    }
    return out;
}

struct SmoothPlot {
    std::uint16_t* plane;
    std::uint16_t colour;
    int xLimit;
    int yLimit;
    std::ptrdiff_t pitch;

    void plain(std::ptrdiff_t at) { plane[at] = colour; }
    void stepped(std::ptrdiff_t at, int x, int y, std::uint32_t accumulator, int minorX, int minorY) {
        const int m = static_cast<int>(accumulator >> kBlendWeightShift);
        const int w = kBlendWhole - m;
        plane[at] = blend(plane[at], m, colour, w);
        // The neighbour can lie just outside the target beside an edge pixel.
        const int nx = x + minorX;
        const int ny = y + minorY;
        if (nx < 0 || nx > xLimit || ny > yLimit) return;
        std::uint16_t& neighbour = plane[at + minorX + minorY * pitch];
        neighbour = blend(colour, m, neighbour, w);
    }
};

// Lines are drawn only inside the target: a segment that is not wholly inside
// is clipped first, so no coordinate can reach outside the planes.
bool fitInside(const Rasterizer& r, Segment2D& s) {
    const bool inside = s.x0 >= 0 && s.x1 >= 0 && s.y0 >= 0 && s.y1 >= 0 && s.x0 <= r.xLimit() &&
                        s.x1 <= r.xLimit() && s.y0 <= r.yLimit() && s.y1 <= r.yLimit();
    return inside || r.ClipLine(s);
}

}  // namespace

void Rasterizer::Line(Segment2D segment, std::uint8_t colour) {
    if (colour_ == nullptr || !fitInside(*this, segment)) return;
    walkPlanes(*this, segment, [plane = colour_, colour](std::ptrdiff_t at) { plane[at] = colour; });
}

void Rasterizer::LineOnPick(Segment2D segment, std::uint8_t colour, std::int32_t key) {
    if (colour_ == nullptr || pick_ == nullptr || !fitInside(*this, segment)) return;
    walkPlanes(*this, segment, [plane = colour_, pick = pick_, colour, key](std::ptrdiff_t at) {
        if (pick[at] == key) plane[at] = colour;
    });
}

void Rasterizer::Line16(Segment2D segment, std::uint16_t colour) {
    if (colour16_ == nullptr || !fitInside(*this, segment)) return;
    auto plot = plainPlot([plane = colour16_, colour](std::ptrdiff_t at) { plane[at] = colour; });
    walkLine(segment, width_, plot);
}

void Rasterizer::LineSmooth16(Segment2D segment, std::uint16_t colour) {
    if (colour16_ == nullptr || !fitInside(*this, segment)) return;
    SmoothPlot plot{colour16_, colour, xLimit_, yLimit_, width_};
    walkLine(segment, width_, plot);
}

}  // namespace tarn
