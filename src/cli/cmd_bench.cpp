// tarn-cli bench: times renders of the current view as the Benchmark command
// does, in one mode or in every mode that is available for the model.
#include <memory>
#include <ostream>

#include "cli_args.h"
#include "cli_commands.h"
#include "platform/batch_ui.h"
#include "platform/fs.h"
#include "raster/rasterizer.h"
#include "render/benchmark.h"
#include "render/maps_render_options.h"
#include "render/render_setup.h"

namespace tarn::cli {

namespace {

constexpr const char* kUsage =
    "bench MODEL.md2 [--mode NAME|INDEX] [--size WxH] [--frames N] [--frame N] [--eye X,Y,Z] "
    "[--at X,Y,Z] [--fov DEG] [--base DIR] "
    "[--phong FILE]... [--env FILE]... [--colormap FILE] [--gamma G] [--light X,Y,Z]";

struct BenchLine {
    RenderRequest request;
    bool allModes = true;
    int frames = kBenchmarkFrames;
    MapRenderOptions maps;
    std::string error;
};

// Applies one option with its value; returns the complaint or empty.
std::string takeOption(BenchLine& line, const std::string& name, const std::string& value) {
    if (isMapRenderOption(name)) return parseMapRenderOption(line.maps, name, value);
    const std::string bad = "bad value for " + name + ": '" + value + "'";
    if (name == "--mode") {
        line.allModes = false;
        return parseMode(value, line.request.mode) ? std::string() : bad;
    }
    if (name == "--size") return parseSize(value, line.request.width, line.request.height) ? std::string() : bad;
    if (name == "--frames") return parseInt(value, line.frames) && line.frames > 0 ? std::string() : bad;
    if (name == "--frame") return parseInt(value, line.request.frame) ? std::string() : bad;
    if (name == "--eye") return parseVector(value, line.request.eye) ? std::string() : bad;
    if (name == "--at") return parseVector(value, line.request.lookAt) ? std::string() : bad;
    if (name == "--fov") return parseFloat(value, line.request.fieldOfView) ? std::string() : bad;
    if (name == "--base") return takeBaseFolder(value, line.request.base) ? std::string() : bad;
    return "unknown option '" + name + "'";
}

BenchLine parseBenchLine(const Args& args) {
    BenchLine line;
    for (std::size_t i = 0; i < args.size() && line.error.empty(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 1 && a[0] == '-') {
            if (i + 1 >= args.size())
                line.error = a + " needs a value";
            else
                line.error = takeOption(line, a, args[++i]);
        } else {
            line.error = takeModelPath(line.request.model, a);
        }
    }
    if (line.error.empty()) line.error = requireModel(line.request.model, line.request.base);
    return line;
}

BenchmarkResult timeMode(RenderSession& session, MapRenderState& maps, int mode, int frames) {
    refreshMapRender(session, maps, mode);
    return runBenchmark([&] { session.draw(mode); }, frames);
}

int bench(const Args& args, std::ostream& out, std::ostream& err) {
    const BenchLine line = parseBenchLine(args);
    if (!line.error.empty()) {
        err << "tarn-cli bench: " << line.error << "\nusage: tarn-cli " << kUsage << '\n';
        return kExitUsage;
    }
    BatchUi ui(err, "tarn-cli bench: ");
    auto session = std::make_unique<RenderSession>();
    if (const std::string why = prepareRenderSession(*session, line.request, ui); !why.empty()) {
        err << "tarn-cli bench: " << why << '\n';
        return kExitFailed;
    }
    // Figures mean little without the span path that produced them.
    out << "Spans: " << Rasterizer::SpanPathName(Rasterizer::Spans()) << '\n';
    MapRenderState maps;
    const int mapMode = line.allModes ? kEveryRenderMode : line.request.mode;
    if (const std::string why = applyMapRenderOptions(*session, maps, line.maps, mapMode, ui);
        !why.empty()) {
        err << "tarn-cli bench: " << why << '\n';
        return kExitFailed;
    }
    if (!line.allModes) {
        if (const std::string refusal = renderModeRefusal(*session, line.request.mode); !refusal.empty()) {
            err << refusal << '\n';
            return kExitFailed;
        }
        out << benchmarkMessage(timeMode(*session, maps, line.request.mode, line.frames)) << '\n';
        return kExitOk;
    }
    for (int mode = 0; mode < kRenderModeCount; ++mode) {
        const char* name = session->modes.at(mode).GetName();
        if (const std::string refusal = renderModeRefusal(*session, mode); !refusal.empty()) {
            err << name << ": skipped: " << refusal << '\n';
            continue;
        }
        out << name << ": " << benchmarkMessage(timeMode(*session, maps, mode, line.frames)) << '\n';
    }
    return kExitOk;
}

Registrar reg("bench", kUsage, bench);

}  // namespace

}  // namespace tarn::cli
