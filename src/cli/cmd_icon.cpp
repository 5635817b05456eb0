// tarn-cli icon: the 32 x 32 SKIN_i.pcx the game's player setup shows, as
// Skins > Make Icon writes it, drawn from the front with the model's skin N
// (1 unless given).
#include <memory>
#include <ostream>

#include "cli_args.h"
#include "mapping_cli.h"
#include "platform/batch_ui.h"
#include "platform/fs.h"
#include "render/player_icon.h"
#include "render/render_setup.h"
#include "render/render_session.h"
#include "render/view_moves.h"

namespace tarn::cli {

namespace {

constexpr const char* kUsage = "icon MODEL.md2 -o OUT_i.pcx [--skin N] [--base DIR]";

int icon(const Args& args, std::ostream& out, std::ostream& err) {
    std::string base, output;
    int skin = 1;
    std::vector<std::string> paths;
    OptionTable table;
    table.values["--base"] = [&](const std::string& v) { return takeBaseFolder(v, base); };
    table.values["-o"] = [&](const std::string& v) { output = absolutePath(v); return true; };
    table.values["--skin"] = [&](const std::string& v) { return parseInt(v, skin) && skin >= 1; };
    std::string why = readOptions(args, table, paths);
    if (why.empty() && paths.size() != 1) why = "expected one MODEL.md2";
    if (why.empty() && output.empty()) why = "no output given (-o OUT_i.pcx)";
    if (why.empty() && lowerExtension(output) != ".pcx") why = "OUT_i.pcx must end in .pcx";
    if (!why.empty()) return usageError(err, "icon", why, kUsage);
    if (refuseOutputOverInput(err, "icon", output, args)) return kExitFailed;

    RenderRequest request;
    request.model = absolutePath(paths[0]);
    request.base = baseFor(base, paths[0]);
    request.skin = skin - 1;
    request.width = kIconSide;
    request.height = kIconSide;
    BatchUi ui(err, "tarn-cli icon: ");
    auto session = std::make_unique<RenderSession>();
    if (const std::string refusal = prepareRenderSession(*session, request, ui); !refusal.empty()) {
        err << "tarn-cli icon: " << refusal << '\n';
        return kExitFailed;
    }
    if (session->skins.count() == 0) {
        err << "tarn-cli icon: the model has no skin to draw the icon with\n";
        return kExitFailed;
    }
    viewFromSide(session->mesh, session->target, ViewSide::Front);
    const SnapshotPicture picture =
        renderPlayerIcon(session->modes.at(kModeTextured), session->scene(), session->target);
    if (const int error = saveSnapshot(picture, output); error != 0) {
        err << "tarn-cli icon: " << saveFailureLine(output, error) << '\n';
        return kExitFailed;
    }
    out << "wrote " << output << " (" << picture.width << "x" << picture.height << ")\n";
    return kExitOk;
}

Registrar reg("icon", kUsage, icon);

}  // namespace

}  // namespace tarn::cli
