// Pack Islands on every real model against a bounding-box packer given the
// same charts, margin and skin: stb_rect_pack's skyline packer, fed the box of
// each chart's footprint and given the best of every width (a multiple of 4)
// and the lowest height it fits. One benchmark per model; its time is TARN's
// shrink pack (plan and re-baked skin), its counters the table:
//   wasted_before  Wasted Space of the model as it is, per cent
//   wasted_box     Wasted Space on the box packer's smallest skin
//   wasted_tarn    Wasted Space on TARN's smallest skin
//   area_box, area_tarn  those skins' areas in texels; ratio = tarn / box
//   area_turned, ms_turned  TARN's shrink with quarter turns and mirror images,
//                           and the time it took (once)
//   width_tarn, height_tarn  the size shrink chose; a shrink refused because
//                           nothing smaller than the skin holds the islands
//                           counts the smallest size it found
// scripts/shrink_areas.py sums the areas over every model.
// Run with --benchmark_counters_tabular=true for the table.
#include <benchmark/benchmark.h>

#include <stb/stb_rect_pack.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "edit/pack_islands.h"
#include "model/game_folder.h"
#include "platform/batch_ui.h"
#include "render/render_session.h"

namespace {

namespace fs = std::filesystem;
using namespace tarn;

struct Box {
    int width = 0;
    int height = 0;
};

bool boxesFit(const std::vector<Box>& boxes, int width, int height) {
    std::vector<stbrp_node> nodes(std::size_t(width) + 1);
    std::vector<stbrp_rect> rects(boxes.size());
    for (std::size_t i = 0; i < boxes.size(); ++i) rects[i] = stbrp_rect{int(i), boxes[i].width, boxes[i].height, 0, 0, 0};
    stbrp_context context;
    stbrp_init_target(&context, width, height, nodes.data(), int(nodes.size()));
    return stbrp_pack_rects(&context, rects.data(), int(rects.size())) == 1;
}

// The smallest area over every width a multiple of 4 up to the widths TARN
// tries, each at the lowest height that fits (found by halving).
long long smallestBoxArea(const std::vector<Box>& boxes, int& bestWidth, int& bestHeight) {
    int narrowest = kPackWidthStep, tallest = 1;
    long long area = 0, heights = 0;
    for (const Box& b : boxes) {
        narrowest = std::max(narrowest, (b.width + kPackWidthStep - 1) / kPackWidthStep * kPackWidthStep);
        tallest = std::max(tallest, b.height);
        area += static_cast<long long>(b.width) * b.height;
        heights += b.height;
    }
    const int widest = std::max(narrowest, int(3.0 * std::sqrt(double(area))));
    long long best = -1;
    for (int w = narrowest; w <= widest; w += kPackWidthStep) {
        int low = tallest - 1, high = int(std::min<long long>(heights, kMaxImageRows));
        if (!boxesFit(boxes, w, high)) continue;
        while (high - low > 1) {
            const int mid = (low + high) / 2;
            (boxesFit(boxes, w, mid) ? high : low) = mid;
        }
        if (best < 0 || static_cast<long long>(w) * high < best) {
            best = static_cast<long long>(w) * high;
            bestWidth = w;
            bestHeight = high;
        }
    }
    return best;
}

// Texels the charts cover: the same wherever whole-texel moves put them.
long long coveredTexels(const Mesh& mesh, const PackPlan& plan) {
    const long long area = static_cast<long long>(plan.width) * plan.height;
    // UncoveredPercent truncates; count exactly from the plan's own layout.
    long long covered = 0;
    for (const Chart& chart : plan.charts) covered += FootprintOf(ChartCorners(mesh, chart, plan.verts), 0).area;
    return std::min(covered, area);
}

// The size shrink chose, or, when it refused because nothing smaller than the
// skin holds the islands, the smallest it found; 0 x 0 when it found none.
std::pair<int, int> shrunkSize(const PackPlan& plan) {
    if (plan.ok()) return {plan.width, plan.height};
    int w = 0, h = 0;
    if (plan.refusal.rfind(kMsgPackNoSmaller, 0) == 0 &&
        std::sscanf(plan.refusal.c_str() + std::strlen(kMsgPackNoSmaller), "%dx%d", &w, &h) == 2)
        return {w, h};
    return {0, 0};
}

void packModel(benchmark::State& state, const std::string& path) {
    std::ostringstream messages;
    BatchUi ui(messages);
    RenderSession session;
    if (!loadSessionModel(session, path, defaultBaseFolder(path), ui)) {
        state.SkipWithError("the model is refused");
        return;
    }
    const Mesh& mesh = session.mesh;
    auto skin = makeBlankSkin(mesh.skinWidth, mesh.skinHeight);
    const Skin& source = session.skins.count() > 0 ? *session.skins.at(0) : *skin;
    PackOptions options;
    options.size = PackSize::Shrink;
    PackPlan plan;
    for (auto _ : state) {
        plan = PlanPack(mesh, options);
        benchmark::DoNotOptimize(PackedPixels(mesh, plan, source, 0));
    }
    // With quarter turns and mirror images, timed once.
    PackOptions turnedOptions = options;
    turnedOptions.rotate = true;
    const auto start = std::chrono::steady_clock::now();
    const PackPlan turned = PlanPack(mesh, turnedOptions);
    if (turned.ok()) benchmark::DoNotOptimize(PackedPixels(mesh, turned, source, 0));
    state.counters["ms_turned"] =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const auto [width, height] = shrunkSize(plan);
    const auto [turnedWidth, turnedHeight] = shrunkSize(turned);
    state.counters["width_tarn"] = width;
    state.counters["height_tarn"] = height;
    state.counters["area_tarn"] = double(width) * height;
    state.counters["area_turned"] = double(turnedWidth) * turnedHeight;
    if (!plan.ok()) {
        state.SetLabel(plan.refusal);
        return;
    }
    std::vector<Box> boxes;
    for (const Shape& s : plan.shapes) boxes.push_back({s.width, s.height});
    int boxWidth = 0, boxHeight = 0;
    const long long boxArea = smallestBoxArea(boxes, boxWidth, boxHeight);
    const long long tarnArea = static_cast<long long>(plan.width) * plan.height;
    const double covered = double(coveredTexels(mesh, plan));
    state.counters["charts"] = double(plan.charts.size());
    state.counters["wasted_before"] = UncoveredPercent(mesh, mesh.mappingVerts, mesh.skinWidth, mesh.skinHeight);
    state.counters["wasted_box"] = boxArea > 0 ? 100.0 * (1.0 - covered / double(boxArea)) : -1.0;
    state.counters["wasted_tarn"] = 100.0 * (1.0 - covered / double(tarnArea));
    state.counters["area_before"] = double(mesh.skinWidth) * mesh.skinHeight;
    state.counters["area_box"] = double(boxArea);
    state.counters["ratio"] = boxArea > 0 ? double(tarnArea) / double(boxArea) : 0.0;
    state.SetLabel(std::to_string(plan.width) + "x" + std::to_string(plan.height) + " vs " + std::to_string(boxWidth) +
                   "x" + std::to_string(boxHeight));
}

const bool registered = [] {
    std::vector<std::string> models;
    const fs::path root(TARN_REAL_TESTDATA);
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(root, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error))
        if (it->path().extension() == ".md2") models.push_back(it->path().string());
    std::sort(models.begin(), models.end());
    for (const std::string& m : models)
        benchmark::RegisterBenchmark(("Pack/" + fs::relative(m, root).generic_string()).c_str(),
                                     [m](benchmark::State& s) { packModel(s, m); })
            ->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
