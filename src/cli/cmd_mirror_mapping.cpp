// tarn-cli mirror-mapping: the Triangles of the other side of a symmetric
// model take the mapping of the listed ones, flipped across the skin's mirror
// line (the mapping's own, or --line x=S for the vertical line at s = S, y=T
// for the horizontal one) or, with --share, on the same texels. The mirror is
// taken across --axis with --frame N as the reference (the most symmetric
// frame unless given).
#include <optional>
#include <ostream>

#include "cli_args.h"
#include "edit/mapping_edit.h"
#include "edit/mirror_mapping.h"
#include "mapping_cli.h"
#include "platform/fs.h"

namespace tarn::cli {

namespace {

constexpr const char* kUsage =
    "mirror-mapping MODEL.md2 -o OUT.md2 --axis x|y|z --select LIST [--share] [--line x=S|y=T] [--frame N] [--base DIR]";

// "x=S" or "y=T": a vertical or horizontal line of the skin.
bool parseLine(const std::string& v, std::optional<SkinMirrorLine>& line) {
    float at = 0.0f;
    if (v.size() < 3 || v[1] != '=' || !parseFloat(v.substr(2), at)) return false;
    int axis = 0;
    if (!parseAxis(v.substr(0, 1), axis) || axis > 1) return false;
    line = SkinMirrorLine{axis == 0, at};
    return true;
}

int mirrorMappingCli(const Args& args, std::ostream& out, std::ostream& err) {
    std::string base, output;
    int axis = -1, frame = -1;
    bool share = false;
    std::optional<SkinMirrorLine> line;
    std::vector<int> selected;
    std::vector<std::string> paths;
    OptionTable table;
    table.values["--base"] = [&](const std::string& v) { return takeBaseFolder(v, base); };
    table.values["-o"] = [&](const std::string& v) { output = absolutePath(v); return true; };
    table.values["--axis"] = [&](const std::string& v) { return parseAxis(v, axis); };
    table.values["--select"] = [&](const std::string& v) { return parseList(v, selected); };
    table.values["--frame"] = [&](const std::string& v) { return parseInt(v, frame) && frame >= 0; };
    table.values["--line"] = [&](const std::string& v) { return parseLine(v, line); };
    table.flags["--share"] = &share;
    std::string why = readOptions(args, table, paths);
    if (why.empty() && paths.size() != 1) why = "expected one MODEL.md2";
    if (why.empty() && output.empty()) why = "no output given (-o OUT.md2)";
    if (why.empty() && axis < 0) why = "no axis given (--axis x|y|z)";
    if (why.empty() && selected.empty()) why = "no Triangles given (--select LIST)";
    if (!why.empty()) return usageError(err, "mirror-mapping", why, kUsage);

    CliModel model(err, baseFor(base, paths[0]), "mirror-mapping");
    if (!model.load(paths[0]) ||
        refuseOutputOverInput(err, "mirror-mapping", output, args, filesOfSkins(model.skins())))
        return kExitFailed;
    Mesh& mesh = model.mesh();
    if (frame >= static_cast<int>(mesh.frames.size())) {
        err << "tarn-cli mirror-mapping: the model has no frame " << frame << '\n';
        return kExitFailed;
    }
    if (const std::string bad = model.select(selected); !bad.empty()) {
        err << "tarn-cli mirror-mapping: " << bad << '\n';
        return kExitFailed;
    }
    if (mesh.triangleCount <= 0) {
        err << "tarn-cli mirror-mapping: the model has no Triangles to mirror\n";
        return kExitFailed;
    }
    if (line && (line->position < 0.0 || line->position > (line->vertical ? mesh.skinWidth : mesh.skinHeight))) {
        err << "tarn-cli mirror-mapping: the line " << (line->vertical ? "x=" : "y=") << line->position
            << " lies off the " << mesh.skinWidth << " x " << mesh.skinHeight << " skin\n";
        return kExitFailed;
    }
    const SymmetryMeasure best = bestSymmetry(mesh);
    if (frame < 0) frame = best.frame;
    const Mirror mirror(mesh, frame, axis, best.ranked[std::size_t(axis)]);
    if (!mirror.valid()) {
        err << "tarn-cli mirror-mapping: no frame of the model's " << mesh.triangleCount
            << " Triangles could be measured for symmetry; name one with --frame N\n";
        return kExitFailed;
    }
    const MirrorMappingResult result = mirrorMappingCommand(model.ui(), MappingEditor{}, mesh, mirror, share, line);
    if (result.mapped == 0) return kExitFailed;
    if (!model.save(output)) return kExitFailed;
    out << "mirrored the mapping of " << result.mapped << " Triangles (frame " << frame << ", axis "
        << "xyz"[axis] << ")\n";
    if (result.offSkin > 0) out << result.offSkin << " of them have corners off the skin\n";
    out << "wrote " << output << '\n';
    return kExitOk;
}

Registrar reg("mirror-mapping", kUsage, mirrorMappingCli);

}  // namespace

}  // namespace tarn::cli
