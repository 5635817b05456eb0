// tarn-cli map-from-view: the listed Triangles projected from a camera, as the
// 3D pane of that size would see them, laid into a rectangle of the skin;
// the model is written with the new mapping.
#include <ostream>

#include "cli_args.h"
#include "edit/map_from_view.h"
#include "mapping_cli.h"
#include "platform/fs.h"
#include "render/render_setup.h"

namespace tarn::cli {

namespace {

constexpr const char* kUsage =
    "map-from-view MODEL.md2 -o OUT.md2 --select LIST --rect L,T,R,B [--parallel] [--no-backfaces] [--flip] "
    "[--mirror] [--eye X,Y,Z] [--at X,Y,Z] [--fov DEG] [--size WxH] [--frame N] [--base DIR]";

bool parseRect(const std::string& text, MapRect& rect) {
    std::vector<int> v;
    if (!parseList(text, v) || v.size() != 4) return false;
    rect = MapRect{v[0], v[1], v[2], v[3]};
    return true;
}

int mapFromView(const Args& args, std::ostream& out, std::ostream& err) {
    // The camera and pane size start as tarn-cli render's.
    const RenderRequest defaults;
    ViewCamera camera{defaults.eye, defaults.lookAt, defaults.fieldOfView, defaults.width, defaults.height};
    MapFromViewOptions options;
    MapRect rect;
    bool rectGiven = false;
    int frame = defaults.frame;
    std::string base, output;
    std::vector<int> selected;
    std::vector<std::string> paths;
    OptionTable table;
    table.values["--base"] = [&](const std::string& v) { return takeBaseFolder(v, base); };
    table.values["-o"] = [&](const std::string& v) { output = absolutePath(v); return true; };
    table.values["--select"] = [&](const std::string& v) { return parseList(v, selected); };
    table.values["--rect"] = [&](const std::string& v) { return rectGiven = parseRect(v, rect); };
    table.values["--eye"] = [&](const std::string& v) { return parseVector(v, camera.eye); };
    table.values["--at"] = [&](const std::string& v) { return parseVector(v, camera.target); };
    table.values["--fov"] = [&](const std::string& v) { return parseFloat(v, camera.fieldOfView); };
    table.values["--frame"] = [&](const std::string& v) { return parseInt(v, frame); };
    table.values["--size"] = [&](const std::string& v) {
        return parseSize(v, camera.width, camera.height) && camera.width > 0 && camera.height > 0 &&
               camera.width <= kMaxRenderSide && camera.height <= kMaxRenderSide;
    };
    table.flags = {{"--parallel", &options.parallel},
                   {"--no-backfaces", &options.noBackfaces},
                   {"--flip", &options.flip},
                   {"--mirror", &options.mirror}};
    std::string why = readOptions(args, table, paths);
    if (why.empty() && paths.size() != 1) why = "expected one MODEL.md2";
    if (why.empty() && output.empty()) why = "no output given (-o OUT.md2)";
    if (why.empty() && !rectGiven) why = "no rectangle given (--rect L,T,R,B)";
    if (why.empty() && selected.empty()) why = "no triangles given (--select LIST)";
    if (!why.empty()) return usageError(err, "map-from-view", why, kUsage);

    CliModel model(err, baseFor(base, paths[0]), "map-from-view");
    if (!model.load(paths[0]) ||
        refuseOutputOverInput(err, "map-from-view", output, args, filesOfSkins(model.skins())))
        return kExitFailed;
    Mesh& mesh = model.mesh();
    std::string bad = model.select(selected);
    if (bad.empty() && !SelectFrame(mesh, frame))
        bad = "frame " + std::to_string(frame) + " does not exist (the model has " +
              std::to_string(mesh.frames.size()) + ")";
    if (!bad.empty()) {
        err << "tarn-cli map-from-view: " << bad << '\n';
        return kExitFailed;
    }
    // The rectangle as the skin pane would hold it after a redraw.
    rect.clampTo(mesh.skinWidth, mesh.skinHeight);
    MapFromView(mesh, camera, rect, options);
    if (!model.save(output)) return kExitFailed;
    out << "wrote " << output << " (rectangle " << rect.left << "," << rect.top << "," << rect.right << ","
        << rect.bottom << ", " << (options.parallel ? "parallel" : "perspective") << ")\n";
    return kExitOk;
}

Registrar reg("map-from-view", kUsage, mapFromView);

}  // namespace

}  // namespace tarn::cli
