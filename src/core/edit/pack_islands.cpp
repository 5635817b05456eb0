#include "edit/pack_islands.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <tuple>

#include "edit/pack_place.h"
#include "edit/rebake.h"
#include "edit/seam_padding.h"
#include "edit/skin_edit.h"
#include "image/whole_skin.h"

namespace tarn {

namespace {

constexpr int kOrientations = 8;
constexpr int kMirrorBit = 4;
// The shrink search tries about this many widths, then every width near the best.
constexpr int kShrinkCoarseWidths = 24;
// The fitted scale is searched by halving; this many halvings get within a
// few thousandths of the largest scale that fits.
constexpr int kFitHalvings = 14;
constexpr int kMaxShrinkWidth = (kMaxImageWidth / kPackWidthStep) * kPackWidthStep;

// A chart in one orientation at one scale: its footprint, and where its
// MappingVerts lie relative to the footprint's corner.
struct Pose {
    int orientation = 0;
    Shape shape;
    std::vector<MappingVert> at;  // parallel to the chart's verts
    int shiftS = 0, shiftT = 0;   // added to M L(old) to reach `at`, margin included
};

int floorDiv(long long n, long long d) { return static_cast<int>(n / d - ((n % d != 0) && ((n < 0) != (d < 0)))); }

int roundUp(int v, int step) { return (v + step - 1) / step * step; }

// The chart's coordinates relative to its box, scaled.
MappingVert scaled(const MappingVert& v, const Chart& chart, double scale) {
    if (scale == 1.0) return MappingVert{std::int16_t(v.s - chart.left), std::int16_t(v.t - chart.top)};
    return MappingVert{std::int16_t(std::lround(scale * (v.s - chart.left))),
                       std::int16_t(std::lround(scale * (v.t - chart.top)))};
}

Pose poseOf(const Mesh& mesh, const Chart& chart, int orientation, double scale, int margin,
            std::vector<MappingVert>& table) {
    const auto m = OrientationMatrix(orientation);
    Pose pose;
    pose.orientation = orientation;
    pose.at.reserve(chart.verts.size());
    int minS = 0, minT = 0;
    bool first = true;
    for (const int i : chart.verts) {
        const MappingVert l = scaled(mesh.mappingVerts[std::size_t(i)], chart, scale);
        const MappingVert turned{std::int16_t(m[0] * l.s + m[1] * l.t), std::int16_t(m[2] * l.s + m[3] * l.t)};
        minS = first ? turned.s : std::min<int>(minS, turned.s);
        minT = first ? turned.t : std::min<int>(minT, turned.t);
        first = false;
        pose.at.push_back(turned);
    }
    for (std::size_t k = 0; k < pose.at.size(); ++k) {
        MappingVert& v = pose.at[k];
        v = MappingVert{std::int16_t(v.s - minS), std::int16_t(v.t - minT)};
        table[std::size_t(chart.verts[k])] = v;
    }
    pose.shape = FootprintOf(ChartCorners(mesh, chart, table), margin);
    for (MappingVert& v : pose.at) v = MappingVert{std::int16_t(v.s + margin), std::int16_t(v.t + margin)};
    pose.shiftS = margin - minS;
    pose.shiftT = margin - minT;
    return pose;
}

// Every chart's poses: one, or all eight orientations.
using Poses = std::vector<std::vector<Pose>>;

Poses posesOf(const Mesh& mesh, const std::vector<Chart>& charts, const std::vector<int>& moving,
              const PackOptions& o, double scale) {
    std::vector<MappingVert> table(mesh.mappingVerts.size());
    Poses poses(charts.size());
    for (const int c : moving)
        for (int r = 0; r < (o.rotate ? kOrientations : 1); ++r)
            poses[std::size_t(c)].push_back(poseOf(mesh, charts[std::size_t(c)], r, scale, o.margin, table));
    return poses;
}

struct Layout {
    std::vector<int> order;  // the moving charts in the order placed
    std::vector<int> pose;   // per chart of `order`
    std::vector<Place> place;
    int usedHeight = 0;
};

// Counts the trial layouts for a Progress, and passes on its stop.
// The search for a tighter layout ends once its layouts have taken this many
// steps of Occupancy::work (about a second), keeping the best so far: a
// count, not a clock, so the same model packs the same everywhere.
constexpr long long kSearchWork = 150'000'000;

struct Trials {
    Progress* progress = nullptr;
    long long done = 0;
    long long expected = 0;
    long long work = 0;
    bool ranOut = false;  // a layout was given up at kPackWorkLimit
    bool stopped() const { return progress != nullptr && progress->stopped(); }
    bool spent() const {
        return work > kSearchWork;
    }
    void count() {
        ++done;
        if (progress != nullptr) progress->step(done, std::max(expected, done));
    }
};

// In `order`, each chart in the pose whose place has the lowest bottom edge,
// then the lowest top, then is leftmost; the first chart only in `firstPose`
// when one is given. Nothing once a stop is asked.
std::optional<Layout> layOut(const Poses& poses, const std::vector<int>& order, Occupancy occupancy,
                             Trials& trials, int firstPose = -1) {
    trials.count();
    Layout layout;
    layout.order = order;
    for (const int c : order) {
        if (trials.stopped()) return std::nullopt;
        // However crowded the skin, packing ends within a fixed count of steps.
        if (trials.work + occupancy.work() > kPackWorkLimit) {
            trials.ranOut = true;
            trials.work += occupancy.work();
            return std::nullopt;
        }
        std::optional<Place> best;
        int bestPose = 0, bestBottom = 0;
        const auto& options = poses[std::size_t(c)];
        for (std::size_t p = 0; p < options.size(); ++p) {
            if (firstPose >= 0 && layout.place.empty() && static_cast<int>(p) != firstPose) continue;
            const std::optional<Place> at = occupancy.lowestFree(options[p].shape);
            if (!at) continue;
            const int bottom = at->y + options[p].shape.height;
            if (!best || std::tie(bottom, at->y, at->x) < std::tie(bestBottom, best->y, best->x)) {
                best = at;
                bestBottom = bottom;
                bestPose = static_cast<int>(p);
            }
        }
        if (!best) {
            trials.work += occupancy.work();
            return std::nullopt;
        }
        occupancy.take(options[std::size_t(bestPose)].shape, *best);
        layout.pose.push_back(bestPose);
        layout.place.push_back(*best);
    }
    layout.usedHeight = occupancy.usedHeight();
    trials.work += occupancy.work();
    return layout;
}

// The least tall of the layouts in `orders`; in the first order the first
// chart is tried in each of its poses, since at the top left corner every
// pose fits and the lowest bottom edge alone would not tell them apart.
std::optional<Layout> bestLayOut(const Poses& poses, const std::vector<std::vector<int>>& orders,
                                 const Occupancy& occupancy, Trials& trials) {
    std::optional<Layout> best;
    for (std::size_t k = 0; k < orders.size(); ++k) {
        const int firstPoses = k == 0 ? static_cast<int>(poses[std::size_t(orders[k].front())].size()) : 1;
        for (int p = 0; p < firstPoses && !(best && trials.spent()); ++p) {
            auto layout = layOut(poses, orders[k], occupancy, trials, firstPoses > 1 ? p : -1);
            if (layout && (!best || layout->usedHeight < best->usedHeight)) best = std::move(layout);
        }
    }
    return best;
}

// Largest first, then a few orders near it, each with some neighbours
// swapped (the same ones every time): largest first is a good order but
// seldom the best, and a near one often packs a few per cent tighter.
constexpr int kNearOrders = 8;
constexpr unsigned kSwapOneIn = 4;

std::vector<std::vector<int>> nearOrders(const std::vector<int>& order, int count) {
    std::vector<std::vector<int>> orders{order};
    std::uint32_t seed = 12345;
    for (int k = 0; k < count; ++k) {
        std::vector<int> near = order;
        for (std::size_t i = 0; i + 1 < near.size(); ++i) {
            seed = seed * 1103515245u + 12345u;  // the classic LCG: fixed, so packs repeat exactly
            if ((seed >> 16) % kSwapOneIn == 0) std::swap(near[i], near[i + 1]);
        }
        orders.push_back(std::move(near));
    }
    return orders;
}

std::vector<int> largestFirst(const Poses& poses, const std::vector<int>& moving) {
    std::vector<int> order = moving;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return poses[std::size_t(a)].front().shape.area > poses[std::size_t(b)].front().shape.area;
    });
    return order;
}

struct Sized {
    Layout layout;
    int width = 0;
    int height = 0;
};

// Within 2% of the smallest area, the shape nearest the current skin's wins:
// a skin of the shape the modder painted for, not a sliver.
constexpr double kShrinkAreaSlack = 1.02;

double shapeDistance(int w, int h, int currentW, int currentH) {
    if (currentW <= 0 || currentH <= 0) return 0.0;
    return std::abs(std::log(double(w) / h) - std::log(double(currentW) / currentH));
}

// The smallest area any width (a multiple of the step, at most `widest`)
// reaches within `tallest` rows: a coarse sweep of widths, then every width
// around the best of it; among the sizes within kShrinkAreaSlack of that
// area, the one whose shape is nearest `currentW` x `currentH`.
std::optional<Sized> shrink(const Poses& poses, const std::vector<int>& order, int widestAllowed, int tallest,
                            int currentW, int currentH, Trials& trials) {
    int narrowest = kPackWidthStep;
    long long area = 0;
    for (const int c : order) {
        int w = widestAllowed;
        for (const Pose& p : poses[std::size_t(c)]) w = std::min(w, p.shape.width);
        narrowest = std::max(narrowest, roundUp(w, kPackWidthStep));
        area += poses[std::size_t(c)].front().shape.area;
    }
    if (narrowest > widestAllowed) return std::nullopt;
    const int widest = std::min(
        widestAllowed, std::max(narrowest, roundUp(static_cast<int>(2.5 * std::sqrt(double(area))), kPackWidthStep)));
    // With turns, the first chart's poses are tried instead: as many layouts.
    const bool turns = poses[std::size_t(order.front())].size() > 1;
    const std::vector<std::vector<int>> orders = nearOrders(order, turns ? 0 : kNearOrders);
    std::optional<Sized> best;
    std::vector<Sized> tried;
    const auto tryWidth = [&](int width) {
        if (best && trials.spent()) return;
        const auto layout = bestLayOut(poses, orders, Occupancy(width, tallest), trials);
        if (!layout || layout->usedHeight == 0) return;
        tried.push_back(Sized{*layout, width, layout->usedHeight});
        const long long a = static_cast<long long>(width) * layout->usedHeight;
        if (!best || a < static_cast<long long>(best->width) * best->height)
            best = Sized{*layout, width, layout->usedHeight};
    };
    const auto nearestShape = [&]() -> std::optional<Sized> {
        if (!best) return best;
        const double limit = kShrinkAreaSlack * double(best->width) * best->height;
        const Sized* chosen = nullptr;
        for (const Sized& s : tried)
            if (double(s.width) * s.height <= limit &&
                (!chosen || shapeDistance(s.width, s.height, currentW, currentH) <
                                shapeDistance(chosen->width, chosen->height, currentW, currentH)))
                chosen = &s;
        return *chosen;
    };
    const int step = std::max(kPackWidthStep, roundUp((widest - narrowest) / kShrinkCoarseWidths, kPackWidthStep));
    trials.expected = static_cast<long long>(orders.size()) * ((widest - narrowest) / step + 1 + 2 * (step / kPackWidthStep));
    // Widest first: the wide skins hold the islands at once, so there is a
    // layout to keep should the search run out of work among narrow ones.
    for (int w = narrowest + (widest - narrowest) / step * step; w >= narrowest; w -= step) tryWidth(w);
    if (!best || step == kPackWidthStep) return nearestShape();
    const int centre = best->width;
    for (int w = std::max(narrowest, centre - step + kPackWidthStep); w < centre + step && w <= widest;
         w += kPackWidthStep)
        if (w != centre) tryWidth(w);
    return nearestShape();
}

std::string packTooLarge(const std::string& asked) {
    return std::string(kMsgPackTooLarge) + std::to_string(kMaxPackTexels) + " texels (1024x1024); " + asked + ".";
}

std::string noRoom(int width, int height) {
    return std::string(kMsgPackNoRoom) + std::to_string(width) + "x" + std::to_string(height) + ".";
}

}  // namespace

std::array<int, 4> OrientationMatrix(int orientation) {
    std::array<int, 4> m = (orientation & kMirrorBit) != 0 ? std::array<int, 4>{-1, 0, 0, 1}
                                                           : std::array<int, 4>{1, 0, 0, 1};
    for (int q = 0; q < (orientation & 3); ++q) m = {-m[2], -m[3], m[0], m[1]};  // (u, v) -> (-v, u)
    return m;
}

PackPlan PlanPack(const Mesh& mesh, const PackOptions& options, Progress* progress) {
    PackPlan plan;
    Trials trials{progress};
    plan.options = options;
    plan.options.margin = std::clamp(options.margin, 0, kMaxPackMargin);
    if (options.selectedOnly) plan.options.size = PackSize::Current;
    const PackOptions& o = plan.options;
    plan.charts = FindCharts(mesh);
    std::vector<int> moving;
    for (std::size_t c = 0; c < plan.charts.size(); ++c)
        if (!o.selectedOnly || plan.charts[c].selected) moving.push_back(static_cast<int>(c));
    if (plan.charts.empty()) plan.refusal = kMsgPackNothing;
    if (plan.refusal.empty() && moving.empty()) plan.refusal = kMsgPackNoneSelected;
    if (plan.refusal.empty() && o.scale == PackScale::Fit && o.size == PackSize::Shrink)
        plan.refusal = kMsgPackFitAndShrink;
    if (!plan.refusal.empty()) return plan;

    plan.width = o.size == PackSize::Given ? o.width : mesh.skinWidth;
    plan.height = o.size == PackSize::Given ? o.height : mesh.skinHeight;
    if (o.size != PackSize::Shrink && !fitsSkinRecord(plan.width, plan.height)) {
        plan.refusal = std::string(kMsgAboveRecordLimits) + " (" + std::to_string(plan.width) + "x" +
                       std::to_string(plan.height) + " was asked for.)";
        return plan;
    }
    if (o.size != PackSize::Shrink && static_cast<long long>(plan.width) * plan.height > kMaxPackTexels) {
        plan.refusal = packTooLarge(std::to_string(plan.width) + "x" + std::to_string(plan.height) + " was asked for");
        return plan;
    }
    const int shrinkWidth = o.noLimits ? kMaxShrinkWidth : kGameSkinWidth;
    const int shrinkHeight = o.noLimits ? kMaxImageRows : kGameSkinHeight;
    const std::string noRoomHere = o.size == PackSize::Shrink ? noRoom(shrinkWidth, shrinkHeight)
                                                              : noRoom(plan.width, plan.height);
    // Coordinates gone wild in a file give islands larger than any skin: they
    // can neither keep their scale nor stand in the way.
    for (const Chart& chart : plan.charts)
        if ((chart.right - chart.left >= kMaxImageWidth || chart.bottom - chart.top >= kMaxImageRows) &&
            (o.scale == PackScale::Keep || (o.selectedOnly && !chart.selected))) {
            plan.refusal = noRoomHere;
            return plan;
        }
    // What stays put is in the way of what moves.
    Occupancy start(o.size == PackSize::Shrink ? 0 : plan.width, o.size == PackSize::Shrink ? 0 : plan.height);
    std::vector<MappingVert> table(mesh.mappingVerts.size());
    for (const Chart& chart : plan.charts)
        if (o.selectedOnly && !chart.selected) {
            const Pose still = poseOf(mesh, chart, 0, 1.0, o.margin, table);
            start.take(still.shape, Place{chart.left - o.margin, chart.top - o.margin});
        }

    Poses poses;
    std::optional<Layout> layout;
    if (o.scale == PackScale::Keep) {
        // An island wider or taller than any skin it may go to fits nowhere.
        const int widest = o.size == PackSize::Shrink ? shrinkWidth : plan.width;
        const int tallest = o.size == PackSize::Shrink ? shrinkHeight : plan.height;
        for (const int c : moving) {
            const Chart& chart = plan.charts[std::size_t(c)];
            const int w = chart.right - chart.left + 1, h = chart.bottom - chart.top + 1;
            if ((w > widest || h > tallest) && (!o.rotate || h > widest || w > tallest))
                plan.refusal = noRoomHere;
        }
        if (!plan.refusal.empty()) return plan;
        poses = posesOf(mesh, plan.charts, moving, o, 1.0);
        const std::vector<int> order = largestFirst(poses, moving);
        long long footprints = 0;
        for (const int c : moving) footprints += poses[std::size_t(c)].front().shape.area;
        if (o.size == PackSize::Shrink && footprints > kMaxPackTexels) {
            plan.refusal = packTooLarge("the islands alone take " + std::to_string(footprints));
            return plan;
        }
        if (o.size == PackSize::Shrink) {
            const auto sized = shrink(poses, order, shrinkWidth, shrinkHeight, mesh.skinWidth, mesh.skinHeight, trials);
            if (sized) {
                // Shrink never grows the skin: with nothing smaller, nothing changes.
                if (static_cast<long long>(sized->width) * sized->height >=
                    static_cast<long long>(mesh.skinWidth) * mesh.skinHeight) {
                    plan.refusal = std::string(kMsgPackNoSmaller) + std::to_string(sized->width) + "x" +
                                   std::to_string(sized->height) + ", the skin is " + std::to_string(mesh.skinWidth) +
                                   "x" + std::to_string(mesh.skinHeight) + ".";
                    return plan;
                }
                layout = sized->layout;
                plan.width = sized->width;
                plan.height = sized->height;
            }
        } else {
            layout = layOut(poses, order, start, trials);
        }
        if (layout) moving = layout->order;
    } else {
        // The largest scale at which everything fits, by halving the interval:
        // from twice what the islands' boxes would allow by area, at most what
        // lets the largest box fit the skin.
        double boxes = 0.0, high = 1.0e9;
        for (const int c : moving) {
            const Chart& chart = plan.charts[std::size_t(c)];
            const double w = chart.right - chart.left + 1.0, h = chart.bottom - chart.top + 1.0;
            boxes += w * h;
            const double upright = std::min(plan.width / w, plan.height / h);
            high = std::min(high, o.rotate ? std::max(upright, std::min(plan.width / h, plan.height / w)) : upright);
        }
        high = std::min(high, 2.0 * std::sqrt(double(plan.width) * plan.height / boxes));
        double low = 0.0;
        trials.expected = kFitHalvings;
        for (int i = 0; i < kFitHalvings && !trials.stopped() && !(layout && trials.spent()); ++i) {
            // First where the boxes cover half the skin, which nearly always
            // fits: a layout in hand before the costly ones near the limit.
            const double k = i == 0 ? high * std::sqrt(0.5) / 2 : (low + high) / 2;
            Poses trial = posesOf(mesh, plan.charts, moving, o, k);
            const std::vector<int> order = largestFirst(trial, moving);
            if (auto fitted = layOut(trial, order, start, trials)) {
                low = k;
                layout = fitted;
                poses = std::move(trial);
                plan.scale = k;
                moving = fitted->order;
            } else {
                high = k;
            }
        }
    }
    if (trials.stopped()) {
        plan.refusal = kMsgPackStopped;
        return plan;
    }
    if (!layout) {
        plan.refusal = trials.ranOut ? std::string(kMsgPackWorkLimit) + std::to_string(kPackWorkLimit) +
                                           " placement steps; try a larger skin, a smaller scale or no turns."
                                     : noRoomHere;
        return plan;
    }

    plan.verts = mesh.mappingVerts;
    for (std::size_t i = 0; i < moving.size(); ++i) {
        const int c = moving[i];
        const Chart& chart = plan.charts[std::size_t(c)];
        const Pose& pose = poses[std::size_t(c)][std::size_t(layout->pose[i])];
        const Place at = layout->place[i];
        for (std::size_t k = 0; k < chart.verts.size(); ++k)
            plan.verts[std::size_t(chart.verts[k])] =
                MappingVert{std::int16_t(at.x + pose.at[k].s), std::int16_t(at.y + pose.at[k].t)};
        const auto m = OrientationMatrix(pose.orientation);
        ChartMove move;
        move.chart = c;
        move.orientation = pose.orientation;
        move.placeX = at.x;
        move.placeY = at.y;
        // new = M (old - origin) + shift + place, so d = shift + place - M origin.
        move.dx = at.x + pose.shiftS - (m[0] * chart.left + m[1] * chart.top);
        move.dy = at.y + pose.shiftT - (m[2] * chart.left + m[3] * chart.top);
        plan.moves.push_back(move);
        plan.shapes.push_back(pose.shape);
    }
    return plan;
}

std::vector<std::uint8_t> PackedPixels(const Mesh& mesh, const PackPlan& plan, const Skin& skin,
                                       std::uint8_t background) {
    const std::size_t count = std::size_t(std::max(plan.width, 0)) * std::size_t(std::max(plan.height, 0));
    std::vector<std::uint8_t> out(count, background);
    if (!plan.ok() || skin.width <= 0 || skin.height <= 0 || skin.pixels.size() < skin.pixelCount()) return out;
    if (plan.options.selectedOnly && skin.pixelCount() == count) out.assign(skin.pixels.begin(), skin.pixels.end());

    if (plan.options.scale == PackScale::Keep) {
        // Each texel of a footprint takes the old texel its centre came from:
        // old = M^T (new - d), on doubled coordinates so centres are whole.
        for (std::size_t i = 0; i < plan.moves.size(); ++i) {
            const ChartMove& move = plan.moves[i];
            const auto m = OrientationMatrix(move.orientation);
            const Shape& shape = plan.shapes[i];
            for (int r = 0; r < shape.height; ++r) {
                const int y = move.placeY + r;
                if (y < 0 || y >= plan.height) continue;
                for (const Span& span : shape.rows[std::size_t(r)])
                    for (int x = std::max(move.placeX + span.left, 0);
                         x <= std::min(move.placeX + span.right, plan.width - 1); ++x) {
                        const long long cx = 2LL * x + 1 - 2LL * move.dx, cy = 2LL * y + 1 - 2LL * move.dy;
                        const int sx = std::clamp(floorDiv(m[0] * cx + m[2] * cy, 2), 0, skin.width - 1);
                        const int sy = std::clamp(floorDiv(m[1] * cx + m[3] * cy, 2), 0, skin.height - 1);
                        out[std::size_t(y) * std::size_t(plan.width) + std::size_t(x)] =
                            skin.pixels[std::size_t(sy) * std::size_t(skin.width) + std::size_t(sx)];
                    }
            }
        }
        return out;
    }
    std::vector<std::uint8_t> covered(count, 0);
    Rebake rebake;
    if (!rebake.setImages(out, plan.width, plan.height, skin.pixels, skin.width, skin.height)) return out;
    rebake.markCovered(covered.data());
    rebake.writeEachTexelOnce();
    // Last to first, so that the last Triangle over a texel gives it its colour.
    for (auto move = plan.moves.rbegin(); move != plan.moves.rend(); ++move) {
        const auto& triangles = plan.charts[std::size_t(move->chart)].triangles;
        for (auto t = triangles.rbegin(); t != triangles.rend(); ++t) {
            std::array<MappingVert, 3> to{}, from{};
            const Triangle& tri = mesh.triangles[std::size_t(*t)];
            if (cornersIn(tri, plan.verts, mesh.mappingVertCount, to) &&
                cornersIn(tri, mesh.mappingVerts, mesh.mappingVertCount, from))
                rebake.triangle(to, from);
        }
    }
    PadSeams(out, covered, plan.width, plan.height, plan.options.margin);
    return out;
}

void ApplyPackToMesh(Mesh& mesh, const PackPlan& plan) {
    if (!plan.ok()) return;
    const std::size_t n = std::min(plan.verts.size(), mesh.mappingVerts.size());
    std::copy_n(plan.verts.begin(), n, mesh.mappingVerts.begin());
    mesh.skinWidth = static_cast<std::int16_t>(plan.width);
    mesh.skinHeight = static_cast<std::int16_t>(plan.height);
    MergeMappingVerts(mesh);
}

int WastedSpaceAfter(const Mesh& mesh, const PackPlan& plan) {
    return plan.ok() ? UncoveredPercent(mesh, plan.verts, plan.width, plan.height) : 0;
}

}  // namespace tarn
