#pragma once
// Pack Islands: the charts of the mapping laid out afresh on the skin, by
// their exact shapes, with the texels moving along. At the kept scale a chart
// moves by whole texels (and, when allowed, quarter turns and mirror images)
// and its texels, margin included, are copied exactly; at a fitted scale the
// charts are re-baked with the exact sampler and padded as Retro-Map pads.
#include <cstdint>
#include <string>
#include <vector>

#include "edit/pack_charts.h"
#include "image/skin.h"
#include "model/mesh.h"
#include "platform/progress.h"

namespace tarn {

inline constexpr int kDefaultPackMargin = 2;
inline constexpr int kMaxPackMargin = 64;
// "shrink" gives widths in steps of this, as Re-size All requires.
inline constexpr int kPackWidthStep = 4;
// The largest skin the game takes, which Re-size All keeps to as well:
// "shrink" stays within it unless told otherwise.
inline constexpr int kGameSkinWidth = 640;
inline constexpr int kGameSkinHeight = 480;

// The most texels a packed skin may hold: the layout's search, the re-bake
// and the padding all grow with it, and it keeps them to a couple of seconds
// and a few tens of megabytes.
inline constexpr long long kMaxPackTexels = 1024LL * 1024;

enum class PackScale { Keep, Fit };
enum class PackSize { Current, Given, Shrink };

struct PackOptions {
    int margin = kDefaultPackMargin;
    bool rotate = false;  // quarter turns and mirror images too
    PackScale scale = PackScale::Keep;
    PackSize size = PackSize::Current;
    int width = 0;  // the size given
    int height = 0;
    // Only the charts holding a selected Triangle move, into the space the
    // others leave; the skin keeps its size.
    bool selectedOnly = false;
    // "shrink" may go past the game's 640 x 480, up to what TARN holds.
    bool noLimits = false;
};

// Where one chart goes: new = M (old - origin) scaled, then moved.
struct ChartMove {
    int chart = 0;
    int orientation = 0;  // bit 2 mirror image, bits 0-1 quarter turns
    // At the kept scale new = M old + (dx, dy) exactly, M the orientation's matrix.
    int dx = 0, dy = 0;
    int placeX = 0, placeY = 0;  // the corner of its footprint on the new skin
};

struct PackPlan {
    std::string refusal;  // why nothing can be packed; empty when the plan holds
    int width = 0;
    int height = 0;
    double scale = 1.0;
    PackOptions options;
    std::vector<Chart> charts;
    std::vector<ChartMove> moves;
    std::vector<Shape> shapes;        // each move's footprint, as placed
    std::vector<MappingVert> verts;   // the whole new MappingVert table
    bool ok() const { return refusal.empty(); }
};

inline constexpr const char* kMsgPackNothing = "There are no islands to pack.";
inline constexpr const char* kMsgPackNoneSelected = "No islands are selected.";
inline constexpr const char* kMsgPackFitAndShrink = "A fitted scale needs a skin size: the current one or a given one.";
// Followed by the size, as "WxH".
inline constexpr const char* kMsgPackNoRoom = "The islands do not fit a skin of ";
// Shrink found nothing smaller than the current skin: followed by the
// smallest size that holds the islands, as "WxH", and the current one.
// Followed by kMaxPackTexels and what was asked for.
inline constexpr const char* kMsgPackTooLarge = "Pack Islands lays out skins of at most ";
inline constexpr const char* kMsgPackStopped = "Pack Islands was cancelled.";
// Every layout tried gave up at kPackWorkLimit: followed by the limit.
inline constexpr const char* kMsgPackWorkLimit = "Pack Islands found no layout within its limit of ";
// The steps of the placement search one Pack Islands may take, counted
// rather than timed: about 1.5 s on a crowded skin here.
inline constexpr long long kPackWorkLimit = 300'000'000;
inline constexpr const char* kMsgPackNoSmaller = "No smaller skin holds the islands: the smallest found is ";

// The layout of `mesh`'s charts by `options`; the Mesh is not changed. With
// `progress`, each trial layout is a step, and a stop asked ends the search
// with kMsgPackStopped.
PackPlan PlanPack(const Mesh& mesh, const PackOptions& options, Progress* progress = nullptr);

// One skin's pixels on the new layout (plan.width x plan.height). `skin`
// holds the old pixels at the Mesh's skin size; texels no chart reaches are
// `background`, or, when only the selected charts move, stay as they were.
std::vector<std::uint8_t> PackedPixels(const Mesh& mesh, const PackPlan& plan, const Skin& skin,
                                       std::uint8_t background);

// The new MappingVerts and skin size written into the Mesh, then the merge.
void ApplyPackToMesh(Mesh& mesh, const PackPlan& plan);

// The percentage of the skin the plan leaves uncovered.
int WastedSpaceAfter(const Mesh& mesh, const PackPlan& plan);

// The orientation's matrix (a b; c d): (u, v) -> (a u + b v, c u + d v).
std::array<int, 4> OrientationMatrix(int orientation);

}  // namespace tarn
