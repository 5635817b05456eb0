#pragma once
// The one clip, edge-walk and span scheme behind every fill of the Rasterizer.
// A fill is a Rule: how many 16.16 attributes its records carry, whether the
// last of them is a tested depth, how its span steps round, and what it writes
// at a pixel. Everything else (side clipping by bisection, the Bresenham edge
// walk into the per-row tables, the span pass) is written once here.
//
// Internal to the raster folder.
#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "raster/fill_cover.h"
#include "raster/rasterizer.h"
#include "raster/wide_span.h"

namespace tarn {

// A fill record as the engine sees it: x, y, then A attributes.
template <int A> using FillPoint = std::array<std::int32_t, 2 + A>;
inline constexpr int kAxisX = 0;
inline constexpr int kAxisY = 1;
inline constexpr int kFirstAttribute = 2;

template <class V> inline constexpr int kAttributesOf = static_cast<int>(sizeof(V) / sizeof(std::int32_t)) - 2;

template <class V, std::size_t N>
std::array<FillPoint<kAttributesOf<V>>, N> toFillPoints(const std::array<V, N>& polygon) {
    static_assert(sizeof(V) % sizeof(std::int32_t) == 0 && kAttributesOf<V> >= 0);
    std::array<FillPoint<kAttributesOf<V>>, N> points;
    for (std::size_t i = 0; i < N; ++i) points[i] = std::bit_cast<FillPoint<kAttributesOf<V>>>(polygon[i]);
    return points;
}

// Keeps attribute `index` of every record within [low, high]: how the fills
// make sure interpolated coordinates never address outside their source.
// Interpolation (edge steps, span steps, bisection midpoints) never leaves the
// range spanned by the corners, so clamping the corners is enough.
template <class Points>
void clampAttribute(Points& points, int index, std::int32_t low, std::int32_t high) {
    for (auto& p : points) p[kFirstAttribute + index] = std::clamp(p[kFirstAttribute + index], low, high);
}

// What a fill writes into the pick plane.
enum class PickWrite { None, Key, TexelOffset };

// Running attribute values wrap like the 32-bit registers they model; the
// interpolated values themselves always lie between the corners' values.
template <int L> using SpanValues = std::array<std::uint32_t, L>;

template <int L>
inline void advance(SpanValues<L>& values, const SpanValues<L>& steps) {
    for (int k = 0; k < L; ++k) values[k] += steps[k];
}

// delta / count truncated, as the 32-bit value the running sums add. Deltas
// almost always fit 32 bits, where division is much cheaper.
inline std::uint32_t stepOf(std::int64_t delta, std::int32_t count) {
    if (delta >= INT32_MIN && delta <= INT32_MAX)
        return static_cast<std::uint32_t>(static_cast<std::int32_t>(delta) / count);
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(delta / count));
}

// The attributes a span steps per pixel, as the colour sources read them:
// only whole parts are ever read. The first `Pairs` pairs of attributes share
// one 64-bit lane each (the first of a pair in the low half), so a textured
// span needs fewer registers and its pixel loop spills less; the rest keep a
// 32-bit lane each. A pair is exact only for attributes a source clamps to
// [0, 2^31): every value a span reads then lies in that range, the low half
// never carries into the high one, and one 64-bit add is the two 32-bit adds.
template <int L, int Pairs>
class RunningValues {
public:
    static_assert(Pairs >= 0 && 2 * Pairs <= L);
    RunningValues(const SpanValues<L>& values, const SpanValues<L>& steps) {
        for (int p = 0; p < Pairs; ++p) {
            pairs_[p] = packed(values[2 * p], values[2 * p + 1]);
            pairSteps_[p] = packed(steps[2 * p], steps[2 * p + 1]);
        }
        for (int k = 2 * Pairs; k < L; ++k) {
            rest_[k - 2 * Pairs] = values[k];
            restSteps_[k - 2 * Pairs] = steps[k];
        }
    }
    std::uint32_t whole(int k) const {
        if (k < 2 * Pairs) {
            const std::uint64_t pair = pairs_[static_cast<std::size_t>(k / 2)];
            if (k % 2 == 0) return static_cast<std::uint32_t>(pair) >> kFixed16Shift;
            return static_cast<std::uint32_t>(pair >> (kHighHalf + kFixed16Shift));
        }
        return rest_[static_cast<std::size_t>(k - 2 * Pairs)] >> kFixed16Shift;
    }
    void advance() {
        for (int p = 0; p < Pairs; ++p) pairs_[p] += pairSteps_[p];
        tarn::advance<L - 2 * Pairs>(rest_, restSteps_);
    }

private:
    static constexpr int kHighHalf = 32;
    // Steps are signed: the low one is sign-extended so that a negative step
    // borrows from the high half exactly as the running sum needs.
    static std::uint64_t packed(std::uint32_t low, std::uint32_t high) {
        const auto signedLow = static_cast<std::int64_t>(static_cast<std::int32_t>(low));
        return static_cast<std::uint64_t>(signedLow) + (std::uint64_t{high} << kHighHalf);
    }
    std::array<std::uint64_t, Pairs> pairs_{};
    std::array<std::uint64_t, Pairs> pairSteps_{};
    SpanValues<L - 2 * Pairs> rest_{};
    SpanValues<L - 2 * Pairs> restSteps_{};
};

// A pixel rule built from a colour source: Source::kLinear attributes feed the
// colour; Depth adds a tested depth as the last attribute.
template <class Source, PickWrite Pick, bool Depth, bool RoundedSteps = false>
struct FillRule {
    static constexpr int kLinear = Source::kLinear;
    static constexpr int kAttributes = kLinear + (Depth ? 1 : 0);
    static constexpr bool kDepthTested = Depth;
    static constexpr bool kRoundedSteps = RoundedSteps;
    static constexpr PickWrite kPick = Pick;
    // A source that is one colour for the whole span is filled a word at a time.
    static constexpr bool kSolid = requires { Source::kSolid; };
    // Attribute pairs the source keeps clamped into [0, 2^31).
    static constexpr int kPairs = [] {
        if constexpr (requires { Source::kCoordinatePairs; }) return Source::kCoordinatePairs;
        else return 0;
    }();
    using Running = RunningValues<kLinear, kPairs>;
#if TARN_WIDE_SPANS
    // Whether the source can colour several pixels at once, and whether it
    // can now (a texture too small for gatherBytes cannot).
    static constexpr bool kWide = requires { Source::kWide; };
    bool wideReady() const {
        if constexpr (requires { source.wideReady(); }) return source.wideReady();
        else return true;
    }
#endif

    Source source;
    std::int32_t key = 0;

    // The colour of a pixel and the value its pick plane takes (unused for PickWrite::None).
    struct Shaded {
        std::uint8_t colour;
        std::int32_t pick;
    };
    Shaded shade(const Running& values) const {
        std::int32_t offset = 0;
        const std::uint8_t colour = source.colour(values, offset);
        return {colour, Pick == PickWrite::Key ? key : offset};
    }
    void plot(std::uint8_t* colour, std::int32_t* pick, std::ptrdiff_t i, const Running& values) const {
        const Shaded s = shade(values);
        colour[i] = s.colour;
        if constexpr (Pick != PickWrite::None) pick[i] = s.pick;
    }
};

class FillEngine {
public:
    // Fills the closed polygon (corners, then the first corner again).
    template <class Rule, class V, std::size_t N>
    static void run(Rasterizer& r, const std::array<V, N>& polygon, const Rule& rule) {
        constexpr int A = Rule::kAttributes;
        static_assert(N >= 2 && A <= kMaxFillAttributes && kAttributesOf<V> == A);
        if (r.width_ <= 0 || r.height_ <= 0 || r.colour_ == nullptr || !rule.source.ready()) return;
        if (Rule::kDepthTested && r.depth_ == nullptr) return;
        if (Rule::kPick != PickWrite::None && r.pick_ == nullptr) return;

        std::array<FillPoint<A>, N> corners = toFillPoints(polygon);
        if (outsideBand(r, corners)) return;
        rule.source.limit(corners, Rule::kRoundedSteps ? kFixed16Half : 0);
        recordEdges<A>(r, corners);
#if TARN_WIDE_SPANS
        if constexpr (Rule::kDepthTested && Rule::kWide) {
            if (g_spanPath != SpanPath::Scalar && rule.wideReady()) {
                Rule wide = rule;
                if constexpr (requires { wide.source.planWideReads(corners, 0); })
                    wide.source.planWideReads(corners, Rule::kRoundedSteps ? kFixed16Half : 0);
                SpanRows<Rule> rows{r};
                if (g_spanPath == SpanPath::Avx512) return lanes512::spans(rows, wide);
                if constexpr (Rule::kLinear <= kPairedAttributes) return lanes256x2::spans(rows, wide);
                else return lanes256::spans(rows, wide);
            }
        }
#endif
        spans(r, rule);
    }

    // The spans of a 2D texture fill with their texture coordinates and
    // steps, as the span pass would draw them, without drawing.
    template <class Rule, class V, std::size_t N>
    static void trace(Rasterizer& r, const std::array<V, N>& polygon, const Rule& rule, std::vector<TextureSpan>& out) {
        static_assert(Rule::kLinear == 2 && !Rule::kDepthTested);
        out.clear();
        if (r.width_ <= 0 || r.height_ <= 0 || !rule.source.ready()) return;
        std::array<FillPoint<Rule::kAttributes>, N> corners = toFillPoints(polygon);
        if (outsideBand(r, corners)) return;
        rule.source.limit(corners, Rule::kRoundedSteps ? kFixed16Half : 0);
        recordEdges<Rule::kAttributes>(r, corners);
        const RowTables tables(r);
        for (std::int32_t row = tables.firstRow; row <= tables.lastRow; ++row) {
            SpanRow<Rule::kLinear> span;
            if (!takeRow<Rule>(tables, row, span)) continue;
            const auto rowStart = static_cast<std::size_t>(row - r.bandFirst_) * tables.width;
            const auto left = static_cast<std::int32_t>(span.end - rowStart) - span.n;
            out.push_back({row, left, span.n, span.values[0], span.values[1], span.steps[0], span.steps[1]});
        }
        r.firstRow_ = kEdgeIdleLeft;
        r.lastRow_ = kEdgeIdleRight;
    }

    // The rows a fill of the closed polygon covers, as the span pass would
    // draw them, without drawing: the same clip and edge walk, so a sampler
    // that colours pixels its own way still covers exactly the fills' pixels.
    template <class V, std::size_t N>
    static void cover(Rasterizer& r, const std::array<V, N>& polygon, std::vector<RowSpan>& rows) {
        constexpr int A = kAttributesOf<V>;
        rows.clear();
        if (r.width_ <= 0 || r.height_ <= 0) return;
        recordEdges<A>(r, toFillPoints(polygon));
        for (std::int32_t row = r.firstRow_; row <= r.lastRow_; ++row) {
            const std::size_t at = static_cast<std::size_t>(row);
            const std::int32_t xl = r.leftEdge_[at];
            const std::int32_t xr = r.rightEdge_[at];
            r.leftEdge_[at] = kEdgeIdleLeft;
            r.rightEdge_[at] = kEdgeIdleRight;
            if (xl <= xr) rows.push_back({row, xl, xr});
        }
        r.firstRow_ = kEdgeIdleLeft;
        r.lastRow_ = kEdgeIdleRight;
    }

private:
    // Whether every corner lies above the planes' band, or every one below:
    // such a polygon has no pixel there, and its edges need no walk.
    template <class Point, std::size_t N>
    static bool outsideBand(const Rasterizer& r, const std::array<Point, N>& corners) {
        if (r.bandRows_ == r.height_) return false;
        const auto [low, high] = std::minmax_element(corners.begin(), corners.end(), [](const auto& a, const auto& b) {
            return a[kAxisY] < b[kAxisY];
        });
        return (*high)[kAxisY] < r.bandFirst_ || (*low)[kAxisY] >= r.bandFirst_ + r.bandRows_;
    }

    // Clips the closed polygon against the sides, then each of its edges
    // against the top and bottom, and walks what is left into the row tables.
    template <int A, std::size_t N>
    static void recordEdges(Rasterizer& r, const std::array<FillPoint<A>, N>& corners) {
        std::array<FillPoint<A>, 2 * (N - 1) + 1> clipped;
        const int count = clipSides<A>(r, corners, clipped);
        for (int i = 0; i + 1 < count; ++i) {
            FillPoint<A> start = clipped[static_cast<std::size_t>(i)];
            FillPoint<A> end = clipped[static_cast<std::size_t>(i) + 1];
            bool startMoved = false;
            if (clipEdge<A>(start, end, kAxisY, r.yLimit_, startMoved)) walkEdge<A>(r, start, end);
        }
    }

    template <int A>
    static FillPoint<A> midpoint(const FillPoint<A>& a, const FillPoint<A>& b) {
        FillPoint<A> m;
        for (std::size_t i = 0; i < m.size(); ++i)
            m[i] = static_cast<std::int32_t>((static_cast<std::int64_t>(a[i]) + b[i]) >> 1);
        return m;
    }

    // The point of the segment whose coordinate on `axis` is `border`, found by
    // halving, every attribute carried along. Requires lo[axis] <= border <
    // hi[axis]. That invariant holds after every round, and a floor midpoint of
    // two integers a < b lies in [a, b), so the interval shrinks each round and
    // at the latest hi = border + 1 gives a midpoint on the border: it ends
    // within 33 rounds for any int32 coordinates.
    template <int A>
    static FillPoint<A> bisect(FillPoint<A> lo, FillPoint<A> hi, int axis, std::int32_t border) {
        for (;;) {
            const FillPoint<A> mid = midpoint<A>(lo, hi);
            if (mid[axis] == border) return mid;
            if (mid[axis] < border) lo = mid;
            else hi = mid;
        }
    }

    // Clips the edge start -> end to 0 <= p[axis] <= high. False when nothing
    // of it is inside. An endpoint exactly on a border is its own cut point:
    // halving from it would settle on a neighbouring point instead (moving a
    // corner on column 0 along its edge and dropping its pixel). So a larger
    // endpoint exactly at 0 is the cut point of the smaller, and a smaller
    // endpoint exactly at `high` the cut point of the larger.
    template <int A>
    static bool clipEdge(FillPoint<A>& start, FillPoint<A>& end, int axis, std::int32_t high, bool& startMoved) {
        const bool swapped = end[axis] < start[axis];
        FillPoint<A>& lo = swapped ? end : start;
        FillPoint<A>& hi = swapped ? start : end;
        if (hi[axis] < 0 || lo[axis] > high) return false;
        bool loMoved = false;
        bool hiMoved = false;
        if (lo[axis] < 0) {
            lo = hi[axis] == 0 ? hi : bisect<A>(lo, hi, axis, 0);
            loMoved = true;
        }
        if (hi[axis] > high) {
            hi = lo[axis] == high ? lo : bisect<A>(lo, hi, axis, high);
            hiMoved = true;
        }
        startMoved = swapped ? hiMoved : loMoved;
        return true;
    }

    // Clips the polygon against the left and right borders. A kept edge adds
    // its start point when that was moved, then its end point; the first point
    // closes the result again.
    template <int A, std::size_t N, std::size_t M>
    static int clipSides(Rasterizer& r, const std::array<FillPoint<A>, N>& polygon, std::array<FillPoint<A>, M>& out) {
        int count = 0;
        for (std::size_t i = 0; i + 1 < N; ++i) {
            FillPoint<A> start = polygon[i];
            FillPoint<A> end = polygon[i + 1];
            bool startMoved = false;
            r.cutFlag_ = 0;
            if (!clipEdge<A>(start, end, kAxisX, r.xLimit_, startMoved)) continue;
            r.cutFlag_ = startMoved ? 1 : 0;
            if (startMoved) out[static_cast<std::size_t>(count++)] = start;
            out[static_cast<std::size_t>(count++)] = end;
        }
        if (count > 0) out[static_cast<std::size_t>(count++)] = out[0];
        return count;
    }

    // Records the edge's pixels in the per-row tables by Bresenham's rule; the
    // first pixel to reach a new extreme of its row keeps it. The edge lies
    // inside the target.
    template <int A>
    static void walkEdge(Rasterizer& r, const FillPoint<A>& start, const FillPoint<A>& end) {
        r.firstRow_ = std::min({r.firstRow_, start[kAxisY], end[kAxisY]});
        r.lastRow_ = std::max({r.lastRow_, start[kAxisY], end[kAxisY]});
        const int dx = std::abs(end[kAxisX] - start[kAxisX]);
        const int dy = std::abs(end[kAxisY] - start[kAxisY]);
        const bool xMajor = dx > dy;
        const int major = xMajor ? dx : dy;
        SpanValues<A> values;
        SpanValues<A> steps{};
        for (int k = 0; k < A; ++k) {
            values[k] = static_cast<std::uint32_t>(start[kFirstAttribute + k]);
            if (major > 0)
                steps[k] = stepOf(static_cast<std::int64_t>(end[kFirstAttribute + k]) - start[kFirstAttribute + k], major);
        }
        const EdgeSteps edge{start[kAxisX], start[kAxisY], end[kAxisX] < start[kAxisX] ? -1 : 1,
                             end[kAxisY] < start[kAxisY] ? -1 : 1, major, xMajor ? dy : dx};
        if (xMajor) walkRuns<A>(r, edge, values, steps);
        else walkSteps<A>(r, edge, values, steps);
    }

    struct EdgeSteps {
        int x, y, sx, sy, major, minor;
    };

    // The per-row tables as the walks write them: plain pointers, taken
    // before a walk's loop, so that its stores do not make it reload the
    // vectors' data pointers at every pixel.
    struct EdgeTables {
        std::int32_t* leftEdge;
        std::int32_t* rightEdge;
        std::int32_t* leftAttrs;
        std::int32_t* rightAttrs;

        explicit EdgeTables(Rasterizer& r)
            : leftEdge(r.leftEdge_.data()), rightEdge(r.rightEdge_.data()), leftAttrs(r.leftAttrs_.data()),
              rightAttrs(r.rightAttrs_.data()) {}

        // Records a pixel of an edge on the left or right where it is a new
        // extreme of its row: the first pixel to reach it keeps it.
        template <bool Left, int A>
        void record(std::size_t row, std::int32_t x, const SpanValues<A>& values) const {
            std::int32_t& edge = Left ? leftEdge[row] : rightEdge[row];
            if (Left ? x >= edge : x <= edge) return;
            edge = x;
            std::int32_t* attrs = (Left ? leftAttrs : rightAttrs) + row * kMaxFillAttributes;
            for (int k = 0; k < A; ++k) attrs[k] = static_cast<std::int32_t>(values[k]);
        }
    };

    // The walk of an x-major edge, a row at a time. Each row holds a run of
    // pixels along which x moves one way, so only the run's first and last
    // pixels can be a new extreme of the row: the walk records those two and
    // jumps over the rest, where stepping pixel by pixel would mispredict the
    // end of nearly every run. The runs are the Bresenham steps exactly: from
    // error e < 0, ceil(-e / 2minor) straight steps come before the diagonal
    // one. After a diagonal step the error before the next one lies in
    // [0, 2minor), so every later run is q or q + 1 steps long, q and the
    // choice coming from one division of 2major - 2minor by 2minor.
    template <int A>
    static void walkRuns(Rasterizer& r, const EdgeSteps& e, SpanValues<A> values, const SpanValues<A> steps) {
        const int twiceMinor = 2 * e.minor;
        const int climb = 2 * e.major - twiceMinor;  // how far a diagonal step lowers the error
        const int runQuotient = twiceMinor > 0 ? climb / twiceMinor : 0;
        const int runRemainder = twiceMinor > 0 ? climb % twiceMinor : 0;
        const bool forward = e.sx > 0;
        int x = e.x;
        int y = e.y;
        int remaining = e.major;  // steps after the current pixel
        const int firstError = twiceMinor - e.major;
        int straight = firstError >= 0 ? 0
                       : twiceMinor == 0 ? remaining
                                         : (-firstError + twiceMinor - 1) / twiceMinor;
        int error = firstError;  // at the run's first pixel
        for (;;) {
            straight = std::min(straight, remaining);
            const std::size_t row = static_cast<std::size_t>(y);
            SpanValues<A> last = values;
            for (int k = 0; k < A; ++k) last[k] += static_cast<std::uint32_t>(straight) * steps[k];
            const int lastX = x + straight * e.sx;
            const EdgeTables tables(r);  // per row: held across runs, they cost P-Shade registers
            tables.record<true, A>(row, forward ? x : lastX, forward ? values : last);
            tables.record<false, A>(row, forward ? lastX : x, forward ? last : values);
            remaining -= straight;
            if (remaining == 0) return;
            // The diagonal step from the run's last pixel.
            const int decisive = error + straight * twiceMinor;  // in [0, 2minor)
            error = decisive + twiceMinor - 2 * e.major;
            x = lastX + e.sx;
            y += e.sy;
            values = last;
            advance<A>(values, steps);
            --remaining;
            straight = runQuotient + (decisive < runRemainder ? 1 : 0);
        }
    }

    // The walk of a y-major edge: every step moves one row and a diagonal
    // step also one column. The error's sign decides the diagonal step; it is
    // turned into a mask rather than a branch, because it flips unpredictably
    // along most edges.
    template <int A>
    static void walkSteps(Rasterizer& r, const EdgeSteps& e, SpanValues<A> values, const SpanValues<A> steps) {
        const EdgeTables tables(r);
        const int major = e.major;
        const int sx = e.sx;
        const int sy = e.sy;
        const int twiceMinor = 2 * e.minor;
        const int twiceMajor = 2 * major;
        int x = e.x;
        int y = e.y;
        int error = twiceMinor - major;
        for (int i = 0;; ++i) {
            const std::size_t row = static_cast<std::size_t>(y);
            tables.record<true, A>(row, x, values);
            tables.record<false, A>(row, x, values);
            if (i == major) break;
            const int diagonal = -static_cast<int>(error >= 0);  // all ones on a diagonal step
            y += sy;
            x += sx & diagonal;
            error += twiceMinor - (twiceMajor & diagonal);
            advance<A>(values, steps);
        }
    }

    // One depth-tested span, addressed from its end (index -n up to 0). The
    // values and steps come by value so that the plane stores cannot alias them
    // and force reloads. (Packing groups of passing pixels into wide stores
    // measured slower than this.)
    template <class Rule>
    static void depthSpan(const Rule& rule, std::uint16_t* depth, std::uint8_t* colour, std::int32_t* pick, int n,
                          std::int32_t zl, std::int32_t zStep, typename Rule::Running values) {
        std::int32_t z = zl;
        for (std::ptrdiff_t i = -n; i != 0; ++i) {
            const auto d = static_cast<std::uint16_t>(z);
            if (d < depth[i]) {
                depth[i] = d;
                rule.plot(colour, pick, i, values);
            }
            z += zStep;
            values.advance();
        }
    }


    // One recorded row as its span needs it.
    template <int L>
    struct SpanRow {
        int n;              // pixels
        std::size_t end;    // plane index one past the last pixel
        SpanValues<L> values;
        SpanValues<L> steps;
        std::int32_t zl;    // whole depth units at the left pixel
        std::int32_t zStep;
    };

    // The recorded rows and the planes as the span loops read them: plain
    // pointers taken once per fill, so that the loops' plane stores (bytes,
    // which may alias anything) do not make them reload the Rasterizer's
    // vectors and sizes at every row.
    struct RowTables {
        std::int32_t* leftEdge;
        std::int32_t* rightEdge;
        const std::int32_t* leftAttrs;
        const std::int32_t* rightAttrs;
        std::size_t width;
        std::int32_t firstRow;
        std::int32_t lastRow;
        std::size_t bandFirst;

        // The recorded rows outside the planes' band are put back to idle
        // here, undrawn.
        explicit RowTables(Rasterizer& r)
            : leftEdge(r.leftEdge_.data()), rightEdge(r.rightEdge_.data()), leftAttrs(r.leftAttrs_.data()),
              rightAttrs(r.rightAttrs_.data()), width(static_cast<std::size_t>(r.width_)), firstRow(r.firstRow_),
              lastRow(r.lastRow_), bandFirst(static_cast<std::size_t>(r.bandFirst_)) {
            const std::int32_t bandLast = r.bandFirst_ + r.bandRows_ - 1;
            if (firstRow >= r.bandFirst_ && lastRow <= bandLast) return;
            for (std::int32_t row = firstRow; row <= lastRow; ++row) {
                if (row >= r.bandFirst_ && row <= bandLast) continue;
                leftEdge[row] = kEdgeIdleLeft;
                rightEdge[row] = kEdgeIdleRight;
            }
            firstRow = std::max(firstRow, r.bandFirst_);
            lastRow = std::min(lastRow, bandLast);
        }
    };

    // Reads row `row` of the edge tables into `span`, putting the row back to
    // idle; false when nothing was recorded there. Always inlined, so that the
    // wide row loop, compiled for another instruction set, shares it.
    template <class Rule>
    [[gnu::always_inline]] static inline bool takeRow(const RowTables& t, std::int32_t row,
                                                      SpanRow<Rule::kLinear>& span) {
        constexpr int L = Rule::kLinear;
        constexpr std::int64_t kRounding = Rule::kRoundedSteps ? kFixed16Half : 0;
        const std::size_t at = static_cast<std::size_t>(row);
        const std::int32_t xl = t.leftEdge[at];
        const std::int32_t xr = t.rightEdge[at];
        t.leftEdge[at] = kEdgeIdleLeft;
        t.rightEdge[at] = kEdgeIdleRight;
        if (xl > xr) return false;
        const int n = xr - xl + 1;
        const std::int32_t* left = &t.leftAttrs[at * kMaxFillAttributes];
        const std::int32_t* right = &t.rightAttrs[at * kMaxFillAttributes];
        span.n = n;
        for (int k = 0; k < L; ++k) {
            span.values[k] = static_cast<std::uint32_t>(left[k]);
            const std::int64_t delta = static_cast<std::int64_t>(right[k]) - left[k] + kRounding;
            // A one-pixel span never steps. Paired attributes are clamped
            // into [0, 2^31) less the rounding, so their deltas always fit
            // 32 bits and need no range check.
            if (n == 1) span.steps[k] = 0;
            else if (k < 2 * Rule::kPairs)
                span.steps[k] = static_cast<std::uint32_t>(static_cast<std::int32_t>(delta) / n);
            else span.steps[k] = stepOf(delta, n);
        }
        if constexpr (Rule::kDepthTested) {
            // Depth moves in whole depth units: only the integer parts interpolate.
            span.zl = left[L] >> kFixed16Shift;
            span.zStep = ((right[L] >> kFixed16Shift) - span.zl) / n;
        }
        span.end = (at - t.bandFirst) * t.width + static_cast<std::size_t>(xr) + 1;
        return true;
    }

    // Fills every recorded row from its left to its right pixel, putting the
    // rows back to idle as it goes.
    template <class Rule>
    static void spans(Rasterizer& r, const Rule& rule) {
        const RowTables tables(r);
        for (std::int32_t row = tables.firstRow; row <= tables.lastRow; ++row) {
            SpanRow<Rule::kLinear> span;
            if (!takeRow<Rule>(tables, row, span)) continue;
            const int n = span.n;
            // The planes are addressed from the end of the span with a negative
            // index running up to 0: one register fewer in the pixel loop.
            std::uint8_t* colour = r.colour_ + span.end;
            std::int32_t* pick = Rule::kPick == PickWrite::None ? nullptr : r.pick_ + span.end;
            if constexpr (Rule::kSolid) {
                std::memset(colour - n, rule.source.value, static_cast<std::size_t>(n));
            } else if constexpr (Rule::kDepthTested) {
                depthSpan(rule, r.depth_ + span.end, colour, pick, n, span.zl, span.zStep, {span.values, span.steps});
            } else {
                typename Rule::Running running(span.values, span.steps);
                for (std::ptrdiff_t i = -n; i != 0; ++i) {
                    rule.plot(colour, pick, i, running);
                    running.advance();
                }
            }
        }
        r.firstRow_ = kEdgeIdleLeft;
        r.lastRow_ = kEdgeIdleRight;
    }

public:
    // The recorded rows of a fill as the wide span loops (wide_lanes.inc) read
    // them: each row taken once and put back to idle, then the table finished.
    template <class Rule>
    struct SpanRows {
        Rasterizer& r;
        using Span = SpanRow<Rule::kLinear>;
        RowTables tables{r};
        std::uint16_t* depth = r.depth_;
        std::uint8_t* colour = r.colour_;
        std::int32_t* pick = r.pick_;
        std::size_t planeSize = static_cast<std::size_t>(r.width_) * static_cast<std::size_t>(r.bandRows_);

        [[gnu::always_inline]] bool take(std::int32_t row, Span& span) const { return takeRow<Rule>(tables, row, span); }
        void finish() const {
            r.firstRow_ = kEdgeIdleLeft;
            r.lastRow_ = kEdgeIdleRight;
        }
    };
};

}  // namespace tarn
