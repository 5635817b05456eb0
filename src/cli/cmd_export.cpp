// tarn-cli export: the SSM object or the DH2 mesh of a model, as the main
// window's export commands write them, without a dialog; an OBJ of one frame
// with its skin beside it; or the animated glTF of the whole model.
#include <ostream>

#include "cli_args.h"
#include "export/export_commands.h"
#include "export/gltf_export.h"
#include "export/obj_export.h"
#include "mapping_cli.h"
#include "platform/fs.h"

namespace tarn::cli {

namespace {

constexpr const char* kUsage =
    "export ssm|dh2|obj|gltf MODEL.md2 OUT [--frame N] [--skin N] [--fps F] [--step] [--base DIR]";

int exportModel(const Args& args, std::ostream& out, std::ostream& err) {
    const std::string kind = args.empty() ? "" : args[0];
    const Args rest(args.begin() + (args.empty() ? 0 : 1), args.end());
    std::string base;
    int frame = 0;
    GltfOptions gltf;
    std::vector<std::string> paths;
    OptionTable table;
    table.values["--base"] = [&](const std::string& v) { return takeBaseFolder(v, base); };
    table.values["--frame"] = [&](const std::string& v) { return parseInt(v, frame); };
    // Skins are numbered from 1, as render and info number them.
    table.values["--skin"] = [&](const std::string& v) { return parseInt(v, gltf.skin) && gltf.skin-- >= 1; };
    table.values["--fps"] = [&](const std::string& v) {
        float fps = 0.0f;
        if (!parseFloat(v, fps) || fps <= 0.0f) return false;
        gltf.framesPerSecond = fps;
        return true;
    };
    table.flags["--step"] = &gltf.step;
    std::string why = kind == "ssm" || kind == "dh2" || kind == "obj" || kind == "gltf" ? readOptions(rest, table, paths)
                                                                                       : "say ssm, dh2, obj or gltf";
    if (why.empty() && paths.size() != 2) why = "expected MODEL.md2 and OUT";
    if (!why.empty()) return usageError(err, "export", why, kUsage);
    const std::string& target = paths[1];

    CliModel model(err, baseFor(base, paths[0]), "export");
    if (!model.load(paths[0]) || refuseOutputOverInput(err, "export", target, args, filesOfSkins(model.skins())))
        return kExitFailed;
    Mesh& mesh = model.mesh();
    if (kind != "gltf" && !SelectFrame(mesh, frame)) {
        err << "tarn-cli export: the model has no frame " << frame << '\n';
        return kExitFailed;
    }
    if (gltf.skin >= model.skins().count() && gltf.skin > 0) {
        err << "tarn-cli export: the model has no skin " << gltf.skin + 1 << '\n';
        return kExitFailed;
    }
    std::string failure;
    if (kind == "gltf") {
        failure = SaveGltf(mesh, model.skins(), model.sourceImage(), gltf, target);
    } else if (kind == "obj") {
        failure = SaveObj(mesh, frame, model.skins().at(gltf.skin), target);
    } else {
        const int error = kind == "ssm" ? SaveSsmObject(mesh, target) : SaveDh2Mesh(mesh, target);
        if (error != 0) failure = saveFailureLine(target, error);
    }
    if (!failure.empty()) {
        err << "tarn-cli export: " << failure << '\n';
        return kExitFailed;
    }
    out << "wrote " << target << '\n';
    return kExitOk;
}

Registrar reg("export", kUsage, exportModel);

}  // namespace

}  // namespace tarn::cli
