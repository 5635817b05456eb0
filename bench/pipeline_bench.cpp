// The whole render pipeline per mode on a model of about 800 triangles at
// 640 x 480 and 1280 x 960, beside two floors: clearing the planes alone, and
// clearing them plus writing every covered pixel once.
//
// The model is TARN's sample: taken from TARN_SAMPLE_DIR when set, else
// generated into a temporary folder by the tarn-cli built beside this
// program, else the shared real male model with its weapon stands in.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/batch_ui.h"
#include "platform/fs.h"
#include "render/maps_render_options.h"
#include "render/render_pass.h"
#include "render/render_setup.h"

namespace tarn {
namespace {

namespace fs = std::filesystem;

struct Size {
    int width, height;
};
constexpr Size kSizes[] = {{640, 480}, {1280, 960}};
// The model's height first fills this much of the view; the camera then moves
// in until the model covers about half of the pixels, as in a close-up.
constexpr float kFramedHeight = 0.9f;
constexpr double kWantedCoverage = 0.45;
constexpr float kApproachStep = 0.9f;
constexpr int kApproachSteps = 20;
constexpr float kFieldOfView = 33.0f;
constexpr double kDegreesToRadians = 3.14159265358979 / 180.0;

// A generated sample folder, removed when the program ends.
struct GeneratedSample {
    fs::path dir;
    ~GeneratedSample() {
        std::error_code ec;
        if (!dir.empty()) fs::remove_all(dir, ec);
    }
};

std::string generateSample(GeneratedSample& holder) {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    const fs::path cli = self.parent_path().parent_path() / "src" / "cli" / "tarn-cli";
    if (!fs::exists(cli, ec)) return {};
    holder.dir = fs::temp_directory_path(ec) / ("tarn_pipeline_bench_" + std::to_string(::getpid()));
    // Built by appending: GCC 12 at -O3 warns falsely on `"literal" + string`.
    std::string command;
    for (const std::string& piece :
         {std::string("'"), cli.string(), std::string("' make-sample '"), holder.dir.string(),
          std::string("' > /dev/null")})
        command.append(piece);
    if (std::system(command.c_str()) != 0) return {};
    return holder.dir.string();
}

struct Inputs {
    RenderRequest request;
    MapRenderOptions maps;
    std::string source;
};

Inputs sampleInputs(const std::string& dir) {
    Inputs in;
    const std::string models = dir + "/baseq2/models/tarnbot/";
    in.request.model = models + "tris.md2";
    in.request.base = dir + "/baseq2";
    in.request.companions = {models + "weapon.md2"};
    in.maps.phongMaps = {dir + "/phongs/phong_glossy.pcx"};
    in.maps.envMaps = {dir + "/enviros/env_chrome.pcx"};
    in.maps.colormap = dir + "/baseq2/pics/colormap.pcx";
    in.source = "sample " + dir;
    return in;
}

Inputs realInputs() {
    const std::string real = fs::path(__FILE__).parent_path().parent_path().parent_path().string() +
                             "/shared/testdata/real/";
    Inputs in;
    const std::string base = real + "q2-didux/baseq2";
    in.request.model = base + "/players/male/tris.md2";
    in.request.base = base;
    in.request.companions = {base + "/players/male/weapon.md2"};
    // A greyscale 256 x 256 height map serves as both maps.
    in.maps.phongMaps = {real + "images/terrain-heightmap.bmp"};
    in.maps.envMaps = in.maps.phongMaps;
    in.maps.colormap = real + "images/colormap.pcx";
    in.source = "real " + in.request.model;
    return in;
}

// One loaded model with every mode available.
class Pipeline {
public:
    static Pipeline& get() {
        static Pipeline p;
        return p;
    }
    bool ready() const { return ready_; }
    const std::string& problem() const { return problem_; }
    const std::string& source() const { return inputs_.source; }
    RenderSession& session() { return *session_; }

    // Sizes the planes, frames the model and finds the pixels it covers.
    void prepare(Size size, int mode) {
        if (size.width != width_ || size.height != height_) {
            width_ = size.width;
            height_ = size.height;
            session_->setSize(width_, height_);
            frameModel();
        }
        refreshMapRender(*session_, maps_, mode);
    }
    const std::vector<std::size_t>& covered() const { return covered_; }

private:
    Pipeline() {
        const char* given = std::getenv("TARN_SAMPLE_DIR");
        // The session wants absolute paths (the base folder rule compares them).
        std::string dir = given ? fs::absolute(given).string() : generateSample(generated_);
        inputs_ = dir.empty() ? realInputs() : sampleInputs(dir);
        session_ = std::make_unique<RenderSession>();
        BatchUi ui(messages_);
        problem_ = prepareRenderSession(*session_, inputs_.request, ui);
        if (problem_.empty())
            problem_ = applyMapRenderOptions(*session_, maps_, inputs_.maps, kEveryRenderMode, ui);
        if (!problem_.empty()) problem_ += " (" + inputs_.source + ")";
        ready_ = problem_.empty();
    }

    void frameModel() {
        const Vec3f* p = session_->mesh.currentPositions();
        Vec3f lo{1e30f, 1e30f, 1e30f}, hi{-1e30f, -1e30f, -1e30f};
        for (int i = 0; p && i < session_->mesh.vertexCount; ++i) {
            lo = {std::min(lo.x, p[i].x), std::min(lo.y, p[i].y), std::min(lo.z, p[i].z)};
            hi = {std::max(hi.x, p[i].x), std::max(hi.y, p[i].y), std::max(hi.z, p[i].z)};
        }
        const Vec3f centre{(lo.x + hi.x) / 2, (lo.y + hi.y) / 2, (lo.z + hi.z) / 2};
        const float extent = std::max(hi.y - lo.y, hi.z - lo.z);
        const auto halfAngle = static_cast<float>(std::tan(kFieldOfView * 0.5 * kDegreesToRadians));
        float dist = extent / (kFramedHeight * 2.0f * halfAngle) + (hi.x - lo.x) / 2;
        const double pixels = double(width_) * height_;
        for (int step = 0; step < kApproachSteps; ++step, dist *= kApproachStep) {
            session_->setCamera({centre.x + dist, centre.y, centre.z}, centre, kFieldOfView);
            findCovered();
            if (double(covered_.size()) >= kWantedCoverage * pixels) break;
        }
    }

    void findCovered() {
        session_->draw(kModeFlat);
        covered_.clear();
        const FrameBuffer& f = session_->frame;
        for (std::size_t i = 0; i < f.elementCount(); ++i)
            if (f.pick()[i] != kPickNothing) covered_.push_back(i);
    }

    GeneratedSample generated_;
    Inputs inputs_;
    std::unique_ptr<RenderSession> session_;
    MapRenderState maps_;
    std::ostringstream messages_;
    std::string problem_;
    bool ready_ = false;
    int width_ = 0;
    int height_ = 0;
    std::vector<std::size_t> covered_;
};

bool start(benchmark::State& state, Size size, int mode) {
    Pipeline& p = Pipeline::get();
    if (!p.ready()) {
        state.SkipWithError(p.problem().c_str());
        return false;
    }
    p.prepare(size, mode);
    const double pixels = double(size.width) * size.height;
    state.counters["coverage"] = double(p.covered().size()) / pixels;
    state.counters["triangles"] = p.session().mesh.triangleCount;
    state.SetLabel(p.source());
    return true;
}

void modeBench(benchmark::State& state, Size size, int mode) {
    if (!start(state, size, mode)) return;
    RenderSession& session = Pipeline::get().session();
    for (auto _ : state) {
        session.draw(mode);
        benchmark::DoNotOptimize(session.frame.colour());
        benchmark::ClobberMemory();
    }
}

// The clear every mode starts with, through the pipeline's own frame set-up.
void clearOnlyBench(benchmark::State& state, Size size) {
    if (!start(state, size, kModeTextured)) return;
    RenderSession& session = Pipeline::get().session();
    Palette palette{};
    for (auto _ : state) {
        RenderScene scene = session.scene();
        RenderPass pass(session.target, scene);
        benchmark::DoNotOptimize(pass.setUpFrame(palette, 0));
        benchmark::ClobberMemory();
    }
}

// The clear plus one write of colour, depth and pick at every covered pixel:
// what no mode can beat.
void clearAndCoverBench(benchmark::State& state, Size size) {
    if (!start(state, size, kModeTextured)) return;
    RenderSession& session = Pipeline::get().session();
    const std::vector<std::size_t>& covered = Pipeline::get().covered();
    Palette palette{};
    for (auto _ : state) {
        RenderScene scene = session.scene();
        RenderPass pass(session.target, scene);
        pass.setUpFrame(palette, 0);
        std::uint8_t* colour = session.frame.colour();
        std::uint16_t* depth = session.frame.depth();
        std::int32_t* pick = session.frame.pick();
        for (const std::size_t i : covered) {
            colour[i] = 1;
            depth[i] = 2;
            pick[i] = 3;
        }
        benchmark::ClobberMemory();
    }
}

std::string sizeName(Size s) { return std::to_string(s.width) + "x" + std::to_string(s.height); }

const bool registered = [] {
    const RenderModes modes;
    for (const Size size : kSizes) {
        std::string tail("/");
        tail.append(sizeName(size));
        auto named = [&](const std::string& what) {
            std::string name("Pipeline/");
            name.append(what).append(tail);
            return name;
        };
        benchmark::RegisterBenchmark(named("ClearOnly").c_str(), clearOnlyBench, size)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(named("ClearAndCoverOnce").c_str(), clearAndCoverBench, size)
            ->Unit(benchmark::kMicrosecond);
        for (int mode = 0; mode < kRenderModeCount; ++mode) {
            const std::string name = named(modes.names()[std::size_t(mode)]);
            benchmark::RegisterBenchmark(name.c_str(), modeBench, size, mode)
                ->Unit(benchmark::kMicrosecond);
        }
    }
    return true;
}();

}  // namespace
}  // namespace tarn
