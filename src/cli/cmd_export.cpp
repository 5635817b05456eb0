// tarn-cli export: the SSM object or the DH2 mesh of a model, as the main
// window's export commands write them, without a dialog.
#include <ostream>

#include "cli_args.h"
#include "cli_commands.h"
#include "export/export_commands.h"
#include "model/mesh_session.h"
#include "model_args.h"
#include "platform/batch_ui.h"

namespace tarn::cli {

namespace {

constexpr const char* kUsage = "export ssm|dh2 MODEL.md2 OUT [--frame N] [--base DIR]";

// Takes "--frame N" out of the line, leaving the rest to the model parser.
std::string takeFrame(Args& args, int& frame) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--frame") continue;
        if (i + 1 >= args.size() || !parseInt(args[i + 1], frame)) return "--frame needs a frame number";
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i + 2));
        return "";
    }
    return "";
}

int exportModel(const Args& args, std::ostream& out, std::ostream& err) {
    const std::string kind = args.empty() ? "" : args[0];
    Args rest(args.begin() + (args.empty() ? 0 : 1), args.end());
    int frame = 0;
    std::string error = kind == "ssm" || kind == "dh2" ? takeFrame(rest, frame) : "say ssm or dh2";
    const ModelArgs a = error.empty() ? parseModelArgs(rest, 2) : ModelArgs{};
    if (error.empty()) error = a.error;
    if (!error.empty()) {
        err << "tarn-cli export: " << error << "\nusage: tarn-cli " << kUsage << '\n';
        return kExitUsage;
    }
    BatchUi ui(err, "tarn-cli export: ");
    MemorySettings settings;
    settings.setInt(kPreferences, kDirScanPromptKey, 1);
    MeshSession session(ui, settings, a.base);
    if (!LoadMesh(session.context, a.paths[0]) ||
        refuseOutputOverInput(err, "export", a.paths[1], args, filesOfSkins(session.skins)))
        return kExitFailed;
    if (!SelectFrame(session.mesh, frame)) {
        err << "tarn-cli export: the model has no frame " << frame << '\n';
        return kExitFailed;
    }
    const std::string& target = a.paths[1];
    const int failure = kind == "ssm" ? SaveSsmObject(session.mesh, target) : SaveDh2Mesh(session.mesh, target);
    if (failure != 0) {
        err << saveFailureLine(target, failure) << '\n';
        return kExitFailed;
    }
    out << "wrote " << target << '\n';
    return kExitOk;
}

Registrar reg("export", kUsage, exportModel);

}  // namespace

}  // namespace tarn::cli
