// Whole draws of the render modes over a generated model: a UV sphere of
// about 4000 Triangles with a 256 x 256 skin, seen at 640 x 480; and the
// smoothed 1600 x 1200 snapshot of it and of a real player model.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <sstream>

#include "alloc_peak.h"
#include "platform/batch_ui.h"
#include "render/render_session.h"
#include "render/render_setup.h"
#include "render/snapshot.h"

namespace tarn {
namespace {

constexpr int kRings = 32;
constexpr int kSegments = 64;
constexpr int kSkinSide = 256;
constexpr float kRadius = 30.0f;

std::unique_ptr<RenderSession> sphereSession(bool mapping) {
    auto s = std::make_unique<RenderSession>();
    Mesh& m = s->mesh;
    std::vector<Vec3f> positions;
    for (int r = 0; r <= kRings; ++r) {
        const double phi = std::numbers::pi * r / kRings;
        for (int g = 0; g <= kSegments; ++g) {
            const double theta = 2 * std::numbers::pi * g / kSegments;
            positions.push_back({float(kRadius * std::sin(phi) * std::cos(theta)),
                                 float(kRadius * std::sin(phi) * std::sin(theta)),
                                 float(kRadius * std::cos(phi))});
            m.mappingVerts[positions.size() - 1] = {std::int16_t(g * (kSkinSide - 1) / kSegments),
                                                    std::int16_t(r * (kSkinSide - 1) / kRings)};
        }
    }
    int t = 0;
    auto at = [](int r, int g) { return std::int16_t(r * (kSegments + 1) + g); };
    for (int r = 0; r < kRings; ++r)
        for (int g = 0; g < kSegments; ++g) {
            for (const auto& v : {std::array<std::int16_t, 3>{at(r, g), at(r + 1, g), at(r + 1, g + 1)},
                                  std::array<std::int16_t, 3>{at(r, g), at(r + 1, g + 1), at(r, g + 1)}}) {
                m.triangles[std::size_t(t)].vertex = v;
                m.triangles[std::size_t(t)].mapping = v;
                m.triangles[std::size_t(t)].flags = (t % 7 == 0) ? std::uint32_t{kTriSelected} : 0u;
                ++t;
            }
        }
    m.vertexCount = std::int16_t(positions.size());
    m.mappingVertCount = m.vertexCount;
    m.triangleCount = std::int16_t(t);
    m.frames.assign(1, Frame{"sphere", positions});
    m.currentFrame = 0;
    ComputeFaceNormals(m);
    auto skin = makeBlankSkin(kSkinSide, kSkinSide);
    for (std::size_t i = 0; i < skin->pixels.size(); ++i) skin->pixels[i] = std::uint8_t(i * 31 >> 4);
    s->skins.append(std::move(skin));
    s->mappingMode = mapping;
    s->setSize(640, 480);
    s->rebuildTables();
    return s;
}

void BM_RenderMode(benchmark::State& state) {
    const int mode = int(state.range(0));
    auto session = sphereSession(state.range(1) != 0);
    for (auto _ : state) {
        session->draw(mode);
        benchmark::DoNotOptimize(session->frame.colour());
    }
    state.SetLabel(session->modes.at(mode).GetName());
}
BENCHMARK(BM_RenderMode)
    ->ArgsProduct({{kModeWireframe, kModeWireframeSolid, kModeFlat, kModeGouraud, kModeTextured},
                   {0, 1}})
    ->ArgNames({"mode", "mapping"})
    ->Unit(benchmark::kMillisecond);

// The case of a large smoothed 24-bit snapshot: time, and the most memory
// held at once beyond the session's own.
void BM_SmoothedSnapshot(benchmark::State& state) {
    constexpr int kWidth = 1600, kHeight = 1200;
    std::unique_ptr<RenderSession> session;
    if (state.range(0) == 0) {
        session = sphereSession(false);
    } else {
        session = std::make_unique<RenderSession>();
        RenderRequest request;
        request.model = std::string(TARN_REAL_TESTDATA) + "/q2-didux/baseq2/players/male/tris.md2";
        request.base = std::string(TARN_REAL_TESTDATA) + "/q2-didux/baseq2";
        std::ostringstream quiet;
        BatchUi ui(quiet);
        if (!prepareRenderSession(*session, request, ui).empty())
            return state.SkipWithError("no real test data");
    }
    session->setSize(kWidth, kHeight);
    const SnapshotQuality quality{true, true, 1.0};
    std::size_t peak = 0;
    for (auto _ : state) {
        bench::resetAllocPeak();
        const SnapshotPicture picture = renderSnapshot(session->modes.at(kModeTextured), session->scene(),
                                                       session->target, kWidth, kHeight, quality);
        benchmark::DoNotOptimize(picture.pixels.data());
        peak = std::max(peak, bench::allocPeak());
    }
    state.counters["peak_MB"] = double(peak) / (1 << 20);
    state.SetLabel(state.range(0) == 0 ? "sphere" : "male player");
}
BENCHMARK(BM_SmoothedSnapshot)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace tarn
